#include "ui/hyperlink.h"

#include "engine/messagebox.h"
#include "support/scriptedmessageboxes.h"
#include "support/tempfolder.h"

#include <QApplication>
#include <QEnterEvent>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace Qt::StringLiterals;

namespace tessaly {

namespace {

// A browser stand-in: writes each argument it gets on a line of its own into `record`.
std::filesystem::path WriteRecordingBrowser(const test::TempFolder& folder,
                                            const std::filesystem::path& record) {
    const std::filesystem::path script = folder / "recording-browser";
    std::ofstream(script) << "#!/bin/sh\nfor argument in \"$@\"; do printf '%s\\n' \"$argument\"; done > '"
                          << record.string() << ".part'\nmv '" << record.string() << ".part' '"
                          << record.string() << "'\n";
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    return script;
}

LinkOpeners NoDesktop(const QString& browsers) {
    LinkOpeners openers;
    openers.desktop = [](const QUrl&) { return false; };
    openers.opener = u"tessaly-test-no-such-opener"_s;
    openers.browserVariable = browsers;
    return openers;
}

QStringList ReadLines(const std::filesystem::path& file) {
    QFile in(QString::fromStdString(file.string()));
    if (!in.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(in.readAll()).split(u'\n');
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    return lines;
}

void Hover(CHyperLink& link, bool enter) {
    if (enter) {
        QEnterEvent event(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QApplication::sendEvent(&link, &event);
    } else {
        QEvent event(QEvent::Leave);
        QApplication::sendEvent(&link, &event);
    }
}

} // namespace

class HyperLinkTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void openErrorTexts_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        QTest::newRow("0") << 0 << u"The operating system is out\nof memory or resources."_s;
        QTest::newRow("2") << 2 << u"The specified file was not found."_s;
        QTest::newRow("3") << 3 << u"The specified path was not found."_s;
        QTest::newRow("5") << 5 << u"The operating system denied\naccess to the specified file."_s;
        QTest::newRow("8") << 8 << u"There was not enough memory to complete the operation."_s;
        QTest::newRow("11") << 11 << u"The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."_s;
        QTest::newRow("26") << 26 << u"A sharing violation occurred. "_s;
        QTest::newRow("27") << 27 << u"The filename association is\nincomplete or invalid."_s;
        QTest::newRow("28")
            << 28 << u"The DDE transaction could not\nbe completed because the request timed out."_s;
        QTest::newRow("29") << 29 << u"The DDE transaction failed."_s;
        QTest::newRow("30")
            << 30
            << u"The DDE transaction could not\nbe completed because other DDE transactions\nwere "
               u"being processed."_s;
        QTest::newRow("31") << 31
                            << u"There is no application associated\nwith the given filename extension."_s;
        QTest::newRow("32") << 32 << u"The specified dynamic-link library was not found."_s;
        QTest::newRow("unknown") << 4 << u"Unknown Error (4) occurred."_s;
        QTest::newRow("negative") << -7 << u"Unknown Error (-7) occurred."_s;
    }
    void openErrorTexts() {
        QFETCH(int, code);
        QFETCH(QString, text);
        QCOMPARE(CHyperLink::OpenErrorMessage(code), u"Unable to open hyperlink:\n\n"_s + text);
    }

    void browserCommands_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QStringList>("command");
        const QString a = u"http://host/a b?x=1&y=2"_s;
        QTest::newRow("placeholder") << u"firefox %s"_s << QStringList{u"firefox"_s, a};
        QTest::newRow("no placeholder")
            << u"lynx -accept_all_cookies"_s << QStringList{u"lynx"_s, u"-accept_all_cookies"_s, a};
        QTest::newRow("quoted placeholder, options after it")
            << u"\"/opt/My Browser/browser\" --new-window \"%1\" --extra"_s
            << QStringList{u"/opt/My Browser/browser"_s, u"--new-window"_s, a};
        QTest::newRow("placeholder inside an option")
            << u"browser --url=%s"_s << QStringList{u"browser"_s, u"--url="_s + a};
        QTest::newRow("empty") << u"  "_s << QStringList{};
        QTest::newRow("placeholder only") << u"%s"_s << QStringList{};
    }
    void browserCommands() {
        QFETCH(QString, entry);
        QFETCH(QStringList, command);
        QCOMPARE(CHyperLink::BrowserCommand(entry, u"http://host/a b?x=1&y=2"_s), command);
    }

    void fallsBackToTheBrowserVariableWithTheAddressAsOneArgument() {
        test::TempFolder folder;
        const std::filesystem::path record = folder / "arguments.txt";
        const std::filesystem::path browser = WriteRecordingBrowser(folder, record);
        const QString address = u"http://127.0.0.1:9/quote page?s=A&B;x=$(touch /tmp/no)"_s;
        qputenv("BROWSER",
                QByteArray("/no/such/browser:") + QByteArray(browser.string().c_str()) + " --new-tab");
        LinkOpeners openers = NoDesktop(QString());
        openers.browserVariable.reset();
        QCOMPARE(CHyperLink::OpenLink(address, openers), kOpenLinkSucceeded);
        qunsetenv("BROWSER");
        QTRY_VERIFY(std::filesystem::exists(record));
        QCOMPARE(ReadLines(record), (QStringList{u"--new-tab"_s, address}));
    }

    void failureCodesNameWhatFailed() {
        test::TempFolder folder;
        folder.Write("not-executable", "#!/bin/sh\n");
        const QString address = u"http://127.0.0.1:9/"_s;
        QCOMPARE(CHyperLink::OpenLink(address, NoDesktop(QString())), kOpenErrorNoAssociation);
        QCOMPARE(CHyperLink::OpenLink(address, NoDesktop(u"/no/such/browser"_s)), kOpenErrorFileNotFound);
        QCOMPARE(CHyperLink::OpenLink(
                     address, NoDesktop(QString::fromStdString((folder / "not-executable").string()))),
                 kOpenErrorAccessDenied);
        LinkOpeners desktop = NoDesktop(QString());
        QUrl opened;
        desktop.desktop = [&opened](const QUrl& url) {
            opened = url;
            return true;
        };
        QCOMPARE(CHyperLink::OpenLink(address, desktop), kOpenLinkSucceeded);
        QCOMPARE(opened, QUrl(address));
    }

    void addressTextAndToolTip() {
        CHyperLink byText(u"http://127.0.0.1/own-text"_s);
        QCOMPARE(byText.LinkAddress(), u"http://127.0.0.1/own-text"_s);
        QCOMPARE(byText.toolTip(), u"http://127.0.0.1/own-text"_s);
        CHyperLink empty;
        empty.SetLinkAddress(u"http://127.0.0.1/address"_s);
        QCOMPARE(empty.text(), u"http://127.0.0.1/address"_s);
        CHyperLink named(u"Norvane Software"_s);
        named.SetLinkAddress(u"http://127.0.0.1/"_s);
        QCOMPARE(named.text(), u"Norvane Software"_s);
        QCOMPARE(named.toolTip(), u"http://127.0.0.1/"_s);
        QCOMPARE(named.cursor().shape(), Qt::PointingHandCursor);
        named.SetLinkCursor(QCursor(Qt::CrossCursor));
        QCOMPARE(named.cursor().shape(), Qt::CrossCursor);
        named.SetLinkCursor(std::nullopt);
        QCOMPARE(named.cursor().shape(), Qt::PointingHandCursor);
    }

    void coloursFollowHoverAndVisits() {
        CHyperLink link(u"Norvane Software"_s);
        QCOMPARE(link.LinkColour(), QColor(0, 0, 250));
        QCOMPARE(link.VisitedColour(), QColor(0, 0, 250));
        link.SetVisitedColour(QColor(128, 0, 128));
        QCOMPARE(link.palette().color(QPalette::WindowText), QColor(0, 0, 250));
        Hover(link, true);
        QVERIFY(link.IsHovered());
        QCOMPARE(link.palette().color(QPalette::WindowText),
                 QApplication::palette().color(QPalette::Highlight));
        link.SetHoverColour(QColor(200, 0, 0));
        QCOMPARE(link.palette().color(QPalette::WindowText), QColor(200, 0, 0));
        Hover(link, false);
        QCOMPARE(link.palette().color(QPalette::WindowText), QColor(0, 0, 250));
        link.SetVisited(true);
        QCOMPARE(link.palette().color(QPalette::WindowText), QColor(128, 0, 128));
    }

    void underlineFollowsTheFlag() {
        CHyperLink link(u"Norvane Software"_s);
        QVERIFY(link.font().underline());
        link.SetUnderlined(false);
        QVERIFY(!link.font().underline());
        QFont bold = link.font();
        bold.setBold(true);
        bold.setUnderline(true);
        link.setFont(bold);
        QVERIFY(link.font().bold());
        QVERIFY(!link.font().underline());
    }

    void fitsToItsTextKeepingTheAlignedEdge() {
        QWidget parent;
        parent.resize(400, 100);
        CHyperLink left(u"Norvane"_s, &parent);
        left.setAlignment(Qt::AlignLeft | Qt::AlignTop);
        left.SetAutoSize(false);
        left.setGeometry(10, 10, 300, 40);
        left.SetAutoSize(true);
        QCOMPARE(left.x(), 10);
        QCOMPARE(left.y(), 10);
        QVERIFY(left.width() < 300);
        QCOMPARE(left.size(), left.sizeHint());

        CHyperLink right(u"Norvane"_s, &parent);
        right.setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        right.SetAutoSize(false);
        right.setGeometry(10, 50, 300, 40);
        right.SetAutoSize(true);
        QCOMPARE(right.geometry().right(), 309);
        QCOMPARE(right.y(), 50 + (40 - right.height()) / 2);
    }

    void clickOpensAndMarksVisitedOrReportsTheFailure() {
        test::TempFolder folder;
        const std::filesystem::path record = folder / "arguments.txt";
        const std::filesystem::path browser = WriteRecordingBrowser(folder, record);
        test::ScriptedMessageBoxes messages;
        CHyperLink link(u"Norvane Software"_s);
        link.SetLinkAddress(u"http://127.0.0.1:9/maker"_s);
        link.SetMessageBoxes(&messages);
        link.show();
        QVERIFY(QTest::qWaitForWindowExposed(&link));
        link.SetOpeners(NoDesktop(u"/no/such/browser"_s));
        QTest::mouseClick(&link, Qt::LeftButton);
        QVERIFY(!link.Visited());
        QCOMPARE(messages.asked,
                 std::vector<std::string>{"Unable to open hyperlink:\n\nThe specified file was not found."});

        QSignalSpy opened(&link, &CHyperLink::Opened);
        link.SetOpeners(NoDesktop(QString::fromStdString(browser.string())));
        QTest::mouseClick(&link, Qt::LeftButton);
        QVERIFY(link.Visited());
        QCOMPARE(opened.count(), 1);
        QCOMPARE(messages.asked.size(), 1u);
        QTRY_VERIFY(std::filesystem::exists(record));
        QCOMPARE(ReadLines(record), QStringList{u"http://127.0.0.1:9/maker"_s});
    }
};

} // namespace tessaly

QTEST_MAIN(tessaly::HyperLinkTest)
#include "hyperlink_test.moc"
