#include "Replay.h"

#include "LogFile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

std::int32_t ReplayTimeSeconds(std::int32_t timeStep, std::int32_t vMax, std::int32_t tOff) {
    const double elapsed = vMax > 0 ? double(timeStep) / double(vMax) : 0.0;
    const double seconds = std::trunc(elapsed + double(tOff));
    return static_cast<std::int32_t>(std::clamp(seconds,
                                                double(std::numeric_limits<std::int32_t>::min()),
                                                double(std::numeric_limits<std::int32_t>::max())));
}

std::string ClockText(std::int32_t timeSeconds) {
    const std::int64_t magnitude = std::abs(std::int64_t{timeSeconds});
    char text[40];
    std::snprintf(text, sizeof text, "%s%lld:%02lld", timeSeconds < 0 ? "-" : "",
                  static_cast<long long>(magnitude / 60), static_cast<long long>(magnitude % 60));
    return text;
}

std::int64_t ReplayMilliseconds(std::int64_t timeStep, std::int32_t vMax, std::int32_t tOff) {
    const std::int64_t elapsed =
        vMax > 0 ? (timeStep * 2000 + vMax) / (std::int64_t{vMax} * 2) : 0; // rounded half up
    return elapsed + std::int64_t{tOff} * 1000;
}

std::string TimeText(std::int32_t timeSeconds) {
    std::string text = "Time: ";
    text += ClockText(timeSeconds);
    text += " min";
    return text;
}

namespace {

// From 1000 on with a point before the last three digits.
std::string CountText(std::int32_t count) {
    if (count < 1000) {
        return std::to_string(count);
    }
    char text[24];
    std::snprintf(text, sizeof text, "%d.%03d", count / 1000, count % 1000);
    return text;
}

} // namespace

std::string SavedText(std::int32_t savedCount) {
    return "Saved: " + CountText(savedCount);
}

std::string SavedOfText(std::int32_t savedCount, std::int32_t persons) {
    return SavedText(savedCount) + " of " + CountText(persons);
}

std::string FormatStepNumber(std::int32_t step) {
    char text[16];
    std::snprintf(text, sizeof text, "%.6i", step);
    return text;
}

std::int32_t StepEverybodyHasLeft(const TLogFile& project) {
    if (project.PMax <= 0) {
        return 0;
    }
    std::int32_t longest = 0;
    for (const TPersonData& person : project.Persons) {
        longest = std::max(longest, person.MoveCount);
    }
    // A person leaves at the step after its last entry; a list as long as a step number can be
    // has no step after it.
    return longest < std::numeric_limits<std::int32_t>::max() ? longest + 1 : longest;
}

std::int32_t ReplayEndStep(const TLogFile& project) {
    const std::int32_t left = StepEverybodyHasLeft(project);
    const std::int32_t vMax = project.VMax;
    if (vMax <= 0 || left % vMax == 0) {
        return left;
    }
    const std::int64_t wholeSecond = (std::int64_t{left} / vMax + 1) * vMax;
    // The last whole second a step number can reach when the next one is out of its range.
    return static_cast<std::int32_t>(wholeSecond <= std::numeric_limits<std::int32_t>::max()
                                         ? wholeSecond
                                         : std::int64_t{left} / vMax * vMax);
}

void TReplay::SetProject(TLogFile* project) {
    Project = project;
    LastStep = project != nullptr ? ReplayEndStep(*project) : 0;
    Restart();
}

bool TReplay::CanPlay() const {
    return Project != nullptr && Project->VMax > 0;
}

std::int32_t TReplay::StepsPerSecond() const {
    return Project != nullptr ? Project->VMax : 0;
}

std::int32_t TReplay::ElapsedSeconds() const {
    return CanPlay() ? Step / Project->VMax : 0;
}

std::int32_t TReplay::LastSecond() const {
    if (!CanPlay()) {
        return 0;
    }
    return LastStep / Project->VMax;
}

bool TReplay::EverybodyHasLeft() const {
    return Project != nullptr && Saved >= Project->PMax;
}

bool TReplay::AtWholeSecond() const {
    return !CanPlay() || Step % Project->VMax == 0;
}

std::string TReplay::TimeText() const {
    return ::TimeText(Seconds);
}

std::string TReplay::SavedText() const {
    return ::SavedText(Saved);
}

std::string TReplay::PositionText() const {
    const std::int32_t vMax = Project != nullptr ? Project->VMax : 0;
    const std::int32_t tOff = Project != nullptr ? Project->TOff : 0;
    std::string text = ClockText(ReplayTimeSeconds(Step, vMax, tOff));
    text += " / ";
    text += ClockText(ReplayTimeSeconds(LastStep, vMax, tOff));
    text += ", step ";
    text += std::to_string(Step);
    return text;
}

void TReplay::StepForward() {
    Notify(BeforeStep);
    ++Step;
    Saved = Project->StepPersonsForward(Step - 1);
    Seconds = ReplayTimeSeconds(Step, Project->VMax, Project->TOff);
    Notify(AfterStep);
}

void TReplay::StepBackward() {
    Notify(BeforeStep);
    --Step;
    Saved = Project->StepPersonsBackward(Step);
    HeadingsAsPlayed = false;
    Seconds = ReplayTimeSeconds(Step, Project->VMax, Project->TOff);
    Notify(AfterStep);
}

// Each step lets the hooks run whatever is pending, a reset among it: the loops read the replay
// afresh every time.
void TReplay::SecondForward() {
    if (!CanPlay() || EverybodyHasLeft()) {
        return;
    }
    for (std::int32_t i = 0; i < Project->VMax && CanStepForward(); ++i) {
        StepForward();
    }
}

void TReplay::SecondBackward() {
    if (!CanPlay()) {
        return;
    }
    for (std::int32_t i = 0; i < Project->VMax && Step > 0; ++i) {
        StepBackward();
    }
}

void TReplay::Tick() {
    if (!EverybodyHasLeft()) {
        StepForward();
    }
    if (EverybodyHasLeft()) {
        Reset();
    }
}

void TReplay::Reset() {
    if (Project == nullptr) {
        return;
    }
    ResetPersons();
    Restart();
    Notify(AfterJump);
}

// A few steps ahead are stepped; anything else is a jump from the start, a visit per run of each
// list. Never backwards step by step: a step back does not give a person back the heading it
// had, so only going forwards shows each person facing as it did at that step.
void TReplay::SeekToStep(std::int32_t step) {
    if (Project == nullptr) {
        return;
    }
    const std::int32_t target = std::clamp(step, 0, LastStep);
    if (HeadingsAsPlayed && target >= Step && target - Step <= StepsWorthStepping) {
        while (Step < target) {
            ++Step;
            Saved = Project->StepPersonsForward(Step - 1);
        }
    } else {
        Step = target;
        Saved = Project->JumpPersonsTo(target);
        HeadingsAsPlayed = true;
    }
    Seconds = Step == 0 ? 0 : ReplayTimeSeconds(Step, Project->VMax, Project->TOff);
    Notify(AfterJump);
}

void TReplay::SeekToSecond(std::int32_t second) {
    if (CanPlay()) {
        const std::int64_t step = std::int64_t{std::clamp(second, 0, LastSecond())} * Project->VMax;
        SeekToStep(static_cast<std::int32_t>(
            std::min<std::int64_t>(step, std::numeric_limits<std::int32_t>::max())));
    }
}

void TReplay::ResetPersons() {
    for (TPersonData& person : Project->Persons) {
        person.Reset(Project->XMax, Project->YMax);
    }
}

void TReplay::Restart() {
    HeadingsAsPlayed = true;
    Step = 0;
    Seconds = 0;
    Saved = 0;
}

void TReplay::Notify(const std::function<void()>& hook) const {
    if (hook) {
        hook();
    }
}
