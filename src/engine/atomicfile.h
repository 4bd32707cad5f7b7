#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tessaly {

// Writes a file crash-safe: the content goes to a temporary file in the target's folder, which
// Commit() flushes to disk and renames over the target. Until then the target keeps its old
// content; a write that fails, or an object destroyed without Commit(), leaves no trace.
class AtomicFile {
public:
    explicit AtomicFile(std::filesystem::path target);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // False when the temporary file could not be created; Error() says why.
    bool IsOpen() const { return fd_ >= 0; }
    bool Write(std::string_view data);
    // Flushes, syncs and renames over the target (keeping the target's permissions). Reports success.
    bool Commit();
    // Throws the temporary file away; the target is left as it was.
    void Discard();

    const std::filesystem::path& Target() const { return target_; }
    const std::string& Error() const { return error_; }

    // Replaces the whole content of `target` in one step.
    static bool WriteWhole(const std::filesystem::path& target, std::string_view content,
                           std::string* error = nullptr);

private:
    bool Flush();
    void Fail(const std::string& what);

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    int fd_ = -1;
    std::string buffer_;
    std::string error_;
    bool failed_ = false;
};

} // namespace tessaly
