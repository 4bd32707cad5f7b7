#include "engine/atomicfile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace tessaly {

namespace {

constexpr std::size_t kBufferSize = 1 << 16;

std::string RandomSuffix() {
    static thread_local std::mt19937_64 generator{std::random_device{}()};
    static constexpr char kAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string suffix(8, 'x');
    for (char& c : suffix)
        c = kAlphabet[generator() % (sizeof kAlphabet - 1)];
    return suffix;
}

} // namespace

AtomicFile::AtomicFile(std::filesystem::path target)
    : target_(std::move(target)) {
    const std::filesystem::path folder = target_.has_parent_path() ? target_.parent_path() : ".";
    for (int attempt = 0; attempt < 16 && fd_ < 0; ++attempt) {
        temporary_ = folder / ("." + target_.filename().string() + ".tmp-" + RandomSuffix());
        // 0666 lets the user's umask decide, as for any new file.
        fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ < 0 && errno != EEXIST)
            break;
    }
    if (fd_ < 0) {
        error_ = "cannot create a file in " + folder.string() + ": " + std::strerror(errno);
        failed_ = true;
        temporary_.clear();
    }
    buffer_.reserve(kBufferSize);
}

AtomicFile::~AtomicFile() {
    Discard();
}

void AtomicFile::Fail(const std::string& what) {
    if (!failed_)
        error_ = what + " " + temporary_.string() + ": " + std::strerror(errno);
    failed_ = true;
}

bool AtomicFile::Flush() {
    std::size_t done = 0;
    while (done < buffer_.size()) {
        const ssize_t written = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            Fail("cannot write");
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    buffer_.clear();
    return true;
}

bool AtomicFile::Write(std::string_view data) {
    if (fd_ < 0 || failed_)
        return false;
    if (buffer_.size() + data.size() > kBufferSize) {
        if (!Flush())
            return false;
        if (data.size() > kBufferSize) {
            buffer_.assign(data);
            const bool ok = Flush();
            buffer_.reserve(kBufferSize);
            return ok;
        }
    }
    buffer_.append(data);
    return true;
}

bool AtomicFile::Commit() {
    if (fd_ < 0 || failed_) {
        Discard();
        return false;
    }
    if (!Flush()) {
        Discard();
        return false;
    }
    struct stat existing {};
    if (::stat(target_.c_str(), &existing) == 0)
        ::fchmod(fd_, existing.st_mode & 07777);
    if (::fsync(fd_) != 0) {
        Fail("cannot sync");
        Discard();
        return false;
    }
    if (::close(fd_) != 0) {
        fd_ = -1;
        Fail("cannot close");
        Discard();
        return false;
    }
    fd_ = -1;
    if (std::rename(temporary_.c_str(), target_.c_str()) != 0) {
        Fail("cannot rename over " + target_.string() + " from");
        Discard();
        return false;
    }
    temporary_.clear();
    return true;
}

void AtomicFile::Discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
    buffer_.clear();
}

bool AtomicFile::WriteWhole(const std::filesystem::path& target, std::string_view content,
                            std::string* error) {
    AtomicFile file(target);
    const bool ok = file.Write(content) && file.Commit();
    if (!ok && error)
        *error = file.Error();
    return ok;
}

} // namespace tessaly
