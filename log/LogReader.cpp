#include "LogReader.h"

#include "ModelViews.h"
#include "NumberParsing.h"
#include "PlainMoves.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdio>
#include <cstring>
#include <limits>
#include <system_error>
#include <utility>

namespace {

constexpr std::size_t MaxCaptionLength = 254;

// Kind codes of the cell characters; everything else is void.
constexpr std::array<std::uint8_t, 256> MakeKindTable() {
    std::array<std::uint8_t, 256> table{};
    table.fill(CellVoid);
    table['0'] = CellFree;
    table['1'] = CellObstacle;
    table['2'] = CellBlue;
    table['3'] = CellGrey;
    table['4'] = CellGreen;
    table['5'] = CellRed;
    return table;
}
constexpr std::array<std::uint8_t, 256> KindOfChar = MakeKindTable();

std::string FormatBytes(std::uint64_t bytes) {
    char text[64];
    const double gib = static_cast<double>(bytes) / (1024.0 * 1024.0 * 1024.0);
    if (gib >= 1.0) {
        std::snprintf(text, sizeof text, "%.1f GB", gib);
    } else {
        std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / (1024.0 * 1024.0));
    }
    return text;
}

// A word from the file as it may appear in a message: printable and not too long.
std::string Printable(std::string_view text) {
    constexpr std::size_t MaxShown = 40;
    std::string shown;
    for (const char c : text.substr(0, MaxShown)) {
        const auto u = static_cast<unsigned char>(c);
        shown += (u >= 0x20 && u < 0x7f) ? c : '?';
    }
    if (text.size() > MaxShown) {
        shown += "...";
    }
    return shown;
}

} // namespace

std::string TrimLeadingSpaces(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}

TLogReader::TLogReader(TProject& project, TLogScanner& scanner, IProgressWindow& progress)
    : Model(project), Scanner(scanner), Progress(progress) {}

// ---- reading primitives ------------------------------------------------------------------------

std::string_view TLogReader::WordIn(const char* section) {
    std::string_view word;
    if (!Scanner.NextWord(word)) {
        throw TUnexpectedEnd{section};
    }
    return word;
}

int TLogReader::CharIn(const char* section) {
    const int c = Scanner.NextNonBlank();
    if (c == TLogScanner::EndOfFile) {
        throw TUnexpectedEnd{section};
    }
    return c;
}

std::optional<std::int32_t> TLogReader::IntegerIn(const char* section) {
    const std::string_view word = WordIn(section);
    std::optional<std::int32_t> value;
    if (!Scanner.WordWasCut()) {
        value = ParseBaseDetected(word);
    }
    if (!value) {
        WarnNotANumber(word, Scanner.WordOffset());
    }
    return value;
}

// The count of a run: the characters up to the next "x", as a decimal number.
std::optional<std::int64_t> TLogReader::RunCountIn(const char* section) {
    constexpr std::size_t MaxCountText = TLogScanner::MaxWordLength;
    char text[MaxCountText];
    std::size_t length = 0;
    std::int64_t value = 0;
    bool valid = true;
    std::int64_t start = -1;
    for (int c = CharIn(section); c != 'x'; c = CharIn(section)) {
        if (length == 0) {
            start = Scanner.Offset() - 1;
        }
        if (length == MaxCountText) {
            WarnNotANumber(std::string_view(text, length), start);
            SkipRestOfCount(c);
            return std::nullopt;
        }
        text[length++] = static_cast<char>(c);
        if (IsDigit(c) && value <= std::numeric_limits<std::int32_t>::max()) {
            value = value * 10 + (c - '0');
        } else {
            valid = false;
        }
    }
    if (length == 0 || value > std::numeric_limits<std::int32_t>::max()) {
        valid = false;
    }
    if (!valid) {
        WarnNotANumber(std::string_view(text, length), length > 0 ? start : Scanner.Offset() - 1);
        return std::nullopt;
    }
    return value;
}

// A count too long to be a number goes as a whole when it is one, up to its "x", so that the
// direction or cell kind after it goes with it as after any other count that is no number. Other
// text is not taken: a "P" without an "x" in sight must not swallow what follows.
void TLogReader::SkipRestOfCount(int last) {
    if (!IsDigit(last)) {
        return;
    }
    while (IsDigit(Scanner.PeekChar())) {
        Scanner.Consume(1);
    }
    if (Scanner.PeekNonBlank() == 'x') {
        Scanner.Consume(1);
    }
}

// One digit; got holds the character read, so that a list end in its place is not lost.
std::optional<std::int32_t> TLogReader::DigitIn(const char* section, int& got) {
    got = CharIn(section);
    if (IsDigit(got)) {
        return got - '0';
    }
    const char shown = static_cast<char>(got);
    WarnNotANumber(std::string_view(&shown, 1), Scanner.Offset() - 1);
    return std::nullopt;
}

// Whether a data fault is still taken; callers skip composing texts nobody reads.
bool TLogReader::FaultWanted() const {
    return Model.Reports().Wants(TFaultKind::DataFault);
}

void TLogReader::WarnNotANumber(std::string_view text, std::int64_t offset) {
    if (!FaultWanted()) {
        return;
    }
    // Built by appending: GCC 12 at -O3 warns falsely about the chained operator+ here.
    std::string message = "\"";
    message += Printable(text);
    message += "\" is not a valid number. It is skipped.";
    WarnAt(offset, message);
}

void TLogReader::ReportAt(TFaultKind kind, std::int64_t offset, const std::string& text) {
    IModelReports& reports = Model.Reports();
    if (reports.Wants(kind)) {
        const TLogScanner::TPlace place = Scanner.PlaceOf(offset);
        reports.Report({kind, text, place.Line, place.Column});
    }
}

void TLogReader::WarnAt(std::int64_t offset, const std::string& text) {
    ReportAt(TFaultKind::DataFault, offset, text);
}

void TLogReader::WarnRunPastRow(std::int32_t y, std::int64_t offset) {
    if (!FaultWanted()) {
        return;
    }
    WarnAt(offset, "a run of cells reaches past the end of row " + std::to_string(y) +
                       ". The cells beyond the row are dropped.");
}

void TLogReader::SetInfo(const std::string& text) {
    Progress.SetInfoText(text);
    Model.Reports().Breathe(TWorkPoint::StageBegins);
}

// Called for every row of cells and every person, so that the window stays responsive.
void TLogReader::SetProgress(std::int64_t done, std::int64_t total) {
    Model.Reports().Breathe(TWorkPoint::InProgress);
    const int percent = total > 0 ? static_cast<int>(done * 100 / total) : 0;
    if (percent != ShownPercent) {
        Progress.SetProgress(percent);
        ShownPercent = percent;
    }
}

// ---- top level ---------------------------------------------------------------------------------

void TLogReader::ReadAll() {
    std::string_view word;
    while (Scanner.NextWord(word)) {
        Progress.Show();
        if (word == "<header>") {
            Model.HeaderRead = true;
            SetInfo("Loading header...");
            try {
                LoadHeader();
            } catch (const TUnexpectedEnd&) {
                // Keep decks and persons in step with the counts that were read.
                CreateDecksAndPersons();
                throw;
            }
            CreateDecksAndPersons();
        } else if (word == "<deck>") {
            LoadDeck();
        } else if (word == "<persons>") {
            LoadPersons();
        }
    }
}

void TLogReader::BuildDecks() {
    for (std::int32_t i = 0; i < Model.ZMax; ++i) {
        SetInfo("Creating quad-list for " + Model.FloorWord + ": " + std::to_string(i));
        TDeck& deck = Model.Decks[static_cast<std::size_t>(i)];
        deck.BuildQuadList(Model.XMax, Model.YMax, Progress, Model.Reports());
        deck.PlaceInitialLights(Model.XMax, Model.YMax);
    }
}

// ---- header ------------------------------------------------------------------------------------

void TLogReader::LoadHeader() {
    TProject& p = Model;
    p.PMax = p.XMax = p.YMax = p.ZMax = p.VMax = p.TOff = 0;
    const std::pair<const char*, std::int32_t*> keys[] = {{"pmax", &p.PMax}, {"xmax", &p.XMax},
                                                          {"ymax", &p.YMax}, {"zmax", &p.ZMax},
                                                          {"vmax", &p.VMax}, {"toff", &p.TOff}};
    for (std::string_view word = WordIn("header"); word != "</header>"; word = WordIn("header")) {
        const auto key = std::find_if(std::begin(keys), std::end(keys),
                                      [word](const auto& k) { return word == k.first; });
        if (key != std::end(keys)) {
            if (const auto value = IntegerIn("header")) {
                *key->second = *value;
            }
        } else if (word == "version") {
            const auto version = IntegerIn("header");
            if (version && *version != 1) {
                ReportAt(TFaultKind::FileFault, Scanner.WordOffset(),
                         "The loaded file is not of version 1.\nThis can result in errors!");
            }
        }
    }
    // Faults of the header as a whole are placed at its end.
    const std::int64_t end = Scanner.WordOffset();
    if (p.PMax <= 0) {
        ReportAt(TFaultKind::FileFault, end, "There are no people in this project!");
    }
    if (p.XMax <= 0 || p.YMax <= 0 || p.ZMax <= 0) {
        ReportAt(TFaultKind::FileFault, end, "One of the main dimensions is <= 0!");
    }
    if (p.VMax <= 0) {
        ReportAt(TFaultKind::FileFault, end, "The maximum speed of the population is <= 0!");
    }
}

// A further header starts the project over, so everything earlier sections filled goes.
void TLogReader::CreateDecksAndPersons() {
    TProject& p = Model;
    p.Decks.clear();
    p.DropPersons();
    p.DecksCreated = false;

    const std::int64_t cellsPerDeck =
        (p.XMax > 0 && p.YMax > 0) ? std::int64_t{p.XMax} * p.YMax : 0;
    if (cellsPerDeck > std::numeric_limits<std::int32_t>::max()) {
        throw TLoadRefused{"This file cannot be loaded: a " + p.FloorWord + " of " +
                           std::to_string(p.XMax) + " x " + std::to_string(p.YMax) +
                           " cells is larger than this program can hold."};
    }
    const std::uint64_t decks = p.ZMax > 0 ? static_cast<std::uint64_t>(p.ZMax) : 0;
    // A deck's grid comes with its cell data (see PutCells), and a person with its
    // start record or move list (see PersonAt).
    ModelBytes = decks * sizeof(TDeck);
    CheckModelMemory();
    if (decks > 0) {
        p.Decks.resize(decks);
        p.DecksCreated = true;
    }
}

void TLogReader::CheckModelMemory() const {
    if (ModelBytes > Model.MemoryLimit) {
        throw TLoadRefused{"This file cannot be loaded: its " + Model.FloorWord +
                           "s and persons need " + FormatBytes(ModelBytes) +
                           " of memory, but this computer has only " +
                           FormatBytes(Model.MemoryLimit) + "."};
    }
}

// ---- decks -------------------------------------------------------------------------------------

// The grid holds the cells read so far, row after row: cells the file never gives cost nothing,
// not even the rest of a row it leaves short, and are void as every cell is before its data.
// The cells come in order, so those from `from` on are the new ones.
void TLogReader::PutCells(TDeck& deck, std::size_t from, std::int32_t count, std::uint8_t kind) {
    const std::size_t needed = from + static_cast<std::size_t>(count);
    MakeRoom(deck.Cells, needed,
             static_cast<std::size_t>(Model.YMax) * static_cast<std::size_t>(Model.XMax));
    deck.Cells.resize(needed, TCell{false, kind});
}

void TLogReader::LoadDeck() {
    if (Model.ZMax <= 0) {
        return;
    }
    std::string captionBuffer;
    std::string caption;
    std::optional<std::int32_t> z;
    const auto giveCaption = [&] {
        if (z && *z >= 0 && *z < Model.ZMax) {
            Model.Decks[static_cast<std::size_t>(*z)].Caption = caption;
        }
    };
    try {
        for (std::string_view word = WordIn("deck section"); word != "</deck>";
             word = WordIn("deck section")) {
            if (word == "caption") {
                ReadCaption(captionBuffer);
                caption = TrimLeadingSpaces(captionBuffer);
                SetInfo("Loading " + Model.FloorWord + ": " + caption + "...");
            } else if (word == "level") {
                if (const auto level = IntegerIn("deck section")) {
                    z = level;
                }
            } else if (word == "(celldata)") {
                LoadCellData(z);
            }
        }
    } catch (const TUnexpectedEnd&) {
        giveCaption(); // a file that ends inside the section keeps what the section named
        throw;
    }
    giveCaption();
}

void TLogReader::ReadCaption(std::string& buffer) {
    std::string line;
    if (Scanner.RestOfLine(line, MaxCaptionLength) == TLogScanner::TLineResult::EndOfFileAtOnce) {
        buffer = "END";
    } else if (!line.empty()) {
        buffer = std::move(line);
    }
}

void TLogReader::LoadCellData(std::optional<std::int32_t> z) {
    TProject& p = Model;
    const bool valid = z && *z >= 0 && *z < p.ZMax;
    if (!valid) {
        const char* const text =
            "Warning, z in TLogFile1::LoadCellData(FILE *projectfile, int z) is <0 or >ZMax!";
        ReportAt(TFaultKind::UnknownDeck, Scanner.WordOffset(), text);
    }
    // Cells of a deck section that names no deck are read to stay in step, then dropped.
    TDeck* deck = valid ? &p.Decks[static_cast<std::size_t>(*z)] : nullptr;
    if (deck != nullptr) {
        // A deck given twice keeps the later cell data only, so that its count stays true.
        deck->Cells.clear();
        deck->CellCount = 0;
    }
    if (p.XMax <= 0 || p.YMax <= 0) {
        return; // a deck without cells has no cell data to read
    }
    const auto width = static_cast<std::size_t>(p.XMax);
    std::int32_t cellCount = 0;
    const auto flushCount = [&] {
        if (deck != nullptr) {
            deck->CellCount += cellCount;
        }
        cellCount = 0;
    };
    try {
        for (std::int32_t y = 0; y < p.YMax; ++y) {
            SetProgress(y, p.YMax);
            const std::size_t rowStart = static_cast<std::size_t>(y) * width;
            std::int32_t x = 0;
            while (x < p.XMax) {
                const int c = CharIn("cell data");
                std::int64_t n = 1;
                int kindChar = c;
                if (c == 'P') {
                    const std::int64_t runOffset = Scanner.Offset() - 1;
                    const auto count = RunCountIn("cell data");
                    kindChar = CharIn("cell data");
                    if (!count) {
                        continue;
                    }
                    n = *count;
                    if (n > p.XMax - x) {
                        WarnRunPastRow(y, runOffset);
                        n = p.XMax - x;
                    }
                }
                const std::uint8_t kind = KindOfChar[static_cast<unsigned char>(kindChar)];
                const auto run = static_cast<std::int32_t>(n);
                if (deck != nullptr) {
                    PutCells(*deck, rowStart + static_cast<std::size_t>(x), run, kind);
                }
                if (kind != CellVoid) {
                    cellCount += run;
                }
                x += run;
            }
            flushCount();
        }
    } catch (const TUnexpectedEnd&) {
        flushCount();
        throw;
    }
}

// ---- persons -----------------------------------------------------------------------------------

// Person i of those the header announces, made as its data arrives.
TPersonData& TLogReader::PersonAt(std::int32_t i) {
    const auto needed = static_cast<std::size_t>(i) + 1;
    MakeRoom(Model.Persons, needed, static_cast<std::size_t>(std::max(Model.PMax, 0)));
    return Model.PersonMadeUpTo(static_cast<std::size_t>(i));
}

void TLogReader::LoadPersons() {
    for (std::string_view word = WordIn("persons section"); word != "</persons>";
         word = WordIn("persons section")) {
        bool movementFollows = word == "(movement)";
        if (word == "<startpositions>") {
            SetInfo("Loading start positions...");
            movementFollows = LoadStartPositions();
        }
        if (movementFollows) {
            SetInfo("Loading movement data...");
            LoadMovement();
        }
    }
}

// True when the movement block began before every person had a start record.
bool TLogReader::LoadStartPositions() {
    TProject& p = Model;
    ShownPercent = -1;
    SetProgress(0, 1);
    for (std::int32_t i = 0; i < p.PMax; ++i) {
        std::int32_t values[5] = {};
        bool complete = true;
        for (std::int32_t& value : values) {
            if (const std::string_view word = WordIn("start positions"); word == "(movement)") {
                WarnAt(Scanner.WordOffset(), "the start positions end after " + std::to_string(i) +
                                                 " of " + std::to_string(p.PMax) + " persons.");
                return true;
            } else if (const auto parsed =
                           Scanner.WordWasCut() ? std::nullopt : ParseBaseDetected(word)) {
                value = *parsed;
            } else {
                WarnNotANumber(word, Scanner.WordOffset());
                complete = false;
            }
        }
        if (complete) {
            PersonAt(i).Init(values[0], values[1], values[2], values[3], values[4], p.XMax, p.YMax);
        }
        SetProgress(i, p.PMax);
    }
    return false;
}

void TLogReader::LoadMovement() {
    TProject& p = Model;
    ShownPercent = -1;
    SetProgress(0, 1);
    std::unique_ptr<TListsAhead> ahead = StartListsAhead();
    try {
        for (std::int32_t i = 0; i < p.PMax;) {
            if (ahead != nullptr && Scanner.Offset() >= ahead->From()) {
                const std::int64_t begin = ahead->Begin();
                if (Scanner.Offset() == begin) {
                    i = TakeListsAhead(*ahead, i);
                }
                if (Scanner.Offset() >= begin) {
                    DropListsAhead(ahead);
                    continue;
                }
            }
            LoadPersonMoves(i);
            ++i;
        }
    } catch (...) {
        DropListsAhead(ahead);
        throw;
    }
    DropListsAhead(ahead);
}

// Ends the reading ahead; the memory of its lists goes when no person took any of them.
void TLogReader::DropListsAhead(std::unique_ptr<TListsAhead>& ahead) {
    if (ahead == nullptr) {
        return;
    }
    ahead.reset();
    if (!std::exchange(ListsAheadDone, true)) {
        MovesLeftAhead = Model.MoveMemoryAhead.UsedBytes(); // none taken
    }
    if (MovesLeftAhead == Model.MoveMemoryAhead.UsedBytes()) {
        Model.MoveMemoryAhead.Release();
        MovesLeftAhead = 0;
    }
}

void TLogReader::LoadPersonMoves(std::int32_t i) {
    TPersonData& person = PersonAt(i);
    Builder.Clear();
    EntriesBeforeList = person.MoveCount;
    PersonIndex = static_cast<std::size_t>(i);
    CheckedListBytes = 0;
    try {
        LoadMoveList();
    } catch (const TUnexpectedEnd&) {
        GiveMoves(person);
        throw;
    }
    GiveMoves(person);
    SetProgress(i, Model.PMax);
}

// The first movement section of a file, where it is long enough, has its second half read
// ahead: each person's first list, which a person can take over in the memory it was read into.
std::unique_ptr<TListsAhead> TLogReader::StartListsAhead() {
    if (std::exchange(MovementSeen, true) || ReadAheadBytes < 0 || Model.PMax < 2) {
        return nullptr;
    }
    const std::int64_t size = Scanner.SourceSize();
    const std::int64_t here = Scanner.Offset();
    if (size - here <= ReadAheadBytes) {
        return nullptr;
    }
    const std::int64_t from = here + (size - here) / 2;
    std::unique_ptr<IByteSource> source = Scanner.SourceFrom(from);
    if (source == nullptr) {
        return nullptr;
    }
    const std::uint64_t inUse = ModelBytes + MoveBytesInUse();
    const std::uint64_t budget = Model.MemoryLimit > inUse ? Model.MemoryLimit - inUse : 0;
    try {
        return std::make_unique<TListsAhead>(std::move(source), from, Model.MoveMemoryAhead,
                                             budget);
    } catch (const std::system_error&) {
        return nullptr; // no thread to be had: read alone
    }
}

// Gives the lists read ahead to the persons from i on, as many as reading them here would have
// given without a word to say; returns the person to read next.
std::int32_t TLogReader::TakeListsAhead(TListsAhead& ahead, std::int32_t i) {
    const TLogScanner::TLinePosition line = Scanner.CurrentLine();
    std::deque<TListsAhead::TList>& lists =
        ahead.Lists([this] { Model.Reports().Breathe(TWorkPoint::InProgress); });
    // From here on the memory read ahead is counted, less what no person takes.
    ListsAheadDone = true;
    MovesLeftAhead = Model.MoveMemoryAhead.UsedBytes();
    const std::size_t count = ListsAheadToTake(lists, i);
    if (count == 0) {
        return i;
    }
    const TListsAhead::TList& last = lists[count - 1];
    const std::int64_t lineStart = last.LineStart >= 0 ? last.LineStart : line.LineStart;
    if (!Scanner.JumpTo(last.End, {line.LineFeedsBefore + last.LineFeeds, lineStart})) {
        return i;
    }
    for (std::size_t taken = 0; taken < count; ++taken, ++i) {
        MovesLeftAhead -= lists[taken].MemoryToGive;
        PersonAt(i).TakeMoves(std::move(lists[taken].Moves));
        SetProgress(i, Model.PMax);
    }
    return i;
}

// How many of the lists go to the persons from i on: up to the last person, and up to a person
// who has moves already or whose list would pass the memory, which is read here instead to
// be refused as ever.
std::size_t TLogReader::ListsAheadToTake(std::deque<TListsAhead::TList>& lists, std::int32_t i) {
    std::uint64_t taken = 0;
    std::size_t count = 0;
    for (const TListsAhead::TList& list : lists) {
        if (i >= Model.PMax) {
            break;
        }
        const TPersonData& person = PersonAt(i);
        taken += list.MemoryToGive;
        if (person.MoveCount != 0 || ModelBytes + MoveBytesInUse() + taken > Model.MemoryLimit) {
            break;
        }
        ++count;
        ++i;
    }
    return count;
}

// The list is gathered first, so that it takes memory of exactly its size (a person's first
// list; later ones append).
void TLogReader::GiveMoves(TPersonData& person) {
    CheckMoveMemory(person);
    person.AppendMoves(Builder);
}

// One person's entries, up to the "S" that ends them.
void TLogReader::LoadMoveList() {
    // A list may run for megabytes: messages are processed on the way.
    while (!ReadPlainMoves() && LoadMoveEntry()) {
        Model.Reports().Breathe(TWorkPoint::InProgress);
    }
}

// The common spellings of entries, read straight from the scanner's buffer: single digits, runs
// "P<count>x<digit>" with a count of up to nine digits, and "U<digit>" or "D<digit>". Stops at
// anything else, and a little before the end of the buffer, where LoadMoveEntry reads on. True
// at the "S" that ends the list.
//
// The entries go straight into the builder's memory, sized once for the whole buffer (no entry
// takes more bytes than its text), and the list's limits are checked once for the buffer, and at
// each run, whose count alone may pass them.
bool TLogReader::ReadPlainMoves() {
    const std::string_view buffered = Scanner.Buffered();
    if (buffered.size() <= LongestPlainEntry) {
        return false;
    }
    TMoveList::TBuilder::TWriter list = Builder.Write(buffered.size());
    const auto checkLength = [&] {
        if (EntriesBeforeList + list.Count() > MaxEntriesPerPerson) {
            RefuseLongList();
        }
        return true;
    };
    const TPlainStop stop = ReadPlainEntries(
        buffered.data(), buffered.data() + buffered.size() - LongestPlainEntry, list, checkLength);
    Builder.Finish(list);
    checkLength();
    Scanner.Consume(static_cast<std::size_t>(stop.At - buffered.data()));
    CheckListMemoryNowAndThen();
    return stop.ListEnded;
}

// One entry in any spelling, with warnings for what is not one; false at the end of the list.
bool TLogReader::LoadMoveEntry() {
    const char* const section = "movement data";
    const int c = CharIn(section);
    if (c == 'S') {
        return false;
    }
    if (IsDigit(c)) {
        AppendEntries(1, c - '0', 0);
        return true;
    }
    int got = 0;
    if (c == 'P') {
        const auto count = RunCountIn(section);
        const auto direction = DigitIn(section, got);
        if (count && direction) {
            AppendEntries(*count, *direction, 0);
        }
    } else if (c == 'U' || c == 'D') {
        if (const auto direction = DigitIn(section, got)) {
            AppendEntries(1, *direction, c == 'U' ? 1 : -1);
        }
    } else {
        const char shown = static_cast<char>(c);
        WarnNotANumber(std::string_view(&shown, 1), Scanner.Offset() - 1);
    }
    return got != 'S'; // a digit was missing right before the end of the list
}

void TLogReader::RefuseLongList() {
    throw TLoadRefused{"This file cannot be loaded: the move list of a person is longer than this "
                       "program can hold."};
}

// What the list being read will take when it is given to the person: a list that grows moves
// to new memory, and the old is only given back with the whole project.
void TLogReader::CheckMoveMemory(const TPersonData& person) {
    const std::uint64_t bytes =
        ModelBytes + MoveBytesInUse() + person.Moves.MemoryToAppend(Builder);
    if (bytes > Model.MemoryLimit) {
        throw TLoadRefused{"This file cannot be loaded: the moves of its persons need more than " +
                           FormatBytes(bytes) + " of memory, but this computer has only " +
                           FormatBytes(Model.MemoryLimit) + "."};
    }
}
