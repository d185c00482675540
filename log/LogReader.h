#pragma once
// The walk through one log file, section by section, filling a project.

#include "ListsAhead.h"
#include "LogScanner.h"
#include "Project.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class IProgressWindow;

// The file ended inside a section; what was read up to there is kept.
struct TUnexpectedEnd {
    const char* Section;
};

// The file cannot be loaded at all; the message says why.
struct TLoadRefused {
    std::string Message;
};

class TLogReader {
public:
    static constexpr std::int64_t MaxEntriesPerPerson = std::numeric_limits<std::int32_t>::max();
    static constexpr std::size_t ListCheckStep = std::size_t{1} << 20;

    TLogReader(TProject& project, TLogScanner& scanner, IProgressWindow& progress);

    // Reads every section up to the end of the file; throws TUnexpectedEnd or TLoadRefused.
    void ReadAll();
    // Reports a fault at an offset of the file, with its place, if faults of its kind are taken.
    void ReportAt(TFaultKind kind, std::int64_t offset, const std::string& text);
    // Builds every deck's quad list and places its first lights.
    void BuildDecks();
    // A movement section longer than this many bytes has its second half read ahead by a second
    // thread (see TListsAhead); negative never.
    void ReadAheadFrom(std::int64_t bytes) { ReadAheadBytes = bytes; }

private:
    void LoadHeader();
    void CreateDecksAndPersons();
    void LoadDeck();
    void LoadCellData(std::optional<std::int32_t> z);
    // Cells of one kind at the end of the deck's grid, which grows to hold them.
    void PutCells(TDeck& deck, std::size_t from, std::int32_t count, std::uint8_t kind);
    // Refuses the file when what it has asked for so far exceeds the memory.
    void CheckModelMemory() const;
    // Room in the vector for needed elements, counted in the model's memory. It grows by halves
    // of what it holds, up to all the header announces, so that a full deck or population is
    // copied only a few times.
    template <typename T>
    void MakeRoom(std::vector<T>& items, std::size_t needed, std::size_t all) {
        if (needed <= items.capacity()) {
            return;
        }
        const std::size_t capacity = std::min(all, std::max(needed, items.capacity() * 3 / 2));
        ModelBytes += (capacity - items.capacity()) * sizeof(T);
        CheckModelMemory();
        items.reserve(capacity);
    }
    void ReadCaption(std::string& buffer);
    void LoadPersons();
    TPersonData& PersonAt(std::int32_t i);
    bool LoadStartPositions();
    void LoadMovement();
    void LoadPersonMoves(std::int32_t i);
    std::unique_ptr<TListsAhead> StartListsAhead();
    void DropListsAhead(std::unique_ptr<TListsAhead>& ahead);
    std::int32_t TakeListsAhead(TListsAhead& ahead, std::int32_t i);
    std::size_t ListsAheadToTake(std::deque<TListsAhead::TList>& lists, std::int32_t i);
    void LoadMoveList();
    bool ReadPlainMoves();
    bool LoadMoveEntry();
    void GiveMoves(TPersonData& person);

    std::string_view WordIn(const char* section);
    int CharIn(const char* section);
    std::optional<std::int32_t> IntegerIn(const char* section);
    std::optional<std::int64_t> RunCountIn(const char* section);
    void SkipRestOfCount(int last);
    std::optional<std::int32_t> DigitIn(const char* section, int& got);
    // Called for every entry read, so kept inline.
    void AppendEntries(std::int64_t n, std::int32_t direction, std::int32_t levelChange) {
        if (EntriesBeforeList + Builder.Count() + n > MaxEntriesPerPerson) {
            RefuseLongList();
        }
        Builder.Add(static_cast<std::int32_t>(n), {direction, levelChange});
        CheckListMemoryNowAndThen();
    }
    // The list is checked exactly when it is given to its person; on the way only now and then,
    // so that a list too long for the memory is refused early.
    void CheckListMemoryNowAndThen() {
        if (Builder.ClosedBytes() > CheckedListBytes + ListCheckStep) {
            CheckMoveMemory(Model.Persons[PersonIndex]);
            CheckedListBytes = Builder.ClosedBytes();
        }
    }
    [[noreturn]] static void RefuseLongList();
    void CheckMoveMemory(const TPersonData& person);
    // The memory of the persons' lists: those read here, and those taken over from the reading
    // ahead with what they grew by since (known once that reading is over).
    std::uint64_t MoveBytesInUse() const {
        return Model.MoveMemory.UsedBytes() +
               (ListsAheadDone ? Model.MoveMemoryAhead.UsedBytes() - MovesLeftAhead : 0);
    }
    void SetInfo(const std::string& text);
    void SetProgress(std::int64_t done, std::int64_t total);
    // Faults at an offset of the file.
    void WarnNotANumber(std::string_view text, std::int64_t offset);
    void WarnRunPastRow(std::int32_t y, std::int64_t offset);
    bool FaultWanted() const;
    void WarnAt(std::int64_t offset, const std::string& text);

    TProject& Model;
    TLogScanner& Scanner;
    IProgressWindow& Progress;
    std::uint64_t ModelBytes = 0;
    // The list being read, and the entries the same person was given by earlier lists.
    TMoveList::TBuilder Builder;
    std::int64_t EntriesBeforeList = 0;
    std::size_t PersonIndex = 0;
    std::size_t CheckedListBytes = 0;
    int ShownPercent = -1;
    std::int64_t ReadAheadBytes = -1;
    bool MovementSeen = false;
    bool ListsAheadDone = false;
    std::uint64_t MovesLeftAhead = 0; // read ahead, taken by no person
};

std::string TrimLeadingSpaces(const std::string& text);
