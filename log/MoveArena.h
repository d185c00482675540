#pragma once
// Memory for the move lists of a project. A large file holds hundreds of megabytes of moves, and
// fresh memory costs the kernel about as much time to fill in as reading the file: the arena takes
// memory in huge pages and has a thread of its own fill them in a little ahead of use, never far
// ahead, so that the reader does not wait for it and the program holds hardly more than the moves
// themselves. Freed lists are not reused; everything goes at once when the project goes.

#include <condition_variable>
#include <cstddef>
#include <memory_resource>
#include <mutex>
#include <thread>
#include <vector>

class TMoveArena final : public std::pmr::memory_resource {
public:
    TMoveArena() = default;
    ~TMoveArena() override { Release(); }
    TMoveArena(const TMoveArena&) = delete;
    TMoveArena& operator=(const TMoveArena&) = delete;

    void Release();
    // Gives back the memory filled in ahead of what was handed out, for an arena that will take
    // little more; what it takes later is filled in as it is used.
    void GiveBackFilledAhead();
    // Bytes handed out since the last release, lists given up on the way included.
    std::size_t UsedBytes() const { return Used; }

private:
    struct TBlock {
        char* Start;
        std::size_t Size;
    };

    void* do_allocate(std::size_t bytes, std::size_t alignment) override;
    void do_deallocate(void*, std::size_t, std::size_t) override {}
    bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override {
        return this == &other;
    }

    void NewBlock(std::size_t atLeast);
    void PopulateUpTo(char* end);
    void StartPopulating(char* start);
    void StopPopulating();
    void Populate(char* start);

    std::vector<TBlock> Blocks;
    char* Next = nullptr;      // first free byte of the current block
    char* Requested = nullptr; // memory below this in the current block is asked to be filled in
    char* BlockEnd = nullptr;
    std::size_t Used = 0;

    // The thread that fills in the current block up to what was asked for.
    std::thread Populator;
    std::mutex PopulatorMutex;
    std::condition_variable PopulatorWake;
    char* PopulateRequest = nullptr; // guarded by the mutex, as is the flag
    bool PopulatorStopping = false;
};
