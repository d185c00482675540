#include "HeadlessModes.h"

#include "HeadlessProject.h"
#include "JsonWriter.h"
#include "LogFile.h"
#include "PersonWay.h"
#include "RecordingUiServices.h"
#include "Replay.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

// The statistics report as plain lines; bold has no meaning on a terminal.
class TPlainTextView final : public IRichTextView {
public:
    void Clear() override {}
    void AddLine(const std::string& text) override { std::printf("%s\n", text.c_str()); }
    void SetBold(bool) override {}
};

void WriteQuad(TJsonWriter& json, const TQuad& quad) {
    json.BeginArray();
    for (const float c : quad.Color) {
        json.Float(c);
    }
    for (const auto& vertex : quad.Vertex) {
        for (const float v : vertex) {
            json.Float(v);
        }
    }
    for (const float n : quad.Normal) {
        json.Float(n);
    }
    json.EndArray();
}

void WriteDeck(TJsonWriter& json, const TDeck& deck) {
    json.BeginObject();
    json.StringField("caption", deck.Caption);
    json.IntField("cellCount", deck.CellCount);
    json.IntField("quadCount", deck.QuadCount);
    json.Key("quads");
    json.BeginArray();
    for (const TQuad& quad : deck.Quads) {
        WriteQuad(json, quad);
    }
    json.EndArray();
    json.IntField("lightCount", deck.LightCount);
    json.Key("lights");
    json.BeginArray();
    for (const TLight& light : deck.Lights) {
        json.BeginObject();
        json.BoolField("on", light.SwitchedOn);
        json.FloatField("x", light.Position[0]);
        json.FloatField("y", light.Position[1]);
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
}

void WritePerson(TJsonWriter& json, const TPersonData& person) {
    json.BeginObject();
    json.IntField("attribute", person.Attribute);
    json.IntField("moveCount", person.MoveCount);
    json.IntField("startX", person.StartX);
    json.IntField("startY", person.StartY);
    json.IntField("startLevel", person.StartLevel);
    json.IntField("startHeading", person.StartHeading);
    json.FloatField("x", person.X());
    json.FloatField("y", person.Y());
    json.IntField("level", person.Level);
    json.IntField("heading", person.Heading);
    json.EndObject();
}

void WriteHeader(TJsonWriter& json, const TLogFile& project) {
    json.IntField("pmax", project.PMax);
    json.IntField("xmax", project.XMax);
    json.IntField("ymax", project.YMax);
    json.IntField("zmax", project.ZMax);
    json.IntField("vmax", project.VMax);
    json.IntField("toff", project.TOff);
}

void WriteWarnings(TJsonWriter& json, const std::vector<TRecordedMessage>& messages) {
    json.BeginArray();
    for (const TRecordedMessage& message : messages) {
        json.BeginObject();
        json.StringField("title", message.Title);
        json.StringField("text", message.Text);
        json.EndObject();
    }
    json.EndArray();
}

// A message of several lines on one, as a checker prints it.
std::string OneLine(std::string text) {
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

// Every fault of a file with a place as a row "file:line:column: text" on stdout, however many;
// those that kept the file from being read are kept for stderr.
class TCheckReports final : public IModelReports {
public:
    explicit TCheckReports(std::string fileName) : FileName(std::move(fileName)) {}

    void Report(const TModelFault& fault) override {
        if (fault.Kind == TFaultKind::Unreadable) {
            Unreadable.push_back(fault.Text);
        } else if (fault.Line > 0) {
            std::printf("%s:%lld:%lld: %s\n", FileName.c_str(), static_cast<long long>(fault.Line),
                        static_cast<long long>(fault.Column), OneLine(fault.Text).c_str());
            ++Listed;
        }
    }

    std::int64_t Listed = 0;
    std::vector<std::string> Unreadable;

private:
    std::string FileName;
};

// The boxes a load held back, so that nothing it found is lost to the user.
void WriteHeldBack(TJsonWriter& json, const std::vector<THeldBackBox>& boxes) {
    json.BeginArray();
    for (const THeldBackBox& box : boxes) {
        json.BeginObject();
        json.StringField("title", box.Title);
        json.StringField("text", box.Text);
        json.IntField("count", box.Count);
        json.EndObject();
    }
    json.EndArray();
}

// A person's track as CSV, a row a time step, each made in the room of the one before: a person
// may stand for millions of steps, so no row is kept once written.
class TTrackWriter {
public:
    explicit TTrackWriter(const TLogFile& project)
        : VMax(project.VMax), TOff(project.TOff), HalfX(project.XMax / 2), HalfY(project.YMax / 2) {
    }

    static void WriteHeader() { std::fputs("step,time,deck,x,y,direction\n", stdout); }

    // The place at its step, and the direction of the entry that led there (none at step 0).
    void WriteRow(const TWayPoint& place, std::optional<std::int32_t> direction) {
        Row.clear();
        AppendNumber(Row, place.Step);
        Row += ',';
        AppendSeconds(Row, place.Step, VMax, TOff);
        Row += ',';
        AppendNumber(Row, place.Level);
        Row += ',';
        AppendNumber(Row, place.CellX + HalfX); // the column and row the file counts
        Row += ',';
        AppendNumber(Row, HalfY - place.CellY);
        Row += ',';
        if (direction) {
            AppendNumber(Row, *direction);
        }
        Row += '\n';
        std::fwrite(Row.data(), 1, Row.size(), stdout);
    }

private:
    std::int32_t VMax;
    std::int32_t TOff;
    std::int64_t HalfX;
    std::int64_t HalfY;
    std::string Row;
};

// Every step of the person's way, from its start to the place it stands on last; an entry of an
// invalid direction shows as the one invalid direction the move list keeps, 9.
void WriteTrack(const TLogFile& project, const TPersonData& person) {
    TTrackWriter writer(project);
    TTrackWriter::WriteHeader();
    TWayPoint place = StartOfWay(person, project.XMax, project.YMax);
    writer.WriteRow(place, std::nullopt);
    person.Moves.ForEachRun([&](std::int32_t count, TMove move) {
        // Once the output fails there is no use in making the rest; main tells why.
        for (std::int32_t i = 0; i < count && !std::ferror(stdout); ++i) {
            FollowEntries(place, 1, move);
            writer.WriteRow(place, move.Direction);
        }
    });
}

// "the file has 3 persons, 1 to 3".
std::string PersonsText(std::int32_t persons) {
    if (persons == 0) {
        return "the file has no persons";
    }
    if (persons == 1) {
        return "the file has 1 person, 1";
    }
    return "the file has " + std::to_string(persons) + " persons, 1 to " + std::to_string(persons);
}

} // namespace

void AppendNumber(std::string& text, std::int64_t value) {
    char digits[24];
    text.append(digits, std::to_chars(std::begin(digits), std::end(digits), value).ptr);
}

void AppendSeconds(std::string& text, std::int64_t steps, std::int32_t vMax,
                   std::int32_t offsetSeconds) {
    const std::int64_t millis = ReplayMilliseconds(steps, vMax, offsetSeconds);
    if (millis < 0) {
        text += '-';
    }
    AppendNumber(text, std::llabs(millis) / 1000);
    const std::int64_t fraction = std::llabs(millis) % 1000;
    text += '.';
    text += static_cast<char>('0' + fraction / 100);
    text += static_cast<char>('0' + fraction / 10 % 10);
    text += static_cast<char>('0' + fraction % 10);
}

int RunStatsMode(const std::string& fileName) {
    THeadlessProject loaded;
    if (!loaded.Load(fileName)) {
        return 1;
    }
    TLogFile& project = loaded.Project;
    TPlainTextView view;
    project.FillStatistics(view);
    return 0;
}

int RunDumpMode(const std::string& fileName, std::int32_t steps) {
    THeadlessProject loaded;
    if (!loaded.Load(fileName)) {
        return 1;
    }
    TLogFile& project = loaded.Project;
    const std::vector<TRecordedMessage> loadWarnings = loaded.Services.Messages;
    TReplay replay;
    replay.SetProject(&project);
    for (std::int32_t step = 0; step < steps; ++step) {
        replay.StepForward();
    }

    TJsonWriter json(stdout);
    json.BeginObject();
    WriteHeader(json, project);
    json.Key("decks");
    json.BeginArray();
    for (const TDeck& deck : project.Decks) {
        WriteDeck(json, deck);
    }
    json.EndArray();
    json.Key("persons");
    json.BeginArray();
    for (const TPersonData& person : project.Persons) {
        WritePerson(json, person);
    }
    // Announced but never described: as such a person is at every step.
    const TPersonData undescribed;
    for (std::int32_t i = 0; i < project.UndescribedPersons(); ++i) {
        WritePerson(json, undescribed);
    }
    json.EndArray();
    json.IntField("timeStep", replay.TimeStep());
    json.IntField("savedCount", replay.SavedCount());
    json.StringField("timeText", replay.TimeText());
    json.StringField("savedText", replay.SavedText());
    json.Key("warnings");
    WriteWarnings(json, loadWarnings);
    json.Key("heldBackWarnings");
    WriteHeldBack(json, loaded.Reports.LoadHeldBack());
    json.EndObject();
    std::fputc('\n', stdout);
    return 0;
}

int RunCheckMode(const std::string& fileName) {
    TCheckReports reports(fileName);
    TNoProgressWindow progress;
    TLogFile project("Level");
    project.ReportTo(reports);
    const bool loaded = project.Load(fileName, progress);
    // Errors are what kept the file from being read, or read to its end.
    for (const std::string& text : reports.Unreadable) {
        std::fprintf(stderr, "%s: %s\n", fileName.c_str(), OneLine(text).c_str());
    }
    if (!loaded || !reports.Unreadable.empty()) {
        return 2;
    }
    // A text without a header loads as an empty project, but is no log.
    if (!project.HeaderRead) {
        std::printf("%s: no project header\n", fileName.c_str());
        ++reports.Listed;
    }
    if (reports.Listed == 0) {
        std::printf("%s: no faults\n", fileName.c_str());
        return 0;
    }
    std::printf("%s: %lld fault%s\n", fileName.c_str(), static_cast<long long>(reports.Listed),
                reports.Listed == 1 ? "" : "s");
    return 1;
}

int RunPersonMode(const std::string& fileName, std::int32_t number) {
    THeadlessProject loaded;
    if (!loaded.Load(fileName)) {
        return 1;
    }
    const TLogFile& project = loaded.Project;
    // Those the header announces, as --stats counts them.
    const std::int32_t persons = std::max(project.PMax, 0);
    if (number < 1 || number > persons) {
        std::fprintf(stderr, "ambla-viewer --person %d: %s\n", static_cast<int>(number),
                     PersonsText(persons).c_str());
        return 1;
    }
    // Announced but never described: as such a person is at every step.
    const TPersonData undescribed;
    const auto index = static_cast<std::size_t>(number - 1);
    WriteTrack(project, index < project.Persons.size() ? project.Persons[index] : undescribed);
    return 0;
}
