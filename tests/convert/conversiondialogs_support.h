#pragma once

#include "convert/conversionoptionholder.h"
#include "engine/messagebox.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QTimer>
#include <QWidget>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace tessaly {

// How QCOMPARE shows an option that differs: its sixteen values by name.
inline char* toString(const ConversionOption& option) {
    std::string text;
    for (const ConversionOptionField& field : kConversionOptionFields) {
        text += std::string(field.name) + '=';
        if (const auto* flag = std::get_if<int ConversionOption::*>(&field.member))
            text += std::to_string(option.**flag);
        else
            text += '"' + option.*std::get<std::string ConversionOption::*>(field.member) + '"';
        text += ' ';
    }
    char* copy = new char[text.size() + 1];
    std::memcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}

} // namespace tessaly

namespace tessaly::test {

// Records every message and answers OK.
class RecordingMessageBoxes final : public MessageBoxes {
public:
    MessageAnswer Show(std::string_view text, std::string_view, MessageButtons, MessageIcon) override {
        shown.emplace_back(text);
        return MessageAnswer::Ok;
    }
    std::vector<std::string> shown;
};

// The program's current option, as a test holds it.
class HeldOption final : public ConversionOptionHolder {
public:
    explicit HeldOption(ConversionOption option = {})
        : option_(std::move(option)) {}
    ConversionOption CurrentOption() const override { return option_; }
    void SetCurrentOption(const ConversionOption& option) override { option_ = option; }

private:
    ConversionOption option_;
};

// Runs `act` on the next modal dialog of type T once it is shown (a dialog opened with exec()).
// `done` is set when it ran, so a test can tell that the dialog really opened; after about five
// seconds without such a dialog it gives up.
template <typename T>
void WhenModalOpens(std::function<void(T&)> act, bool* done, int attempts = 500) {
    QTimer::singleShot(10, [act = std::move(act), done, attempts] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dialog) {
            if (attempts > 0)
                WhenModalOpens<T>(act, done, attempts - 1);
            return;
        }
        act(*dialog);
        *done = true;
    });
}

inline void SaveScreenshot(QWidget& widget, const QString& name) {
    QDir().mkpath(QStringLiteral(TESSALY_ARTIFACTS_DIR));
    widget.grab().save(QStringLiteral(TESSALY_ARTIFACTS_DIR "/") + name);
}

} // namespace tessaly::test
