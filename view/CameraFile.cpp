#include "CameraFile.h"

#include "FileWriting.h"

#include <QByteArray>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <QLocale>

#include <cmath>
#include <limits>
#include <utility>

namespace {

const QString FormatTag = QStringLiteral("ambla-camera");
constexpr int FormatVersion = 1;
// Far beyond any deck, and far below where the renderer's arithmetic, some of it in floats,
// would overflow.
constexpr double MaxMagnitude = 1e9;
// A camera file takes a few hundred bytes; anything much larger is no camera file and is not
// read whole.
constexpr qint64 MaxFileBytes = 64 * 1024;

// What is wrong with a camera or with the file that should hold one; thrown where it is found.
struct TFault {
    QString Text;
};

[[noreturn]] void Refuse(QString text) {
    throw TFault{std::move(text)};
}

// The shortest text that reads back as the same double.
QByteArray NumberBytes(double value) {
    return QByteArray::number(value, 'g', QLocale::FloatingPointShortest);
}

QString NumberText(double value) {
    return QString::fromLatin1(NumberBytes(value));
}

void CheckNumber(const QString& what, double value, double least) {
    if (!(std::isfinite(value) && value >= least && value <= MaxMagnitude)) {
        Refuse(QStringLiteral("%1 is %2; expected a number from %3 to %4")
                   .arg(what, NumberText(value), NumberText(least), NumberText(MaxMagnitude)));
    }
}

// The limits hold for a camera on its way into a file as well as out of one, so that whatever
// the window saves can be read again.
void CheckCamera(const TSavedCamera& camera) {
    if (camera.Deck < 0) {
        Refuse(QStringLiteral("\"deck\" is %1; expected a deck's number from 0").arg(camera.Deck));
    }
    CheckNumber(QStringLiteral("\"phi\""), camera.Phi, -MaxMagnitude);
    CheckNumber(QStringLiteral("\"theta\""), camera.Theta, -MaxMagnitude);
    // The window never brings the camera closer than this.
    CheckNumber(QStringLiteral("\"distance\""), camera.Distance, MinimumDistance);
    CheckNumber(QStringLiteral("\"pan\" x"), camera.Pan[0], -MaxMagnitude);
    CheckNumber(QStringLiteral("\"pan\" y"), camera.Pan[1], -MaxMagnitude);
}

// Written by hand rather than through QJsonDocument, which would sort the keys: the format tag
// comes first, where a reader of the file looks for it.
QByteArray CameraFileText(const TSavedCamera& camera) {
    return "{\n    \"format\": \"" + FormatTag.toLatin1() +
           "\",\n"
           "    \"version\": " +
           QByteArray::number(FormatVersion) +
           ",\n    \"deck\": " + QByteArray::number(camera.Deck) +
           ",\n    \"phi\": " + NumberBytes(camera.Phi) +
           ",\n    \"theta\": " + NumberBytes(camera.Theta) +
           ",\n    \"distance\": " + NumberBytes(camera.Distance) + ",\n    \"pan\": [" +
           NumberBytes(camera.Pan[0]) + ", " + NumberBytes(camera.Pan[1]) +
           "],\n    \"plan\": " + (camera.Plan ? "true" : "false") + "\n}\n";
}

QByteArray FileBytes(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        Refuse("cannot be read: " + file.errorString());
    }
    const QByteArray bytes = file.read(MaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        Refuse("cannot be read: " + file.errorString());
    }
    if (bytes.size() > MaxFileBytes) {
        Refuse(QStringLiteral("not a camera file: larger than %1 bytes").arg(MaxFileBytes));
    }
    return bytes;
}

QJsonObject TopObject(const QByteArray& bytes) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError) {
        Refuse(QStringLiteral("not a camera file: not JSON (%1 at byte %2)")
                   .arg(error.errorString())
                   .arg(error.offset));
    }
    if (!document.isObject()) {
        Refuse(QStringLiteral("not a camera file: not a JSON object"));
    }
    return document.object();
}

QJsonValue Field(const QJsonObject& object, const QString& name) {
    const QJsonValue value = object.value(name);
    if (value.isUndefined()) {
        Refuse("\"" + name + "\" is missing");
    }
    return value;
}

double NumberField(const QJsonObject& object, const QString& name) {
    const QJsonValue value = Field(object, name);
    if (!value.isDouble()) {
        Refuse("\"" + name + "\" is not a number");
    }
    return value.toDouble();
}

void CheckFormat(const QJsonObject& object) {
    const QJsonValue format = object.value(QStringLiteral("format"));
    if (format.isUndefined()) {
        Refuse(QStringLiteral("not a camera file: \"format\" is missing"));
    }
    if (format.toString() != FormatTag) {
        Refuse("not a camera file: \"format\" is not \"" + FormatTag + "\"");
    }
    const double version = NumberField(object, QStringLiteral("version"));
    if (version != FormatVersion) {
        Refuse(QStringLiteral("\"version\" is %1; this program reads version %2")
                   .arg(NumberText(version))
                   .arg(FormatVersion));
    }
}

std::int32_t DeckField(const QJsonObject& object) {
    const double deck = NumberField(object, QStringLiteral("deck"));
    if (!(deck >= 0 && deck <= std::numeric_limits<std::int32_t>::max() &&
          std::floor(deck) == deck)) {
        Refuse(QStringLiteral("\"deck\" is %1; expected a deck's number from 0")
                   .arg(NumberText(deck)));
    }
    return static_cast<std::int32_t>(deck);
}

std::array<double, 2> PanField(const QJsonObject& object) {
    const QJsonValue value = Field(object, QStringLiteral("pan"));
    const QJsonArray pan = value.toArray();
    if (!value.isArray() || pan.size() != 2 || !pan[0].isDouble() || !pan[1].isDouble()) {
        Refuse(QStringLiteral("\"pan\" is not two numbers [x, y]"));
    }
    return {pan[0].toDouble(), pan[1].toDouble()};
}

bool PlanField(const QJsonObject& object) {
    const QJsonValue value = object.value(QStringLiteral("plan"));
    if (value.isUndefined()) {
        return false;
    }
    if (!value.isBool()) {
        Refuse(QStringLiteral("\"plan\" is not true or false"));
    }
    return value.toBool();
}

TSavedCamera CameraIn(const QByteArray& bytes) {
    const QJsonObject object = TopObject(bytes);
    CheckFormat(object);
    TSavedCamera camera;
    camera.Deck = DeckField(object);
    camera.Phi = NumberField(object, QStringLiteral("phi"));
    camera.Theta = NumberField(object, QStringLiteral("theta"));
    camera.Distance = NumberField(object, QStringLiteral("distance"));
    camera.Pan = PanField(object);
    camera.Plan = PlanField(object);
    CheckCamera(camera);
    return camera;
}

} // namespace

TSavedCamera CameraToSave(const TCamera& camera, std::int32_t deck) {
    return {deck, camera.FPhi, camera.FTheta, camera.FDistance, camera.FPan, camera.FPlan};
}

void PlaceSavedCamera(const TSavedCamera& saved, TCamera& camera) {
    camera.Place(saved.Phi, saved.Theta, saved.Distance, saved.Pan, saved.Plan);
}

QString WriteCameraFile(const QString& fileName, const TSavedCamera& camera) {
    try {
        CheckCamera(camera);
    } catch (const TFault& fault) {
        return "this camera cannot be saved: " + fault.Text;
    }
    return WriteFileAtomically(fileName, CameraFileText(camera));
}

TCameraFileRead ReadCameraFile(const QString& fileName) {
    try {
        return {CameraIn(FileBytes(fileName)), {}};
    } catch (const TFault& fault) {
        return {std::nullopt, "camera file " + fileName + ": " + fault.Text};
    }
}
