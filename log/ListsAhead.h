#pragma once
// The move lists of the second half of a movement section, read on a thread of their own while
// the reader reads the first half. The thread starts after the first "S" (the end of a list)
// from a given offset and reads list after list as long as they are in the plain spellings,
// each into memory of its own that the person can keep. When the reader arrives at the first of
// them, it takes them over and goes on after the last; a list in another spelling, anything
// that is no list, and the end of the data end the reading ahead, and the reader reads on from
// there itself, with whatever it has to tell.

#include "ByteSource.h"
#include "MoveArena.h"
#include "MoveList.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <memory_resource>
#include <mutex>
#include <thread>
#include <vector>

class TListsAhead {
public:
    struct TList {
        TMoveList Moves;
        // What giving the list to a person without moves takes, as the reader counts it.
        std::size_t MemoryToGive = 0;
        // The offset after its "S", and the line there: the line feeds since the first list's
        // start, and the offset of the line's start (-1 while still the first list's line).
        std::int64_t End = 0;
        std::int64_t LineFeeds = 0;
        std::int64_t LineStart = -1;
    };

    // Reads from source, whose first byte lies at offset from in the data, into memory, no more
    // than memoryBudget bytes of it; what the memory filled in ahead is given back at the end.
    TListsAhead(std::unique_ptr<IByteSource> source, std::int64_t from, TMoveArena& memory,
                std::uint64_t memoryBudget);
    ~TListsAhead() { Stop(); }
    TListsAhead(const TListsAhead&) = delete;
    TListsAhead& operator=(const TListsAhead&) = delete;

    std::int64_t From() const { return Start; }
    // The offset of the first list, right after the first "S" from From(); -1 where there is
    // none. Waits for the thread to find it.
    std::int64_t Begin();
    // Waits for the thread to end, calling breathe now and then; the lists read, in order.
    std::deque<TList>& Lists(const std::function<void()>& breathe);
    // Ends the reading and waits for the thread.
    void Stop();

private:
    void Run();
    void ReadLists();

    std::unique_ptr<IByteSource> Source;
    std::int64_t Start;
    TMoveArena& Memory;
    std::uint64_t Budget;
    std::deque<TList> Read;
    std::atomic<std::int64_t> BeginAt{-2}; // -2 while not known
    std::atomic<bool> Stopping{false};
    std::mutex DoneMutex;
    std::condition_variable DoneWake;
    bool Done = false; // guarded by the mutex
    std::thread Thread;
};
