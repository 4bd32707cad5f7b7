#pragma once

#include <string_view>

namespace tessaly {

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageIcon { None, Information, Warning, Error, Question };
enum class MessageAnswer { Ok, Cancel, Yes, No };

// Message boxes, as the core asks for them. The GUI shows real boxes; the command line prints the
// text on standard error and answers with the safe choice; tests record what was asked.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // An empty caption stands for the application title, "Tessaly".
    virtual MessageAnswer Show(std::string_view text, std::string_view caption, MessageButtons buttons,
                               MessageIcon icon) = 0;
};

} // namespace tessaly
