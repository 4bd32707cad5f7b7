#pragma once

#include "engine/messagebox.h"

class QWidget;

namespace tessaly {

// Message boxes shown as QMessageBox over a parent window.
class QtMessageBoxes final : public MessageBoxes {
public:
    explicit QtMessageBoxes(QWidget* parent = nullptr)
        : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }
    MessageAnswer Show(std::string_view text, std::string_view caption, MessageButtons buttons,
                       MessageIcon icon) override;

private:
    QWidget* parent_;
};

} // namespace tessaly
