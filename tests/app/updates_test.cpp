#include "app/updates.h"

#include "engine/curlsession.h"
#include "support/scriptedmessageboxes.h"

#include <httplib.h>

#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

using namespace Qt::StringLiterals;

namespace tessaly {

namespace {

// The maker's server on 127.0.0.1: answers "updates.asp" with a given body, the first `silent`
// requests only after `delay` (long enough for the client to give up).
class FakeMakerServer {
public:
    FakeMakerServer() {
        server_.Get("/updates.asp", [this](const httplib::Request& request, httplib::Response& response) {
            std::unique_lock lock(mutex_);
            targets_.push_back(request.target);
            agents_.push_back(request.get_header_value("User-Agent"));
            if (silent_ > 0) {
                --silent_;
                stopping_.wait_for(lock, delay_, [this] { return stopped_; });
            }
            response.set_content(body_, "text/plain");
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        for (int i = 0; i < 2000 && !server_.is_running(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ~FakeMakerServer() { Stop(); }

    void Stop() {
        {
            const std::lock_guard lock(mutex_);
            stopped_ = true;
        }
        stopping_.notify_all();
        if (thread_.joinable()) {
            server_.stop();
            thread_.join();
        }
    }
    std::string BaseUrl() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }
    void Answer(std::string body) {
        const std::lock_guard lock(mutex_);
        body_ = std::move(body);
    }
    void Delay(int silentRequests, std::chrono::milliseconds delay) {
        const std::lock_guard lock(mutex_);
        silent_ = silentRequests;
        delay_ = delay;
    }
    std::vector<std::string> Targets() const {
        const std::lock_guard lock(mutex_);
        return targets_;
    }
    std::vector<std::string> Agents() const {
        const std::lock_guard lock(mutex_);
        return agents_;
    }

private:
    httplib::Server server_;
    std::thread thread_;
    int port_ = 0;
    mutable std::mutex mutex_;
    std::condition_variable stopping_;
    bool stopped_ = false;
    std::string body_;
    int silent_ = 0;
    std::chrono::milliseconds delay_{0};
    std::vector<std::string> targets_;
    std::vector<std::string> agents_;
};

std::shared_ptr<HttpTransport> QuickTransport() {
    CurlLimits limits;
    limits.connectTimeout = std::chrono::milliseconds(1000);
    limits.stallTimeout = std::chrono::seconds(2);
    limits.totalTimeout = std::chrono::milliseconds(1500);
    return std::make_shared<CurlTransport>(limits);
}

constexpr const char* kRequest = "/updates.asp?version=107600&productid=2";

} // namespace

class UpdatesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void showsTheServersAnswer_data() {
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("details");
        QTest::addColumn<QString>("download"); // the setup program's name, empty when grayed
        QTest::newRow("no updates") << u"0\n"_s << u"There are no updates available at this time."_s << false
                                    << QString();
        QTest::newRow("six digits") << u"1107700\r\n"_s << u"Tessaly version 1.07.700"_s << true
                                    << u"tessaly107_setup.exe"_s;
        QTest::newRow("seven digits") << u"11107700\nignored\n"_s << u"Tessaly version 11.07.700"_s << true
                                      << u"tessaly1107_setup.exe"_s;
        QTest::newRow("no digits") << u"1"_s << u"Tessaly version .."_s << true << u"tessaly_setup.exe"_s;
        QTest::newRow("the running version")
            << u"1107600"_s << u"Tessaly version 1.07.600"_s << true << u"tessaly107_setup.exe"_s;
        QTest::newRow("empty body") << QString() << QString() << true << QString();
        QTest::newRow("error page") << u"<html>Not found</html>"_s
                                    << u"There are no updates available at this time."_s << false
                                    << QString();
    }
    void showsTheServersAnswer() {
        QFETCH(QString, body);
        QFETCH(QString, text);
        QFETCH(bool, details);
        QFETCH(QString, download);
        FakeMakerServer server;
        server.Answer(body.toStdString());
        test::ScriptedMessageBoxes messages;
        CUpdates dialog(server.BaseUrl(), messages, QuickTransport());
        QStringList opened;
        dialog.SetAddressOpener([&opened](const QString& address) { opened.append(address); });
        QTRY_VERIFY(!dialog.IsBusy());
        QCOMPARE(dialog.Text(), text);
        QVERIFY(messages.shown.empty());
        QCOMPARE(server.Targets(), std::vector<std::string>{kRequest});
        QCOMPARE(server.Agents(), std::vector<std::string>{"MySession"});
        QCOMPARE(dialog.DetailsButton().isEnabled(), details);
        QCOMPARE(dialog.DownloadButton().isEnabled(), !download.isEmpty());
        if (!download.isEmpty()) {
            dialog.DownloadButton().click();
            QCOMPARE(opened, QStringList{QString::fromStdString(server.BaseUrl()) + download});
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
        }
    }

    void detailsOpensTheProductPage() {
        FakeMakerServer server;
        server.Answer("1107700");
        test::ScriptedMessageBoxes messages;
        CUpdates dialog(server.BaseUrl(), messages, QuickTransport());
        QStringList opened;
        dialog.SetAddressOpener([&opened](const QString& address) { opened.append(address); });
        QTRY_VERIFY(!dialog.IsBusy());
        dialog.DetailsButton().click();
        QCOMPARE(opened, QStringList{QString::fromStdString(server.BaseUrl()) + u"tessaly.htm"_s});
    }

    void staysAnsweringWhileTheServerIsSilentAndRetriesTheTimeOut() {
        FakeMakerServer server;
        server.Answer("1107700");
        server.Delay(2, std::chrono::milliseconds(6000));
        test::ScriptedMessageBoxes messages;
        CUpdates dialog(server.BaseUrl(), messages, QuickTransport());
        QSignalSpy finished(&dialog, &CUpdates::CheckFinished);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        // The dialog is up and painting while the first request is still unanswered.
        QVERIFY(dialog.IsBusy());
        QVERIFY(dialog.findChild<QProgressBar*>()->isVisible());
        QVERIFY(!dialog.DownloadButton().isEnabled());
        QDir().mkpath(QStringLiteral(TESSALY_ARTIFACTS_DIR));
        QVERIFY(dialog.grab().save(QStringLiteral(TESSALY_ARTIFACTS_DIR "/updates-busy.png")));
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 15000);
        QCOMPARE(dialog.Text(), u"Tessaly version 1.07.700"_s);
        QVERIFY(messages.shown.empty());
        QCOMPARE(server.Targets().size(), 3u);
        QVERIFY(!dialog.findChild<QProgressBar*>()->isVisible());
        QVERIFY(dialog.grab().save(QStringLiteral(TESSALY_ARTIFACTS_DIR "/updates.png")));
    }

    void reportsAnUnreachableServer() {
        std::string address;
        {
            FakeMakerServer gone;
            address = gone.BaseUrl();
        }
        test::ScriptedMessageBoxes messages;
        CUpdates dialog(address, messages, QuickTransport());
        QTRY_VERIFY(!dialog.IsBusy());
        QCOMPARE(messages.shown.size(), 1u);
        QCOMPARE(messages.shown[0].caption, "Tessaly Error");
        QVERIFY(!messages.shown[0].text.empty());
        QVERIFY(messages.shown[0].text.size() <= 255);
        QCOMPARE(dialog.Text(), QString());
        QVERIFY(!dialog.DetailsButton().isEnabled());
        QVERIFY(!dialog.DownloadButton().isEnabled());
    }

    void reportsTheTimeOutWhenTheServerStaysSilent() {
        FakeMakerServer server;
        server.Answer("1107700");
        server.Delay(kUpdateCheckAttempts, std::chrono::milliseconds(6000));
        test::ScriptedMessageBoxes messages;
        CUpdates dialog(server.BaseUrl(), messages, QuickTransport());
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.IsBusy(), 20000);
        QCOMPARE(server.Targets().size(), static_cast<std::size_t>(kUpdateCheckAttempts));
        QCOMPARE(messages.shown.size(), 1u);
        QCOMPARE(messages.shown[0].caption, "Tessaly Error");
        QVERIFY(QString::fromStdString(messages.shown[0].text).contains(u"timed out"_s));
    }

    void saysSoWithoutAnUpdateServer() {
        test::ScriptedMessageBoxes messages;
        CUpdates dialog("", messages, QuickTransport());
        QTRY_VERIFY(!dialog.IsBusy());
        QCOMPARE(messages.shown.size(), 1u);
        QVERIFY(messages.shown[0].text.find("MakerHost") != std::string::npos);
        QVERIFY(!dialog.DownloadButton().isEnabled());
    }

    void closingWhileTheServerIsSilentIsSafe() {
        FakeMakerServer server;
        server.Answer("1107700");
        server.Delay(1, std::chrono::milliseconds(300));
        test::ScriptedMessageBoxes messages;
        auto* dialog = new CUpdates(server.BaseUrl(), messages, QuickTransport());
        QVERIFY(dialog->IsBusy());
        delete dialog;
        // The answer arrives after the dialog is gone and is dropped.
        QTRY_COMPARE(server.Targets().size(), 1u);
        QTest::qWait(500);
        QVERIFY(messages.shown.empty());
    }
};

} // namespace tessaly

QTEST_MAIN(tessaly::UpdatesTest)
#include "updates_test.moc"
