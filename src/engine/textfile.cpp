#include "engine/textfile.h"

#include "engine/atomicfile.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace tessaly {

namespace {

constexpr std::size_t kReadBlock = 1 << 16;
constexpr std::size_t kTailBlock = 4096;

void DropCarriageReturn(std::string& line) {
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
}

} // namespace

TextFile::TextFile(std::filesystem::path path) {
    Open(std::move(path));
}

TextFile::~TextFile() {
    Close();
}

TextFile::TextFile(TextFile&& other) noexcept {
    *this = std::move(other);
}

TextFile& TextFile::operator=(TextFile&& other) noexcept {
    if (this != &other) {
        Close();
        file_ = std::exchange(other.file_, nullptr);
        path_ = std::move(other.path_);
        buffer_ = std::move(other.buffer_);
        begin_ = std::exchange(other.begin_, 0);
        end_ = std::exchange(other.end_, 0);
        bufferOffset_ = std::exchange(other.bufferOffset_, 0);
        atEnd_ = std::exchange(other.atEnd_, false);
    }
    return *this;
}

bool TextFile::Open(std::filesystem::path path) {
    Close();
    path_ = std::move(path);
    file_ = std::fopen(path_.c_str(), "rbe");
    if (file_ && std::filesystem::is_directory(path_)) {
        std::fclose(file_);
        file_ = nullptr;
    }
    Rewind();
    return file_ != nullptr;
}

void TextFile::Close() {
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    begin_ = end_ = 0;
    bufferOffset_ = 0;
    atEnd_ = false;
}

void TextFile::Rewind() {
    begin_ = end_ = 0;
    bufferOffset_ = 0;
    atEnd_ = file_ == nullptr;
    if (file_)
        std::fseek(file_, 0, SEEK_SET);
}

bool TextFile::Fill() {
    if (atEnd_)
        return false;
    // Keep the unread part, then read a block behind it.
    if (begin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        bufferOffset_ += begin_;
        end_ -= begin_;
        begin_ = 0;
    }
    if (buffer_.size() < end_ + kReadBlock)
        buffer_.resize(end_ + kReadBlock);
    const std::size_t got = std::fread(buffer_.data() + end_, 1, kReadBlock, file_);
    end_ += got;
    if (got == 0)
        atEnd_ = true;
    return got > 0;
}

bool TextFile::ReadLine(std::string& line) {
    std::size_t scanned = begin_;
    for (;;) {
        const char* found = nullptr;
        if (end_ > scanned)
            found = static_cast<const char*>(std::memchr(buffer_.data() + scanned, '\n', end_ - scanned));
        if (found) {
            const auto lineEnd = static_cast<std::size_t>(found - buffer_.data());
            line.assign(buffer_.data() + begin_, lineEnd - begin_);
            begin_ = lineEnd + 1;
            DropCarriageReturn(line);
            return true;
        }
        const std::size_t unread = end_ - begin_;
        if (!Fill()) {
            if (end_ == begin_)
                return false;
            line.assign(buffer_.data() + begin_, end_ - begin_);
            begin_ = end_;
            DropCarriageReturn(line);
            return true;
        }
        scanned = begin_ + unread;
    }
}

std::uint64_t TextFile::Size() {
    if (!file_)
        return 0;
    std::error_code error;
    const auto size = std::filesystem::file_size(path_, error);
    return error ? 0 : size;
}

bool TextFile::ReadAt(std::uint64_t offset, char* data, std::size_t size) {
    if (!file_ || ::fseeko(file_, static_cast<off_t>(offset), SEEK_SET) != 0)
        return false;
    const bool ok = std::fread(data, 1, size, file_) == size;
    // The line reader's buffer no longer matches the stream position.
    begin_ = end_ = 0;
    bufferOffset_ = 0;
    atEnd_ = true;
    return ok;
}

std::uint64_t TextFile::CountLines() {
    Rewind();
    if (!file_)
        return 0;
    std::vector<char> block(kReadBlock);
    std::uint64_t breaks = 0;
    char last = '\n';
    std::size_t got = 0;
    bool any = false;
    while ((got = std::fread(block.data(), 1, block.size(), file_)) > 0) {
        breaks += static_cast<std::uint64_t>(std::count(block.data(), block.data() + got, '\n'));
        last = block[got - 1];
        any = true;
    }
    Rewind();
    if (!any)
        return 0;
    return breaks + (last == '\n' ? 0 : 1);
}

bool TextFile::EndsWithLineBreak() {
    const std::uint64_t size = Size();
    char last = 0;
    return size > 0 && ReadAt(size - 1, &last, 1) && last == '\n';
}

TextFile::Tail TextFile::ReadTail(std::size_t count) {
    Tail tail;
    const std::uint64_t size = Size();
    if (size == 0 || count == 0) {
        tail.reachesStart = size == 0;
        Rewind();
        return tail;
    }
    // Read ever larger pieces of the end of the file until they hold `count` whole lines.
    std::uint64_t window = std::min<std::uint64_t>(size, kTailBlock);
    std::string piece;
    for (;;) {
        const std::uint64_t start = size - window;
        piece.resize(static_cast<std::size_t>(window));
        if (!ReadAt(start, piece.data(), piece.size())) {
            Rewind();
            return tail;
        }
        std::size_t end = piece.size();
        if (piece[end - 1] == '\n')
            --end;                       // a line break after the last line ends it; it starts no new line
        std::vector<std::size_t> starts; // line starts inside piece, newest first
        std::size_t position = end;
        while (starts.size() < count) {
            const std::size_t found = position == 0 ? std::string::npos : piece.rfind('\n', position - 1);
            if (found == std::string::npos)
                break;
            starts.push_back(found + 1);
            position = found;
        }
        const bool complete = starts.size() == count;
        if (!complete && start == 0)
            starts.push_back(0);
        if (complete || start == 0) {
            std::size_t lineEnd = end;
            for (const std::size_t lineStart : starts) {
                TailLine line{start + lineStart, piece.substr(lineStart, lineEnd - lineStart)};
                DropCarriageReturn(line.text);
                tail.lines.push_back(std::move(line));
                lineEnd = lineStart == 0 ? 0 : lineStart - 1;
            }
            std::reverse(tail.lines.begin(), tail.lines.end());
            tail.reachesStart = !tail.lines.empty() && tail.lines.front().offset == 0;
            break;
        }
        window = std::min<std::uint64_t>(size, window * 4);
    }
    Rewind();
    return tail;
}

bool TextFile::Rewrite(std::uint64_t keep, std::string_view text) {
    AtomicFile output(path_);
    if (!output.IsOpen())
        return false;
    if (keep > 0) {
        if (!file_)
            return false;
        std::vector<char> block(kReadBlock);
        std::uint64_t copied = 0;
        std::fseek(file_, 0, SEEK_SET);
        while (copied < keep) {
            const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(block.size(), keep - copied));
            if (std::fread(block.data(), 1, want, file_) != want)
                return false;
            if (!output.Write({block.data(), want}))
                return false;
            copied += want;
        }
    }
    if (!output.Write(text) || !output.Commit()) {
        Rewind();
        return false;
    }
    Open(path_);
    return true;
}

} // namespace tessaly
