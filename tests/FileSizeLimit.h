#pragma once
// A full disk for the files this process writes, without mounting one.

#include <csignal>
#include <sys/resource.h>

// While it lives, no file this process writes may grow beyond the given size: a write past it
// fails with "File too large", as one on a full disk fails with "No space left on device".
class TFileSizeLimit {
public:
    explicit TFileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &Before);
        OldSignal = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = Before;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~TFileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &Before);
        std::signal(SIGXFSZ, OldSignal);
    }
    TFileSizeLimit(const TFileSizeLimit&) = delete;
    TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;

private:
    rlimit Before{};
    void (*OldSignal)(int) = nullptr;
};
