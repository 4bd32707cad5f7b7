#include "app/updates.h"

#include "engine/version.h"
#include "ui/hyperlink.h"

#include <QApplication>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <mutex>
#include <thread>

namespace tessaly {

// What the dialog and its request share: the request may outlive the dialog (the user closes it
// while the server is still silent), so it hands its result over only while the dialog exists.
struct CUpdates::Worker {
    std::mutex mutex;
    CUpdates* owner = nullptr;
};

CUpdates::CUpdates(std::string makerHost, MessageBoxes& messages, std::shared_ptr<HttpTransport> transport,
                   QWidget* parent)
    : QDialog(parent)
    , makerHost_(std::move(makerHost))
    , messages_(messages)
    , transport_(std::move(transport))
    , opener_([](const QString& address) { CHyperLink::OpenLink(address); })
    , text_(new QLabel(this))
    , busyBar_(new QProgressBar(this))
    , details_(new QPushButton(tr("Details ..."), this))
    , download_(new QPushButton(tr("Download"), this)) {
    setWindowTitle(tr("Tessaly Updates"));
    setObjectName(QStringLiteral("updatesDialog"));
    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/icons/tessaly.svg")).pixmap(32, 32));
    auto* caption = new QLabel(tr("Available updates:"), this);
    text_->setObjectName(QStringLiteral("updateText"));
    text_->setFrameShape(QFrame::StyledPanel);
    text_->setFrameShadow(QFrame::Sunken);
    text_->setWordWrap(true);
    text_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    text_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    text_->setMinimumSize(260, 56);
    caption->setBuddy(text_);
    busyBar_->setRange(0, 0);
    busyBar_->setTextVisible(false);
    busyBar_->setMaximumHeight(8);
    details_->setObjectName(QStringLiteral("detailsButton"));
    download_->setObjectName(QStringLiteral("downloadButton"));
    auto* close = new QPushButton(tr("Close"), this);
    close->setObjectName(QStringLiteral("closeButton"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(details_, &QPushButton::clicked, this, [this] { OpenAndClose(ProductPageUrl(makerHost_)); });
    connect(download_, &QPushButton::clicked, this,
            [this] { OpenAndClose(SetupProgramUrl(makerHost_, shortVersion_)); });

    auto* middle = new QVBoxLayout;
    middle->addWidget(caption);
    middle->addWidget(text_, 1);
    middle->addWidget(busyBar_);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(details_);
    buttons->addWidget(download_);
    buttons->addWidget(close);
    buttons->addStretch(1);
    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, Qt::AlignTop);
    layout->addLayout(middle, 0, 1);
    layout->addLayout(buttons, 0, 2);
    layout->setColumnStretch(1, 1);

    StartCheck();
}

CUpdates::~CUpdates() {
    if (worker_) {
        const std::lock_guard lock(worker_->mutex);
        worker_->owner = nullptr;
    }
}

QString CUpdates::Text() const {
    return text_->text();
}

void CUpdates::StartCheck() {
    busy_ = true;
    details_->setEnabled(false);
    download_->setEnabled(false);
    setCursor(Qt::BusyCursor);
    worker_ = std::make_shared<Worker>();
    worker_->owner = this;
    std::thread([worker = worker_, transport = transport_, host = makerHost_] {
        const UpdateCheckResult result = CheckForProductUpdates(*transport, host, kProductVersion);
        const std::lock_guard lock(worker->mutex);
        if (worker->owner != nullptr)
            QMetaObject::invokeMethod(
                worker->owner, [owner = worker->owner, result] { owner->ShowResult(result); },
                Qt::QueuedConnection);
    }).detach();
}

void CUpdates::ShowResult(const UpdateCheckResult& result) {
    busy_ = false;
    unsetCursor();
    busyBar_->hide();
    details_->setEnabled(true);
    download_->setEnabled(true);
    if (result.Failed()) {
        // Without an answer there is no version to fetch and no page known to exist.
        details_->setEnabled(false);
        download_->setEnabled(false);
        messages_.Show(result.error, "Tessaly Error", MessageButtons::Ok, MessageIcon::Error);
    } else if (result.answer.kind == UpdateAnswer::Kind::Update) {
        shortVersion_ = result.answer.version.shortVersion;
        text_->setText(QStringLiteral("Tessaly version %1")
                           .arg(QString::fromStdString(result.answer.version.shownVersion)));
    } else if (result.answer.kind == UpdateAnswer::Kind::NoUpdates) {
        text_->setText(tr("There are no updates available at this time."));
        details_->setEnabled(false);
        download_->setEnabled(false);
    } else {
        // An empty answer names no version, so there is no setup program to offer.
        download_->setEnabled(false);
    }
    Q_EMIT CheckFinished();
}

void CUpdates::OpenAndClose(const std::string& address) {
    opener_(QString::fromStdString(address));
    accept();
}

} // namespace tessaly
