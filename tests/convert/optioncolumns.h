#pragma once

#include "convert/conversionoption.h"

#include <string_view>

namespace tessaly::test {

// Turns on exactly the columns named by letters (S P D O H L C V I) and turns the others off.
inline void SetColumns(ConversionOption& option, std::string_view letters) {
    const auto on = [&](char letter) { return letters.find(letter) != std::string_view::npos ? 1 : 0; };
    option.Symbol = on('S');
    option.Periodicity = on('P');
    option.Date = on('D');
    option.Open = on('O');
    option.High = on('H');
    option.Low = on('L');
    option.Close = on('C');
    option.Volume = on('V');
    option.Interest = on('I');
}

} // namespace tessaly::test
