#pragma once
// Every person's changes of place in the order of the steps, read from the move lists: a person
// who stands for a thousand steps costs what its run of standing costs in the file, not a
// thousand steps.

#include "LogFile.h"
#include "MoveList.h"
#include "PersonData.h"

#include <array>
#include <bit>
#include <cstdint>
#include <limits>
#include <queue>
#include <utility>
#include <vector>

// Where a person stands, what of its list is still to come, and the step of its next change of
// place.
struct TWalker {
    TMoveList::TRunReader Runs;
    std::int32_t Left = 0; // entries left of the run being applied
    TMove Move;
    std::int32_t Next = 0; // the entry to apply next
    std::int64_t X = 0, Y = 0;
    std::int32_t Level = -1;
    std::int32_t Count = 0; // entries of its list
    std::int64_t Due = 0;
};

// Every person's changes of place, a stretch of ChunkSteps steps at a time: the persons due in a
// stretch are read one after the other, in the order of the file, each through all its changes
// in the stretch, so that a person's state and list are read once a stretch rather than once a
// step, and in the order they lie in memory. A person waits in the slot of the stretch of its
// next change (a move, a change of deck or its leaving), runs of standing passed over at once.
// The slots cover the next WheelChunks stretches; a change further ahead waits in a heap until
// its stretch comes within reach.
class alignas(64) TWalkerQueue {
public:
    static constexpr std::int64_t ChunkSteps = 64;

    // The persons from first up to end (not included), numbered from 0 here.
    TWalkerQueue(const TLogFile& project, std::size_t first, std::size_t end)
        : Words((end - first + 63) / 64), Due(WheelChunks * Words, 0), DueCount(WheelChunks, 0) {
        Walkers.reserve(end - first);
        for (std::size_t i = 0; i < end - first; ++i) {
            const TPersonData& person = project.Persons[first + i];
            TWalker& walker = Walkers.emplace_back();
            walker.Runs = TMoveList::TRunReader(person.Moves);
            walker.X = person.StartX;
            walker.Y = person.StartY;
            walker.Level = person.StartLevel;
            walker.Count = person.MoveCount;
            Schedule(walker);
            WaitFor(i, walker.Due);
        }
    }

    // Where a person stood before its change.
    struct TMoved {
        std::int32_t Level;
        std::int64_t X, Y;
    };

    const std::vector<TWalker>& All() const { return Walkers; }
    bool Empty() const { return Waiting == 0; }

    // The first step of the next stretch in which someone changes place; only while not Empty.
    std::int64_t NextChunk() {
        while (DueCount[Slot(Now)] == 0) {
            if (InWheel == 0) {
                Now = Far.top().first; // nothing near: on to the next change far ahead
            } else {
                ++Now;
            }
            BringNear();
        }
        return Now * ChunkSteps;
    }

    // Persons due in the stretch NextChunk gave.
    std::int64_t DueInChunk() const { return DueCount[Slot(Now)]; }

    // Applies the changes of the stretch NextChunk gave: visit(step, where the person stood, the
    // person as it stands now, off every deck once it has left), person by person, each
    // person's changes in the order of the steps.
    template <typename TVisit> void ForEachMoveInChunk(TVisit visit) {
        const std::size_t slot = Slot(Now);
        const std::int64_t end = (Now + 1) * ChunkSteps;
        InWheel -= DueCount[slot];
        Waiting -= DueCount[slot];
        DueCount[slot] = 0;
        std::uint64_t* due = &Due[slot * Words];
        std::array<std::size_t, 64> indices{};
        for (std::size_t word = 0; word < Words; ++word) {
            std::size_t count = 0;
            for (std::uint64_t bits = std::exchange(due[word], 0); bits != 0; bits &= bits - 1) {
                indices[count++] = word * 64 + static_cast<std::size_t>(std::countr_zero(bits));
            }
            for (std::size_t k = 0; k < count; ++k) {
                // The state of a person a few ahead, and the list of one nearer, are fetched
                // while this one walks.
                if (k + 2 * Ahead < count) {
                    __builtin_prefetch(&Walkers[indices[k + 2 * Ahead]]);
                }
                if (k + Ahead < count) {
                    Walkers[indices[k + Ahead]].Runs.Prefetch();
                }
                const std::size_t index = indices[k];
                TWalker& walker = Walkers[index];
                do {
                    const std::int64_t step = walker.Due;
                    const TMoved before{walker.Level, walker.X, walker.Y};
                    Apply(walker);
                    visit(step, before, walker);
                } while (walker.Due < end);
                WaitFor(index, walker.Due);
            }
        }
    }

private:
    static constexpr std::size_t WheelChunks = 64;
    static constexpr std::size_t Ahead = 4;
    static constexpr std::int64_t Never = std::numeric_limits<std::int64_t>::max();

    static std::size_t Slot(std::int64_t chunk) {
        return static_cast<std::size_t>(chunk) & (WheelChunks - 1);
    }

    static bool Stands(TMove move) {
        return move.LevelChange == 0 && (move.Direction == 0 || !StepOfDirection(move.Direction));
    }

    // Entry Next of the person's list, or its leaving once the list is used up.
    static void Apply(TWalker& walker) {
        if (walker.Next >= walker.Count) {
            walker.Level = -1;
            walker.Due = Never;
            return;
        }
        if (const TDirectionStep* offset = StepOfDirection(walker.Move.Direction)) {
            walker.X += offset->Dx;
            walker.Y -= offset->Dy;
        }
        walker.Level = AddLevels(walker.Level, walker.Move.LevelChange);
        --walker.Left;
        ++walker.Next;
        Schedule(walker);
    }

    // The step of the person's next change: its next entry that moves it (entry k takes effect
    // at step k + 1), or its leaving; never for a list as long as a list may be.
    static void Schedule(TWalker& walker) {
        while (walker.Left == 0 || Stands(walker.Move)) {
            walker.Next += walker.Left;
            walker.Left = 0;
            if (walker.Runs.AtEnd()) {
                walker.Next = walker.Count;
                walker.Due = walker.Count < std::numeric_limits<std::int32_t>::max()
                                 ? std::int64_t{walker.Count} + 1
                                 : Never;
                return;
            }
            walker.Runs.Next(walker.Left, walker.Move);
        }
        walker.Due = std::int64_t{walker.Next} + 1;
    }

    void WaitFor(std::size_t index, std::int64_t step) {
        if (step == Never) {
            return;
        }
        ++Waiting;
        const std::int64_t chunk = step / ChunkSteps;
        if (chunk - Now < static_cast<std::int64_t>(WheelChunks)) {
            Mark(Slot(chunk), index);
        } else {
            Far.push({chunk, index});
        }
    }

    void Mark(std::size_t slot, std::size_t index) {
        Due[slot * Words + index / 64] |= std::uint64_t{1} << (index % 64);
        ++DueCount[slot];
        ++InWheel;
    }

    // The changes far ahead that the slots now reach.
    void BringNear() {
        while (!Far.empty() && Far.top().first - Now < static_cast<std::int64_t>(WheelChunks)) {
            Mark(Slot(Far.top().first), Far.top().second);
            Far.pop();
        }
    }

    std::vector<TWalker> Walkers;
    std::size_t Words; // of a slot's marks, a bit for each person
    std::vector<std::uint64_t> Due;
    std::vector<std::int64_t> DueCount;
    std::int64_t Now = 0; // the stretch looked at
    std::int64_t InWheel = 0;
    std::int64_t Waiting = 0;
    using TEntry = std::pair<std::int64_t, std::size_t>; // stretch, person
    std::priority_queue<TEntry, std::vector<TEntry>, std::greater<>> Far;
};
