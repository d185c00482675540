// Camera files written and read back, and the faults a camera file can have.

#include "CameraFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

namespace {

std::uint64_t Bits(double value) {
    return std::bit_cast<std::uint64_t>(value);
}

QString WriteBytes(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

// A good camera file with one field's JSON text changed, or dropped when the text is null.
QByteArray CameraText(const char* field = "", const char* value = nullptr) {
    const std::vector<std::pair<const char*, const char*>> good = {{"format", "\"ambla-camera\""},
                                                                   {"version", "1"},
                                                                   {"deck", "2"},
                                                                   {"phi", "0.5"},
                                                                   {"theta", "-0.25"},
                                                                   {"distance", "80"},
                                                                   {"pan", "[-3, 4.5]"},
                                                                   {"plan", "false"}};
    QByteArray text = "{";
    for (const auto& [name, json] : good) {
        const char* shown = std::string(name) == field ? value : json;
        if (shown != nullptr) {
            text += QByteArray(text.size() > 1 ? ", " : "") + "\"" + name + "\": " + shown;
        }
    }
    return text + "}";
}

} // namespace

// The doubles come back bit for bit, and the camera placed from them looks from where the
// window's camera looked. A zero may lose its sign; nothing drawn depends on it.
TEST(CameraFile, ACameraWrittenIsReadBackExactly) {
    QTemporaryDir dir;
    // Orbited, panned and zoomed with the mouse: numbers no short decimal holds.
    TCamera window;
    window.FIsControlEnabled = true;
    window.FitToDeck(150);
    window.MouseDown(TMouseButton::Left, 10, 10);
    window.MouseMove(107, -23);
    window.MouseUp();
    window.MouseDown(TMouseButton::Right, 0, 0);
    window.MouseMove(-41, 29);
    window.MouseUp();
    window.SetDistance(ZoomedIn(window.Distance()));

    const std::vector<TSavedCamera> cameras = {
        CameraToSave(window, 2),
        {0, std::numbers::pi, -std::numbers::pi / 3, MinimumDistance, {1.0 / 3, -2.0 / 3}},
        {2147483647, -1e9, 1e9, 1e9, {5e-324, -1e9}},
        {1, 0.1 + 0.2, 1e-7, 123456.789012345, {-0.0, 0.0}}};
    const QString path = dir.filePath("camera.json");
    for (const TSavedCamera& camera : cameras) {
        SCOPED_TRACE(camera.Distance);
        ASSERT_EQ(WriteCameraFile(path, camera), "");
        const TCameraFileRead read = ReadCameraFile(path);
        ASSERT_TRUE(read.Camera.has_value()) << read.Error.toStdString();
        EXPECT_EQ(read.Error, "");
        EXPECT_EQ(read.Camera->Deck, camera.Deck);
        EXPECT_EQ(Bits(read.Camera->Phi), Bits(camera.Phi));
        EXPECT_EQ(Bits(read.Camera->Theta), Bits(camera.Theta));
        EXPECT_EQ(Bits(read.Camera->Distance), Bits(camera.Distance));
        for (const std::size_t i : {0U, 1U}) {
            EXPECT_TRUE(camera.Pan[i] == 0.0 ? read.Camera->Pan[i] == 0.0
                                             : Bits(read.Camera->Pan[i]) == Bits(camera.Pan[i]))
                << i;
        }
    }

    ASSERT_EQ(WriteCameraFile(path, CameraToSave(window, 2)), "");
    TCamera placed;
    placed.FitToDeck(10); // whatever it was before
    PlaceSavedCamera(*ReadCameraFile(path).Camera, placed);
    EXPECT_EQ(placed.FEye, window.FEye);
    EXPECT_EQ(placed.FUp, window.FUp);
    EXPECT_EQ(placed.FPan, window.FPan);
    EXPECT_EQ(placed.Distance(), window.Distance());

    // A plan stays a plan, straight down and north up; a file saved before there were plans is
    // a perspective view.
    TCamera plan = window;
    plan.TurnTo(TCameraPreset::Plan);
    ASSERT_EQ(WriteCameraFile(path, CameraToSave(plan, 1)), "");
    PlaceSavedCamera(*ReadCameraFile(path).Camera, placed);
    EXPECT_TRUE(placed.FPlan);
    EXPECT_EQ(placed.FEye, plan.FEye);
    EXPECT_EQ(placed.FUp, plan.FUp);
    const QString old = WriteBytes(dir, "old.json", CameraText("plan"));
    ASSERT_TRUE(ReadCameraFile(old).Camera.has_value());
    PlaceSavedCamera(*ReadCameraFile(old).Camera, placed);
    EXPECT_FALSE(placed.FPlan);
    EXPECT_EQ(placed.FTheta, -0.25);

    // A camera that no file may hold is not written: the file stays as it was.
    TSavedCamera tooClose = CameraToSave(window, 2);
    tooClose.Distance = 0.5;
    EXPECT_EQ(WriteCameraFile(path, tooClose),
              "this camera cannot be saved: \"distance\" is 0.5; expected a number from 1.1 to "
              "1e+09");
    EXPECT_EQ(ReadCameraFile(path).Camera->Distance, window.Distance());
}

// Each fault is named after the file's name; none is read as a camera.
TEST(CameraFile, EachFaultOfAFileIsNamed) {
    QTemporaryDir dir;
    const QString range = "expected a number from -1e+09 to 1e+09";
    const QString pan = "\"pan\" is not two numbers [x, y]";
    const struct {
        QByteArray Text;
        QString Fault;
    } cases[] = {
        {"", "not a camera file: not JSON ("},
        {CameraText().left(40), "not a camera file: not JSON ("},
        {"[1, 2]", "not a camera file: not a JSON object"},
        {CameraText("format"), "not a camera file: \"format\" is missing"},
        {CameraText("format", "\"ambla-log\""), "not a camera file: \"format\" is not"},
        {CameraText("format", "1"), "not a camera file: \"format\" is not \"ambla-camera\""},
        {CameraText("version"), "\"version\" is missing"},
        {CameraText("version", "2"), "\"version\" is 2; this program reads version 1"},
        {CameraText("version", "\"1\""), "\"version\" is not a number"},
        {CameraText("version", "0"), "\"version\" is 0; this program reads version 1"},
        {CameraText("version", "0.5"), "\"version\" is 0.5; this program reads version 1"},
        {CameraText("deck", "-1"), "\"deck\" is -1; expected a deck's number from 0"},
        {CameraText("deck", "1.5"), "\"deck\" is 1.5; expected a deck's number from 0"},
        {CameraText("deck", "3e9"), "\"deck\" is 3e+09; expected a deck's number from 0"},
        {CameraText("phi", "NaN"), "not a camera file: not JSON ("},
        {CameraText("phi", "1e300"), "\"phi\" is 1e+300; " + range},
        {CameraText("theta", "\"flat\""), "\"theta\" is not a number"},
        {CameraText("theta", "-2e9"), "\"theta\" is -2e+09; " + range},
        {CameraText("distance", "0"), "\"distance\" is 0; expected a number from 1.1 to 1e+09"},
        {CameraText("distance", "-80"), "\"distance\" is -80; expected a number from 1.1 to 1e+09"},
        {CameraText("distance", "1e999"), "not a camera file: not JSON ("},
        {CameraText("pan"), "\"pan\" is missing"},
        {CameraText("pan", "[1]"), pan},
        {CameraText("pan", "[1, 2, 3]"), pan},
        {CameraText("pan", "[1, \"2\"]"), pan},
        {CameraText("pan", "[1e10, 0]"), "\"pan\" x is 1e+10; " + range},
        {CameraText("pan", "[0, -1e10]"), "\"pan\" y is -1e+10; " + range},
        {CameraText("plan", "1"), "\"plan\" is not true or false"},
        {QByteArray(70000, ' ') + CameraText(), "not a camera file: larger than 65536 bytes"},
    };
    int n = 0;
    for (const auto& c : cases) {
        const QString path = WriteBytes(dir, QString("case%1.json").arg(++n), c.Text);
        const TCameraFileRead read = ReadCameraFile(path);
        SCOPED_TRACE(c.Text.left(200).toStdString());
        EXPECT_FALSE(read.Camera.has_value());
        const QString prefix = "camera file " + path + ": ";
        EXPECT_TRUE(read.Error.startsWith(prefix + c.Fault)) << read.Error.toStdString();
    }

    // A folder, and no file at all: the system's reason.
    const TCameraFileRead folder = ReadCameraFile(dir.path());
    EXPECT_FALSE(folder.Camera.has_value());
    EXPECT_TRUE(folder.Error.startsWith("camera file " + dir.path() + ": cannot be read: "))
        << folder.Error.toStdString();
    const QString missing = dir.filePath("missing.json");
    EXPECT_EQ(ReadCameraFile(missing).Error,
              "camera file " + missing + ": cannot be read: No such file or directory");

    // The good file the cases start from is read, and holds what it says.
    const TCameraFileRead good = ReadCameraFile(WriteBytes(dir, "good.json", CameraText()));
    ASSERT_TRUE(good.Camera.has_value()) << good.Error.toStdString();
    EXPECT_EQ(good.Camera->Deck, 2);
    EXPECT_EQ(good.Camera->Phi, 0.5);
    EXPECT_EQ(good.Camera->Theta, -0.25);
    EXPECT_EQ(good.Camera->Distance, 80.0);
    EXPECT_EQ(good.Camera->Pan, (std::array<double, 2>{-3.0, 4.5}));
}
