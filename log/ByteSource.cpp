#include "ByteSource.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::size_t TMemorySource::Read(char* buffer, std::size_t capacity) {
    const std::size_t n = std::min(capacity, Rest.size());
    std::memcpy(buffer, Rest.data(), n);
    Rest.remove_prefix(n);
    return n;
}

namespace {

// Reads once through readOnce, again where a signal cut the read short; 0 at the end, and on an
// error, which is kept in error (no more reads are made then).
template <typename TReadOnce> std::size_t ReadRetrying(TReadOnce readOnce, std::string& error) {
    if (!error.empty()) {
        return 0;
    }
    for (;;) {
        const ssize_t n = readOnce();
        if (n >= 0) {
            return static_cast<std::size_t>(n);
        }
        if (errno != EINTR) {
            error = std::strerror(errno);
            return 0;
        }
    }
}

} // namespace

std::unique_ptr<IByteSource> TMemorySource::ReaderFrom(std::int64_t offset) const {
    if (offset < 0 || offset > Size()) {
        return nullptr;
    }
    return std::make_unique<TMemorySource>(All.substr(static_cast<std::size_t>(offset)));
}

bool TMemorySource::SkipTo(std::int64_t offset) {
    if (offset < Size() - static_cast<std::int64_t>(Rest.size()) || offset > Size()) {
        return false;
    }
    Rest = All.substr(static_cast<std::size_t>(offset));
    return true;
}

namespace {

// A file's bytes from an offset on, read where they lie without moving the file's own position,
// so that its owner reads on undisturbed.
class TFileRangeSource final : public IByteSource {
public:
    TFileRangeSource(int fd, std::int64_t offset) : Fd(fd), At(offset) {}

    std::size_t Read(char* buffer, std::size_t capacity) override {
        const std::size_t n = ReadRetrying(
            [&] { return ::pread(Fd, buffer, capacity, static_cast<off_t>(At)); }, ReadError);
        At += static_cast<std::int64_t>(n);
        return n;
    }
    std::string Error() const override { return ReadError; }

private:
    int Fd;
    std::int64_t At;
    std::string ReadError;
};

} // namespace

TFileSource::~TFileSource() {
    if (Fd >= 0) {
        ::close(Fd);
    }
}

namespace {

// A missing file is named only; any other failure adds its reason.
std::string MessageFor(const std::string& path, const char* reason) {
    std::string message = "Cannot open file:\n" + path;
    if (reason != nullptr) {
        message += "\n";
        message += reason;
    }
    return message;
}

std::string MessageForError(const std::string& path, int error) {
    return MessageFor(path, error == ENOENT ? nullptr : std::strerror(error));
}

// Null when a file of this kind can be read to its end, else why it cannot.
const char* KindProblem(mode_t mode) {
    if (S_ISREG(mode) || S_ISFIFO(mode)) {
        return nullptr;
    }
    if (S_ISDIR(mode)) {
        return "It is a folder, not a file.";
    }
    return "It is a device or another special file, not a regular file or a pipe.";
}

} // namespace

std::string CannotOpenMessage(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return MessageForError(path, errno);
    }
    if (const char* problem = KindProblem(info.st_mode)) {
        return MessageFor(path, problem);
    }
    return {};
}

bool TFileSource::Open(const std::string& path) {
    // Checked before opening: opening some devices already has effects.
    OpenFailure = CannotOpenMessage(path);
    if (!OpenFailure.empty()) {
        return false;
    }
    // A named pipe waits here for its writer, as it does for any reader of pipes.
    Fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info {};
    if (Fd < 0 || ::fstat(Fd, &info) != 0) {
        OpenFailure = MessageForError(path, errno);
    } else if (const char* problem = KindProblem(info.st_mode)) {
        OpenFailure = MessageFor(path, problem); // the path names another file by now
    }
    if (!OpenFailure.empty()) {
        if (Fd >= 0) {
            ::close(Fd);
            Fd = -1;
        }
        return false;
    }
    ::posix_fadvise(Fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    Regular = S_ISREG(info.st_mode);
    return true;
}

std::int64_t TFileSource::Size() const {
    struct stat info {};
    if (!Regular || ::fstat(Fd, &info) != 0) {
        return -1;
    }
    return info.st_size;
}

std::unique_ptr<IByteSource> TFileSource::ReaderFrom(std::int64_t offset) const {
    if (!Regular || offset < 0) {
        return nullptr;
    }
    return std::make_unique<TFileRangeSource>(Fd, offset);
}

bool TFileSource::SkipTo(std::int64_t offset) {
    return Regular && ReadError.empty() &&
           ::lseek(Fd, static_cast<off_t>(offset), SEEK_SET) == static_cast<off_t>(offset);
}

std::size_t TFileSource::Read(char* buffer, std::size_t capacity) {
    if (Fd < 0) {
        return 0;
    }
    return ReadRetrying([&] { return ::read(Fd, buffer, capacity); }, ReadError);
}
