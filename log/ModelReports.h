#pragma once
// What the model tells whoever runs it: the faults it finds while it loads or replays a project,
// and the moments in long work when a window may handle its pending messages. The model only
// reports. Whether a fault becomes a box, a line on stderr or a checker's row, how many boxes are
// shown, and when messages are handled, is decided by the application.

#include <cstdint>
#include <string>

enum class TFaultKind {
    DataFault,    // a value or code of the data, one of possibly millions; reading goes on
    FileFault,    // the file as a whole: a header value, a version, an early end; reading goes on
    UnknownDeck,  // cell data of a deck the header does not announce; they are dropped
    Unreadable,   // the file cannot be opened, read to its end, or loaded at all
    BadDirection, // a move the replay cannot apply; the person stays where it is
};

struct TModelFault {
    TFaultKind Kind;
    std::string Text; // as the user reads it; may span lines
    // Where in the file, 1-based, the column in bytes; 0 for a fault of no place.
    std::int64_t Line = 0;
    std::int64_t Column = 0;
};

enum class TWorkPoint {
    StageBegins, // a new stage of the work has just been named
    InProgress,  // somewhere in the middle: a row, a person, a part of a long list
};

class IModelReports {
public:
    virtual ~IModelReports() = default;
    // A load of the named file begins, and ends; the faults in between come from reading it.
    virtual void LoadBegins(const std::string& /*name*/) {}
    virtual void LoadEnds() {}
    // Whether faults of this kind are still taken: the model composes no text nobody reads.
    virtual bool Wants(TFaultKind /*kind*/) const { return true; }
    virtual void Report(const TModelFault& fault) = 0;
    // Long work has reached a point where the window may handle pending messages.
    virtual void Breathe(TWorkPoint /*point*/) {}
};

// Takes no faults and lets nothing breathe: for a model that nobody watches.
class TNoModelReports final : public IModelReports {
public:
    bool Wants(TFaultKind) const override { return false; }
    void Report(const TModelFault&) override {}
};

inline IModelReports& NoModelReports() {
    static TNoModelReports none;
    return none;
}
