#include "LogFile.h"

#include "ByteSource.h"
#include "LogReader.h"
#include "LogScanner.h"
#include "ModelViews.h"

#include <new>
#include <thread>

namespace {

// The reports of a load begin with the file's name and end however the load ends.
class TLoadReports {
public:
    TLoadReports(IModelReports& reports, const std::string& name) : Reports(reports) {
        Reports.LoadBegins(name);
    }
    ~TLoadReports() { Reports.LoadEnds(); }
    TLoadReports(const TLoadReports&) = delete;
    TLoadReports& operator=(const TLoadReports&) = delete;

private:
    IModelReports& Reports;
};

} // namespace

bool TLogFile::Load(const std::string& fileName, IProgressWindow& progress) {
    const TLoadReports reporting(Reports(), fileName);
    StartLoad(fileName, progress);
    TFileSource source;
    if (!source.Open(fileName)) {
        ReportUnreadable(source.OpenError());
        return false;
    }
    return ReadSource(source, progress);
}

bool TLogFile::LoadFromMemory(const std::string& name, std::string_view bytes,
                              IProgressWindow& progress) {
    TMemorySource source(bytes);
    return LoadFromSource(name, source, progress);
}

// Below some megabytes a second thread costs about what it saves.
std::int64_t TLogFile::DefaultReadAheadFrom() {
    return std::thread::hardware_concurrency() >= 2 ? std::int64_t{8} << 20 : -1;
}

bool TLogFile::LoadFromSource(const std::string& name, IByteSource& source,
                              IProgressWindow& progress) {
    const TLoadReports reporting(Reports(), name);
    StartLoad(name, progress);
    return ReadSource(source, progress);
}

void TLogFile::StartLoad(const std::string& name, IProgressWindow& progress) {
    progress.SetProgress(0);
    FileName = name;
    HeaderRead = false;
}

void TLogFile::ReportUnreadable(const std::string& text) {
    Reports().Report({TFaultKind::Unreadable, text});
}

bool TLogFile::ReadSource(IByteSource& source, IProgressWindow& progress) {
    TLogScanner scanner(source);
    TLogReader reader(*this, scanner, progress);
    reader.ReadAheadFrom(ReadAheadFrom);
    try {
        try {
            reader.ReadAll();
        } catch (const TUnexpectedEnd& end) {
            const std::string text = std::string("The file ends early, inside the ") + end.Section +
                                     ".\nEverything read up to there is kept.";
            reader.ReportAt(TFaultKind::FileFault, scanner.Offset(), text);
        }
        if (const std::string error = source.Error(); !error.empty()) {
            ReportUnreadable("Cannot read file to its end:\n" + FileName + "\n" + error +
                             "\nEverything read up to there is kept.");
        }
        reader.BuildDecks();
    } catch (const TLoadRefused& refused) {
        Clear();
        ReportUnreadable(refused.Message);
        return false;
    } catch (const std::bad_alloc&) {
        Clear();
        ReportUnreadable("This file cannot be loaded: the computer ran out of memory.");
        return false;
    }
    return true;
}

// A person the file never describes has an empty list: it is saved once a step applies, or
// stepping back undoes, an entry past the end of it, as for any person whose list is used up.
std::int32_t TLogFile::StepPersonsForward(std::int32_t k) {
    return StepAllForward(Persons, k) + (k >= 0 ? UndescribedPersons() : 0);
}

std::int32_t TLogFile::StepPersonsBackward(std::int32_t k) {
    return StepAllBackward(Persons, k) + (k > 0 ? UndescribedPersons() : 0);
}

std::int32_t TLogFile::JumpPersonsTo(std::int32_t steps) {
    return JumpAllTo(Persons, steps, XMax, YMax) + (steps > 0 ? UndescribedPersons() : 0);
}
