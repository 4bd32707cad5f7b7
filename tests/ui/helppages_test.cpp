#include "ui/helpfile.h"
#include "ui/helpviewer.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QTextBrowser>

using namespace Qt::StringLiterals;

namespace tessaly {

namespace {

const QString kSourceHelp = QStringLiteral(TESSALY_SOURCE_DIR "/data/help");
const QString kBuiltHelp = QStringLiteral(TESSALY_BUILT_HELP_DIR);

QString Read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QStringList Pages() {
    return QDir(kSourceHelp).entryList({u"*.htm"_s}, QDir::Files, QDir::Name);
}

// The help topics the program's sources name: topics written with the help prefix, and those
// handed to ShowTopic directly.
QSet<QString> TopicsNamedInTheSources() {
    QSet<QString> topics;
    const QRegularExpression prefixed(u"\"::/([A-Za-z0-9_]+\\.htm)(#\\w+)?\""_s);
    const QRegularExpression shown(u"ShowTopic\\([^;]*\"([A-Za-z0-9_]+\\.htm)(#\\w+)?\""_s);
    QDirIterator files(QStringLiteral(TESSALY_SOURCE_DIR "/src"), {u"*.cpp"_s, u"*.h"_s}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString text = Read(files.next());
        for (const QRegularExpression& pattern : {prefixed, shown}) {
            for (const QRegularExpressionMatch& match : pattern.globalMatch(text))
                topics.insert(match.captured(1));
        }
    }
    return topics;
}

CHelpViewer* FindViewer() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* viewer = qobject_cast<CHelpViewer*>(widget))
            return viewer;
    }
    return nullptr;
}

} // namespace

class HelpPagesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyTopicTheProgramOpensExists() {
        QSet<QString> topics = TopicsNamedInTheSources();
        topics.insert(QString::fromLatin1(HelpFile::kContentsTopic));
        for (const char* dialogTopic : {"downloaddlg.htm", "lists.htm", "convertopt.htm"})
            topics.insert(QString::fromLatin1(dialogTopic));
        for (const QString& topic : topics) {
            QVERIFY2(QFile::exists(kSourceHelp + u'/' + topic), qPrintable(topic));
            QVERIFY2(QFile::exists(kBuiltHelp + u'/' + topic), qPrintable(topic + u" is not copied"_s));
        }
    }

    void everyPageIsShippedAndOpensInTheViewer() {
        const HelpFile help(kBuiltHelp.toStdString());
        const QStringList pages = Pages();
        QVERIFY(pages.size() >= 10);
        for (const QString& page : pages) {
            QCOMPARE(Read(kBuiltHelp + u'/' + page), Read(kSourceHelp + u'/' + page));
            help.ShowTopic(nullptr, u"::/"_s + page);
            CHelpViewer* viewer = FindViewer();
            QVERIFY(viewer);
            QVERIFY2(!viewer->Browser().documentTitle().isEmpty(), qPrintable(page));
            QVERIFY2(!viewer->Browser().toPlainText().contains(u"is missing"_s), qPrintable(page));
            QVERIFY(viewer->windowTitle().contains(viewer->Browser().documentTitle()));
        }
        help.ShowTopic(nullptr, u"folders.htm"_s);
        FindViewer()->findChild<QPushButton*>(u"contentsButton"_s)->click();
        QCOMPARE(FindViewer()->Browser().source().fileName(), u"index.htm"_s);
        QDir().mkpath(QStringLiteral(TESSALY_ARTIFACTS_DIR));
        FindViewer()->resize(720, 560);
        QVERIFY(FindViewer()->grab().save(QStringLiteral(TESSALY_ARTIFACTS_DIR "/help-contents.png")));
        FindViewer()->close();
    }

    void everyLinkResolvesAndEveryPageIsReachable() {
        const QRegularExpression reference(u"(href|src)=\"([^\"]*)\""_s);
        QSet<QString> reached{u"index.htm"_s};
        QStringList queue{u"index.htm"_s};
        while (!queue.isEmpty()) {
            const QString page = queue.takeFirst();
            const QString text = Read(kSourceHelp + u'/' + page);
            QVERIFY2(!text.isEmpty(), qPrintable(page));
            for (const QRegularExpressionMatch& match : reference.globalMatch(text)) {
                const QString target = match.captured(2);
                const QString where = page + u": "_s + target;
                QVERIFY2(!target.isEmpty(), qPrintable(where));
                if (target.startsWith(u"http://"_s) || target.startsWith(u"https://"_s))
                    continue;
                const QString file = target.section(u'#', 0, 0);
                const QString anchor = target.section(u'#', 1);
                const QString resolved = file.isEmpty() ? page : file;
                QVERIFY2(QFile::exists(kSourceHelp + u'/' + resolved), qPrintable(where));
                QVERIFY2(QFile::exists(kBuiltHelp + u'/' + resolved),
                         qPrintable(where + u" is not copied"_s));
                if (!anchor.isEmpty()) {
                    const QString targetText = Read(kSourceHelp + u'/' + resolved);
                    QVERIFY2(targetText.contains(u"name=\""_s + anchor + u'"'), qPrintable(where));
                }
                if (resolved.endsWith(u".htm"_s) && !reached.contains(resolved)) {
                    reached.insert(resolved);
                    queue.append(resolved);
                }
            }
        }
        for (const QString& page : Pages())
            QVERIFY2(reached.contains(page), qPrintable(page + u" is not reached from the contents"_s));
    }
};

} // namespace tessaly

QTEST_MAIN(tessaly::HelpPagesTest)
#include "helppages_test.moc"
