#pragma once
// Where the reader's bytes come from: a file, or memory for tests and the fuzzer.

#include <cstddef>
#include <string>
#include <string_view>

class IByteSource {
public:
    virtual ~IByteSource() = default;
    // Fills up to capacity bytes; 0 means the end (or a read error, see Error()).
    virtual std::size_t Read(char* buffer, std::size_t capacity) = 0;
    // Empty unless reading failed before the end of the data.
    virtual std::string Error() const { return {}; }
};

class TMemorySource final : public IByteSource {
public:
    explicit TMemorySource(std::string_view bytes) : Bytes(bytes) {}
    std::size_t Read(char* buffer, std::size_t capacity) override;

private:
    std::string_view Bytes;
};

class TFileSource final : public IByteSource {
public:
    TFileSource() = default;
    ~TFileSource() override;
    TFileSource(const TFileSource&) = delete;
    TFileSource& operator=(const TFileSource&) = delete;

    // False when the file cannot be read; OpenError() then tells the user why.
    bool Open(const std::string& path);
    std::size_t Read(char* buffer, std::size_t capacity) override;
    std::string Error() const override { return ReadError; }
    const std::string& OpenError() const { return OpenFailure; }

private:
    int Fd = -1;
    std::string ReadError;
    std::string OpenFailure;
};

// Empty when path names a file the reader can take: a regular file or a pipe. Otherwise the
// message for the user: "Cannot open file:" and the path, then the reason unless the file is
// simply not there. A device such as /dev/zero is refused, as its reading would never end.
std::string CannotOpenMessage(const std::string& path);
