#include "app/aboutdlg.h"

#include "engine/version.h"
#include "ui/hyperlink.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

namespace tessaly {

CAboutDlg::CAboutDlg(QWidget* parent, const QString& makerAddress)
    : QDialog(parent) {
    setWindowTitle(tr("About Tessaly"));
    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/icons/tessaly.svg")).pixmap(32, 32));
    auto* name =
        new QLabel(QStringLiteral("Tessaly,  version ") + QString::fromUtf8(kVersionText.data()), this);
    name->setObjectName(QStringLiteral("versionText"));
    auto* maker = new CHyperLink(tr("Norvane Software, makers of Tessaly"), this);
    maker->setObjectName(QStringLiteral("makerLink"));
    maker->SetLinkAddress(makerAddress.isEmpty() ? QString::fromLatin1(kMakerSite) : makerAddress);
    maker->SetUnderlined(false);
    auto* ok = new QPushButton(tr("OK"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, Qt::AlignTop);
    layout->addWidget(name, 0, 1);
    layout->addWidget(ok, 0, 2, Qt::AlignTop);
    layout->addWidget(maker, 1, 1, Qt::AlignLeft | Qt::AlignBottom);
    layout->setColumnStretch(1, 1);
}

} // namespace tessaly
