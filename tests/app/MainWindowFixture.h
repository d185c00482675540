#pragma once
// A main window as the program makes it, with its progress window, a private settings folder and
// message boxes kept in a list, plus small projects written on the fly for its commands to play.

#include "DeckView.h"
#include "LogTestSupport.h"
#include "MainWindowProbe.h"
#include "PixelCheck.h"
#include "ProgressDialog.h"
#include "RecordingUiServices.h"
#include "SettingsTestSupport.h"

#include <QComboBox>
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
inline const QString TestDataDir = QStringLiteral(AMBLA_TEST_DATA_DIR);

class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        Window = std::make_unique<TMainWindowProbe>();
        Progress = new TProgressDialog(Window.get());
        Window->SetWindows({Progress});
    }

    // A window of fixed size, so that frames read back pixel by pixel are alike on every run.
    void ShowAndWait() {
        Window->resize(800, 600);
        Window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Window.get()));
        // The view shows its frames in a native window of its own, drawn once it is exposed.
        ASSERT_TRUE(QTest::qWaitFor([&] { return Window->View->HasFrame(); }));
    }

    QString WriteProject(const std::string& text) {
        const QString path = Files.filePath(QString("project%1.3dl").arg(++FileCount));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.data(), static_cast<qint64>(text.size()));
        return path;
    }

    void Load(const QString& path) {
        Window->Projects->LoadLogFile(path);
        ASSERT_TRUE(Window->Projects->LogLoaded);
        ASSERT_NE(Window->Projects->LogFile, nullptr);
    }

    QImage Frame() const { return Window->View->DrawnFrame(); }

    // The boxes shown so far, as "Title: text".
    std::vector<std::string> Boxes() const {
        std::vector<std::string> boxes;
        for (const TRecordedMessage& box : Ui.Messages) {
            boxes.push_back(box.Title + ": " + box.Text);
        }
        return boxes;
    }

    QStringList ChooserItems() const {
        QStringList items;
        for (int i = 0; i < Window->Tools->DeckChooser->count(); ++i) {
            items << Window->Tools->DeckChooser->itemText(i);
        }
        return items;
    }

    QStringList StatusTexts() const {
        QStringList texts;
        for (const QLabel* panel : {Window->Status->LightsPanel, Window->Status->TimePanel,
                                    Window->Status->SavedPanel, Window->Status->MessagePanel}) {
            texts << panel->text();
        }
        return texts;
    }

    QStringList RecentPaths() const {
        QStringList paths;
        for (int i = 0; i < Window->Projects->RecentFiles.Count(); ++i) {
            paths << Window->Projects->RecentFiles.Path(i);
        }
        return paths;
    }

    TTempConfigHome Config;
    QTemporaryDir Files;
    int FileCount = 0;
    TRecordingUiServices Ui;
    TScopedUiServices Installed{Ui};
    std::unique_ptr<TMainWindowProbe> Window;
    TProgressDialog* Progress = nullptr;
};
