#pragma once
// One person's move list held as the file writes it: runs of equal entries. A list of millions
// of time steps where the person queues takes a few bytes, so the memory of a project follows the
// size of its file, never the length of its replay.
//
// Each run is one token of bytes: zero or more length bytes (high bit set, seven bits of the run
// length each, most significant first) and then one code byte (high bit clear) that packs the
// direction and the change of deck. A run of one entry is the code byte alone. Because a token
// ends with the only byte whose high bit is clear, the list can be walked in both directions.
//
// A cursor remembers the run last looked at, so that the replay's next or previous time step is
// found in constant time; any other step is found by walking from the cursor (a seek).

#include <cstdint>
#include <memory>
#include <memory_resource>
#include <vector>

struct TMove {
    std::int32_t Direction = 0;   // 0 stands, 1 .. 8 one cell in a compass direction
    std::int32_t LevelChange = 0; // -1, 0 or +1 decks in this step

    friend bool operator==(const TMove&, const TMove&) = default;
};

class TMoveList {
public:
    // Gathers a list of entries as it is read, in memory of its own that it keeps for the next
    // list, so that the list can then be handed to its person in one piece of exactly its size.
    class TBuilder {
    public:
        // Appends runs straight into the builder's memory, for a reader that adds many entries in
        // a row: no room is checked per entry, so it is made with a bound of the bytes the
        // entries can take, and handed back with Finish before the builder is used otherwise.
        class TWriter {
        public:
            // Adds n equal entries, n >= 0 (an empty run only ends the open one).
            void Add(std::int64_t n, TMove move) {
                const std::uint8_t code = CodeOfMove(move);
                Entries += n;
                if (OpenLength > 0 && code == OpenCode) {
                    OpenLength += n;
                    return;
                }
                Out = WriteRun(Out, OpenLength, OpenCode);
                OpenCode = code;
                OpenLength = n;
            }
            // The same for one entry, the commonest case, with a branch only where a run of more
            // than one entry ends: equal or unequal neighbours cannot be foretold.
            void AddOne(TMove move) {
                const std::uint8_t code = CodeOfMove(move);
                const bool differs = code != OpenCode;
                ++Entries;
                if (differs && OpenLength > 1) {
                    Out = WriteToken(Out, OpenLength, OpenCode);
                    OpenLength = 0;
                }
                *Out = OpenCode; // kept only when it closes a run of one
                Out += differs && OpenLength == 1 ? 1 : 0;
                OpenLength = differs ? 1 : OpenLength + 1;
                OpenCode = code;
            }
            // Entries of the list so far.
            std::int64_t Count() const { return Entries; }

        private:
            friend class TBuilder;
            TWriter(std::uint8_t* out, std::int64_t entries, std::int64_t openLength,
                    std::uint8_t openCode)
                : Out(out), Entries(entries), OpenLength(openLength), OpenCode(openCode) {}

            std::uint8_t* Out;
            std::int64_t Entries;
            std::int64_t OpenLength;
            std::uint8_t OpenCode;
        };

        void Clear();
        // A writer with room for entries whose runs take at most bytes bytes.
        TWriter Write(std::size_t bytes) {
            MakeRoom(bytes + MaxTokenSize);
            return {Closed.get() + ClosedSize, EntryCount, OpenLength, OpenCode};
        }
        void Finish(const TWriter& writer) {
            ClosedSize = static_cast<std::size_t>(writer.Out - Closed.get());
            EntryCount = writer.Entries;
            OpenLength = writer.OpenLength;
            OpenCode = writer.OpenCode;
        }
        // Adds n equal entries, n >= 1, the entries in all at most 2^31 - 1.
        void Add(std::int32_t n, TMove move) {
            TWriter writer = Write(0);
            writer.Add(n, move);
            Finish(writer);
        }
        std::int64_t Count() const { return EntryCount; }
        // Bytes of the runs before the last one.
        std::size_t ClosedBytes() const { return ClosedSize; }
        // Bytes the list will take.
        std::size_t ByteSize() const {
            return ClosedSize + (OpenLength > 0 ? TokenSize(OpenLength) : 0);
        }

    private:
        friend class TMoveList;
        void CloseRun() {
            MakeRoom(MaxTokenSize);
            ClosedSize = static_cast<std::size_t>(
                WriteRun(Closed.get() + ClosedSize, OpenLength, OpenCode) - Closed.get());
            OpenLength = 0;
        }
        void MakeRoom(std::size_t bytes);

        std::unique_ptr<std::uint8_t[]> Closed;
        std::size_t ClosedSize = 0;
        std::size_t ClosedCapacity = 0;
        std::int64_t EntryCount = 0;
        std::int64_t OpenLength = 0;
        std::uint8_t OpenCode = 0;
    };

    TMoveList() = default;
    explicit TMoveList(std::pmr::memory_resource* memory) : Bytes(memory) {}

    std::int32_t Count() const { return EntryCount; }
    // Bytes the list takes, not counting spare room.
    std::size_t ByteSize() const { return Bytes.size(); }

    // Appends n equal entries, merged with the last run when that run holds the same move. A
    // direction outside 0 .. 8 is kept as one invalid direction, a change of deck outside -1 .. +1
    // as its sign. Nothing is appended for n of 0 or less, or past 2^31 - 1 entries in all.
    void Append(std::int32_t n, TMove move);
    // Appends a gathered list the same way, in one piece (builder.ByteSize() bytes at most);
    // nothing when the entries would pass 2^31 - 1.
    void Append(TBuilder& builder);
    // New memory that appending the builder's list takes, at most.
    std::size_t MemoryToAppend(const TBuilder& builder) const;
    void Clear();
    // Becomes the other list, which was made in other memory, keeping its memory; this list must
    // hold no entries.
    void TakeOver(TMoveList&& other) {
        std::destroy_at(this);
        std::construct_at(this, std::move(other));
    }

    // Entry k, 0 <= k < Count(); moves the cursor there.
    TMove At(std::int32_t k) {
        if (static_cast<std::uint32_t>(k - RunFirst) >= static_cast<std::uint32_t>(RunLength)) {
            const bool stepped = k == RunFirst + RunLength ? StepToSingleEntryRun()
                                 : k == RunFirst - 1       ? StepBackToSingleEntryRun()
                                                           : false;
            if (!stepped) {
                Seek(k);
            }
        }
        return MoveOfCode(RunCode);
    }

    // Calls visit(count, move) for the runs of entries 0 .. k - 1 newest first, the newest cut
    // short at k, until visit returns false; 0 <= k <= Count(). Leaves the cursor on the run of
    // entry k - 1, where a replay at step k has it.
    template <typename TVisit> void ForEachRunBackFrom(std::int32_t k, TVisit visit) {
        if (k <= 0 || k > EntryCount) {
            return;
        }
        const TMove newest = At(k - 1);
        if (!visit(k - RunFirst, newest)) {
            return;
        }
        for (std::size_t start = RunStart; start > 0;) {
            start = TokenStartBefore(start);
            const TToken token = TokenAt(start);
            if (!visit(token.Length, MoveOfCode(token.Code))) {
                return;
            }
        }
    }

    // How many entries right before entry k stand still (direction 0, with or without a change
    // of deck), counted back from entry k - 1 to the first that moves; 0 <= k <= Count(). Leaves
    // the cursor on the run of entry k - 1, where a replay at step k has it.
    std::int32_t StandingBefore(std::int32_t k);

    // Asks the processor to fetch the run after the cursor, which a step forwards reads next, or
    // the end of the run before it, which a step backwards reads next.
    void PrefetchNextRun() const { __builtin_prefetch(Bytes.data() + RunStart + RunSize); }
    void PrefetchPreviousRun() const {
        if (RunStart > 0) {
            __builtin_prefetch(Bytes.data() + RunStart - 1);
        }
    }

    // Reads the runs from the first on, one at a time, without moving the list's cursor: many
    // lists can be read side by side, each by a reader of its own, also from another thread than
    // the replay's.
    class TRunReader {
    public:
        TRunReader() = default;
        explicit TRunReader(const TMoveList& list)
            : At(list.Bytes.data()), End(list.Bytes.data() + list.Bytes.size()) {}
        bool AtEnd() const { return At == End; }
        // The next run, of count entries equal to move; only before AtEnd.
        void Next(std::int32_t& count, TMove& move) {
            const TToken token = (*At & LengthBit) == 0 ? TToken{1, *At, 1} : DecodeToken(At);
            At += token.Size;
            count = token.Length;
            move = MoveOfCode(token.Code);
        }
        // Asks the processor to fetch the next run.
        void Prefetch() const { __builtin_prefetch(At); }

    private:
        // The list's bytes from the next run on: the list must not change while it is read.
        const std::uint8_t* At = nullptr;
        const std::uint8_t* End = nullptr;
    };

    // Calls visit(count, move) for every run from the first.
    template <typename TVisit> void ForEachRun(TVisit visit) const {
        for (std::size_t at = 0; at < Bytes.size();) {
            const TToken token = QuickTokenAt(at);
            visit(token.Length, MoveOfCode(token.Code));
            at += token.Size;
        }
    }

    // Calls visit(count, move) for the runs of entries 0 .. k - 1, the last one cut short at k,
    // and leaves the cursor on the run of entry k when there is one: a jump to step k costs a
    // visit per run, not per entry.
    template <typename TVisit> void ForEachRunBefore(std::int32_t k, TVisit visit) {
        std::int32_t first = 0;
        std::size_t at = 0;
        while (at < Bytes.size() && first < k) {
            const TToken token = QuickTokenAt(at);
            if (token.Length > k - first) {
                visit(k - first, MoveOfCode(token.Code));
                break; // entry k lies inside this run
            }
            visit(token.Length, MoveOfCode(token.Code));
            first += token.Length;
            at += token.Size;
        }
        if (at < Bytes.size()) {
            SetCursor(at, first);
        }
    }

    // The bytes a run of n entries takes.
    static std::size_t TokenSize(std::int64_t n);

private:
    static constexpr std::int32_t InvalidDirection = 9;
    static constexpr std::int32_t LevelChanges = 3; // -1, 0, +1
    static constexpr std::uint8_t LengthBit = 0x80; // marks a length byte

    struct TToken {
        std::int32_t Length;
        std::uint8_t Code;
        std::uint8_t Size;
    };

    static TMove MoveOfCode(std::uint8_t code) {
        return {code / LevelChanges, code % LevelChanges - 1};
    }
    // Directions 0 .. 8 and one code for any other; the change of deck by its sign.
    static std::uint8_t CodeOfMove(TMove move) {
        const std::int32_t direction = move.Direction >= 0 && move.Direction < InvalidDirection
                                           ? move.Direction
                                           : InvalidDirection;
        const std::int32_t change = (move.LevelChange > 0) - (move.LevelChange < 0);
        return static_cast<std::uint8_t>(direction * LevelChanges + change + 1);
    }
    TToken TokenAt(std::size_t at) const;
    // The same, with a run of one entry, the commonest, read without a call.
    TToken QuickTokenAt(std::size_t at) const {
        const std::uint8_t first = Bytes[at];
        return (first & LengthBit) == 0 ? TToken{1, first, 1} : TokenAt(at);
    }
    // Start of the token that ends right before byte end.
    std::size_t TokenStartBefore(std::size_t end) const;
    // The room to take when size bytes are needed; 0 when they fit.
    std::size_t RoomFor(std::size_t size) const;
    static TToken DecodeToken(const std::uint8_t* at);
    // The most bytes a token takes: nine length bytes and the code.
    static constexpr std::size_t MaxTokenSize = 10;
    // Writes the token of a run of n entries; returns the byte after it.
    static std::uint8_t* WriteToken(std::uint8_t* at, std::int64_t n, std::uint8_t code);
    // The same for any n: nothing for none, the code alone for one entry.
    static std::uint8_t* WriteRun(std::uint8_t* at, std::int64_t n, std::uint8_t code) {
        if (n == 1) {
            *at++ = code;
        } else if (n > 1) {
            at = WriteToken(at, n, code);
        }
        return at;
    }
    void Seek(std::int32_t k);
    // Moves the cursor on to the next run when that run is a single entry, the commonest case
    // of a walking person; false, with the cursor unmoved, otherwise.
    bool StepToSingleEntryRun() {
        const std::uint32_t next = RunStart + RunSize;
        if (next >= Bytes.size() || (Bytes[next] & LengthBit) != 0) {
            return false;
        }
        RunFirst += RunLength;
        RunStart = next;
        RunLength = 1;
        RunSize = 1;
        RunCode = Bytes[next];
        return true;
    }
    // The same for the run before the cursor.
    bool StepBackToSingleEntryRun() {
        if (RunStart == 0 || (RunStart >= 2 && (Bytes[RunStart - 2] & LengthBit) != 0)) {
            return false;
        }
        RunStart -= 1;
        RunFirst -= 1;
        RunLength = 1;
        RunSize = 1;
        RunCode = Bytes[RunStart];
        return true;
    }
    void SetCursor(std::size_t at, std::int32_t first);
    void RewindCursor();

    std::pmr::vector<std::uint8_t> Bytes;
    std::int32_t EntryCount = 0;
    // The cursor: the run that starts at byte RunStart and covers entries RunFirst up to
    // RunFirst + RunLength - 1. An empty run before the list when nothing was looked at yet.
    std::uint32_t RunStart = 0;
    std::int32_t RunFirst = 0;
    std::int32_t RunLength = 0;
    std::uint8_t RunCode = 0;
    std::uint8_t RunSize = 0;
};
