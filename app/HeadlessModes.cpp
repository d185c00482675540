#include "HeadlessModes.h"

#include "JsonWriter.h"
#include "RecordingUiServices.h"
#include "ReplayTexts.h"
#include "Tlogfile1.h"

#include <cstdio>
#include <vector>

namespace {

// The statistics report as plain lines; bold has no meaning on a terminal.
class TPlainTextView final : public IRichTextView {
public:
    void Clear() override {}
    void AddLine(const std::string& text) override { std::printf("%s\n", text.c_str()); }
    void SetBold(bool) override {}
};

// Forward playback as the replay runs it: step k applies entry k - 1 of every person. Returns
// the saved count of the last step.
std::int32_t PlayForward(TLogFile1& project, std::int32_t steps) {
    std::int32_t saved = 0;
    for (std::int32_t step = 1; step <= steps; ++step) {
        saved = StepAllForward(project.Persons, step - 1);
    }
    return saved;
}

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
    json.Key("caption");
    json.String(deck.Caption);
    json.Key("cellCount");
    json.Int(deck.CellCount);
    json.Key("quadCount");
    json.Int(deck.QuadCount);
    json.Key("quads");
    json.BeginArray();
    for (const TQuad& quad : deck.Quads) {
        WriteQuad(json, quad);
    }
    json.EndArray();
    json.Key("lightCount");
    json.Int(deck.LightCount);
    json.Key("lights");
    json.BeginArray();
    for (const TLight& light : deck.Lights) {
        json.BeginObject();
        json.Key("on");
        json.Bool(light.SwitchedOn);
        json.Key("x");
        json.Float(light.Position[0]);
        json.Key("y");
        json.Float(light.Position[1]);
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
}

void WritePerson(TJsonWriter& json, const TPersonData& person) {
    const std::pair<const char*, std::int32_t> ints[] = {
        {"attribute", person.Attribute},   {"moveCount", person.MoveCount},
        {"startX", person.StartX},         {"startY", person.StartY},
        {"startLevel", person.StartLevel}, {"startHeading", person.StartHeading}};
    json.BeginObject();
    for (const auto& [name, value] : ints) {
        json.Key(name);
        json.Int(value);
    }
    json.Key("x");
    json.Float(person.X);
    json.Key("y");
    json.Float(person.Y);
    json.Key("level");
    json.Int(person.Level);
    json.Key("heading");
    json.Int(person.Heading);
    json.EndObject();
}

void WriteHeader(TJsonWriter& json, const TLogFile1& project) {
    const std::pair<const char*, std::int32_t> values[] = {
        {"pmax", project.PMax}, {"xmax", project.XMax}, {"ymax", project.YMax},
        {"zmax", project.ZMax}, {"vmax", project.VMax}, {"toff", project.TOff}};
    for (const auto& [name, value] : values) {
        json.Key(name);
        json.Int(value);
    }
}

void WriteWarnings(TJsonWriter& json, const std::vector<TRecordedMessage>& messages) {
    json.BeginArray();
    for (const TRecordedMessage& message : messages) {
        json.BeginObject();
        json.Key("title");
        json.String(message.Title);
        json.Key("text");
        json.String(message.Text);
        json.EndObject();
    }
    json.EndArray();
}

} // namespace

int RunStatsMode(const std::string& fileName) {
    TRecordingUiServices services(/*echoToStderr=*/true);
    TScopedUiServices installed(services);
    TNoProgressWindow progress;
    TLogFile1 project("Level");
    project.Load(fileName, progress);
    TPlainTextView view;
    project.FillStatistics(view);
    return 0;
}

int RunDumpMode(const std::string& fileName, std::int32_t steps) {
    TRecordingUiServices services(/*echoToStderr=*/true);
    TScopedUiServices installed(services);
    TNoProgressWindow progress;
    TLogFile1 project("Level");
    project.Load(fileName, progress);
    const std::vector<TRecordedMessage> loadWarnings = services.Messages;
    const std::int32_t savedCount = PlayForward(project, steps);

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
    json.EndArray();
    json.Key("timeStep");
    json.Int(steps);
    json.Key("savedCount");
    json.Int(savedCount);
    json.Key("timeText");
    json.String(TimeText(ReplayTimeSeconds(steps, project.VMax, project.TOff)));
    json.Key("savedText");
    json.String(SavedText(savedCount));
    json.Key("warnings");
    WriteWarnings(json, loadWarnings);
    json.EndObject();
    std::fputc('\n', stdout);
    return 0;
}
