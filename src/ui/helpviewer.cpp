#include "ui/helpviewer.h"

#include "ui/helpfile.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace tessaly {

CHelpViewer::CHelpViewer(QWidget* parent)
    : QDialog(parent)
    , browser_(new QTextBrowser(this)) {
    setWindowTitle(tr("Tessaly Help"));
    setObjectName(QStringLiteral("helpViewer"));
    browser_->setOpenLinks(false);
    connect(browser_, &QTextBrowser::anchorClicked, this, [this](const QUrl& link) {
        if (link.isLocalFile() || link.isRelative())
            ShowPage(browser_->source().resolved(link));
        else
            QDesktopServices::openUrl(link);
    });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* contents = buttons->addButton(tr("&Contents"), QDialogButtonBox::ActionRole);
    contents->setObjectName(QStringLiteral("contentsButton"));
    connect(contents, &QPushButton::clicked, this, [this] { ShowPage(contents_); });
    QPushButton* back = buttons->addButton(tr("&Back"), QDialogButtonBox::ActionRole);
    back->setObjectName(QStringLiteral("backButton"));
    back->setEnabled(false);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QWidget::setEnabled);
    connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    QPushButton* forward = buttons->addButton(tr("&Forward"), QDialogButtonBox::ActionRole);
    forward->setObjectName(QStringLiteral("forwardButton"));
    forward->setEnabled(false);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QWidget::setEnabled);
    connect(forward, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = browser_->documentTitle();
        setWindowTitle(title.isEmpty() ? tr("Tessaly Help") : tr("Tessaly Help - %1").arg(title));
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(browser_);
    layout->addWidget(buttons);
    resize(720, 560);
}

void CHelpViewer::ShowPage(const QUrl& page) {
    QUrl file = page;
    file.setFragment(QString());
    // The contents page lies beside every page of the help.
    contents_ = file.resolved(QUrl(QString::fromLatin1(HelpFile::kContentsTopic)));
    if (!QFileInfo::exists(file.toLocalFile())) {
        browser_->setHtml(tr("<p>The help page %1 is missing.</p>").arg(page.fileName().toHtmlEscaped()));
        return;
    }
    browser_->setSource(page);
}

QUrl HelpFile::TopicUrl(const QString& topic) const {
    QString page = topic;
    if (page.startsWith(QStringLiteral("::/")))
        page = page.mid(3);
    const QString fragment = page.section(QLatin1Char('#'), 1);
    QUrl url = QUrl::fromLocalFile(
        QString::fromStdString((folder_ / page.section(QLatin1Char('#'), 0, 0).toStdString()).string()));
    if (!fragment.isEmpty())
        url.setFragment(fragment);
    return url;
}

void HelpFile::ShowTopic(QWidget* parent, const QString& topic) const {
    // One viewer for the whole run, reused by every Help button.
    static QPointer<CHelpViewer> viewer;
    if (!viewer) {
        viewer = new CHelpViewer(parent ? parent->window() : nullptr);
        viewer->setAttribute(Qt::WA_DeleteOnClose);
    }
    viewer->ShowPage(TopicUrl(topic));
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
}

} // namespace tessaly
