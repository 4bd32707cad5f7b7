#include "app/qtmessageboxes.h"

#include "engine/version.h"

#include <QApplication>
#include <QMessageBox>

namespace tessaly {

MessageAnswer QtMessageBoxes::Show(std::string_view text, std::string_view caption, MessageButtons buttons,
                                   MessageIcon icon) {
    // A box asked for while a dialog is open belongs over that dialog, not behind it.
    QWidget* dialog = QApplication::activeModalWidget();
    QMessageBox box(dialog ? dialog : parent_);
    box.setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    const std::string_view title = caption.empty() ? kApplicationTitle : caption;
    box.setWindowTitle(QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())));
    switch (icon) {
    case MessageIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MessageIcon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageIcon::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case MessageIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MessageIcon::None:
        break;
    }
    switch (buttons) {
    case MessageButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MessageButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case MessageButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        // The choice that changes nothing is the one Enter gives.
        box.setDefaultButton(QMessageBox::No);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    case QMessageBox::Ok:
        return MessageAnswer::Ok;
    default:
        return MessageAnswer::Cancel;
    }
}

} // namespace tessaly
