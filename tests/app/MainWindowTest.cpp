// The main window driven as a user drives it: loading, menus and shortcuts, recent files, close.

#include "DeckView.h"
#include "FileSizeLimit.h"
#include "GuiStart.h"
#include "GuiTestMain.h"
#include "MainWindowFixture.h"
#include "ProgramSettings.h"
#include "ProgressDialog.h"
#include "ProjectDataWindow.h"
#include "QuickReferenceWindow.h"
#include "SettingsStore.h"
#include "SettingsTestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <stdexcept>

namespace {

const QString Samples = QStringLiteral(AMBLA_SAMPLES_DIR);
const QString Ferry = Samples + "/ferry.3dl";
const QString Small = Samples + "/small.3dl";

using MainWindow = MainWindowFixture;

// An exception out of building the windows or reading the settings is shown, and the program
// ends normally rather than being aborted.
TEST_F(MainWindow, AnExceptionInTheStartSequenceIsShownAndEndsTheProgramNormally) {
    EXPECT_EQ(RunShowingErrors([]() -> int { throw std::runtime_error("no settings"); }), 0);
    EXPECT_EQ(Boxes(), std::vector<std::string>{"Error: no settings"});
    EXPECT_EQ(RunShowingErrors([] { return 3; }), 3);
}

TEST_F(MainWindow, StartsEmptyWithItsLayout) {
    EXPECT_EQ(Window->windowTitle(), "Ambla Viewer");
    EXPECT_EQ(ChooserItems(), QStringList{"---"});
    EXPECT_EQ(StatusTexts(), (QStringList{"Lights:", "Time: 0:00 min", "Saved: 0", ""}));
    EXPECT_FALSE(Window->View->IsControlEnabled());
    EXPECT_EQ(Window->Tools->OpenButton->toolTip(), "load file [Ctrl+L]");
    EXPECT_EQ(Window->Tools->DeckChooser->geometry(), QRect(47, 0, 138, 21));
    EXPECT_EQ(Window->Tools->SeriesButton->geometry(), QRect(301, 0, 21, 21));
    EXPECT_TRUE(Window->Tools->PlayButton->isCheckable());
    EXPECT_EQ(Window->minimumSize(), QSize(350, 250));
}

TEST_F(MainWindow, MenuEntriesHaveTheirTextsAndShortcuts) {
    const struct {
        QAction* Action;
        const char* Text;
        const char* Shortcut;
    } entries[] = {
        {Window->Action(TCommand::OpenLogFile), "&Load logfile", "Ctrl+L"},
        {Window->Action(TCommand::SingleShot), "&Single screen shot", "Y"},
        {Window->Action(TCommand::ScreenShotSeries), "S&creen shot series", "X"},
        {Window->Action(TCommand::Quit), "Quit", "Alt+F4"},
        {Window->Action(TCommand::DeckUp), "Deck up", "W"},
        {Window->Action(TCommand::DeckDown), "Deck down", "S"},
        {Window->Action(TCommand::ZoomIn), "Zoom in", "Q"},
        {Window->Action(TCommand::ZoomOut), "Zoom out", "A"},
        {Window->Action(TCommand::FitDeck), "&Fit deck", "Z"},
        {Window->Action(TCommand::ResetView), "&Reset view", "R"},
        {Window->Action(TCommand::LookFromSide), "&Side", ""},
        {Window->Action(TCommand::PlayOrPause), "&Run/Pause", "2"},
        {Window->Action(TCommand::ResetToStart), "Reset to &start", "1"},
        {Window->Action(TCommand::SecondForward), "Step &forward", "4"},
        {Window->Action(TCommand::SecondBackward), "Step &backward", "3"},
        {Window->Action(TCommand::StepForward), "Step one time step forward", "Shift+4"},
        {Window->Action(TCommand::GoToStart), "&Go to start", "Home"},
        {Window->Action(TCommand::GoToEnd), "Go to &end", "End"},
        {Window->Action(TCommand::ShowOrigin), "S&how origin", ""},
        {Window->Action(TCommand::AddLight), "&Add light", "L"},
        {Window->Action(TCommand::RemoveLight), "&Remove light", "Shift+L"},
        {Window->Action(TCommand::Options), "&Options...", ""},
        {Window->Action(TCommand::ProjectData), "&Statistics...", ""},
        {Window->Action(TCommand::QuickReference), "Help...", "F1"},
        {Window->Action(TCommand::StartupWindow), "Startup window...", ""},
    };
    for (const auto& entry : entries) {
        EXPECT_EQ(entry.Action->text(), entry.Text);
        EXPECT_EQ(entry.Action->shortcut().toString(), entry.Shortcut) << entry.Text;
    }
    EXPECT_EQ(Window->Menu(TMenu::File)->title(), "&File");
    EXPECT_EQ(Window->Menu(TMenu::Views)->title(), "&Views");
    EXPECT_EQ(Window->Menu(TMenu::Animation)->title(), "&Animation");
    EXPECT_EQ(Window->Menu(TMenu::Settings)->title(), "&Settings");
    EXPECT_EQ(Window->Menu(TMenu::Help)->title(), "Help");
    EXPECT_TRUE(Window->Action(TCommand::ShowOrigin)->isChecked());
    for (QAction* recent : Window->RecentMenu->Items) {
        EXPECT_FALSE(recent->isVisible());
    }
}

// Each menu in its order, separators ("-") included, hidden ones too.
TEST_F(MainWindow, MenusHoldTheirEntriesInOrder) {
    const auto layout = [this](TMenu menu) {
        QStringList texts;
        for (const QAction* action : Window->Menu(menu)->actions()) {
            texts << (action->isSeparator() ? QString("-") : action->text());
        }
        return texts;
    };
    EXPECT_EQ(layout(TMenu::File),
              QStringList({"&Load logfile", "Compare &runs...", "-", "&Single screen shot",
                           "S&creen shot series", "Export &video...", "-", "&1 ...", "&2 ...",
                           "&3 ...", "&4 ...", "-", "Quit"}));
    // clang-format off
    const QStringList views{"Deck up", "Deck down", "-", "Zoom in", "Zoom out", "&Fit deck",
                            "&Reset view", "-", "To&p", "&Side", "&Oblique", "Plan", "Save c&amera...",
                            "Loa&d camera...", "Scale bar", "-",
                            "Evacuation &curve...", "Congestion &map",
                            "Congestion map of the whole replay", "Con&gestion report...",
                            "Congestion o&utlines", "Flow la&bels",
                            "&Hide persons on the map", "Colour by &waiting", "&Trails", "-",
                            "F&ind person...", "&Last to leave", "Follow s&elected",
                            "Clear selectio&n"};
    // clang-format on
    EXPECT_EQ(layout(TMenu::Views), views);
    EXPECT_EQ(layout(TMenu::Animation),
              QStringList({"&Run/Pause", "Reset to &start", "-", "Step &forward", "Step &backward",
                           "Step one time step forward", "Step one time step backward",
                           "&Go to start", "Go to &end"}));
    EXPECT_EQ(layout(TMenu::Settings), QStringList({"S&how origin", "&Add light", "&Remove light",
                                                    "-", "&Options...", "&Statistics..."}));
    EXPECT_EQ(layout(TMenu::Help), QStringList({"Help...", "-", "Startup window..."}));

    // Every key of the window is a command of the table, so the quick reference can list it.
    for (const QAction* action : Window->findChildren<QAction*>()) {
        if (!action->shortcut().isEmpty()) {
            EXPECT_TRUE(std::ranges::any_of(CommandTable(), [&](const TCommandEntry& entry) {
                return QKeySequence(entry.Key) == action->shortcut();
            })) << action->shortcut().toString().toStdString();
        }
    }
}

TEST_F(MainWindow, LoadingShowsTheProjectAndASecondLoadStartsOver) {
    ShowAndWait();
    Window->Projects->LoadLogFile(Ferry);
    EXPECT_EQ(Window->windowTitle(), "Ambla Viewer, " + Ferry);
    ASSERT_EQ(Window->Tools->DeckChooser->count(), 3);
    EXPECT_EQ(Window->Tools->DeckChooser->itemText(2),
              QString::fromStdString(Window->Projects->LogFile->Decks[0].Caption));
    EXPECT_EQ(Window->Tools->DeckChooser->itemText(0),
              QString::fromStdString(Window->Projects->LogFile->Decks[2].Caption));
    EXPECT_EQ(Window->Tools->DeckChooser->currentIndex(), 2);
    EXPECT_EQ(Window->View->DeckIndex(), 0);
    EXPECT_EQ(StatusTexts(), (QStringList{"Lights: 1", "Time: 0:00 min", "Saved: 0", " "}));
    EXPECT_TRUE(Window->View->IsControlEnabled());
    EXPECT_FALSE(Progress->isVisible());
    EXPECT_TRUE(Boxes().empty());

    Window->Playback->SecondForward();
    ASSERT_GT(Window->Projects->Replay.TimeStep(), 0);
    Window->Projects->LoadLogFile(Small);
    EXPECT_EQ(Window->Projects->Replay.TimeStep(), 0);
    EXPECT_EQ(ChooserItems(),
              (QStringList{"Deck 2 - Boat deck, muster stations", "Deck 1 - Cabins"}));
    EXPECT_EQ(Window->windowTitle(), "Ambla Viewer, " + Small);
}

TEST_F(MainWindow, WarningsOfALoadReachTheUserAndTheProjectIsStillShown) {
    QTemporaryDir dir;
    const QString path = dir.filePath("bad.3dl");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<header> pmax 0 xmax 4 ymax 2 zmax 1 vmax 1 version 2 </header>\n"
               "<deck> caption Only\nlevel 0 (celldata) P4x0 P4x1 </deck>\n");
    file.close();
    ShowAndWait();
    Window->Projects->LoadLogFile(path);
    EXPECT_EQ(Boxes(),
              (std::vector<std::string>{
                  "Warning: The loaded file is not of version 1.\nThis can result in errors!",
                  "Warning: There are no people in this project!"}));
    EXPECT_EQ(ChooserItems(), QStringList{"Only"});
    EXPECT_EQ(Window->windowTitle(), "Ambla Viewer, " + path);
}

// The chooser grows with its longest caption up to a third of the tool bar and the controls after
// it follow; beyond that, the caption is cut in its middle and told whole in the tool tip.
TEST_F(MainWindow, TheDeckChooserShowsLongCaptionsWholeWhereThereIsRoom) {
    const QString caption = "Deck 7 - Promenade, shops and the atrium"; // 40 characters
    ShowAndWait();
    Window->resize(1600, 1000);
    Load(WriteProject("<header> pmax 0 xmax 2 ymax 1 zmax 2 vmax 1 </header>\n"
                      "<deck> caption Car deck\nlevel 0 (celldata) P2x0 </deck>\n"
                      "<deck> caption " +
                      caption.toStdString() + "\nlevel 1 (celldata) P2x0 </deck>\n"));
    TDeckChooser& chooser = *Window->Tools->DeckChooser;
    chooser.setCurrentIndex(0);
    EXPECT_EQ(chooser.ShownText(), caption);
    EXPECT_EQ(chooser.toolTip(), "choose deck [up: w, down: s]");
    const int right = chooser.geometry().right() + 1;
    EXPECT_EQ(Window->Tools->ResetButton->x(), right + 6);
    EXPECT_EQ(Window->Tools->SeriesButton->x(), right + 116);
    EXPECT_EQ(Window->Playback->TimeSlider->x(), right + 143);

    Window->resize(600, 400);
    QCoreApplication::processEvents();
    EXPECT_LE(chooser.width(), Window->Tools->width() / 3);
    const QString shown = chooser.ShownText();
    EXPECT_TRUE(shown.startsWith("Deck 7") && shown.endsWith("atrium") && shown.contains(u'…'))
        << shown.toStdString();
    EXPECT_TRUE(chooser.toolTip().startsWith(caption + "\n"));
    EXPECT_EQ(Window->Playback->TimeSlider->x(), chooser.geometry().right() + 1 + 143);
}

// A person the view cannot turn is told of once a project, after the frame: a modal box inside
// a paint would paint again.
TEST_F(MainWindow, ABadHeadingIsToldOnceAfterTheFrame) {
    ShowAndWait();
    Window->Projects->LoadLogFile(Small);
    QCoreApplication::processEvents();
    for (TPersonData& person : Window->Projects->LogFile->Persons) {
        person.Heading = 9;
    }
    const auto told = [this] {
        const std::vector<std::string> boxes = Boxes();
        return std::count(boxes.begin(), boxes.end(),
                          "Error: Error in:\n\nTCellView3D::RenderScene()\n\nContact Morvane HT!");
    };
    Frame();
    EXPECT_EQ(told(), 0) << "never from inside the paint";
    QCoreApplication::processEvents();
    Frame();
    QCoreApplication::processEvents();
    EXPECT_EQ(told(), 1);
}

TEST_F(MainWindow, AFileThatCannotBeOpenedIsReportedAndNamesNoFile) {
    ShowAndWait();
    const QString missing = Samples + "/no-such-file.3dl";
    Window->Projects->LoadLogFile(missing);
    EXPECT_EQ(Boxes(),
              std::vector<std::string>{"Error: Cannot open file:\n" + missing.toStdString()});
    EXPECT_EQ(Window->windowTitle(), "Ambla Viewer");
    EXPECT_TRUE(Window->Tools->OpenButton->isEnabled());
}

TEST_F(MainWindow, DeviceFilesAreRefusedAtOnceAndNotRemembered) {
    ShowAndWait();
    const std::string refusal =
        "\nIt is a device or another special file, not a regular file or a pipe.";
    Ui.FileAnswers.push_back("/dev/zero");
    Window->Projects->OpenLogFile();
    Window->Projects->LoadLogFile("/dev/urandom"); // as named on the command line
    EXPECT_EQ(Boxes(),
              (std::vector<std::string>{"Error: Cannot open file:\n/dev/zero" + refusal,
                                        "Error: Cannot open file:\n/dev/urandom" + refusal}));
    EXPECT_EQ(RecentPaths(), QStringList{});
    EXPECT_FALSE(TSettingsStore().ReadString(TProgramSettings::KeyPath(), "LogDir"));
    EXPECT_EQ(Window->windowTitle(), "Ambla Viewer");
    EXPECT_TRUE(Window->Tools->OpenButton->isEnabled());
}

TEST_F(MainWindow, ControlsAreOffDuringALoadAndACloseWaitsForIt) {
    ShowAndWait();
    bool seen = false;
    Ui.DuringProcessMessages = [&] {
        if (seen) {
            return;
        }
        seen = true;
        EXPECT_FALSE(Window->Tools->OpenButton->isEnabled());
        EXPECT_FALSE(Window->Tools->DeckChooser->isEnabled());
        EXPECT_FALSE(Window->Playback->TimeSlider->isEnabled());
        EXPECT_FALSE(Window->Playback->SpeedChooser->isEnabled());
        EXPECT_FALSE(Window->Action(TCommand::GoToEnd)->isEnabled());
        EXPECT_FALSE(Window->Menu(TMenu::File)->isEnabled());
        EXPECT_TRUE(Window->Menu(TMenu::Help)->isEnabled());
        EXPECT_FALSE(Window->View->IsControlEnabled());
        EXPECT_EQ(Window->Status->MessagePanel->text().left(8), "Loading ");
        EXPECT_EQ(Progress->ProgressInfo.text(), "Loading header...");
        EXPECT_TRUE(Progress->isVisible());
        Window->close(); // must not destroy the project under the reader
        EXPECT_TRUE(Window->isVisible());
    };
    Window->Projects->LoadLogFile(Ferry);
    ASSERT_TRUE(seen);
    ASSERT_NE(Window->Projects->LogFile, nullptr);
    EXPECT_EQ(Window->Projects->LogFile->ZMax, 3) << "the project was read to its end";
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Window->isVisible(); }));
    EXPECT_EQ(Window->Projects->LogFile, nullptr) << "the close went through after the load";
    TSettingsStore store;
    EXPECT_EQ(store.ReadInteger(TProgramSettings::KeyPath(), "MaxAnimationSpeed"), 5);
}

// Each opens modally; the check runs inside it and closes it.
TEST_F(MainWindow, TheProjectDataAndQuickReferenceOpenFromTheirEntriesKeysAndButton) {
    TProjectDataWindow statistics(Window.get());
    TQuickReferenceWindow help(Window.get());
    Window->SetWindows({Progress, nullptr, nullptr, &statistics, &help});
    ShowAndWait();
    QStringList seen;
    const auto closeWhenShown = [&] {
        QTimer::singleShot(0, Window.get(), [&] {
            if (auto* window = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                seen << window->windowTitle() + ": " +
                            statistics.List.toPlainText().section('\n', 0, 0);
                window->accept();
            }
        });
    };
    closeWhenShown();
    Window->Action(TCommand::ProjectData)->trigger();
    Window->Projects->LoadLogFile(Small);
    closeWhenShown();
    Window->Tools->ProjectDataButton->click();
    Window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Window.get()));
    closeWhenShown();
    QTest::keyClick(Window.get(), Qt::Key_F1);
    EXPECT_EQ(seen, (QStringList{"Project Data: No 3D logfile loaded yet!",
                                 "Project Data:  ", "Quick Reference:  "}));
}

TEST_F(MainWindow, ShortcutsReachTheirCommandsWhileTheViewHasTheFocus) {
    ShowAndWait();
    Window->Projects->LoadLogFile(Ferry);
    Window->activateWindow();
    Window->View->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Window->View->hasFocus(); }));
    QTest::keyClick(Window->View, Qt::Key_W);
    EXPECT_EQ(Window->View->DeckIndex(), 1);
    EXPECT_EQ(Window->Tools->DeckChooser->currentIndex(), 1);
    QTest::keyClick(Window->View, Qt::Key_S);
    EXPECT_EQ(Window->View->DeckIndex(), 0);
    const double distance = Window->View->Distance();
    QTest::keyClick(Window->View, Qt::Key_Q);
    EXPECT_DOUBLE_EQ(Window->View->Distance(), distance * 0.9);
}

TEST_F(MainWindow, OpenDialogRemembersTheChoiceAndTheRecentList) {
    QTemporaryDir dir;
    QStringList files;
    for (int i = 0; i < 5; ++i) {
        files << dir.filePath(QString("f%1.3dl").arg(i));
        QFile::copy(Small, files.back());
    }
    for (const QString& file : files) {
        Ui.FileAnswers.push_back(file.toStdString());
        Window->Projects->OpenLogFile();
    }
    EXPECT_EQ(RecentPaths(), (QStringList{files[4], files[3], files[2], files[1]}));
    Ui.FileAnswers.push_back(files[2].toStdString());
    Window->Projects->OpenLogFile();
    EXPECT_EQ(RecentPaths(), (QStringList{files[2], files[4], files[3], files[1]}));
    EXPECT_EQ(Window->RecentMenu->Items[0]->text(), "&1 " + files[2]);
    EXPECT_TRUE(Window->RecentMenu->Items[3]->isVisible());
    // The dialog starts where the last choice was and proposes its name.
    EXPECT_EQ(Ui.FileDialogs.back().Title, "Load Log File");
    EXPECT_EQ(Ui.FileDialogs.back().Filter, "3D log file (*.3dl)");
    EXPECT_EQ(Ui.FileDialogs.back().FileName, "f4.3dl");
    EXPECT_EQ(QString::fromStdString(Ui.FileDialogs.back().Directory), dir.path() + "/");

    QFile::remove(files[4]);
    Window->Projects->OpenRecent(1);
    EXPECT_EQ(Boxes().back(), "Error: Cannot open file:\n" + files[4].toStdString());
    EXPECT_EQ(RecentPaths()[1], files[4]) << "a missing file stays in the list";

    // A new run reads the list back from the store.
    TMainWindowProbe next;
    EXPECT_EQ(next.Projects->RecentFiles.Path(0), files[2]);
    EXPECT_TRUE(next.RecentMenu->Items[0]->isVisible());
}

TEST_F(MainWindow, FileFromTheCommandLineLoadsAtFirstActivationButIsNotRemembered) {
    Window->PendingFileName = Small;
    ShowAndWait();
    EXPECT_TRUE(QTest::qWaitFor([&] { return Window->Projects->LogLoaded; }));
    EXPECT_EQ(Window->Projects->RecentFiles.Count(), 0);
    TSettingsStore store;
    EXPECT_FALSE(store.ReadString(TProgramSettings::KeyPath(), "LogDir").has_value());
}

// A drop as the window system delivers it: entering the window, then letting go.
bool DropOnto(QWidget* window, const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    const QPoint middle = window->rect().center();
    QDragEnterEvent enter(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &enter);
    QDropEvent drop(QPointF(middle), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &drop);
    return enter.isAccepted() && drop.isAccepted();
}

TEST_F(MainWindow, ADroppedLogIsOpenedAndRememberedAndAnythingElseIsRefused) {
    ShowAndWait();
    const QString notes = Files.filePath("notes.txt");
    QFile(notes).open(QIODevice::WriteOnly);
    const QString log = WriteProject(FloorProject(4, 1, 0, {{1, 1, "3 S"}}));
    EXPECT_FALSE(DropOnto(Window.get(), {QUrl::fromLocalFile(notes)}));
    EXPECT_FALSE(DropOnto(Window.get(), {QUrl::fromLocalFile(log), QUrl::fromLocalFile(Small)}));
    EXPECT_FALSE(DropOnto(Window.get(), {QUrl("https://example.org/ship.3dl")}));
    QCoreApplication::processEvents();
    EXPECT_FALSE(Window->Projects->LogLoaded);
    EXPECT_TRUE(Ui.Messages.empty()) << "a refused drop shows no box";

    EXPECT_TRUE(DropOnto(Window.get(), {QUrl::fromLocalFile(log)}));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return Window->Projects->LogLoaded && !Window->Projects->IsLoading(); }));
    EXPECT_EQ(Window->windowTitle(), "Ambla Viewer, " + log);
    EXPECT_EQ(Window->Projects->RecentFiles.Path(0), log);
    EXPECT_EQ(TSettingsStore().ReadString(TProgramSettings::KeyPath(), "LogDir"), log);
    EXPECT_FALSE(Window->windowIcon().isNull());
}

TEST_F(MainWindow, ARelativeFileFromTheCommandLineIsLoadedByItsFullPath) {
    const QString log = WriteProject(FloorProject(4, 1, 0, {}));
    const QString before = QDir::currentPath();
    QDir::setCurrent(QFileInfo(log).absolutePath());
    Window->SetPendingFileName(QFileInfo(log).fileName());
    QDir::setCurrent(before);
    ShowAndWait();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return Window->Projects->LogLoaded && !Window->Projects->IsLoading(); }));
    EXPECT_EQ(Window->windowTitle(), "Ambla Viewer, " + log);
    EXPECT_EQ(Window->Projects->LogFile->ZMax, 1);
}

// Two windows closed in turn keep each other's changes; a store that cannot be written at a close
// says why in one box.
TEST_F(MainWindow, AClosingWindowWritesWhatItChangedAndSaysOnceWhyItCannot) {
    {
        TProgramSettings settings;
        ASSERT_TRUE(settings.Write(Settings::MaxAnimationSpeed, 9));
    }
    auto first = std::make_unique<TMainWindowProbe>();
    auto second = std::make_unique<TMainWindowProbe>();
    first->Playback->MaxAnimationSpeed = 12;
    first->close();
    second->Shots->Options.ScreenShotResizeValue = 50;
    second->close();
    TProgramSettings settings;
    EXPECT_EQ(settings.Read(Settings::MaxAnimationSpeed), 12);
    EXPECT_EQ(settings.Read(Settings::ScreenShotResizeValue), 50);

    Window->Playback->MaxAnimationSpeed = 20;
    Window->Shots->Options.ScreenShotResizeValue = 60;
    {
        const TFileSizeLimit full(0);
        Window->close();
    }
    EXPECT_EQ(Boxes(), std::vector<std::string>{"Error: Cannot lock the settings file " +
                                                settings.StoreFile().FilePath().toStdString() +
                                                ": File too large"});
    EXPECT_EQ(TProgramSettings().Read(Settings::MaxAnimationSpeed), 12);
}

} // namespace

int main(int argc, char** argv) {
    return RunGuiTests(argc, argv, TGLControl::PreferredFormat());
}
