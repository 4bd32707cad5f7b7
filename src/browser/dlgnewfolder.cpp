#include "browser/dlgnewfolder.h"

#include "browser/lefttreeview.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <filesystem>
#include <system_error>

namespace tessaly {

CDlgNewFolder::CDlgNewFolder(QWidget* parent, BrowserContext context)
    : QDialog(parent)
    , context_(std::move(context))
    , nameEdit_(new QLineEdit(this))
    , parentEdit_(new QLineEdit(this)) {
    setWindowTitle(QStringLiteral("Add New Folder"));
    nameEdit_->setObjectName(QStringLiteral("nameEdit"));
    parentEdit_->setObjectName(QStringLiteral("parentEdit"));
    parentEdit_->setReadOnly(true);
    parentEdit_->setText(context_.tree.CurrentFolder());
    parentEdit_->setMinimumWidth(320);

    auto* add = new QPushButton(QStringLiteral("&Add "), this);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    add->setObjectName(QStringLiteral("addButton"));
    add->setDefault(true);
    cancel->setAutoDefault(false);
    connect(add, &QPushButton::clicked, this, &CDlgNewFolder::Add);
    connect(cancel, &QPushButton::clicked, this, &CDlgNewFolder::reject);

    auto* nameGroup = new QGroupBox(QStringLiteral("New directory"), this);
    auto* nameForm = new QVBoxLayout(nameGroup);
    nameForm->addWidget(nameEdit_);
    auto* parentGroup = new QGroupBox(QStringLiteral("Parent directory"), this);
    auto* parentForm = new QVBoxLayout(parentGroup);
    parentForm->addWidget(parentEdit_);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(add);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(nameGroup);
    layout->addWidget(parentGroup);
    layout->addLayout(buttons);
    nameEdit_->setFocus();
}

bool CDlgNewFolder::IsFolderName(const QString& name) {
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QChar(u'\0'));
}

void CDlgNewFolder::Add() {
    const QString name = nameEdit_->text();
    if (name.trimmed().isEmpty()) {
        context_.messages.Show("Enter a new folder name.", "", MessageButtons::Ok, MessageIcon::Warning);
        return;
    }
    const QString parent = context_.tree.CurrentFolder();
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::path(parent.toStdString()) / name.toStdString();
    if (parent.isEmpty() || !IsFolderName(name) || !std::filesystem::create_directory(folder, error)) {
        context_.messages.Show("Folder was not created.", "", MessageButtons::Ok, MessageIcon::Warning);
        return;
    }
    // Selecting the new folder makes it current, shows it under its parent and lists it (empty).
    context_.tree.AddSubfolder(name);
    accept();
}

} // namespace tessaly
