#include "MoveList.h"

#include <algorithm>
#include <limits>

namespace {

constexpr std::uint8_t LengthBits = 0x7f;
constexpr int LengthBitsPerByte = 7;

} // namespace

std::size_t TMoveList::TokenSize(std::int64_t n) {
    std::size_t size = 1;
    if (n > 1) {
        for (std::int64_t rest = n; rest > 0; rest >>= LengthBitsPerByte) {
            ++size;
        }
    }
    return size;
}

TMoveList::TToken TMoveList::DecodeToken(const std::uint8_t* at) {
    std::int64_t length = 0;
    std::size_t size = 0;
    while ((at[size] & LengthBit) != 0) {
        length = (length << LengthBitsPerByte) | (at[size] & LengthBits);
        ++size;
    }
    return {size == 0 ? 1 : static_cast<std::int32_t>(length), at[size],
            static_cast<std::uint8_t>(size + 1)};
}

TMoveList::TToken TMoveList::TokenAt(std::size_t at) const {
    return DecodeToken(Bytes.data() + at);
}

std::uint8_t* TMoveList::WriteToken(std::uint8_t* at, std::int64_t n, std::uint8_t code) {
    if (n <= LengthBits) {
        *at++ = static_cast<std::uint8_t>(LengthBit | n);
        *at++ = code;
        return at;
    }
    for (std::size_t group = TokenSize(n) - 1; group-- > 0;) {
        const auto bits = static_cast<std::uint64_t>(n) >> (group * LengthBitsPerByte);
        *at++ = static_cast<std::uint8_t>(LengthBit | (bits & LengthBits));
    }
    *at++ = code;
    return at;
}

std::size_t TMoveList::TokenStartBefore(std::size_t end) const {
    std::size_t start = end - 1; // the code byte
    while (start > 0 && (Bytes[start - 1] & LengthBit) != 0) {
        --start;
    }
    return start;
}

std::int32_t TMoveList::StandingBefore(std::int32_t k) {
    std::int64_t standing = 0;
    ForEachRunBackFrom(k, [&standing](std::int32_t count, TMove move) {
        if (move.Direction != 0) {
            return false;
        }
        standing += count;
        return true;
    });
    return static_cast<std::int32_t>(standing);
}

void TMoveList::TBuilder::Clear() {
    ClosedSize = 0;
    EntryCount = 0;
    OpenLength = 0;
}

void TMoveList::TBuilder::MakeRoom(std::size_t bytes) {
    if (bytes <= ClosedCapacity - ClosedSize) {
        return;
    }
    const std::size_t capacity = std::max(ClosedSize + bytes, 2 * ClosedCapacity);
    auto grown = std::make_unique_for_overwrite<std::uint8_t[]>(capacity);
    std::copy_n(Closed.get(), ClosedSize, grown.get());
    Closed = std::move(grown);
    ClosedCapacity = capacity;
}

void TMoveList::Clear() {
    Bytes.clear();
    EntryCount = 0;
    RewindCursor();
}

void TMoveList::Append(std::int32_t n, TMove move) {
    const std::int32_t added = std::min(n, std::numeric_limits<std::int32_t>::max() - EntryCount);
    if (added > 0) {
        TBuilder run;
        run.Add(added, move);
        Append(run);
    }
}

void TMoveList::Append(TBuilder& builder) {
    builder.CloseRun();
    if (builder.EntryCount == 0 ||
        builder.EntryCount > std::numeric_limits<std::int32_t>::max() - EntryCount) {
        return;
    }
    const std::uint8_t* from = builder.Closed.get();
    std::size_t rest = builder.ClosedSize;
    std::size_t at = Bytes.size();
    TToken merged{0, 0, 0};
    if (at > 0) {
        const std::size_t last = TokenStartBefore(at);
        const TToken mine = TokenAt(last);
        const TToken first = DecodeToken(from);
        if (mine.Code == first.Code) {
            merged = {mine.Length + first.Length, mine.Code, 0};
            at = last;
            from += first.Size;
            rest -= first.Size;
        }
    }
    const std::size_t size = at + (merged.Length > 0 ? TokenSize(merged.Length) : 0) + rest;
    if (const std::size_t room = RoomFor(size); room > 0) {
        Bytes.reserve(room);
    }
    Bytes.resize(size);
    std::uint8_t* out = Bytes.data() + at;
    if (merged.Length > 0) {
        out = WriteToken(out, merged.Length, merged.Code);
    }
    std::copy_n(from, rest, out);
    EntryCount += static_cast<std::int32_t>(builder.EntryCount);
    RewindCursor();
}

std::size_t TMoveList::MemoryToAppend(const TBuilder& builder) const {
    return RoomFor(Bytes.size() + builder.ByteSize());
}

// A person's first list is held at exactly its size. Later ones grow it at least geometrically,
// so that a file that appends to the same persons again and again does not copy their whole
// lists each time.
std::size_t TMoveList::RoomFor(std::size_t size) const {
    if (size <= Bytes.capacity()) {
        return 0;
    }
    return Bytes.empty() ? size : std::max(size, 2 * Bytes.capacity());
}

void TMoveList::RewindCursor() {
    SetCursor(0, 0);
    RunLength = 0;
    RunSize = 0;
}

void TMoveList::SetCursor(std::size_t at, std::int32_t first) {
    RunStart = static_cast<std::uint32_t>(at);
    RunFirst = first;
    if (at < Bytes.size()) {
        const TToken token = TokenAt(at);
        RunLength = token.Length;
        RunCode = token.Code;
        RunSize = token.Size;
    }
}

void TMoveList::Seek(std::int32_t k) {
    if (k < RunFirst && k < RunFirst - k) {
        RewindCursor(); // nearer to the start than to the cursor
    }
    while (k >= RunFirst + RunLength) {
        SetCursor(RunStart + RunSize, RunFirst + RunLength);
    }
    while (k < RunFirst) {
        const std::size_t start = TokenStartBefore(RunStart);
        const TToken token = TokenAt(start);
        SetCursor(start, RunFirst - token.Length);
    }
}
