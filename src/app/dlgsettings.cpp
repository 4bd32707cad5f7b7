#include "app/dlgsettings.h"

#include "engine/chartapisource.h"
#include "engine/curlsession.h"
#include "engine/endpoints.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <chrono>

namespace tessaly {

namespace {

QString FromStd(const std::string& text) {
    return QString::fromStdString(text);
}

std::string ToStd(const QLineEdit* edit) {
    return edit->text().trimmed().toStdString();
}

} // namespace

CDlgSettings::CDlgSettings(Profile& profile, QWidget* parent)
    : QDialog(parent)
    , profile_(profile) {
    setWindowTitle(tr("Settings"));
    const Endpoints endpoints = LoadEndpoints(profile_);

    auto* grid = new QGridLayout;
    EndpointKind historical = EndpointKind::Historical;
    EndpointKind quote = EndpointKind::Quote;
    EndpointKind currency = EndpointKind::Currency;
    historicalHost_ = AddHostRow(grid, 0, tr("&Historical quotes:"), QStringLiteral("HistoricalHost"),
                                 endpoints.historicalHost, &historical);
    quoteHost_ =
        AddHostRow(grid, 1, tr("&Recent quote:"), QStringLiteral("QuoteHost"), endpoints.quoteHost, &quote);
    currencyHost_ = AddHostRow(grid, 2, tr("C&urrency pairs:"), QStringLiteral("CurrencyHost"),
                               endpoints.currencyHost, &currency);
    makerHost_ =
        AddHostRow(grid, 3, tr("&Update server:"), QStringLiteral("MakerHost"), endpoints.makerHost, nullptr);
    makerHost_->setPlaceholderText(tr("none"));

    interval_ = new QSpinBox;
    interval_->setObjectName(QStringLiteral("MinRequestIntervalMs"));
    interval_->setRange(0, 60000);
    interval_->setSingleStep(100);
    interval_->setSuffix(tr(" ms"));
    interval_->setValue(endpoints.minRequestIntervalMs);
    auto* intervalLabel = new QLabel(tr("&Least time between chart requests:"));
    intervalLabel->setBuddy(interval_);
    grid->addWidget(intervalLabel, 4, 0);
    grid->addWidget(interval_, 4, 1);

    testSymbol_ = new QLineEdit(QStringLiteral("MSFT"));
    testSymbol_->setObjectName(QStringLiteral("TestSymbol"));
    auto* symbolLabel = new QLabel(tr("Test &symbol:"));
    symbolLabel->setBuddy(testSymbol_);
    grid->addWidget(symbolLabel, 5, 0);
    grid->addWidget(testSymbol_, 5, 1);

    testResult_ = new QLabel;
    testResult_->setObjectName(QStringLiteral("TestResult"));
    testResult_->setWordWrap(true);
    testResult_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    testResult_->setMinimumHeight(testResult_->fontMetrics().height() * 3);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDlgSettings::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDlgSettings::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(testResult_);
    layout->addWidget(buttons);
    resize(620, sizeHint().height());
}

QLineEdit* CDlgSettings::AddHostRow(QGridLayout* grid, int row, const QString& label, const QString& name,
                                    const std::string& value, EndpointKind* testKind) {
    auto* edit = new QLineEdit(FromStd(value));
    edit->setObjectName(name);
    edit->setCursorPosition(0);
    auto* text = new QLabel(label);
    text->setBuddy(edit);
    grid->addWidget(text, row, 0);
    grid->addWidget(edit, row, 1);
    if (testKind) {
        auto* test = new QPushButton(tr("Test"));
        test->setObjectName(name + QStringLiteral("Test"));
        const EndpointKind kind = *testKind;
        connect(test, &QPushButton::clicked, this, [this, kind] { TestEndpoint(kind); });
        grid->addWidget(test, row, 2);
    }
    return edit;
}

void CDlgSettings::TestEndpoint(EndpointKind kind) {
    const QLineEdit* host = kind == EndpointKind::Historical ? historicalHost_
                            : kind == EndpointKind::Quote    ? quoteHost_
                                                             : currencyHost_;
    std::string symbol = ToStd(testSymbol_);
    if (symbol.empty())
        symbol = "MSFT";
    // The currency server knows only pairs; a stock symbol is no test of it.
    if (kind == EndpointKind::Currency && symbol.find('$') == std::string::npos)
        symbol = "$EURUSD";
    testResult_->setText(tr("Asking %1 ...").arg(host->text().trimmed()));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QApplication::processEvents();
    CurlTransport curl;
    ChartApiTransport transport(curl, std::chrono::milliseconds(0));
    const std::string answer = tessaly::TestEndpoint(transport, kind, ToStd(host), symbol);
    QApplication::restoreOverrideCursor();
    testResult_->setText(FromStd(answer));
}

void CDlgSettings::accept() {
    profile_.WriteString(kEndpointsSection, kHistoricalHostName, ToStd(historicalHost_));
    profile_.WriteString(kEndpointsSection, kQuoteHostName, ToStd(quoteHost_));
    profile_.WriteString(kEndpointsSection, kCurrencyHostName, ToStd(currencyHost_));
    profile_.WriteString(kEndpointsSection, kMakerHostName, ToStd(makerHost_));
    profile_.WriteInt(kEndpointsSection, kMinRequestIntervalName, interval_->value());
    QDialog::accept();
}

} // namespace tessaly
