// The built viewer as the window system and the machine see it: how it ends under a window
// manager, and what its windows cost in memory.

#include "TinyLogs.h"
#include "ViewerProcess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

const QString Ferry = AMBLA_SAMPLES_DIR "/ferry.3dl";
const QString Small = AMBLA_SAMPLES_DIR "/small.3dl";

// The line of /proc/PID/status that starts with field, in kilobytes.
long StatusKilobytes(qint64 pid, const QByteArray& field) {
    QFile status(QString("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field + ':')) {
            return line.mid(field.size() + 1).trimmed().split(' ').front().toLong();
        }
    }
    return -1;
}

// The processor time the process has used so far, in clock ticks.
long long CpuTicks(qint64 pid) {
    QFile stat(QString("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) {
        return -1;
    }
    // The fields after the name in parentheses; user and system time are the 12th and 13th.
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    return fields.size() > 12 ? fields[11].toLongLong() + fields[12].toLongLong() : -1;
}

// Answers every message box with Enter until the viewer shows none, has done what it was told
// (done) and has used no processor time for a while. False if that takes a minute.
bool SettleAnsweringBoxes(
    const TViewerProcess& viewer, const std::function<bool()>& done = [] { return true; }) {
    const qint64 pid = viewer.Process.processId();
    QElapsedTimer waited;
    waited.start();
    long long ticks = -1;
    while (waited.elapsed() < 60000) {
        if (const QStringList boxes = ShownWindows("^(Error|Warning|Information)$");
            !boxes.isEmpty()) {
            Xdotool({"windowfocus", "--sync", boxes.front(), "key", "Return"});
            continue;
        }
        QTest::qWait(400);
        const long long now = CpuTicks(pid);
        if (now == ticks && done()) {
            return true;
        }
        ticks = now;
    }
    return false;
}

// Alt+F4 reaches the window that has the focus. The quick reference cannot be closed but by its
// Ok button; the program ends once it is gone.
TEST(ProgramEnd, AltF4AtTheQuickReferenceDuringPlaybackEndsTheProgramOnceItCloses) {
    TWindowManager windowManager;
    ASSERT_TRUE(windowManager.Process.waitForStarted()) << "openbox is missing";
    TViewerProcess viewer(Ferry);
    QProcess& process = viewer.Process;
    ASSERT_TRUE(process.waitForStarted());
    QString mainWindow;
    // Activation needs the window manager to be up, and the window shown.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const QStringList shown = ShownWindows("^Ambla Viewer, ");
            mainWindow = shown.isEmpty() ? QString() : shown.front();
            return !mainWindow.isEmpty() &&
                   Xdotool({"windowactivate", "--sync", mainWindow}).has_value();
        },
        60000));
    Xdotool({"key", "2", "F1"});
    ASSERT_TRUE(QTest::qWaitFor([] { return !ShownWindows("^Quick Reference$").isEmpty(); }));
    Xdotool({"key", "alt+F4"});
    QTest::qWait(1000);
    EXPECT_EQ(process.state(), QProcess::Running);
    EXPECT_FALSE(ShownWindows("^Quick Reference$").isEmpty());

    Xdotool({"key", "Return"});
    EXPECT_TRUE(process.waitForFinished(30000)) << "the program outlived its windows";
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
}

// The peak memory of the viewer on the file, once it has loaded it and drawn the evacuation
// curve (E) and the congestion map (H), answering every message box on the way.
long WindowPeakKilobytes(const QString& file) {
    // No quarantine of freed memory, so that the peak counts what is in use.
    TViewerProcess viewer(file, {}, "detect_leaks=0:quarantine_size_mb=0");
    if (!viewer.Process.waitForStarted()) {
        return -1;
    }
    QStringList shown;
    const bool loaded = SettleAnsweringBoxes(viewer, [&] {
        shown = ShownWindows("^Ambla Viewer, " + QRegularExpression::escape(file) + "$");
        return !shown.isEmpty();
    });
    if (!loaded) {
        return -1;
    }
    for (const QString key : {"e", "h"}) {
        Xdotool({"windowfocus", "--sync", shown.front(), "key", key});
        SettleAnsweringBoxes(viewer);
    }
    return StatusKilobytes(viewer.Process.processId(), "VmHWM");
}

// What a file holds decides the memory, not what its header announces, in the window too.
TEST(WindowMemory, AFewBytesOfHeaderTakeNoMoreThanASmallLog) {
    constexpr long Allowance = 20 * 1024; // kilobytes
    const long baseline = WindowPeakKilobytes(Small);
    ASSERT_GT(baseline, 0);
    const QTemporaryDir folder;
    const std::vector<std::string> tiny = TinyLogsWithHugeHeaders();
    for (std::size_t i = 0; i < tiny.size(); ++i) {
        SCOPED_TRACE(tiny[i]);
        const QString file = folder.filePath(QString("tiny%1.3dl").arg(i));
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(tiny[i].data(), qint64(tiny[i].size()));
        out.close();
        const long peak = WindowPeakKilobytes(file);
        EXPECT_GT(peak, 0) << "the file was never shown as loaded";
        EXPECT_LT(peak, baseline + Allowance) << "a small log takes " << baseline << " KB";
    }
}

} // namespace
