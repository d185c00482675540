#pragma once
// Camera files: where the window's camera stood and the deck it showed, saved so that frames
// rendered elsewhere (--render --camera-file) look from the same place. One small JSON object:
//
//   {"format": "ambla-camera", "version": 1, "deck": 2, "phi": 0.4, "theta": -0.8,
//    "distance": 120.5, "pan": [-75, -20], "plan": false}
//
// the deck numbered from 0, the camera's azimuth and polar angle in radians, its distance from
// the look-at point, the pan in cells (see TCamera) and whether the view is the flat plan; a file
// without "plan" was saved before there was a plan and is read as a perspective view. Numbers are
// written as the shortest text that reads back as the same double, so a camera comes back exactly
// as it was saved; only a zero's sign is not kept.

#include "CameraMath.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

struct TSavedCamera {
    std::int32_t Deck = 0;
    double Phi = 0.0;
    double Theta = 0.0;
    double Distance = 0.0;
    std::array<double, 2> Pan{0.0, 0.0};
    bool Plan = false;
};

TSavedCamera CameraToSave(const TCamera& camera, std::int32_t deck);
// The saved angles, distance and pan taken as they are: no fitting, whatever the view's aspect.
void PlaceSavedCamera(const TSavedCamera& saved, TCamera& camera);

// Replaces the file whole, or leaves it as it was. Empty on success; otherwise why the camera
// could not be saved, a camera that no camera file could hold included.
QString WriteCameraFile(const QString& fileName, const TSavedCamera& camera);

// A camera file read and checked. Error names the file and its fault, such as
// `camera file view.json: "distance" is 0; expected a number from 1.1 to 1e+09`.
struct TCameraFileRead {
    std::optional<TSavedCamera> Camera; // none after a fault
    QString Error;
};
TCameraFileRead ReadCameraFile(const QString& fileName);
