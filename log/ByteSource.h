#pragma once
// Where the reader's bytes come from: a file, or memory for tests and the fuzzer.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class IByteSource {
public:
    virtual ~IByteSource() = default;
    // Fills up to capacity bytes; 0 means the end (or a read error, see Error()).
    virtual std::size_t Read(char* buffer, std::size_t capacity) = 0;
    // Empty unless reading failed before the end of the data.
    virtual std::string Error() const { return {}; }

    // Where the data can be read twice (a file, not a pipe): its size, the data from an offset on
    // in a source of its own that another thread may read while this one is read, and a jump of
    // this source to an offset ahead of what it has handed out. -1, null and false elsewhere.
    virtual std::int64_t Size() const { return -1; }
    virtual std::unique_ptr<IByteSource> ReaderFrom(std::int64_t /*offset*/) const {
        return nullptr;
    }
    virtual bool SkipTo(std::int64_t /*offset*/) { return false; }
};

class TMemorySource final : public IByteSource {
public:
    explicit TMemorySource(std::string_view bytes) : All(bytes), Rest(bytes) {}
    std::size_t Read(char* buffer, std::size_t capacity) override;
    std::int64_t Size() const override { return static_cast<std::int64_t>(All.size()); }
    std::unique_ptr<IByteSource> ReaderFrom(std::int64_t offset) const override;
    bool SkipTo(std::int64_t offset) override;

private:
    std::string_view All;
    std::string_view Rest;
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
    // A regular file's size, its bytes from an offset on (read while this source lives), and a
    // jump ahead; not for pipes.
    std::int64_t Size() const override;
    std::unique_ptr<IByteSource> ReaderFrom(std::int64_t offset) const override;
    bool SkipTo(std::int64_t offset) override;

private:
    int Fd = -1;
    bool Regular = false;
    std::string ReadError;
    std::string OpenFailure;
};

// Empty when path names a file the reader can take: a regular file or a pipe. Otherwise the
// message for the user: "Cannot open file:" and the path, then the reason unless the file is
// simply not there. A device such as /dev/zero is refused, as its reading would never end.
std::string CannotOpenMessage(const std::string& path);
