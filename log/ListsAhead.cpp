#include "ListsAhead.h"

#include "PlainMoves.h"

#include <chrono>
#include <cstring>
#include <limits>

namespace {

constexpr std::size_t ChunkSize = std::size_t{1} << 20;
constexpr std::int64_t MaxEntriesPerList = std::numeric_limits<std::int32_t>::max();

// The text read so far and not yet passed, with the offset in the data of its first byte.
class TWindow {
public:
    explicit TWindow(IByteSource& source, std::int64_t offset)
        : Source(source), Text(std::make_unique_for_overwrite<char[]>(ChunkSize)),
          TextStart(offset) {}

    const char* Begin() const { return Text.get() + Pos; }
    const char* End() const { return Text.get() + Size; }
    std::size_t Left() const { return Size - Pos; }
    std::int64_t Offset() const { return TextStart + static_cast<std::int64_t>(Pos); }
    void PassTo(const char* at) { Pos = static_cast<std::size_t>(at - Text.get()); }

    // Keeps what is left and reads more after it; false at the end of the data. Line feeds are
    // counted up to what was passed before it goes.
    bool ReadMore() {
        CountLineFeedsUpTo(Begin());
        std::memmove(Text.get(), Begin(), Left());
        TextStart += static_cast<std::int64_t>(Pos);
        Size -= Pos;
        Pos = 0;
        CountedTo = 0;
        const std::size_t n = Source.Read(Text.get() + Size, ChunkSize - Size);
        Size += n;
        return n > 0;
    }

    // Line feeds from where counting started up to at, and the offset after the last of them.
    void CountLineFeedsUpTo(const char* at) {
        const char* from = Text.get() + CountedTo;
        if (const std::int64_t found = TLogScanner::CountLineFeeds(from, at); found > 0) {
            LineFeeds += found;
            const auto* last = static_cast<const char*>(
                ::memrchr(from, '\n', static_cast<std::size_t>(at - from)));
            LineStart = TextStart + (last + 1 - Text.get());
        }
        CountedTo = static_cast<std::size_t>(at - Text.get());
    }
    void StartCountingLines() {
        CountedTo = Pos;
        LineFeeds = 0;
        LineStart = -1;
    }
    std::int64_t LineFeedsCounted() const { return LineFeeds; }
    std::int64_t LineStartCounted() const { return LineStart; }

private:
    IByteSource& Source;
    std::unique_ptr<char[]> Text;
    std::int64_t TextStart;
    std::size_t Pos = 0;
    std::size_t Size = 0;
    std::size_t CountedTo = 0;
    std::int64_t LineFeeds = 0;
    std::int64_t LineStart = -1;
};

} // namespace

TListsAhead::TListsAhead(std::unique_ptr<IByteSource> source, std::int64_t from, TMoveArena& memory,
                         std::uint64_t memoryBudget)
    : Source(std::move(source)), Start(from), Memory(memory), Budget(memoryBudget),
      Thread([this] { Run(); }) {}

void TListsAhead::Stop() {
    Stopping = true;
    if (Thread.joinable()) {
        Thread.join();
    }
}

std::int64_t TListsAhead::Begin() {
    while (BeginAt.load() == -2) {
        std::this_thread::yield();
    }
    return BeginAt.load();
}

std::deque<TListsAhead::TList>& TListsAhead::Lists(const std::function<void()>& breathe) {
    std::unique_lock lock(DoneMutex);
    while (!DoneWake.wait_for(lock, std::chrono::milliseconds(10), [this] { return Done; })) {
        lock.unlock();
        breathe();
        lock.lock();
    }
    lock.unlock();
    Stop();
    return Read;
}

void TListsAhead::Run() {
    try {
        ReadLists();
    } catch (...) {
        // Memory ran out: what was read stays, the reader reads the rest itself.
    }
    Memory.GiveBackFilledAhead();
    if (BeginAt.load() == -2) {
        BeginAt = -1;
    }
    const std::lock_guard lock(DoneMutex);
    Done = true;
    DoneWake.notify_all();
}

void TListsAhead::ReadLists() {
    TWindow text(*Source, Start);
    // The first list starts after the first end of a list.
    for (;;) {
        if (const void* end = std::memchr(text.Begin(), 'S', text.Left())) {
            text.PassTo(static_cast<const char*>(end) + 1);
            break;
        }
        text.PassTo(text.End());
        if (Stopping || !text.ReadMore()) {
            return;
        }
    }
    BeginAt = text.Offset();
    text.StartCountingLines();
    TMoveList::TBuilder builder;
    bool tooLong = false;
    std::uint64_t used = 0;
    while (!Stopping) {
        if (text.Left() <= LongestPlainEntry) {
            if (!text.ReadMore() && text.Left() <= LongestPlainEntry) {
                return; // the last characters are the careful reading's
            }
            continue;
        }
        TMoveList::TBuilder::TWriter list = builder.Write(text.Left());
        const auto fits = [&] {
            tooLong = list.Count() > MaxEntriesPerList;
            return !tooLong;
        };
        const char* const end = text.End() - LongestPlainEntry;
        const TPlainStop stop = ReadPlainEntries(text.Begin(), end, list, fits);
        builder.Finish(list);
        if (tooLong || !fits()) {
            return;
        }
        text.PassTo(stop.At);
        if (stop.ListEnded) {
            text.CountLineFeedsUpTo(stop.At);
            TList read{TMoveList(&Memory), builder.ByteSize(), text.Offset(),
                       text.LineFeedsCounted(), text.LineStartCounted()};
            used += read.MemoryToGive;
            if (used > Budget) {
                return;
            }
            read.Moves.Append(builder);
            builder.Clear();
            Read.push_back(std::move(read));
        } else if (stop.At < end) {
            return; // another spelling, or no list
        }
    }
}
