#include "PictureOptionsPage.h"

#include "Options.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

TPictureOptionsPage::TPictureOptionsPage(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 6, 2, 2);

    auto* format = new QGroupBox(QStringLiteral(" Screen shots and series as: "), this);
    JpegButton = new QRadioButton(QStringLiteral("&JPEG (small files)"), format);
    PngButton = new QRadioButton(QStringLiteral("&PNG (lossless, pixel for pixel)"), format);
    auto* formatRows = new QVBoxLayout(format);
    formatRows->addWidget(JpegButton);
    formatRows->addWidget(PngButton);
    layout->addWidget(format);

    auto* caption =
        new QGroupBox(QStringLiteral(" Time, deck and saved count in the corner: "), this);
    CaptionOnShotsBox = new QCheckBox(QStringLiteral("on screen &shots and series"), caption);
    CaptionOnVideosBox = new QCheckBox(QStringLiteral("on &videos"), caption);
    auto* captionRows = new QVBoxLayout(caption);
    captionRows->addWidget(CaptionOnShotsBox);
    captionRows->addWidget(CaptionOnVideosBox);
    layout->addWidget(caption);
    layout->addStretch(1);
}

void TPictureOptionsPage::Fill(const TOptions& options) {
    (options.ShotFormat == TShotFormat::Png ? PngButton : JpegButton)->setChecked(true);
    CaptionOnShotsBox->setChecked(options.CaptionOnShots);
    CaptionOnVideosBox->setChecked(options.CaptionOnVideos);
}

void TPictureOptionsPage::Apply(TOptions& options) const {
    options.ShotFormat = PngButton->isChecked() ? TShotFormat::Png : TShotFormat::Jpeg;
    options.CaptionOnShots = CaptionOnShotsBox->isChecked();
    options.CaptionOnVideos = CaptionOnVideosBox->isChecked();
}
