#include "RenderMode.h"

#include "BoxReports.h"
#include "CameraFile.h"
#include "DeckRenderer.h"
#include "EvacuationAnalysis.h"
#include "HeadlessProject.h"
#include "JpegWriter.h"
#include "LogFile.h"
#include "OffscreenCanvas.h"
#include "ProgressLine.h"
#include "Replay.h"
#include "ReplayFilm.h"
#include "VideoWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryFile>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace {

// The limits of a screen shot: a side of at most 16384 pixels, and 2^26 pixels in all (256 MB
// at four bytes a pixel).
constexpr std::int32_t MaxFrameSide = 16384;
constexpr std::int64_t MaxFramePixels = std::int64_t{1} << 26;

void Tell(const std::string& text) {
    std::fprintf(stderr, "ambla-viewer --render: %s\n", text.c_str());
}

// What is wrong with the numbers asked for, before anything is read.
std::optional<std::string> RefusedNumbers(const TRenderRequest& request) {
    if (request.Every < 1) {
        return "--every " + std::to_string(request.Every) +
               ": the steps between two frames must be 1 or more";
    }
    const std::string size =
        "--size " + std::to_string(request.Width) + "x" + std::to_string(request.Height);
    if (request.Width < 1 || request.Height < 1 || request.Width > MaxFrameSide ||
        request.Height > MaxFrameSide) {
        return size + ": width and height must be 1 to " + std::to_string(MaxFrameSide) + " pixels";
    }
    if (std::int64_t{request.Width} * request.Height > MaxFramePixels) {
        return size + ": a frame may have at most " + std::to_string(MaxFramePixels) +
               " pixels in all";
    }
    if (!request.VideoFile.empty() && (request.Width % 2 != 0 || request.Height % 2 != 0)) {
        return size + ": a video's width and height must be even, e.g. 1280x720";
    }
    if (request.From < 0) {
        return "--from " + std::to_string(request.From) + ": the replay starts at step 0";
    }
    if (request.To && request.From > *request.To) {
        return "--from " + std::to_string(request.From) + " is after --to " +
               std::to_string(*request.To);
    }
    return std::nullopt;
}

// The folder for the frames, made when it is missing; why no frame could be written into it.
std::optional<std::string> UnwritableFolder(const QString& folder) {
    if (!QDir().mkpath(folder)) {
        return "the folder " + folder.toStdString() + " cannot be made";
    }
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".ambla-XXXXXX")));
    if (!probe.open()) {
        return "nothing can be written into " + folder.toStdString() + ": " +
               probe.errorString().toStdString();
    }
    return std::nullopt;
}

// The decks --deck may name: those the header announces and the file has.
std::int32_t DeckCount(const TLogFile& project) {
    return std::min(static_cast<std::int32_t>(project.Decks.size()), project.ZMax);
}

// What the file has in place of a deck it does not have: "has 3 decks, 0 to 2"; none for one it
// has.
std::optional<std::string> DecksInstead(const TLogFile& project, std::int32_t deck) {
    const auto decks = static_cast<std::int32_t>(project.Decks.size());
    if (deck >= 0 && deck < DeckCount(project)) {
        return std::nullopt;
    }
    if (decks == 0) {
        return "has no decks";
    }
    return "has " + std::to_string(decks) +
           (decks == 1 ? " deck, 0" : " decks, 0 to " + std::to_string(decks - 1));
}

// Letters A to Z as a to z; every other byte as it is.
bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&](char x, char y) { return lower(x) == lower(y); });
}

// The first deck captioned exactly so; failing that, the first captioned so but for the case
// of its letters.
std::optional<std::int32_t> DeckCaptioned(const TLogFile& project, const std::string& caption) {
    for (const bool exactly : {true, false}) {
        for (std::int32_t deck = 0; deck < DeckCount(project); ++deck) {
            const std::string own = project.GetDeckCaption(deck);
            if (exactly ? own == caption : EqualIgnoringCase(own, caption)) {
                return deck;
            }
        }
    }
    return std::nullopt;
}

std::string RefusedCaption(const TLogFile& project, const std::string& caption) {
    const std::string option = "--deck \"" + caption + "\": ";
    if (DeckCount(project) == 0) {
        return option + "the file has no decks";
    }
    std::string decks;
    for (std::int32_t deck = 0; deck < DeckCount(project); ++deck) {
        decks += (deck == 0 ? "" : ", ") + std::to_string(deck) + " \"" +
                 project.GetDeckCaption(deck) + "\"";
    }
    return option + "no deck has this caption; the file's decks are " + decks;
}

// The deck asked for by its number or its caption, else the one of the camera file; none, after
// telling why, when the file has no such deck.
std::optional<std::int32_t> DeckToShow(const TLogFile& project, const TRenderRequest& request,
                                       const std::optional<TSavedCamera>& saved) {
    if (saved && !request.DeckGiven) {
        if (const auto instead = DecksInstead(project, saved->Deck)) {
            Tell("--camera-file " + request.CameraFile + ": the camera was saved on deck " +
                 std::to_string(saved->Deck) + ", but the log file " + *instead);
            return std::nullopt;
        }
        return saved->Deck;
    }
    if (request.DeckCaption.empty()) {
        if (const auto instead = DecksInstead(project, request.Deck)) {
            Tell("--deck " + std::to_string(request.Deck) + ": the file " + *instead);
            return std::nullopt;
        }
        return request.Deck;
    }
    const auto deck = DeckCaptioned(project, request.DeckCaption);
    if (!deck) {
        Tell(RefusedCaption(project, request.DeckCaption));
    }
    return deck;
}

// The person --follow names, as an index; none, after telling why, when the file has no such
// person.
std::optional<std::optional<std::size_t>> PersonToFollow(const TLogFile& project,
                                                         const TRenderRequest& request) {
    if (!request.Follow) {
        return std::optional<std::size_t>();
    }
    const std::size_t count = project.Persons.size();
    if (*request.Follow < 1 || static_cast<std::size_t>(*request.Follow) > count) {
        Tell("--follow " + std::to_string(*request.Follow) + ": the file has " +
             (count == 0
                  ? std::string("no persons")
                  : std::to_string(count) +
                        (count == 1 ? " person, 1" : " persons, 1 to " + std::to_string(count))));
        return std::nullopt;
    }
    return std::optional<std::size_t>(static_cast<std::size_t>(*request.Follow - 1));
}

// Up to the end of the replay, as the window's End goes: no further.
std::optional<TFrameRange> FrameRange(const TLogFile& project, const TRenderRequest& request) {
    const std::int32_t end = ReplayEndStep(project);
    const std::int32_t to = request.To.value_or(end);
    for (const auto& [option, step] : {std::pair{"--from", request.From}, {"--to", to}}) {
        if (step > end) {
            Tell(std::string(option) + " " + std::to_string(step) + " is after step " +
                 std::to_string(end) + ", where the replay ends at " +
                 ClockText(ReplayTimeSeconds(end, project.VMax, project.TOff)) +
                 " (everybody has left at step " + std::to_string(StepEverybodyHasLeft(project)) +
                 ")");
            return std::nullopt;
        }
    }
    if (!request.VideoFile.empty()) {
        return VideoRange(project, request.From, to, request.FramesPerSecond.value_or(25),
                          request.SpeedThousandths.value_or(1000));
    }
    return TFrameRange{request.From, to, request.Every, std::nullopt};
}

// The camera file asked for, read; none, after telling why, when it cannot be.
std::optional<std::optional<TSavedCamera>> CameraFileOf(const TRenderRequest& request) {
    if (request.CameraFile.empty()) {
        return std::optional<TSavedCamera>();
    }
    const TCameraFileRead read = ReadCameraFile(QFile::decodeName(request.CameraFile.c_str()));
    if (!read.Camera) {
        Tell(read.Error.toStdString());
        return std::nullopt;
    }
    return read.Camera;
}

// What the frames show: the deck, and the camera of the camera file, if one was given.
struct TShownView {
    std::int32_t Deck = 0;
    std::optional<TSavedCamera> Saved;
};

// The camera after a load; or the camera file's, as it was saved: the frames then show what the
// window showed, cropped or widened by their aspect; or turned to the preset asked for and
// fitted to the deck shown.
TCamera CameraFor(const TDeckRenderer& renderer, const TRenderRequest& request,
                  const std::optional<TSavedCamera>& saved) {
    TCamera camera;
    renderer.FitCamera(camera);
    if (saved) {
        PlaceSavedCamera(*saved, camera);
        return camera;
    }
    const std::optional<TCameraPreset> preset =
        request.Camera == TRenderCamera::Top       ? std::optional{TCameraPreset::Top}
        : request.Camera == TRenderCamera::Side    ? std::optional{TCameraPreset::Side}
        : request.Camera == TRenderCamera::Oblique ? std::optional{TCameraPreset::Oblique}
        : request.Camera == TRenderCamera::Plan    ? std::optional{TCameraPreset::Plan}
                                                   : std::nullopt;
    if (preset) {
        camera.TurnTo(*preset);
        renderer.FitCameraToDeck(camera, static_cast<double>(request.Width) / request.Height);
    }
    return camera;
}

// A GUI application on Qt's platform without any display, for as long as it lives.
class TFontsWithoutDisplay {
public:
    TFontsWithoutDisplay() : Application(WithoutDisplay(ArgCount), Args) {}

private:
    // The platform is chosen before the application is made.
    static int& WithoutDisplay(int& argCount) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return argCount;
    }

    int ArgCount = 1;
    char Name[13] = "ambla-viewer";
    char* Args[2] = {Name, nullptr};
    QGuiApplication Application;
};

// Where the frames go: a call for each, with its step, that says why it failed or nothing.
using TFrameSink = std::function<QString(const QImage& bottomUp, std::int32_t step)>;

// A JPEG file for each frame, named by its step, in the folder.
TFrameSink JpegFiles(const QString& folderName) {
    return [folder = QDir(folderName)](const QImage& frame, std::int32_t step) {
        const QString file =
            folder.filePath(QString::fromStdString(FormatStepNumber(step) + ".jpg"));
        const TJpegBytes jpeg = EncodeJpeg(frame, JpegQuality, TRowOrder::BottomFirst);
        const QString error =
            jpeg.Error.isEmpty() ? WriteFileReplacing(file, jpeg.Bytes) : jpeg.Error;
        return error.isEmpty() ? error : "cannot write " + file + ": " + error;
    };
}

// Draws and writes every frame of the range; false, after telling why, when one fails.
bool WriteFrames(TLogFile& project, const TShownView& shown, std::optional<std::size_t> followed,
                 const TRenderRequest& request, const TFrameRange& range, const TCongestionMap* map,
                 TOffscreenCanvas& canvas, const TFrameSink& sink) {
    TFilmLook look;
    look.Deck = shown.Deck;
    look.Layers.Map = map;
    look.Layers.HidePersonsOnMap = request.HidePersonsOnMap;
    if (request.ColourByWaiting) {
        look.Layers.WaitingLimit = static_cast<float>(request.WaitingLimit);
    }
    if (request.Trails) {
        look.Layers.TrailSeconds = static_cast<float>(request.TrailSeconds);
    }
    look.Layers.Selected = followed;
    if (request.ScaleBar) {
        look.Layers.ScaleBarCellMetres = request.CellSizeMm / 1000.0;
    }
    look.Following = followed.has_value();
    look.Caption = request.Caption;
    TReplayFilm film(project, look);
    film.Renderer().OnBadHeading = &ShowBadHeadingBox;
    film.Camera() = CameraFor(film.Renderer(), request, shown.Saved);
    film.InitializeContext();
    const std::int64_t count = range.Count();
    TProgressLine progress(stderr, count);
    QImage frame;
    bool written = true;
    for (std::int64_t i = 0; i < count && written; ++i) {
        const auto step = static_cast<std::int32_t>(range.StepOf(i));
        film.DrawStep(step, canvas.Width(), canvas.Height());
        canvas.ReadFrame(frame);
        if (const QString error = sink(frame, step); !error.isEmpty()) {
            progress.Finish();
            Tell(error.toStdString());
            written = false;
        } else {
            progress.Show(i + 1);
        }
    }
    film.ReleaseGraphics();
    progress.Finish();
    return written;
}

// The frames as one video; false, after telling why, with no file left behind.
bool WriteVideo(TLogFile& project, const TShownView& shown, std::optional<std::size_t> followed,
                const TRenderRequest& request, const TFrameRange& range, const TCongestionMap* map,
                TOffscreenCanvas& canvas) {
    const QString video = QFile::decodeName(request.VideoFile.c_str());
    const auto failed = [&](const QString& error) {
        Tell("cannot write " + request.VideoFile + ": " + error.toStdString());
        return false;
    };
    TVideoPipeline writer;
    if (const QString error = writer.Open(
            video, {request.Width, request.Height, request.FramesPerSecond.value_or(25)});
        !error.isEmpty()) {
        return failed(error);
    }
    const TFrameSink frames = [&](const QImage& frame, std::int32_t) {
        const QString error = writer.AddFrame(frame);
        return error.isEmpty() ? error : "cannot write " + video + ": " + error;
    };
    if (!WriteFrames(project, shown, followed, request, range, map, canvas, frames)) {
        return false;
    }
    const QString error = writer.Finish();
    return error.isEmpty() || failed(error);
}

} // namespace

int RunRenderMode(const std::string& fileName, const TRenderRequest& request) {
    if (const auto refused = RefusedNumbers(request)) {
        Tell(*refused);
        return 2;
    }
    // A camera file that cannot be read fails as a log file that cannot be read does.
    const auto saved = CameraFileOf(request);
    if (!saved) {
        return 1;
    }
    if (request.VideoFile.empty()) {
        if (const auto unwritable = UnwritableFolder(QString::fromStdString(request.OutDir))) {
            Tell(*unwritable);
            return 1;
        }
    }
    // The load tells what it finds on stderr, as the window shows it in boxes.
    THeadlessProject loaded;
    if (!loaded.Load(fileName)) {
        return 1;
    }
    TLogFile& project = loaded.Project;
    const auto deck = DeckToShow(project, request, *saved);
    if (!deck) {
        return 2;
    }
    const TShownView shown{*deck, *saved};
    const auto range = FrameRange(project, request);
    const auto followed = PersonToFollow(project, request);
    if (!range || !followed) {
        return 2;
    }
    std::optional<TEvacuationAnalysis> analysis;
    if (request.CongestionMap) {
        if (const auto refusal = AnalysisRefusal(project)) {
            Tell("--map: " + *refusal);
            return 1;
        }
        analysis = AnalyseEvacuation(project, request.MapWholeReplay ? TStandingChanges::Left
                                                                     : TStandingChanges::Kept);
    }
    // A legend's, a caption's or a scale bar's text needs the fonts of a GUI application; one
    // without any display serves.
    std::optional<TFontsWithoutDisplay> fonts;
    if (request.ColourByWaiting || request.CongestionMap || request.Caption || request.ScaleBar) {
        fonts.emplace();
    }
    TOffscreenCanvas canvas;
    const std::string error = canvas.Open(request.Width, request.Height);
    if (!error.empty()) {
        Tell(error);
        return 1;
    }
    // Up to each frame's time, which the film moves on, unless the whole replay's is asked for.
    std::optional<TCongestionMapNow> upToNow;
    if (analysis && !request.MapWholeReplay) {
        upToNow.emplace(analysis->Map);
    }
    const TCongestionMap* map = upToNow ? &upToNow->Map() : analysis ? &analysis->Map : nullptr;
    if (request.VideoFile.empty()) {
        return WriteFrames(project, shown, *followed, request, *range, map, canvas,
                           JpegFiles(QString::fromStdString(request.OutDir)))
                   ? 0
                   : 1;
    }
    return WriteVideo(project, shown, *followed, request, *range, map, canvas) ? 0 : 1;
}
