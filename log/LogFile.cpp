#include "LogFile.h"

#include "ByteSource.h"
#include "LogReader.h"
#include "LogScanner.h"
#include "UiServices.h"

#include <new>

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
