#pragma once

#include "engine/lockkeys.h"

#include <optional>

namespace tessaly {

// The lock states as the X server's keyboard indicators show them; none when the program does not
// run on X11. Kept apart from the Qt code, as the X11 headers define names such as KeyRelease.
std::optional<LockKeyStates> XkbLockKeys();

} // namespace tessaly
