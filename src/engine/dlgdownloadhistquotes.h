#pragma once

#include "engine/downloader.h"
#include "engine/endpoints.h"
#include "engine/folders.h"

#include <QDate>
#include <QDialog>

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QThread;

namespace tessaly {

class HelpFile;
class HttpTransport;
class MessageBoxes;
class SecuritiesList;

// What the download dialog needs of the program around it.
struct DownloadSetup {
    // The symbols of the selected rows of the securities list, in list order.
    std::vector<std::string> selectedSymbols;
    // The folder the securities are listed in; their data files are downloaded there.
    std::filesystem::path folder;
    // Where the run writes its report.
    std::filesystem::path programFolder;
    // The sound played when a run ends.
    std::filesystem::path soundFile;
    Endpoints endpoints;
    HttpTransport* transport = nullptr;
    MessageBoxes* messages = nullptr;
    // The list whose rows are refreshed after each download; may be null.
    SecuritiesList* list = nullptr;
    // Plays the completion sound; empty for PlayCompletionSound.
    std::function<void(const std::filesystem::path&)> playSound;
    // Shows the report once a run has ended; empty for a modal Last Download Report.
    std::function<void(QWidget* parent, const std::filesystem::path& reportFile)> showReport;
};

// The Download Historical Quotes dialog: the selected symbols, the date range, the periodicity and
// the overwrite choice; Get quotes runs the download on a worker thread while the window answers,
// then closes the dialog, plays the completion sound and shows the report. Every effect of the run
// on this dialog, the securities list and the message boxes happens on the window's thread, in the
// order the run asks for them.
class CDlgDownloadHistQuotes final : public QDialog {
    Q_OBJECT
public:
    CDlgDownloadHistQuotes(DownloadSetup setup, const HelpFile& help, QWidget* parent = nullptr);
    ~CDlgDownloadHistQuotes() override;

    // The symbol field's text for a list of symbols: each symbol preceded by one blank.
    static QString SymbolText(const std::vector<std::string>& symbols);
    // The query date number of a date: year, month minus one and day (5 January 2007 is 20070005).
    static int QueryDateNumber(const QDate& date);

    QString Symbols() const;
    QDate StartDate() const;
    QDate EndDate() const;
    int Periodicity() const { return periodicity_; }
    bool Overwrite() const { return overwrite_; }
    bool IsRunning() const { return worker_ != nullptr; }
    // Starts the run as the Get quotes button does; false when a run is already going on.
    bool GetQuotes();

    QLineEdit* SymbolEdit() const { return symbols_; }
    QDateEdit* StartDateEdit() const { return startDate_; }
    QDateEdit* EndDateEdit() const { return endDate_; }
    QCheckBox* OverwriteBox() const { return overwriteBox_; }
    QProgressBar* ProgressBar() const { return progress_; }
    QLabel* CurrentSymbolLabel() const { return currentSymbol_; }
    QLabel* ElapsedLabel() const { return elapsed_; }
    QLabel* RemainingLabel() const { return remaining_; }
    QPushButton* GetQuotesButton() const { return getQuotes_; }
    QPushButton* CancelButton() const { return cancel_; }

public Q_SLOTS:
    // Cancel: before a run the dialog closes at once; during a run the run stops at its next check
    // between securities and the dialog then closes as after a finished run.
    void reject() override;

Q_SIGNALS:
    // The run has returned, the dialog is closed, the sound asked for and the report shown.
    void RunFinished();

private:
    class RunPartner;
    class UiMessages;
    class UiList;

    void BuildLayout(const HelpFile& help);
    void OnRunFinished();

    DownloadSetup setup_;
    FixedFolders folders_;
    std::unique_ptr<UiMessages> messages_;
    std::unique_ptr<UiList> list_;
    std::unique_ptr<RunPartner> partner_;
    CDownloader engine_;
    QThread* worker_ = nullptr;
    bool cancelled_ = false;
    // Read by the run before every security, set on the window's thread.
    std::atomic<bool> overwrite_{false};
    // Cancel clicked during the run; the run takes it at its next pause between securities.
    std::atomic<bool> cancelRequested_{false};
    int periodicity_ = 0;

    QLineEdit* symbols_ = nullptr;
    QDateEdit* startDate_ = nullptr;
    QDateEdit* endDate_ = nullptr;
    QButtonGroup* periodicityGroup_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* currentSymbol_ = nullptr;
    QLabel* elapsed_ = nullptr;
    QLabel* remaining_ = nullptr;
    QCheckBox* overwriteBox_ = nullptr;
    QPushButton* help_ = nullptr;
    QPushButton* getQuotes_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

} // namespace tessaly
