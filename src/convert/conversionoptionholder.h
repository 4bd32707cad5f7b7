#pragma once

#include "convert/conversionoption.h"

namespace tessaly {

// Where the conversion dialogs find the program's current conversion option and where an option the
// user accepts goes back. The program holds one current option for its whole run.
class ConversionOptionHolder {
public:
    virtual ~ConversionOptionHolder() = default;
    virtual ConversionOption CurrentOption() const = 0;
    virtual void SetCurrentOption(const ConversionOption& option) = 0;
};

} // namespace tessaly
