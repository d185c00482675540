#pragma once
// What one 3D log file holds: the header's values, the decks with their cells, and the persons
// with their move lists. The reader fills it; TLogFile loads it and replays it.

#include "Deck.h"
#include "ModelReports.h"
#include "MoveArena.h"
#include "PersonData.h"

#include <cstdint>
#include <string>
#include <vector>

class TProject {
public:
    explicit TProject(std::string floorWord);
    TProject(const TProject&) = delete;
    TProject& operator=(const TProject&) = delete;

    std::string GetDeckCaption(std::int32_t index) const;
    // Bytes the model takes: decks with their cells and quads, persons, move lists.
    std::uint64_t ModelBytes() const;

    std::string FloorWord;
    std::string FileName;
    bool DecksCreated = false;
    // Whether the file had a header at all: a text without one is no log, though it loads as an
    // empty project.
    bool HeaderRead = false;
    std::int32_t PMax = 0;
    std::int32_t XMax = 0;
    std::int32_t YMax = 0;
    std::int32_t ZMax = 0;
    std::int32_t VMax = 0;
    std::int32_t TOff = 0;
    // Where the persons' move lists live, those read ahead by a second thread in memory of their
    // own; both must outlive the persons.
    TMoveArena MoveMemory;
    TMoveArena MoveMemoryAhead;
    std::vector<TDeck> Decks;
    // The persons the file describes (a start record or a move list), in its order; the header
    // may announce more (PMax). Those it never describes are persons without a start or moves:
    // never shown, and saved from the first step on.
    std::vector<TPersonData> Persons;
    // How many persons the header announces beyond those the file describes.
    std::int32_t UndescribedPersons() const;
    // Person index, made together with those before it where the file had not described them.
    TPersonData& PersonMadeUpTo(std::size_t index);
    // Drops the persons, releasing their move lists.
    void DropPersons();
    // Nothing loaded: no decks, no persons, the header's values 0.
    void Clear();

    // The most bytes the model may take; a file that needs more is refused before anything is
    // allocated. Defaults to the memory the machine has available when the project is made.
    std::uint64_t MemoryLimit;
    // Where the reader, the replay and the persons report faults and let the window breathe;
    // nowhere until the owner says. reports must outlive the project or be replaced first.
    void ReportTo(IModelReports& reports) { Reporting.Reports = &reports; }
    IModelReports& Reports() const { return *Reporting.Reports; }

private:
    TReportTarget Reporting; // shared with the persons
};

// Memory this machine can still give, in bytes.
std::uint64_t AvailableMemoryBytes();
