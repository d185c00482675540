#pragma once
// A project loaded from a 3D log file in a single forward pass, and replayed step by step.

#include "ModelViews.h"
#include "Project.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

class IByteSource;

class TLogFile : public TProject {
public:
    explicit TLogFile(std::string floorWord) : TProject(std::move(floorWord)) {}

    // Reads the file. Faults inside the file are reported and what could be read is kept. False
    // only when nothing was loaded: the file cannot be opened or read, or it asks for more memory
    // than the machine has; the project is then empty.
    bool Load(const std::string& fileName, IProgressWindow& progress);
    // The same from bytes in memory, or from any source; name stands for the file name in
    // messages.
    bool LoadFromMemory(const std::string& name, std::string_view bytes, IProgressWindow& progress);
    bool LoadFromSource(const std::string& name, IByteSource& source, IProgressWindow& progress);

    // A movement section longer than this many bytes has its second half read on a second
    // thread, where the machine has one and the source can be read twice; negative never. The
    // project is the same either way.
    std::int64_t ReadAheadFrom = DefaultReadAheadFrom();
    static std::int64_t DefaultReadAheadFrom();

    // Every person applies its move entry k (forwards) or undoes it (backwards); returns how
    // many have left.
    std::int32_t StepPersonsForward(std::int32_t k);
    std::int32_t StepPersonsBackward(std::int32_t k);
    // Every person as that many steps from the start leave it; returns the saved count.
    std::int32_t JumpPersonsTo(std::int32_t steps);

    void FillStatistics(IRichTextView& view) const;

private:
    void StartLoad(const std::string& name, IProgressWindow& progress);
    void ReportUnreadable(const std::string& text);
    bool ReadSource(IByteSource& source, IProgressWindow& progress);
};
