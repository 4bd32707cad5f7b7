#include "app/aboutdlg.h"

#include "engine/version.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace tessaly {

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(tr("About Tessaly"));
    auto* icon = new QLabel(this);
    icon->setPixmap(windowIcon().isNull() ? style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(32, 32)
                                          : windowIcon().pixmap(32, 32));
    auto* name =
        new QLabel(QStringLiteral("Tessaly,  version ") + QString::fromUtf8(kVersionText.data()), this);
    name->setObjectName(QStringLiteral("versionText"));
    auto* maker = new QLabel(this);
    maker->setObjectName(QStringLiteral("makerLink"));
    maker->setTextFormat(Qt::RichText);
    maker->setOpenExternalLinks(true);
    maker->setText(QStringLiteral("<a href=\"%1\" style=\"text-decoration:none\">Norvane Software</a>")
                       .arg(QString::fromLatin1(kMakerSite)));
    auto* ok = new QPushButton(tr("OK"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, Qt::AlignTop);
    layout->addWidget(name, 0, 1);
    layout->addWidget(ok, 0, 2, Qt::AlignTop);
    layout->addWidget(maker, 1, 1);
    layout->setColumnStretch(1, 1);
}

} // namespace tessaly
