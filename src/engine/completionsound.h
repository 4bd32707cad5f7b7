#pragma once

#include <filesystem>

namespace tessaly {

// Plays the sound that ends a download run without waiting for it: the given file, or the
// desktop's own "complete" event sound when the file is missing. Without a sound server or device
// nothing is heard; the call never fails and never blocks the caller.
void PlayCompletionSound(const std::filesystem::path& soundFile);

} // namespace tessaly
