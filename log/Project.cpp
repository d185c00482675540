#include "Project.h"

#include <algorithm>
#include <cstdio>
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

TProject::TProject(std::string floorWord)
    : FloorWord(std::move(floorWord)), MemoryLimit(AvailableMemoryBytes()) {}

void TProject::DropPersons() {
    Persons = {};
    MoveMemory.Release();
    MoveMemoryAhead.Release();
}

TPersonData& TProject::PersonMadeUpTo(std::size_t index) {
    while (Persons.size() <= index) {
        Persons.emplace_back(&MoveMemory).Reporting = &Reporting;
    }
    return Persons[index];
}

std::int32_t TProject::UndescribedPersons() const {
    return std::max(PMax, 0) - static_cast<std::int32_t>(Persons.size());
}

void TProject::Clear() {
    DropPersons();
    Decks = {};
    DecksCreated = false;
    HeaderRead = false;
    PMax = XMax = YMax = ZMax = VMax = TOff = 0;
}

std::string TProject::GetDeckCaption(std::int32_t index) const {
    if (index < 0 || index >= ZMax || static_cast<std::size_t>(index) >= Decks.size()) {
        return "error";
    }
    return Decks[static_cast<std::size_t>(index)].Caption;
}

std::uint64_t TProject::ModelBytes() const {
    std::uint64_t bytes = Decks.capacity() * sizeof(TDeck) +
                          Persons.capacity() * sizeof(TPersonData) + MoveMemory.UsedBytes() +
                          MoveMemoryAhead.UsedBytes();
    for (const TDeck& deck : Decks) {
        bytes += deck.Cells.capacity() * sizeof(TCell) + deck.Quads.capacity() * sizeof(TQuad);
    }
    return bytes;
}
