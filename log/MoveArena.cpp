#include "MoveArena.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <sys/mman.h>

namespace {

constexpr std::size_t HugePage = std::size_t{2} << 20;
// Address space is cheap; memory is only used where it is filled in.
constexpr std::size_t BlockSize = std::size_t{1} << 30;
constexpr std::size_t PopulateStep = std::size_t{32} << 20;
constexpr std::size_t FirstBlockSize = std::size_t{8} << 20;

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23
#endif

std::uintptr_t RoundUp(std::uintptr_t value, std::uintptr_t unit) {
    return (value + unit - 1) & ~(unit - 1);
}

} // namespace

void TMoveArena::Release() {
    StopPopulating();
    for (const TBlock& block : Blocks) {
        ::munmap(block.Start, block.Size);
    }
    Blocks.clear();
    Next = Requested = BlockEnd = nullptr;
    Used = 0;
}

void TMoveArena::GiveBackFilledAhead() {
    StopPopulating();
    if (Next == nullptr) {
        return;
    }
    char* const unused =
        reinterpret_cast<char*>(RoundUp(reinterpret_cast<std::uintptr_t>(Next), HugePage));
    if (unused < Requested) {
        ::madvise(unused, static_cast<std::size_t>(Requested - unused), MADV_DONTNEED);
    }
    Requested = BlockEnd;
}

void TMoveArena::NewBlock(std::size_t atLeast) {
    // Small projects fit the first block and are served page by page; bulk filling and huge
    // pages only pay off for the large ones.
    const bool bulk = !Blocks.empty();
    const std::size_t size =
        RoundUp(std::max(atLeast, bulk ? BlockSize : FirstBlockSize), HugePage);
    // One huge page more, so the block can start on a huge-page boundary.
    const std::size_t mapped = size + HugePage;
    void* raw = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE,
                       MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (raw == MAP_FAILED) {
        throw std::bad_alloc();
    }
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = RoundUp(start, HugePage);
    if (aligned > start) {
        ::munmap(raw, aligned - start);
    }
    const std::size_t tail = mapped - (aligned - start) - size;
    if (tail > 0) {
        ::munmap(reinterpret_cast<void*>(aligned + size), tail);
    }
    char* block = reinterpret_cast<char*>(aligned);
    Blocks.push_back({block, size});
    Next = block;
    BlockEnd = block + size;
    // Memory of the first block is filled in on first use.
    Requested = BlockEnd;
    if (bulk) {
        ::madvise(block, size, MADV_HUGEPAGE); // advice only: it works without huge pages
        StartPopulating(block);
    }
}

// Asks for memory to be filled in ahead of what has been used, by as much as has been used so far
// but at most one step: a small file takes one huge page, a large one 32 MB at a time. The lock
// is only taken once a step.
void TMoveArena::PopulateUpTo(char* end) {
    if (end <= Requested) {
        return;
    }
    const TBlock& block = Blocks.back();
    const auto used = static_cast<std::size_t>(end - block.Start);
    const auto ahead = reinterpret_cast<std::uintptr_t>(end) + std::min(used, PopulateStep);
    Requested = reinterpret_cast<char*>(
        std::min(RoundUp(ahead, HugePage), reinterpret_cast<std::uintptr_t>(BlockEnd)));
    {
        const std::lock_guard lock(PopulatorMutex);
        PopulateRequest = Requested;
    }
    PopulatorWake.notify_one();
}

void TMoveArena::StartPopulating(char* start) {
    StopPopulating();
    Requested = start;
    PopulateRequest = start;
    PopulatorStopping = false;
    Populator = std::thread([this, start] { Populate(start); });
}

void TMoveArena::StopPopulating() {
    if (!Populator.joinable()) {
        return;
    }
    {
        const std::lock_guard lock(PopulatorMutex);
        PopulatorStopping = true;
    }
    PopulatorWake.notify_one();
    Populator.join();
}

// Runs on the populating thread. Where the kernel cannot fill in memory in bulk, the pages are
// filled in on first use instead; memory the reader touches first is filled in there.
void TMoveArena::Populate(char* start) {
    char* done = start;
    for (;;) {
        char* target = nullptr;
        {
            std::unique_lock lock(PopulatorMutex);
            PopulatorWake.wait(lock, [&] { return PopulatorStopping || PopulateRequest > done; });
            if (PopulatorStopping) {
                return;
            }
            target = PopulateRequest;
        }
        ::madvise(done, static_cast<std::size_t>(target - done), MADV_POPULATE_WRITE);
        done = target;
    }
}

void* TMoveArena::do_allocate(std::size_t bytes, std::size_t alignment) {
    if (alignment > HugePage) {
        throw std::bad_alloc();
    }
    auto aligned = [&] {
        return reinterpret_cast<char*>(RoundUp(reinterpret_cast<std::uintptr_t>(Next), alignment));
    };
    if (Next == nullptr || bytes > static_cast<std::size_t>(BlockEnd - aligned())) {
        NewBlock(bytes);
    }
    char* result = aligned();
    Next = result + bytes;
    Used += bytes;
    PopulateUpTo(Next);
    return result;
}
