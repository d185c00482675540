// Feeds arbitrary bytes to the log reader, then plays the loaded project forwards and back again:
// nothing may read or write out of bounds, and stepping back must undo stepping forward.

#include "LogFile.h"
#include "RecordingUiServices.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace {

class TNullTextView final : public IRichTextView {
public:
    void Clear() override {}
    void AddLine(const std::string&) override {}
    void SetBold(bool) override {}
};

struct TPlace {
    float X, Y;
    std::int32_t Level;
};

void CheckStepBackUndoesStepForward(TLogFile1& project) {
    constexpr std::int32_t Steps = 40;
    std::vector<TPlace> start;
    for (const TPersonData& person : project.Persons) {
        start.push_back({person.X, person.Y, person.Level});
    }
    for (std::int32_t step = 0; step < Steps; ++step) {
        StepAllForward(project.Persons, step);
    }
    for (std::int32_t step = Steps - 1; step >= 0; --step) {
        StepAllBackward(project.Persons, step);
    }
    for (std::size_t i = 0; i < start.size(); ++i) {
        const TPersonData& person = project.Persons[i];
        if (person.X != start[i].X || person.Y != start[i].Y || person.Level != start[i].Level) {
            __builtin_trap();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TRecordingUiServices ui;
    TScopedUiServices installed(ui);
    TNoProgressWindow progress;
    TLogFile1 project("Level");
    // Small enough that a header asking for a huge model is refused quickly.
    project.MemoryLimit = std::uint64_t{4} << 20;
    project.LoadFromMemory("fuzz", std::string_view(reinterpret_cast<const char*>(data), size),
                           progress);
    TNullTextView view;
    project.FillStatistics(view);
    CheckStepBackUndoesStepForward(project);
    return 0;
}
