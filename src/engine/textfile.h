#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <stdio.h>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

// An 8-bit text file, read line by line. CR LF and a lone LF both end a line and are not part of
// it; a line break after the last line adds no empty line. The file is opened for reading only;
// the writers replace it crash-safe (a temporary file, then a rename) and reopen the new content.
class TextFile {
public:
    struct TailLine {
        std::uint64_t offset = 0; // where the line starts in the file
        std::string text;
    };
    struct Tail {
        std::vector<TailLine> lines; // in file order
        bool reachesStart = false;   // the first of `lines` is the file's first line
    };

    TextFile() = default;
    // Opens `path`; when it cannot be opened, IsOpen() is false but the path is kept for the writers.
    explicit TextFile(std::filesystem::path path);
    ~TextFile();
    TextFile(TextFile&& other) noexcept;
    TextFile& operator=(TextFile&& other) noexcept;
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;

    bool Open(std::filesystem::path path);
    void Close();
    bool IsOpen() const { return file_ != nullptr; }
    const std::filesystem::path& Path() const { return path_; }

    void Rewind();
    // Reads the next line without its line break; false at the end of the file.
    bool ReadLine(std::string& line);
    // Offset of the first byte the next ReadLine looks at.
    std::uint64_t Position() const { return bufferOffset_ + begin_; }

    std::uint64_t Size();
    std::uint64_t CountLines();
    bool EndsWithLineBreak();
    // The last `count` lines (fewer when the file holds fewer), found by reading backwards from the
    // end of the file, so the cost does not grow with the file.
    Tail ReadTail(std::size_t count);

    // Replaces the file with its first `keep` bytes followed by `text`, crash-safe, and reopens it.
    // A missing file with `keep` 0 is created. Reports success; on failure the file is unchanged.
    bool Rewrite(std::uint64_t keep, std::string_view text);

    // Shared with the writers: a line break is CR LF on disk.
    static constexpr std::string_view kLineBreak = "\r\n";

private:
    bool Fill();
    bool ReadAt(std::uint64_t offset, char* data, std::size_t size);

    std::FILE* file_ = nullptr;
    std::filesystem::path path_;
    std::vector<char> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    std::uint64_t bufferOffset_ = 0;
    bool atEnd_ = false;
};

} // namespace tessaly
