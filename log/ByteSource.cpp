#include "ByteSource.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::size_t TMemorySource::Read(char* buffer, std::size_t capacity) {
    const std::size_t n = std::min(capacity, Bytes.size());
    std::memcpy(buffer, Bytes.data(), n);
    Bytes.remove_prefix(n);
    return n;
}

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
    return true;
}

std::size_t TFileSource::Read(char* buffer, std::size_t capacity) {
    if (Fd < 0 || !ReadError.empty()) {
        return 0;
    }
    for (;;) {
        const ssize_t n = ::read(Fd, buffer, capacity);
        if (n >= 0) {
            return static_cast<std::size_t>(n);
        }
        if (errno != EINTR) {
            ReadError = std::strerror(errno);
            return 0;
        }
    }
}
