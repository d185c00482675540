#pragma once
// File > Export video...: the part of the replay, the frames a second, the replay speed, the
// size and the caption of a video of the deck shown, as the view shows it; Export asks where the
// MP4 goes and writes it with a progress window that can cancel it. The window is made once and
// keeps the user's choices between showings; the part of the replay starts whole for each new
// project.

#include "CentredDialog.h"
#include "VideoExport.h"

#include <QString>

#include <cstdint>
#include <functional>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class TGLControl;
class QSpinBox;
class TLogFile;

class TVideoExportWindow : public TCentredDialog {
    Q_OBJECT

public:
    TVideoExportWindow(TGLControl& view, QWidget* parent);

    // What the video shows, asked when it is written: the view's deck, camera and layers.
    std::function<TFilmLook()> Look;
    // The step the window shows, where the persons stand again after the video.
    std::function<std::int32_t()> StepShown;

    // Shows the window for the project, modal. The replay's part is the whole replay the first
    // time and for another project; speed is the playback's, the caption as the options say.
    void ShowFor(TLogFile& project, double playbackSpeed, bool caption);

    // The video of the fields' values into the file, its progress shown; what Export does once
    // the file is chosen.
    TVideoOutcome WriteVideo(const QString& fileName);

    QSpinBox* FromField = nullptr; // seconds of replay
    QSpinBox* ToField = nullptr;
    QComboBox* FramesPerSecondChooser = nullptr;
    QDoubleSpinBox* SpeedField = nullptr; // seconds of replay a second of video
    QSpinBox* WidthField = nullptr;
    QSpinBox* HeightField = nullptr;
    QCheckBox* CaptionBox = nullptr;
    QLabel* LengthLabel = nullptr; // the frames and the length of the video
    QPushButton* ExportButton = nullptr;

signals:
    void VideoSaved(const QString& fileName, bool replacing);

private:
    void BuildFields();
    void ExportClicked();
    TFrameRange Range() const;
    void ShowLength();
    // Why the fields cannot make a video; empty when they can.
    QString FieldProblem() const;

    TGLControl& View;
    TLogFile* Project = nullptr;
    std::string ProjectFile; // the file of the project the part was set for
    QString LastFolder;      // where the last video went
};
