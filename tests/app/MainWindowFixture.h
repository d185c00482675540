#pragma once
// A main window as the program makes it, with its progress window, a private settings folder and
// message boxes kept in a list, plus small projects written on the fly for its commands to play.

#include "CellView3D.h"
#include "LogTestSupport.h"
#include "MainFormProbe.h"
#include "ProgressDialog.h"
#include "RecordingUiServices.h"
#include "SettingsTestSupport.h"

#include <QFile>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

inline const QString SamplesDir = QStringLiteral(AMBLA_SAMPLES_DIR);

struct TRgb {
    int R, G, B;
};

inline TRgb PixelAt(const QImage& frame, QPoint point) {
    const QColor c = frame.pixelColor(point);
    return {c.red(), c.green(), c.blue()};
}

// The persons are green prisms; the free floor is white, shaded alike in all three channels.
inline bool IsPersonGreen(TRgb p) {
    return p.G > p.R + 60 && p.G > p.B + 60;
}

// Where a point of the floor appears in a frame of a camera straight above the look-at point: the
// vertical field of view is 60 degrees, so the frame's height spans 2 × distance × tan 30° cells
// of floor, and the look-at point, the deck's centre until the view is panned, is in the middle.
inline QPoint FloorPixel(const QImage& frame, double distance, double x, double y) {
    const double pixelsPerCell =
        frame.height() / (2.0 * distance * std::tan(std::numbers::pi / 6.0));
    return {static_cast<int>(frame.width() / 2.0 + x * pixelsPerCell),
            static_cast<int>(frame.height() / 2.0 - y * pixelsPerCell)};
}

class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        Form = std::make_unique<TMainFormProbe>();
        Progress = new TFProgressDialog(Form.get());
        Form->SetWindows(Progress, nullptr);
    }

    // A window of fixed size, so that frames read back pixel by pixel are alike on every run.
    void ShowAndWait() {
        Form->resize(800, 600);
        Form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
    }

    QString WriteProject(const std::string& text) {
        const QString path = Files.filePath(QString("project%1.3dl").arg(++FileCount));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.data(), static_cast<qint64>(text.size()));
        return path;
    }

    void Load(const QString& path) {
        Form->LoadLogFile(path);
        ASSERT_TRUE(Form->LogLoaded);
        ASSERT_NE(Form->LogFile, nullptr);
    }

    QImage Frame() const { return Form->View->grabFramebuffer(); }

    TTempConfigHome Config;
    QTemporaryDir Files;
    int FileCount = 0;
    TRecordingUiServices Ui;
    TScopedUiServices Installed{Ui};
    std::unique_ptr<TMainFormProbe> Form;
    TFProgressDialog* Progress = nullptr;
};
