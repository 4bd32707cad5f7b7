#pragma once

#include <filesystem>
#include <optional>

namespace tessaly {

// The states of the three lock keys; a state that cannot be read on this machine is empty.
struct LockKeyStates {
    std::optional<bool> capsLock;
    std::optional<bool> numLock;
    std::optional<bool> scrollLock;

    friend bool operator==(const LockKeyStates&, const LockKeyStates&) = default;
};

// The lock states as the keyboards' LEDs show them in `ledsFolder` (the kernel's /sys/class/leds,
// entries such as "input3::capslock" holding a "brightness" file). A lock is on when one keyboard's
// LED is lit, and unknown when no keyboard has that LED.
LockKeyStates ReadLockLeds(const std::filesystem::path& ledsFolder);

} // namespace tessaly
