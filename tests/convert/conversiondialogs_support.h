#pragma once

#include "convert/conversionoptionholder.h"
#include "support/modaldialogs.h"
#include "support/scriptedmessageboxes.h"

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

inline void SaveScreenshot(QWidget& widget, const QString& name) {
    QDir().mkpath(QStringLiteral(TESSALY_ARTIFACTS_DIR));
    widget.grab().save(QStringLiteral(TESSALY_ARTIFACTS_DIR "/") + name);
}

} // namespace tessaly::test
