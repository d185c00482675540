#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace gen3dl {

// Buffered writer for large files: fills a 1 MiB buffer and hands it to fwrite in one go.
// The first failed write is remembered; later output is dropped and close() reports it.
class Output {
public:
    explicit Output(std::FILE* file, std::size_t bufferSize = std::size_t{1} << 20);
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    void put(char c) {
        if (used_ == buffer_.size()) {
            drain();
        }
        buffer_[used_++] = c;
    }
    void put(std::string_view text);
    void putInt(long long value);
    void line(std::string_view text) {
        put(text);
        put('\n');
    }

    bool failed() const { return failed_; }

    // Flushes and (unless writing to standard output) closes the file. On failure returns false
    // and sets `error` to the system's reason.
    bool close(std::string& error);

private:
    void drain();

    std::FILE* file_;
    std::vector<char> buffer_;
    std::size_t used_ = 0;
    bool failed_ = false;
    int errno_ = 0;
};

} // namespace gen3dl
