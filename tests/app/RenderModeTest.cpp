// Frames rendered by the built program with no display at all: no X server, no Xvfb, only
// OpenGL without a window system.

#include "FileSizeLimit.h"
#include "JpegCheck.h"
#include "ProgramTest.h"
#include "ProgressLine.h"
#include "SmallDeck.h"
#include "VideoCheck.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QImage>

#include <array>
#include <charconv>
#include <cmath>
#include <numbers>
#include <sstream>

using ::testing::HasSubstr;

namespace {

// Without any display; the GL driver's own buffers are not ours to find leaking.
const std::string NoDisplay = "-u DISPLAY -u WAYLAND_DISPLAY ASAN_OPTIONS=detect_leaks=0";

// Two persons: one leaves after two moves, the other after five, so everybody has left at step 6.
const std::string TwoPersons = "<header>\npmax 2\nxmax 3\nymax 2\nzmax 1\nvmax 2\ntoff 0\n"
                               "version 1\n</header>\n<deck>\nlevel 0\n(celldata)\nP3x0\n0 0 0\n"
                               "</deck>\n<persons>\n<startpositions>\n0 0 0 3 4\n2 1 0 1 5\n"
                               "(movement)\n3 3 S\nP5x0 S\n</persons>\n";

class RenderMode : public TProgramTest {
protected:
    void SetUp() override {
        TProgramTest::SetUp();
        Out = Dir / "frames";
    }

    std::string Write(const std::string& name, const std::string& contents) const {
        const std::string file = (Dir / name).string();
        std::ofstream(file, std::ios::binary) << contents;
        return file;
    }

    TRun Render(const std::string& file, std::vector<std::string> options) const {
        options.insert(options.begin(), {"--render", file, "--out", Out.string()});
        return Run(options, NoDisplay);
    }

    // The names of the files in the frames' folder, sorted.
    // A camera file as the window saves one, each double as the shortest text that reads back
    // as it.
    std::string CameraFile(const std::string& name, std::int32_t deck, double phi, double theta,
                           double distance, std::array<double, 2> pan) const {
        const auto json = [](double value) {
            char text[32];
            return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
        };
        return Write(name, "{\"format\": \"ambla-camera\", \"version\": 1, \"deck\": " +
                               std::to_string(deck) + ", \"phi\": " + json(phi) +
                               ", \"theta\": " + json(theta) + ", \"distance\": " + json(distance) +
                               ", \"pan\": [" + json(pan[0]) + ", " + json(pan[1]) + "]}");
    }

    std::vector<std::string> Frames() const {
        std::vector<std::string> names;
        if (std::filesystem::exists(Out)) {
            for (const auto& entry : std::filesystem::directory_iterator(Out)) {
                names.push_back(entry.path().filename().string());
            }
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    std::filesystem::path Out;
};

} // namespace

// The frame at 800 x 600 shows what the view tests see at that size: the origin marker at the
// look-at point, the person, the floor, and the background around the deck.
TEST_F(RenderMode, WritesBaselineJpegFramesOfTheDeckWithoutAnyDisplay) {
    const TRun run = Render(Write("deck.3dl", SmallDeck), {"--size", "800x600", "--to", "1"});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(Frames(), (std::vector<std::string>{"000000.jpg", "000001.jpg"}));

    const QString first = QString::fromStdString((Out / "000000.jpg").string());
    const TJpegHeader header = HeaderOf(Contents(first));
    EXPECT_EQ(header.FrameMarker, 0xC0);
    EXPECT_EQ(header.Components, 3);
    EXPECT_EQ(header.QuantFirst, 3); // quality 90
    EXPECT_EQ(header.QuantLast, 20);

    const QImage frame(first, "JPEG");
    ASSERT_EQ(frame.size(), QSize(800, 600));
    EXPECT_TRUE(IsGreen(PixelAt(frame, {400, 300}))); // the origin marker
    EXPECT_TRUE(IsGreen(PixelAt(frame, {120, 100}))); // the person
    EXPECT_TRUE(IsGrey(PixelAt(frame, {200, 400}), 100, 255));
    const TRgb corner = PixelAt(frame, {5, 595});
    EXPECT_TRUE(corner.R < 8 && corner.G < 8 && std::abs(corner.B - 51) < 8);
    // At step 1 the person has stepped east and turned: where it stood is background now.
    const QImage second(QString::fromStdString((Out / "000001.jpg").string()), "JPEG");
    EXPECT_TRUE(IsGreen(PixelAt(frame, {60, 150})));
    EXPECT_FALSE(IsGreen(PixelAt(second, {60, 150})));
}

TEST_F(RenderMode, FramesRunFromAStepToWhenEverybodyHasLeftEveryKSteps) {
    const std::string file = Write("two.3dl", TwoPersons);
    const TRun all = Render(file, {"--size", "64x48"});
    ASSERT_EQ(all.ExitCode, 0) << all.Err;
    EXPECT_EQ(Frames(),
              (std::vector<std::string>{"000000.jpg", "000001.jpg", "000002.jpg", "000003.jpg",
                                        "000004.jpg", "000005.jpg", "000006.jpg"}));
    // Not a terminal: plain lines, the last one for the last frame.
    EXPECT_THAT(all.Err, HasSubstr("frame 7 of 7 [####################]"));
    EXPECT_EQ(all.Err.find('\r'), std::string::npos);
    EXPECT_EQ(QImage(QString::fromStdString((Out / "000006.jpg").string())).size(), QSize(64, 48));

    std::filesystem::remove_all(Out);
    const TRun every = Render(file, {"--size", "64x48", "--from", "1", "--every", "4"});
    ASSERT_EQ(every.ExitCode, 0) << every.Err;
    EXPECT_EQ(Frames(), (std::vector<std::string>{"000001.jpg", "000005.jpg"}));

    // The replay ends at the whole second after everybody has left, as in the window: four steps
    // a second, everybody has left at step 6, the end is step 8, and the frames go there.
    std::filesystem::remove_all(Out);
    std::string fourPerSecond = TwoPersons;
    fourPerSecond.replace(fourPerSecond.find("vmax 2"), 6, "vmax 4");
    const TRun whole = Render(Write("four.3dl", fourPerSecond), {"--size", "64x48", "--from", "5"});
    ASSERT_EQ(whole.ExitCode, 0) << whole.Err;
    EXPECT_EQ(Frames(),
              (std::vector<std::string>{"000005.jpg", "000006.jpg", "000007.jpg", "000008.jpg"}));
}

TEST_F(RenderMode, BadInputIsRefusedWithItsReasonAndWritesNoFrame) {
    const std::string file = Write("two.3dl", TwoPersons);
    const std::string missing = (Dir / "missing.3dl").string();
    // A deck larger than any memory.
    const std::string refused =
        Write("refused.3dl", "<header> pmax 1 xmax 65536 ymax 32768 zmax 1 vmax 1 </header>\n");
    const std::string notAFolder = Write("plain.txt", "text");
    const std::string missingCamera = (Dir / "missing.json").string();
    const std::string thirdDeck = CameraFile("third.json", 2, 0.0, 0.0, 10.0, {0.0, 0.0});
    struct TCase {
        std::vector<std::string> Args;
        int ExitCode;
        std::string Reason;
    };
    const std::vector<TCase> cases = {
        {{"--render", missing, "--out", Out.string()}, 1, "Cannot open file"},
        {{"--render", refused, "--out", Out.string()}, 1, "This file cannot be loaded"},
        {{"--render", file, "--out", notAFolder + "/frames"}, 1, "cannot be made"},
        {{"--render", file, "--out", Out.string(), "--deck", "1"}, 2, "the file has 1 deck, 0"},
        {{"--render", file, "--out", Out.string(), "--deck", "-1"}, 2, "--deck -1"},
        {{"--render", file, "--out", Out.string(), "--from", "3", "--to", "2"},
         2,
         "--from 3 is after --to 2"},
        {{"--render", file, "--out", Out.string(), "--from", "7"},
         2,
         "--from 7 is after step 6, where the replay ends at 0:03 (everybody has left at step 6)"},
        {{"--render", file, "--out", Out.string(), "--from", "5", "--to", "7"},
         2,
         "--to 7 is after step 6"},
        {{"--render", file, "--out", Out.string(), "--every", "0"}, 2, "must be 1 or more"},
        {{"--render", file, "--out", Out.string(), "--size", "0x720"}, 2, "1 to 16384 pixels"},
        {{"--render", file, "--out", Out.string(), "--size", "16385x16"}, 2, "1 to 16384 pixels"},
        {{"--render", file, "--out", Out.string(), "--size", "16384x16384"}, 2, "pixels in all"},
        {{"--render", file, "--out", Out.string(), "--size", "12x"}, 2, "--size 12x: expected"},
        // Found before the file is read, as every mistake in the arguments is.
        {{"--render", missing, "--video", (Dir / "v.mp4").string(), "--size", "101x100"},
         2,
         "--size 101x100: a video's width and height must be even"},
        {{"--render", notAFolder, "--out", Out.string()}, 1, notAFolder + ": no project header"},
        {{"--render", file}, 2, "--render: missing --out"},
        {{"--render", file, "--out", Out.string(), "--camera-file", missingCamera},
         1,
         "camera file " + missingCamera + ": cannot be read: "},
        {{"--render", file, "--out", Out.string(), "--camera-file", notAFolder},
         1,
         "camera file " + notAFolder + ": not a camera file: not JSON"},
        {{"--render", file, "--out", Out.string(), "--camera-file", thirdDeck},
         2,
         "--camera-file " + thirdDeck +
             ": the camera was saved on deck 2, but the log file has 1 "
             "deck, 0\n"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Args.back());
        const TRun run = Run(c.Args, NoDisplay);
        EXPECT_EQ(run.ExitCode, c.ExitCode);
        EXPECT_THAT(run.Err, HasSubstr(c.Reason));
        EXPECT_EQ(Frames(), std::vector<std::string>{});
    }
}

// A deck by its caption: the first captioned exactly so, else the first captioned so but for the
// case of its letters; the frame is the one its number gives.
TEST_F(RenderMode, ADeckIsFoundByItsCaptionExactlyBeforeIgnoringCase) {
    std::string twoMains = SmallDeck;
    twoMains.replace(twoMains.find("caption Upper"), 13, "caption MAIN");
    const std::string file = Write("mains.3dl", twoMains);
    const auto frameOf = [&](const std::string& deck) {
        std::filesystem::remove_all(Out);
        const TRun run = Render(file, {"--size", "64x48", "--to", "0", "--deck", deck});
        EXPECT_EQ(run.ExitCode, 0) << deck << ": " << run.Err;
        return ReadAll(Out / "000000.jpg");
    };
    const std::string first = frameOf("0");
    const std::string second = frameOf("1");
    ASSERT_NE(first, second);
    EXPECT_EQ(frameOf("MAIN"), second);
    EXPECT_EQ(frameOf("Main"), first);
    EXPECT_EQ(frameOf("main"), first);

    std::filesystem::remove_all(Out);
    const TRun unknown = Render(file, {"--deck", "Upper"});
    EXPECT_EQ(unknown.ExitCode, 2);
    EXPECT_THAT(unknown.Err, HasSubstr("--deck \"Upper\": no deck has this caption; the file's "
                                       "decks are 0 \"Main\", 1 \"MAIN\"\n"));
    EXPECT_EQ(Frames(), std::vector<std::string>{});
}

// Each camera asked for gives a frame of its own; seen level with the floor, the floor is edge-on:
// background above and below the horizon, away from the walls and the person.
TEST_F(RenderMode, EachCameraShowsTheDeckFromItsSide) {
    const std::string file = Write("deck.3dl", SmallDeck);
    std::vector<std::string> frames;
    for (const char* camera : {"", "top", "side", "oblique"}) {
        std::filesystem::remove_all(Out);
        std::vector<std::string> options{"--size", "160x120", "--to", "0"};
        if (*camera != '\0') {
            options.insert(options.end(), {"--camera", camera});
        }
        const TRun run = Render(file, options);
        ASSERT_EQ(run.ExitCode, 0) << camera << ": " << run.Err;
        frames.push_back(ReadAll(Out / "000000.jpg"));
    }
    EXPECT_EQ(std::set<std::string>(frames.begin(), frames.end()).size(), 4U);
    const QImage side = QImage::fromData(reinterpret_cast<const uchar*>(frames[2].data()),
                                         static_cast<int>(frames[2].size()), "JPEG");
    for (const QPoint point : {QPoint{20, 20}, QPoint{80, 100}}) {
        const TRgb seen = PixelAt(side, point);
        EXPECT_TRUE(seen.R < 8 && seen.G < 8 && std::abs(seen.B - 51) < 8) << point.y();
    }
}

// The camera of a camera file as it was saved, on its deck unless --deck names one. The camera a
// load gives, saved, gives the frame of a load; panned or turned, the deck moves in the frame.
TEST_F(RenderMode, ACameraFileShowsItsCameraAndItsDeck) {
    const std::string file = Write("deck.3dl", SmallDeck);
    const auto frameOf = [&](std::vector<std::string> options) {
        std::filesystem::remove_all(Out);
        options.insert(options.end(), {"--size", "160x120", "--to", "0"});
        const TRun run = Render(file, options);
        EXPECT_EQ(run.ExitCode, 0) << run.Err;
        return ReadAll(Out / "000000.jpg");
    };
    const auto imageOf = [](const std::string& jpeg) {
        return QImage::fromData(reinterpret_cast<const uchar*>(jpeg.data()),
                                static_cast<int>(jpeg.size()), "JPEG");
    };
    // A load looks straight down from where the larger side, 10 cells, just fills the height.
    const double loadDistance = 10 * 0.5 / std::tan(60 * 3.1415 / 180.0 * 0.5);
    const auto saved = [&](const std::string& name, std::int32_t deck, double phi,
                           std::array<double, 2> pan) {
        return CameraFile(name, deck, phi, 0.0, loadDistance, pan);
    };
    const std::string lower = frameOf({});
    const std::string upper = frameOf({"--deck", "1"});
    ASSERT_TRUE(lower != upper);
    EXPECT_TRUE(frameOf({"--camera-file", saved("upper.json", 1, 0.0, {0.0, 0.0})}) == upper)
        << "the upper deck, as a load shows it";
    EXPECT_TRUE(frameOf({"--camera-file", saved("upper.json", 1, 0.0, {0.0, 0.0}), "--deck",
                         "Main"}) == lower)
        << "--deck wins";
    EXPECT_TRUE(frameOf({"--deck", "0", "--camera-file", saved("far.json", 7, 0.0, {0.0, 0.0})}) ==
                lower)
        << "a deck the log lacks does not count beside --deck";

    // At 12 pixels a cell the 10 x 6 floor covers x 20 to 140 and y 24 to 96 of the frame. Panned
    // by (-2, 1) it moves 24 pixels left and 12 up; turned a quarter, it stands upright, covering
    // x 44 to 116 and the whole height. The points probed keep clear of the origin marker's
    // arrows (x 80, y 60), the person and the obstacle.
    const QImage plain = imageOf(lower);
    const QImage panned = imageOf(frameOf({"--camera-file", saved("pan.json", 0, 0.0, {-2, 1})}));
    const QImage turned = imageOf(
        frameOf({"--camera-file", saved("turn.json", 0, std::numbers::pi / 2, {0.0, 0.0})}));
    const auto isFloor = [](TRgb seen) { return IsGrey(seen, 100, 255); };
    const auto isBackground = [](TRgb seen) {
        return seen.R < 8 && seen.G < 8 && std::abs(seen.B - 51) < 8;
    };
    for (const QPoint point : {QPoint{128, 40}, QPoint{60, 90}}) {
        EXPECT_TRUE(isFloor(PixelAt(plain, point))) << point.x() << "," << point.y();
        EXPECT_TRUE(isBackground(PixelAt(panned, point))) << point.x() << "," << point.y();
    }
    for (const QPoint point : {QPoint{10, 60}, QPoint{100, 18}}) {
        EXPECT_TRUE(isBackground(PixelAt(plain, point))) << point.x() << "," << point.y();
        EXPECT_TRUE(isFloor(PixelAt(panned, point))) << point.x() << "," << point.y();
    }
    EXPECT_TRUE(isBackground(PixelAt(turned, {30, 80})));
    EXPECT_TRUE(isFloor(PixelAt(turned, {100, 104})));
    EXPECT_TRUE(isBackground(PixelAt(plain, {100, 104})));
}

// A folder in the way of the fourth frame: the series stops there, says why, and leaves no
// partial file behind.
TEST_F(RenderMode, AFrameThatCannotBeWrittenEndsTheSeriesWithItsReason) {
    std::filesystem::create_directories(Out / "000003.jpg" / "inside");
    const TRun run = Render(Write("two.3dl", TwoPersons), {"--size", "64x48"});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_THAT(run.Err, HasSubstr("cannot write " + (Out / "000003.jpg").string() + ": "));
    EXPECT_EQ(Frames(),
              (std::vector<std::string>{"000000.jpg", "000001.jpg", "000002.jpg", "000003.jpg"}));
}

// A video of the ferry at ten seconds of replay a second: H.264 in yuv420p of the size asked
// for, frame i showing step round(i x 4 x 10 / 25), each as the JPEG frame of that step shows
// it. One that cannot be written to its end leaves the older file as it was, and nothing else.
// The caption takes the upper left corner of a frame and leaves every other block of the JPEG
// as it was.
TEST_F(RenderMode, ACaptionChangesOnlyTheUpperLeftCorner) {
    const std::string ferry = std::string(AMBLA_SAMPLES_DIR) + "/ferry.3dl";
    const auto frame = [&](std::vector<std::string> options) {
        options.insert(options.end(), {"--from", "200", "--to", "200", "--deck", "1"});
        const TRun run = Render(ferry, options);
        EXPECT_EQ(run.ExitCode, 0) << run.Err;
        return QImage(QString::fromStdString((Out / "000200.jpg").string()))
            .convertToFormat(QImage::Format_RGB32);
    };
    const QImage plain = frame({});
    const QImage captioned = frame({"--caption"});
    ASSERT_EQ(captioned.size(), QSize(1280, 720));
    // Letters of 24 pixels in a band of about 56 below a margin of 8; JPEG codes blocks of 16.
    const QRect corner(0, 0, 800, 80);
    qint64 inCorner = 0;
    qint64 elsewhere = 0;
    for (int y = 0; y < plain.height(); ++y) {
        for (int x = 0; x < plain.width(); ++x) {
            if (plain.pixel(x, y) != captioned.pixel(x, y)) {
                ++(corner.contains(x, y) ? inCorner : elsewhere);
            }
        }
    }
    EXPECT_GT(inCorner, 10000);
    EXPECT_EQ(elsewhere, 0);
}

// The longest row of dark pixels held between pale ones in the lower right quarter: the scale
// bar on its pale box.
int ScaleBarPixels(const QImage& frame) {
    const auto dark = [&](int x, int y) { return QColor(frame.pixel(x, y)).lightness() < 70; };
    const auto pale = [&](int x, int y) { return QColor(frame.pixel(x, y)).lightness() > 170; };
    int longest = 0;
    for (int y = frame.height() * 3 / 4; y < frame.height(); ++y) {
        for (int x = frame.width() / 2; x < frame.width(); ++x) {
            if (!dark(x, y) || !pale(x - 1, y)) {
                continue;
            }
            int end = x;
            while (end < frame.width() && dark(end, y)) {
                ++end;
            }
            if (end < frame.width() && pale(end, y)) {
                longest = std::max(longest, end - x);
            }
        }
    }
    return longest;
}

// The scale bar is the longest round length (1, 2 or 5 times a power of ten metres) that fits in
// a quarter of the width, and is as long as the deck shows it: straight down from a distance d a
// frame of height h shows h / (2 d tan 30°) pixels a cell, in the plan everywhere and in the
// perspective view where the centre of the view meets the floor.
TEST_F(RenderMode, TheScaleBarIsARoundLengthAsLongAsTheDeckShowsIt) {
    constexpr int Width = 800;
    constexpr int Height = 600;
    const std::string deck = Write("deck.3dl", SmallDeck);
    for (const double distance : {40.0, 150.0}) {
        for (const char* cell : {"0.4", "0.5"}) {
            const double cellMetres = std::stod(cell);
            const double cellPixels = Height / (2 * distance * std::tan(std::numbers::pi / 6));
            const double pixelsPerMetre = cellPixels / cellMetres;
            double metres = 0.0;
            for (const double round : {0.5, 1.0, 2.0, 5.0, 10.0, 20.0, 50.0, 100.0}) {
                if (round * pixelsPerMetre <= Width / 4.0) {
                    metres = round;
                }
            }
            for (const char* plan : {"true", "false"}) {
                SCOPED_TRACE(std::to_string(distance) + " " + cell + " " + plan);
                const std::string camera =
                    Write("camera.json", "{\"format\": \"ambla-camera\", \"version\": 1, \"deck\": "
                                         "0, \"phi\": 0, \"theta\": 0, \"distance\": " +
                                             std::to_string(distance) +
                                             ", \"pan\": [0, 0], \"plan\": " + plan + "}");
                const TRun run = Render(deck, {"--to", "0", "--size", "800x600", "--camera-file",
                                               camera, "--scale", "--cell-size", cell});
                ASSERT_EQ(run.ExitCode, 0) << run.Err;
                const QImage frame(QString::fromStdString((Out / "000000.jpg").string()));
                EXPECT_NEAR(ScaleBarPixels(frame), metres * pixelsPerMetre, 1.5);
                EXPECT_GE(ScaleBarPixels(frame), Width / 10);
            }
        }
    }
}

TEST_F(RenderMode, AVideoHoldsTheStepsOfItsSpeedAsTheFramesShowThem) {
    const std::string ferry = std::string(AMBLA_SAMPLES_DIR) + "/ferry.3dl";
    const std::string video = (Dir / "ferry.mp4").string();
    const TRun run = Run({"--render", ferry, "--video", video, "--size", "320x240", "--fps", "25",
                          "--speed", "10", "--to", "100", "--camera", "top"},
                         NoDisplay);
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    // The progress and nothing of the encoder's own chatter.
    std::istringstream errLines(run.Err);
    for (std::string line; std::getline(errLines, line);) {
        EXPECT_THAT(line, ::testing::StartsWith("frame "));
    }
    // Steps 0, 2, 3, 5, ... 99, 101 > 100: the frames 0 to 62.
    const TVideoFacts facts = ReadVideo(video, 30);
    ASSERT_TRUE(facts.Opened);
    EXPECT_EQ(facts.Codec, AV_CODEC_ID_H264);
    EXPECT_EQ(facts.PixelFormat, AV_PIX_FMT_YUV420P);
    EXPECT_EQ(facts.Width, 320);
    EXPECT_EQ(facts.Height, 240);
    EXPECT_EQ(facts.Frames, 63);
    ASSERT_FALSE(facts.Picked.isNull());

    // Frame 30 shows step 48.
    ASSERT_EQ(Render(ferry, {"--size", "320x240", "--from", "48", "--to", "48", "--camera", "top"})
                  .ExitCode,
              0);
    const QImage still = QImage(QString::fromStdString((Out / "000048.jpg").string()))
                             .convertToFormat(QImage::Format_RGB888);
    double difference = 0;
    for (int y = 0; y < still.height(); ++y) {
        for (int x = 0; x < still.width(); ++x) {
            const QRgb a = still.pixel(x, y);
            const QRgb b = facts.Picked.pixel(x, y);
            difference += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                          std::abs(qBlue(a) - qBlue(b));
        }
    }
    EXPECT_LT(difference / (3.0 * 255.0 * still.width() * still.height()), 0.02);

    std::ofstream(video, std::ios::binary | std::ios::trunc) << "an older video";
    {
        const TFileSizeLimit full(4096);
        const TRun cut = Run({"--render", ferry, "--video", video, "--size", "320x240"}, NoDisplay);
        EXPECT_EQ(cut.ExitCode, 1);
        EXPECT_THAT(cut.Err, HasSubstr("cannot write " + video + ": "));
    }
    std::ifstream older(video, std::ios::binary);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(older)), {}), "an older video");
    for (const auto& entry : std::filesystem::directory_iterator(Dir)) {
        EXPECT_EQ(entry.path().filename().string().find(".part"), std::string::npos)
            << entry.path();
    }
}

TEST(ProgressLine, TellsTheFrameTheRateAndTheTimeLeft) {
    EXPECT_EQ(ProgressText(0, 240, 0.0), "frame 0 of 240 [....................]");
    EXPECT_EQ(ProgressText(12, 240, 1.5),
              "frame 12 of 240 [#...................]    8.0 frames/s, 0:29 left");
    EXPECT_EQ(ProgressText(240, 240, 30.0),
              "frame 240 of 240 [####################]    8.0 frames/s, 0:00 left");
}
