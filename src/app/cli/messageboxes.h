#pragma once

#include "engine/messagebox.h"

#include <iostream>

namespace tessaly::cli {

// Message boxes on the command line: the text on standard error, answered with the safe choice.
class StandardErrorMessages final : public MessageBoxes {
public:
    MessageAnswer Show(std::string_view text, std::string_view caption, MessageButtons buttons,
                       MessageIcon) override {
        std::cerr << "tessaly-cli: " << (caption.empty() ? "Tessaly" : caption) << ": " << text << "\n";
        switch (buttons) {
        case MessageButtons::Ok:
            return MessageAnswer::Ok;
        case MessageButtons::OkCancel:
        case MessageButtons::YesNoCancel:
            return MessageAnswer::Cancel;
        case MessageButtons::YesNo:
            return MessageAnswer::No;
        }
        return MessageAnswer::Cancel;
    }
};

} // namespace tessaly::cli
