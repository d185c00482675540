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

bool TFileSource::Open(const std::string& path) {
    Fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (Fd < 0) {
        return false;
    }
    struct stat info {};
    if (::fstat(Fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        ::close(Fd);
        Fd = -1;
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
