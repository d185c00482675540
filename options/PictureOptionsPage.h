#pragma once
// The options window's page for the pictures the program writes: the file type of screen shots
// and series, and whether shots and videos carry a caption with the time, the deck and the saved
// count.

#include <QWidget>

class QCheckBox;
class QRadioButton;
class TOptions;

class TPictureOptionsPage : public QWidget {
public:
    explicit TPictureOptionsPage(QWidget* parent = nullptr);

    void Fill(const TOptions& options);
    void Apply(TOptions& options) const;

    QRadioButton* JpegButton = nullptr;
    QRadioButton* PngButton = nullptr;
    QCheckBox* CaptionOnShotsBox = nullptr;
    QCheckBox* CaptionOnVideosBox = nullptr;
};
