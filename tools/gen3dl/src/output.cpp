#include "output.hpp"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>

namespace gen3dl {

Output::Output(std::FILE* file, std::size_t bufferSize) : file_(file), buffer_(bufferSize) {}

// Whole move lists come through here, so they are copied a buffer's room at a time.
void Output::put(std::string_view text) {
    while (!text.empty()) {
        if (used_ == buffer_.size()) {
            drain();
        }
        const std::size_t n = std::min(text.size(), buffer_.size() - used_);
        std::memcpy(buffer_.data() + used_, text.data(), n);
        used_ += n;
        text.remove_prefix(n);
    }
}

void Output::putInt(long long value) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    put(std::string_view(digits, static_cast<std::size_t>(result.ptr - digits)));
}

void Output::drain() {
    if (!failed_ && used_ > 0) {
        errno = 0;
        if (std::fwrite(buffer_.data(), 1, used_, file_) != used_) {
            failed_ = true;
            errno_ = errno != 0 ? errno : EIO;
        }
    }
    used_ = 0;
}

bool Output::close(std::string& error) {
    drain();
    if (!failed_) {
        errno = 0;
        if (std::fflush(file_) != 0 || std::ferror(file_)) {
            failed_ = true;
            errno_ = errno != 0 ? errno : EIO;
        }
    }
    if (file_ != stdout) {
        errno = 0;
        if (std::fclose(file_) != 0 && !failed_) {
            failed_ = true;
            errno_ = errno != 0 ? errno : EIO;
        }
        file_ = nullptr;
    }
    if (failed_) {
        error = std::strerror(errno_);
    }
    return !failed_;
}

} // namespace gen3dl
