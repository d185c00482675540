#pragma once
// The replay of a loaded project: the current time step, the replay time and the saved count, and
// the rules that move them. Each step moves every person by one move entry; a second is VMax
// steps; the replay ends at the first whole second at or after the step at which everybody has
// left, and nothing moves it beyond; playing starts over once everybody has left; a pause ends
// on a whole second. Used alike by the main window, the headless modes and anything else that
// replays.

#include <cstdint>
#include <functional>
#include <string>

class TLogFile;

class TReplay {
public:
    // What a step or a jump shows; empty by default. Called before each step (the picture of
    // the state being left), after each step, and after a jump: a reset or a seek, which move
    // the replay without showing the steps between.
    std::function<void()> BeforeStep;
    std::function<void()> AfterStep;
    std::function<void()> AfterJump;

    // Starts the replay of project at step 0, its persons where the load put them; nullptr
    // leaves nothing to replay.
    void SetProject(TLogFile* project);
    bool HasProject() const { return Project != nullptr; }
    // A project with at least one time step per second: only then does time pass.
    bool CanPlay() const;
    std::int32_t StepsPerSecond() const;
    // The replay's whole seconds, not counting the offset: 0 up to the first whole second at
    // which everybody has left; 0 when time cannot pass.
    std::int32_t ElapsedSeconds() const;
    std::int32_t LastSecond() const;
    // The step the replay ends at (see ReplayEndStep).
    std::int32_t EndStep() const { return LastStep; }

    std::int32_t TimeStep() const { return Step; }
    // Whole seconds of replay time; 0 at the start and after a reset, the offset added from
    // the first step on.
    std::int32_t TimeSeconds() const { return Seconds; }
    std::int32_t SavedCount() const { return Saved; }
    bool EverybodyHasLeft() const;
    // True where a pause may end: on a whole second, or always when time cannot pass.
    bool AtWholeSecond() const;
    std::string TimeText() const;
    std::string SavedText() const;
    // Where the replay stands in the whole of it, the offset always counted: "1:05 / 3:20, step
    // 261".
    std::string PositionText() const;

    // Before the end there is a step to take.
    bool CanStepForward() const { return Project != nullptr && Step < LastStep; }
    void StepForward();
    void StepBackward();
    // VMax steps, never beyond the end; nothing once everybody has left.
    void SecondForward();
    // Up to VMax steps back, never before step 0.
    void SecondBackward();
    // One step of playing: once everybody has left, the replay starts again instead.
    void Tick();
    // Every person back at its start, step 0.
    void Reset();
    // Moves every person to where playing from the start up to step would move them (never
    // before step 0 nor beyond the end), with no hooks between: only AfterJump, once.
    void SeekToStep(std::int32_t step);
    void SeekToSecond(std::int32_t second);

private:
    void Restart();
    void ResetPersons();
    void Notify(const std::function<void()>& hook) const;

    TLogFile* Project = nullptr;
    std::int32_t Step = 0;
    std::int32_t Seconds = 0;
    std::int32_t Saved = 0;
    std::int32_t LastStep = 0; // the step the replay ends at
    // Up to this many steps ahead a seek steps; further, it jumps.
    static constexpr std::int32_t StepsWorthStepping = 8;
    // False once a step back has left headings as they were: only a jump puts them right.
    bool HeadingsAsPlayed = true;
};

// Replay time in whole seconds at a time step: step / vMax + tOff, truncated toward zero. With no
// valid speed (vMax <= 0) no time passes.
std::int32_t ReplayTimeSeconds(std::int32_t timeStep, std::int32_t vMax, std::int32_t tOff);

// Replay time at a step in milliseconds, the offset included: steps / vMax seconds rounded half up
// to the millisecond; with no valid speed no time passes.
std::int64_t ReplayMilliseconds(std::int64_t timeStep, std::int32_t vMax, std::int32_t tOff);
// "m:ss"; a negative time gets a minus sign in front of the minutes.
std::string ClockText(std::int32_t timeSeconds);

// "Time: m:ss min".
std::string TimeText(std::int32_t timeSeconds);

// A time step as the name of a screen shot or a rendered frame: at least six digits ("000012").
std::string FormatStepNumber(std::int32_t step);

// The first step at which everybody has left: one past the longest move list, 0 without persons.
std::int32_t StepEverybodyHasLeft(const TLogFile& project);

// The step the replay ends at: the first whole second at or after the step at which everybody has
// left; that step itself when time cannot pass.
std::int32_t ReplayEndStep(const TLogFile& project);

// "Saved: n", from 1000 on with a point before the last three digits ("Saved: 12.345").
std::string SavedText(std::int32_t savedCount);
// "Saved: n of N", both counted as SavedText counts.
std::string SavedOfText(std::int32_t savedCount, std::int32_t persons);
