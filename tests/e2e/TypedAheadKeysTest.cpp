// Keys typed 30 ms apart through the window system end where the same keys typed slowly end,
// whatever window they open or close and while a log loads, under a window manager as on a desktop.

#include "ViewerProcess.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QString Ferry = AMBLA_SAMPLES_DIR "/ferry.3dl";

// Where the viewer stands once the keys are carried out: the windows the window system shows,
// and the time step, which the name of a single screen shot (Y) gives.
struct TEndState {
    QStringList Windows;
    QString Shot;
    bool operator==(const TEndState&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TEndState& state) {
    return out << "windows " << state.Windows.join(" | ").toStdString() << ", shot "
               << state.Shot.toStdString();
}

QStringList ShownWindowNames() {
    QStringList names;
    for (const QString& id : ShownWindows(".")) {
        names << Xdotool({"getwindowname", id}).value_or(QString());
    }
    names.sort();
    names.removeDuplicates();
    return names;
}

// The ferry in the folder, where the shots of a log go.
QString CopyOfFerry(const QTemporaryDir& folder) {
    const QString copy = folder.filePath("ferry.3dl");
    QFile::copy(Ferry, copy);
    return copy;
}

// The viewer on a copy of the ferry, its main window active, shots written beside the copy.
class TTypingSession {
public:
    TTypingSession() : Viewer(CopyOfFerry(Shots), Shots.path()) {
        Viewer.Process.waitForStarted();
        Ready = QTest::qWaitFor(
            [&] {
                const QStringList shown = ShownWindows("^Ambla Viewer, ");
                MainWindow = shown.isEmpty() ? QString() : shown.front();
                return !MainWindow.isEmpty() &&
                       Xdotool({"windowactivate", "--sync", MainWindow}).has_value();
            },
            60000);
        // The startup window comes and goes at the first activation; then the main window alone
        // has the keyboard.
        QTest::qWait(500);
        Ready = Ready && QTest::qWaitFor([] { return ShownWindowNames().size() == 1; }, 20000) &&
                Xdotool({"windowactivate", "--sync", MainWindow}).has_value();
    }

    // Each key as xdotool names it, 30 ms apart or one at a time, as a user types slowly.
    void Type(const QString& keys, bool slowly) const {
        const QStringList list = keys.split(' ');
        if (!slowly) {
            Xdotool(QStringList{"key", "--delay", "30"} + list);
            return;
        }
        for (const QString& key : list) {
            Xdotool({"key", key});
            QTest::qWait(700);
        }
    }

    // Waits until the viewer has been idle a while, then takes a shot in the main window.
    TEndState EndState() const {
        QTest::qWait(2000);
        TEndState state{ShownWindowNames().replaceInStrings(Shots.path() + '/', QString()), {}};
        Xdotool({"windowactivate", "--sync", MainWindow, "key", "y"});
        // A shot that never comes shows as none in the state.
        if (QTest::qWaitFor([&] { return !QDir(Shots.path()).entryList({"*.jpg"}).isEmpty(); },
                            20000)) {
            state.Shot = QDir(Shots.path()).entryList({"*.jpg"}).join(' ');
        }
        return state;
    }

    QTemporaryDir Shots;
    TViewerProcess Viewer;
    QString MainWindow;
    bool Ready = false;
};

TEndState AfterTyping(const QString& keys, bool slowly) {
    const TTypingSession session;
    EXPECT_TRUE(session.Ready);
    session.Type(keys, slowly);
    return session.EndState();
}

// The key after the one that opens a modal window belongs to it, the key after the one that
// closes it to the main window again; a window the window system gives the keyboard takes the keys
// typed after the one that opened it.
TEST(KeysTypedAhead, AroundAWindowTheyOpenEndAsTypedSlowly) {
    TWindowManager windowManager;
    ASSERT_TRUE(windowManager.Process.waitForStarted()) << "openbox is missing";
    const TEndState expected{{"Ambla Viewer, ferry.3dl"}, "000012.jpg"};
    for (const QString keys : {"4 4 alt+f v Escape 4", // File > Export video
                               "4 4 alt+f r Escape 4", // File > Compare runs
                               "4 4 alt+v a Escape 4", // Views > Save camera
                               "4 4 ctrl+f Escape 4",  // Find person
                               "4 4 e Escape 4"}) {    // the curve window, not modal
        SCOPED_TRACE(keys.toStdString());
        EXPECT_EQ(AfterTyping(keys, true), expected) << "typed slowly";
        EXPECT_EQ(AfterTyping(keys, false), expected) << "typed 30 ms apart";
    }
}

// Keys typed while a log loads are carried out after it, as if typed once it is loaded.
TEST(KeysTypedAhead, WhileALogLoadsAreCarriedOutAfterIt) {
    TWindowManager windowManager;
    ASSERT_TRUE(windowManager.Process.waitForStarted()) << "openbox is missing";
    for (const bool slowly : {true, false}) {
        SCOPED_TRACE(slowly ? "typed slowly after the load" : "typed 30 ms apart during it");
        const TTypingSession session;
        ASSERT_TRUE(session.Ready);
        // Some 10 MB, which takes the program seconds to read with the sanitizers.
        const QString log = session.Shots.filePath("crowd.3dl");
        QProcess generator;
        generator.start(AMBLA_GENERATOR_EXE,
                        {"--persons", "8000", "--runs", "off", "--seed", "3", "--out", log});
        ASSERT_TRUE(generator.waitForFinished(60000) && generator.exitCode() == 0);
        session.Type("ctrl+l", true);
        Xdotool({"type", log});
        Xdotool({"key", "Return"});
        if (slowly) {
            ASSERT_TRUE(QTest::qWaitFor(
                [&] { return !ShownWindows("^Ambla Viewer, " + log + "$").isEmpty(); }, 60000));
            QTest::qWait(1000);
        }
        session.Type("4 4 1 4", slowly);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return !ShownWindows("^Ambla Viewer, " + log + "$").isEmpty(); }, 60000));
        EXPECT_EQ(session.EndState(), (TEndState{{"Ambla Viewer, crowd.3dl"}, "000004.jpg"}));
    }
}

} // namespace
