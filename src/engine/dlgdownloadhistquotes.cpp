#include "engine/dlgdownloadhistquotes.h"

#include "engine/completionsound.h"
#include "engine/datenumber.h"
#include "engine/dlgreport.h"
#include "engine/downloaddialog.h"
#include "engine/downloadreport.h"
#include "engine/messagebox.h"
#include "engine/securitieslist.h"
#include "ui/helpfile.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QThread>
#include <QVBoxLayout>

#include <chrono>
#include <utility>

namespace tessaly {

namespace {

// Runs `work` on the thread of `context` and waits for it; directly when already there.
template <typename Work>
void RunOnThreadOf(QObject* context, Work&& work) {
    if (QThread::currentThread() == context->thread())
        work();
    else
        QMetaObject::invokeMethod(context, std::forward<Work>(work), Qt::BlockingQueuedConnection);
}

QString FromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QDate DateOf(DateNumber date) {
    return QDate(static_cast<int>(date / 10000), static_cast<int>(date / 100 % 100),
                 static_cast<int>(date % 100));
}

} // namespace

// The message boxes of the run, shown on the window's thread while the run waits for the answer.
class CDlgDownloadHistQuotes::UiMessages final : public MessageBoxes {
public:
    UiMessages(QObject* context, MessageBoxes* boxes)
        : context_(context)
        , boxes_(boxes) {}

    MessageAnswer Show(std::string_view text, std::string_view caption, MessageButtons buttons,
                       MessageIcon icon) override {
        MessageAnswer answer = MessageAnswer::Cancel;
        if (boxes_ == nullptr)
            return answer;
        RunOnThreadOf(context_, [&] { answer = boxes_->Show(text, caption, buttons, icon); });
        return answer;
    }

private:
    QObject* context_;
    MessageBoxes* boxes_;
};

// The securities list as the run refreshes it, changed on the window's thread.
class CDlgDownloadHistQuotes::UiList final : public SecuritiesList {
public:
    UiList(QObject* context, SecuritiesList* list)
        : context_(context)
        , list_(list) {}

    void RemoveSecurityRows(std::string_view symbol) override {
        if (list_ != nullptr)
            RunOnThreadOf(context_, [&] { list_->RemoveSecurityRows(symbol); });
    }
    void AddSecurityRow(std::string_view fileName, const std::filesystem::path& folder) override {
        if (list_ != nullptr)
            RunOnThreadOf(context_, [&] { list_->AddSecurityRow(fileName, folder); });
    }

private:
    QObject* context_;
    SecuritiesList* list_;
};

// The dialog as the run sees it from its worker thread: what the run shows is queued to the
// window's thread in the order it is shown; the overwrite choice and Cancel are read directly.
class CDlgDownloadHistQuotes::RunPartner final : public DownloadDialog {
public:
    explicit RunPartner(CDlgDownloadHistQuotes& dialog)
        : dialog_(dialog) {}

    bool OverwriteAllRecords() const override { return dialog_.overwrite_.load(); }
    void SetCurrentSymbol(std::string_view symbol) override { SetText(dialog_.currentSymbol_, symbol); }
    void SetElapsedTime(std::string_view text) override { SetText(dialog_.elapsed_, text); }
    void SetRemainingTime(std::string_view text) override { SetText(dialog_.remaining_, text); }
    void SetProgressRange(int lower, int upper) override {
        QProgressBar* bar = dialog_.progress_;
        Post([bar, lower, upper] { bar->setRange(lower, upper); });
    }
    void SetProgressPosition(int position) override {
        QProgressBar* bar = dialog_.progress_;
        Post([bar, position] { bar->setValue(position); });
    }
    // The check between securities: a Cancel clicked since the last one stops the run here.
    void PauseBetweenSecurities() override {
        if (dialog_.cancelRequested_.load())
            dialog_.engine_.SetAbort();
        QThread::yieldCurrentThread();
    }
    void ShowWaitCursor() override {
        if (cursorShown_)
            return;
        cursorShown_ = true;
        CDlgDownloadHistQuotes* dialog = &dialog_;
        Post([dialog] { dialog->setCursor(Qt::BusyCursor); });
    }
    void RestoreCursor() override {
        cursorShown_ = false;
        CDlgDownloadHistQuotes* dialog = &dialog_;
        Post([dialog] { dialog->unsetCursor(); });
    }

private:
    template <typename Work>
    void Post(Work&& work) {
        QMetaObject::invokeMethod(&dialog_, std::forward<Work>(work), Qt::QueuedConnection);
    }
    void SetText(QLabel* label, std::string_view text) {
        Post([label, text = FromView(text)] { label->setText(text); });
    }

    CDlgDownloadHistQuotes& dialog_;
    bool cursorShown_ = false;
};

CDlgDownloadHistQuotes::CDlgDownloadHistQuotes(DownloadSetup setup, const HelpFile& help, QWidget* parent)
    : QDialog(parent)
    , setup_(std::move(setup))
    , folders_(setup_.folder, setup_.programFolder)
    , messages_(std::make_unique<UiMessages>(this, setup_.messages))
    , list_(std::make_unique<UiList>(this, setup_.list))
    , partner_(std::make_unique<RunPartner>(*this))
    , engine_(*setup_.transport, folders_, *messages_, setup_.endpoints) {
    engine_.SetSecuritiesList(list_.get());
    engine_.SetDialog(partner_.get());
    BuildLayout(help);

    const DateNumber today = TodayDateNumber();
    endDate_->setDate(DateOf(today));
    startDate_->setDate(DateOf(YearsEarlier(today, 2)));
    symbols_->setText(SymbolText(setup_.selectedSymbols));
}

CDlgDownloadHistQuotes::~CDlgDownloadHistQuotes() {
    if (worker_ == nullptr)
        return;
    // Closed with a run still going (the program is ending): stop it at its next check, and keep
    // taking its calls to this thread until it has returned.
    disconnect(worker_, nullptr, this, nullptr);
    cancelRequested_ = true;
    while (!worker_->wait(std::chrono::milliseconds(10)))
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    delete worker_;
}

QString CDlgDownloadHistQuotes::SymbolText(const std::vector<std::string>& symbols) {
    QString text;
    for (const std::string& symbol : symbols)
        text += QLatin1Char(' ') + QString::fromStdString(symbol);
    return text;
}

int CDlgDownloadHistQuotes::QueryDateNumber(const QDate& date) {
    return date.year() * 10000 + (date.month() - 1) * 100 + date.day();
}

QString CDlgDownloadHistQuotes::Symbols() const {
    return symbols_->text();
}

QDate CDlgDownloadHistQuotes::StartDate() const {
    return startDate_->date();
}

QDate CDlgDownloadHistQuotes::EndDate() const {
    return endDate_->date();
}

void CDlgDownloadHistQuotes::BuildLayout(const HelpFile& help) {
    setWindowTitle(tr("Download Historical Quotes"));

    auto* info = new QGroupBox(tr("Security info"), this);
    auto* infoGrid = new QGridLayout(info);
    symbols_ = new QLineEdit(info);
    symbols_->setObjectName(QStringLiteral("symbols"));
    const auto datePicker = [info](const QString& name) {
        auto* picker = new QDateEdit(info);
        picker->setObjectName(name);
        picker->setCalendarPopup(true);
        picker->setDisplayFormat(QStringLiteral("d MMM yyyy"));
        picker->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return picker;
    };
    startDate_ = datePicker(QStringLiteral("startDate"));
    endDate_ = datePicker(QStringLiteral("endDate"));
    auto* periodicityRow = new QHBoxLayout;
    periodicityGroup_ = new QButtonGroup(this);
    const QString periodicityNames[] = {tr("&Daily"), tr("&Weekly"), tr("&Monthly")};
    for (int id = 0; id < 3; ++id) {
        auto* button = new QRadioButton(periodicityNames[id], info);
        periodicityGroup_->addButton(button, id);
        periodicityRow->addWidget(button);
    }
    periodicityRow->addStretch();
    periodicityGroup_->button(0)->setChecked(true);
    connect(periodicityGroup_, &QButtonGroup::idClicked, this, [this](int id) { periodicity_ = id; });
    infoGrid->addWidget(new QLabel(tr("Security symbol"), info), 0, 0);
    infoGrid->addWidget(symbols_, 0, 1);
    infoGrid->addWidget(new QLabel(tr("Start Date:"), info), 1, 0);
    infoGrid->addWidget(startDate_, 1, 1, Qt::AlignLeft);
    infoGrid->addWidget(new QLabel(tr("End Date:"), info), 2, 0);
    infoGrid->addWidget(endDate_, 2, 1, Qt::AlignLeft);
    infoGrid->addWidget(new QLabel(tr("Periodicity:"), info), 3, 0);
    infoGrid->addLayout(periodicityRow, 3, 1);
    infoGrid->setColumnStretch(1, 1);

    auto* progressBox = new QGroupBox(tr("Progress"), this);
    auto* progressGrid = new QGridLayout(progressBox);
    progress_ = new QProgressBar(progressBox);
    progress_->setTextVisible(false);
    progress_->setRange(0, 100);
    progress_->setValue(0);
    currentSymbol_ = new QLabel(progressBox);
    currentSymbol_->setObjectName(QStringLiteral("currentSymbol"));
    elapsed_ = new QLabel(progressBox);
    elapsed_->setObjectName(QStringLiteral("elapsed"));
    remaining_ = new QLabel(progressBox);
    remaining_->setObjectName(QStringLiteral("remaining"));
    // Room for "00:00:00" before the first time is known.
    const int timeWidth = fontMetrics().horizontalAdvance(QStringLiteral("000:00:00"));
    elapsed_->setMinimumWidth(timeWidth);
    remaining_->setMinimumWidth(timeWidth);
    progressGrid->addWidget(progress_, 0, 0, 1, 4);
    progressGrid->addWidget(currentSymbol_, 1, 0, 2, 1);
    progressGrid->addWidget(new QLabel(tr("Elapsed time:"), progressBox), 1, 2, Qt::AlignRight);
    progressGrid->addWidget(elapsed_, 1, 3);
    progressGrid->addWidget(new QLabel(tr("Remaining time:"), progressBox), 2, 2, Qt::AlignRight);
    progressGrid->addWidget(remaining_, 2, 3);
    progressGrid->setColumnStretch(1, 1);

    overwriteBox_ = new QCheckBox(tr("Overwrite all records"), this);
    connect(overwriteBox_, &QCheckBox::clicked, this, [this] { overwrite_ = !overwrite_.load(); });

    help_ = new QPushButton(tr("Help"), this);
    help_->setAutoDefault(false);
    getQuotes_ = new QPushButton(tr("Get &quotes"), this);
    getQuotes_->setDefault(true);
    cancel_ = new QPushButton(tr("Cancel"), this);
    cancel_->setAutoDefault(false);
    connect(help_, &QPushButton::clicked, this,
            [this, help] { help.ShowTopic(this, QStringLiteral("downloaddlg.htm")); });
    connect(getQuotes_, &QPushButton::clicked, this, &CDlgDownloadHistQuotes::GetQuotes);
    connect(cancel_, &QPushButton::clicked, this, &CDlgDownloadHistQuotes::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(help_);
    buttons->addStretch();
    buttons->addWidget(getQuotes_);
    buttons->addWidget(cancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(info);
    layout->addWidget(progressBox);
    layout->addWidget(overwriteBox_);
    layout->addLayout(buttons);
    setMinimumWidth(420);
}

bool CDlgDownloadHistQuotes::GetQuotes() {
    if (worker_ != nullptr)
        return false;
    // The run works on the values it starts with; only the overwrite choice is read as it goes.
    const std::string symbols = Symbols().toStdString();
    const int start = QueryDateNumber(StartDate());
    const int end = QueryDateNumber(EndDate());
    const int periodicity = periodicity_;
    getQuotes_->setEnabled(false);
    worker_ = QThread::create(
        [this, symbols, start, end, periodicity] { engine_.RunDownload(symbols, start, end, periodicity); });
    connect(worker_, &QThread::finished, this, &CDlgDownloadHistQuotes::OnRunFinished);
    worker_->start();
    return true;
}

void CDlgDownloadHistQuotes::reject() {
    if (worker_ == nullptr) {
        engine_.SetAbort();
        QDialog::reject();
        return;
    }
    cancelled_ = true;
    cancelRequested_ = true;
    cancel_->setEnabled(false);
}

void CDlgDownloadHistQuotes::OnRunFinished() {
    worker_->wait();
    delete worker_;
    worker_ = nullptr;
    if (cancelled_)
        QDialog::reject();
    else
        accept();
    // A run that could not create its report has said so and downloaded nothing; an older report
    // left on disk would only mislead.
    if (!engine_.ReportFailed()) {
        if (setup_.playSound)
            setup_.playSound(setup_.soundFile);
        else
            PlayCompletionSound(setup_.soundFile);
        const std::filesystem::path report = setup_.programFolder / std::string(kReportFileName);
        QWidget* owner = parentWidget();
        if (setup_.showReport) {
            setup_.showReport(owner, report);
        } else {
            CDlgReport dialog(report, owner);
            dialog.exec();
        }
    }
    Q_EMIT RunFinished();
}

} // namespace tessaly
