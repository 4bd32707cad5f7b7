#pragma once

#include "engine/messagebox.h"

#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly::test {

// Message boxes for tests: records every question, answers from a queue of prepared answers and,
// once the queue is empty, with a fixed answer (OK unless the test says otherwise).
class ScriptedMessageBoxes final : public MessageBoxes {
public:
    struct Shown {
        std::string text;
        std::string caption;
        MessageButtons buttons;
        MessageIcon icon;
    };

    explicit ScriptedMessageBoxes(MessageAnswer whenNoneLeft = MessageAnswer::Ok)
        : whenNoneLeft(whenNoneLeft) {}

    MessageAnswer Show(std::string_view text, std::string_view caption, MessageButtons buttons,
                       MessageIcon icon) override {
        asked.emplace_back(text);
        shown.push_back({std::string(text), std::string(caption), buttons, icon});
        if (whileAsked)
            whileAsked();
        if (answers.empty())
            return whenNoneLeft;
        const MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    // The texts asked, in order.
    std::vector<std::string> asked;
    // Everything about each question, in order.
    std::vector<Shown> shown;
    std::deque<MessageAnswer> answers;
    MessageAnswer whenNoneLeft;
    // Runs while each question is open, before it is answered.
    std::function<void()> whileAsked;
};

} // namespace tessaly::test
