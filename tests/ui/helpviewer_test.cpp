#include "ui/helpfile.h"
#include "ui/helpviewer.h"

#include "support/tempfolder.h"

#include <QApplication>
#include <QTest>
#include <QTextBrowser>

#include <fstream>

namespace tessaly {

class HelpViewerTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void topicAddressDropsTheHelpPrefix() {
        const HelpFile help("/opt/help");
        QCOMPARE(help.TopicUrl(QStringLiteral("::/lists.htm")),
                 QUrl::fromLocalFile(QStringLiteral("/opt/help/lists.htm")));
        QCOMPARE(help.TopicUrl(QStringLiteral("convertopt.htm#load")).fragment(), QStringLiteral("load"));
    }

    void showsThePageAndFollowsItsLinks() {
        test::TempFolder folder;
        std::ofstream(folder.Path() / "index.htm") << "<h1>Contents</h1><a href=\"lists.htm\">Lists</a>";
        std::ofstream(folder.Path() / "lists.htm") << "<h1>Symbol lists</h1>";
        const HelpFile help(folder.Path());
        help.ShowTopic(nullptr, QString::fromLatin1(HelpFile::kContentsTopic));
        auto* viewer = qobject_cast<CHelpViewer*>(QApplication::activeModalWidget());
        if (!viewer) {
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (auto* found = qobject_cast<CHelpViewer*>(widget))
                    viewer = found;
        }
        QVERIFY(viewer);
        QVERIFY(viewer->isVisible());
        QVERIFY(viewer->Browser().toPlainText().contains(QStringLiteral("Contents")));
        Q_EMIT viewer->Browser().anchorClicked(QUrl(QStringLiteral("lists.htm")));
        QVERIFY(viewer->Browser().toPlainText().contains(QStringLiteral("Symbol lists")));

        help.ShowTopic(nullptr, QStringLiteral("missing.htm"));
        QVERIFY(viewer->Browser().toPlainText().contains(QStringLiteral("missing.htm is missing")));
        viewer->close();
    }
};

} // namespace tessaly

QTEST_MAIN(tessaly::HelpViewerTest)
#include "helpviewer_test.moc"
