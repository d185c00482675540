#include "LogFile.h"

#include "ByteSource.h"
#include "LogReader.h"
#include "LogScanner.h"
#include "UiServices.h"

#include <algorithm>
#include <cstdio>
#include <new>
#include <unistd.h>

std::uint64_t AvailableMemoryBytes() {
    // What the kernel could give without swapping; a model larger than that would be killed
    // while it is being filled rather than refused.
    if (std::FILE* meminfo = std::fopen("/proc/meminfo", "r")) {
        char line[256];
        unsigned long long kib = 0;
        bool found = false;
        while (!found && std::fgets(line, sizeof line, meminfo) != nullptr) {
            found = std::sscanf(line, "MemAvailable: %llu kB", &kib) == 1;
        }
        std::fclose(meminfo);
        if (found) {
            return static_cast<std::uint64_t>(kib) * 1024;
        }
    }
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0) {
        return std::uint64_t{1} << 32;
    }
    return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize);
}

TLogFile::TLogFile(std::string floorWord)
    : FloorWord(std::move(floorWord)), MemoryLimit(AvailableMemoryBytes()) {}

bool TLogFile::Load(const std::string& fileName, IProgressWindow& progress) {
    StartLoad(fileName, progress);
    TFileSource source;
    if (!source.Open(fileName)) {
        ShowError(source.OpenError());
        return false;
    }
    return ReadSource(source, progress);
}

bool TLogFile::LoadFromMemory(const std::string& name, std::string_view bytes,
                              IProgressWindow& progress) {
    TMemorySource source(bytes);
    return LoadFromSource(name, source, progress);
}

bool TLogFile::LoadFromSource(const std::string& name, IByteSource& source,
                              IProgressWindow& progress) {
    StartLoad(name, progress);
    return ReadSource(source, progress);
}

void TLogFile::StartLoad(const std::string& name, IProgressWindow& progress) {
    progress.SetProgress(0);
    FileName = name;
    LoadBoxes.Reset(
        "More warnings were found in this file; they are not shown one by one. To list them, "
        "run:\nambla-viewer --dump " +
        name);
    ReplayBoxes.Reset("More errors were found while replaying this file; they are not shown one "
                      "by one.");
}

bool TLogFile::ReadSource(IByteSource& source, IProgressWindow& progress) {
    const TScopedBoxCap capped(LoadBoxes);
    TLogScanner scanner(source);
    TLogReader reader(*this, scanner, progress);
    try {
        try {
            reader.ReadAll();
        } catch (const TUnexpectedEnd& end) {
            const std::string text = std::string("The file ends early, inside the ") + end.Section +
                                     ".\nEverything read up to there is kept.";
            reader.ListFault(scanner.Offset(), text);
            ShowWarning(text);
        }
        if (const std::string error = source.Error(); !error.empty()) {
            ShowError("Cannot read file to its end:\n" + FileName + "\n" + error +
                      "\nEverything read up to there is kept.");
        }
        reader.BuildDecks();
    } catch (const TLoadRefused& refused) {
        Clear();
        ShowError(refused.Message);
        return false;
    } catch (const std::bad_alloc&) {
        Clear();
        ShowError("This file cannot be loaded: the computer ran out of memory.");
        return false;
    }
    return true;
}

// A person the file never describes has an empty list: it is saved once a step applies, or
// stepping back undoes, an entry past the end of it, as for any person whose list is used up.
std::int32_t TLogFile::StepPersonsForward(std::int32_t k) {
    const TScopedBoxCap capped(ReplayBoxes);
    return StepAllForward(Persons, k) + (k >= 0 ? UndescribedPersons() : 0);
}

std::int32_t TLogFile::StepPersonsBackward(std::int32_t k) {
    const TScopedBoxCap capped(ReplayBoxes);
    return StepAllBackward(Persons, k) + (k > 0 ? UndescribedPersons() : 0);
}

std::int32_t TLogFile::JumpPersonsTo(std::int32_t steps) {
    const TScopedBoxCap capped(ReplayBoxes);
    return JumpAllTo(Persons, steps, XMax, YMax) + (steps > 0 ? UndescribedPersons() : 0);
}

void TLogFile::DropPersons() {
    Persons = {};
    MoveMemory.Release();
}

TPersonData& TLogFile::PersonMadeUpTo(std::size_t index) {
    while (Persons.size() <= index) {
        Persons.emplace_back(&MoveMemory).BadDirectionReport = &BadDirectionReport;
    }
    return Persons[index];
}

std::int32_t TLogFile::UndescribedPersons() const {
    return std::max(PMax, 0) - static_cast<std::int32_t>(Persons.size());
}

void TLogFile::Clear() {
    DropPersons();
    Decks = {};
    DecksCreated = false;
    PMax = XMax = YMax = ZMax = VMax = TOff = 0;
}

std::string TLogFile::GetDeckCaption(std::int32_t index) const {
    if (index < 0 || index >= ZMax || static_cast<std::size_t>(index) >= Decks.size()) {
        return "error";
    }
    return Decks[static_cast<std::size_t>(index)].Caption;
}

std::uint64_t TLogFile::ModelBytes() const {
    std::uint64_t bytes = Decks.capacity() * sizeof(TDeck) +
                          Persons.capacity() * sizeof(TPersonData) + MoveMemory.UsedBytes();
    for (const TDeck& deck : Decks) {
        bytes += deck.Cells.capacity() * sizeof(TCell) + deck.Quads.capacity() * sizeof(TQuad);
    }
    return bytes;
}
