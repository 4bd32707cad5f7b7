#include "app/downloadcommands.h"

#include "browser/rightlistview.h"
#include "engine/chartapisource.h"
#include "engine/curlsession.h"
#include "engine/dlgdownloadhistquotes.h"
#include "engine/dlgreport.h"
#include "engine/downloadreport.h"
#include "engine/endpoints.h"
#include "engine/folders.h"
#include "engine/memoryprofile.h"
#include "engine/securitieslist.h"
#include "ui/helpfile.h"

#include <chrono>
#include <string>

namespace tessaly {

namespace {

// The securities list as the download run refreshes it.
class ListRows final : public SecuritiesList {
public:
    explicit ListRows(CRightListView& list)
        : list_(list) {}

    void RemoveSecurityRows(std::string_view symbol) override { list_.RemoveSecurityRows(symbol); }
    void AddSecurityRow(std::string_view fileName, const std::filesystem::path& folder) override {
        list_.AddSecurityRow(std::string(fileName), folder);
    }

private:
    CRightListView& list_;
};

} // namespace

void OpenDownloadDialog(QWidget* parent, CRightListView& list, Profile& profile, bool settingsReadable,
                        MessageBoxes& messages) {
    MemoryProfile defaults;
    const Endpoints endpoints = LoadEndpoints(settingsReadable ? profile : defaults);
    CurlTransport curl;
    ChartApiTransport transport(curl, std::chrono::milliseconds(endpoints.minRequestIntervalMs));
    ListRows rows(list);

    DownloadSetup setup;
    setup.selectedSymbols = list.SelectedSymbols();
    setup.folder = list.Folder();
    setup.programFolder = UserDataFolder();
    setup.soundFile = AssetFolder() / "complete.wav";
    setup.endpoints = endpoints;
    setup.transport = &transport;
    setup.messages = &messages;
    setup.list = &rows;
    const HelpFile help(AssetFolder() / "help");
    CDlgDownloadHistQuotes dialog(std::move(setup), help, parent);
    dialog.exec();
}

void OpenLastDownloadReport(QWidget* parent) {
    CDlgReport dialog(UserDataFolder() / std::string(kReportFileName), parent);
    dialog.exec();
}

} // namespace tessaly
