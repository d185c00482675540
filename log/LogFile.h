#pragma once
// The project: everything one 3D log file holds, read in a single forward pass.

#include "BoxCap.h"
#include "Deck.h"
#include "LogFault.h"
#include "MoveArena.h"
#include "PersonData.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class IProgressWindow;
class IRichTextView;
class IByteSource;

class TLogFile {
public:
    explicit TLogFile(std::string floorWord);
    TLogFile(const TLogFile&) = delete;
    TLogFile& operator=(const TLogFile&) = delete;

    // Reads the file. Problems inside the file are reported as warnings and what could be read is
    // kept. False only when nothing was loaded: the file cannot be opened or read, or it asks for
    // more memory than the machine has; the project is then empty.
    bool Load(const std::string& fileName, IProgressWindow& progress);
    // The same from bytes in memory, or from any source; name stands for the file name in
    // messages.
    bool LoadFromMemory(const std::string& name, std::string_view bytes, IProgressWindow& progress);
    bool LoadFromSource(const std::string& name, IByteSource& source, IProgressWindow& progress);

    // Every person applies its move entry k (forwards) or undoes it (backwards); returns how
    // many have left. Boxes raised on the way are kept few for the whole replay.
    std::int32_t StepPersonsForward(std::int32_t k);
    std::int32_t StepPersonsBackward(std::int32_t k);
    // Every person as that many steps from the start leave it; returns the saved count.
    std::int32_t JumpPersonsTo(std::int32_t steps);

    std::string GetDeckCaption(std::int32_t index) const;
    // Bytes the loaded model takes: decks with their cells and quads, persons, move lists.
    std::uint64_t ModelBytes() const;
    void FillStatistics(IRichTextView& view) const;

    std::string FloorWord;
    std::string FileName;
    bool DecksCreated = false;
    std::int32_t PMax = 0;
    std::int32_t XMax = 0;
    std::int32_t YMax = 0;
    std::int32_t ZMax = 0;
    std::int32_t VMax = 0;
    std::int32_t TOff = 0;
    // Where the persons' move lists live; it must outlive the persons.
    TMoveArena MoveMemory;
    std::vector<TDeck> Decks;
    // The persons the file describes (a start record or a move list), in its order; the header
    // may announce more (PMax). Those it never describes are persons without a start or moves:
    // never shown, and saved from the first step on.
    std::vector<TPersonData> Persons;
    // How many persons the header announces beyond those the file describes.
    std::int32_t UndescribedPersons() const;

    // The most bytes the model may take; a file that needs more is refused before anything is
    // allocated. Defaults to the memory the machine has available when the project is made.
    std::uint64_t MemoryLimit;
    // Lets a direction fault in the moves be reported once for the whole project.
    TReportOnce BadDirectionReport;
    // Told every fault the reader finds, however many, with its place, while the boxes stay few.
    std::function<void(const TLogFault&)> OnFault;
    // What keeps the boxes of the last load, and of the replay of this project, few.
    TBoxCap LoadBoxes;
    TBoxCap ReplayBoxes;

private:
    friend class TLogReader;
    void StartLoad(const std::string& name, IProgressWindow& progress);
    bool ReadSource(IByteSource& source, IProgressWindow& progress);
    // Drops the persons, releasing their move lists.
    void DropPersons();
    // Person index, made together with those before it where the file had not described them.
    TPersonData& PersonMadeUpTo(std::size_t index);
    void Clear();
};

// Memory this machine can still give, in bytes.
std::uint64_t AvailableMemoryBytes();
