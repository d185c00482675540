#pragma once
// The built viewer started as its own process, and the window system's view of its windows
// through xdotool, as a user's desktop sees them.

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <csignal>
#include <optional>
#include <sys/prctl.h>

// The built viewer on a log file, in a settings folder of its own; ended when this goes.
class TViewerProcess {
public:
    explicit TViewerProcess(const QString& logFile, const QString& workingDirectory = {},
                            const QString& asanOptions = "detect_leaks=0") {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", Config.path());
        environment.insert("ASAN_OPTIONS", asanOptions);
        Process.setProcessEnvironment(environment);
        Process.setWorkingDirectory(workingDirectory);
        Process.start(AMBLA_VIEWER_EXE, {logFile});
    }
    ~TViewerProcess() {
        Process.terminate();
        Process.waitForFinished(10000);
    }
    TViewerProcess(const TViewerProcess&) = delete;
    TViewerProcess& operator=(const TViewerProcess&) = delete;

    QTemporaryDir Config;
    QProcess Process;
    bool Drawn = false;
};

// A window manager on the test display, ended with the test, or with the test program if that
// dies first. It gives a window the keyboard as a desktop does, and Alt+F4 goes through it.
class TWindowManager {
public:
    TWindowManager() {
        Process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        Process.start("openbox", {"--sm-disable"});
    }
    ~TWindowManager() {
        Process.terminate();
        Process.waitForFinished(10000);
    }
    TWindowManager(const TWindowManager&) = delete;
    TWindowManager& operator=(const TWindowManager&) = delete;
    QProcess Process;
};

// Runs xdotool with the arguments; its output, or nothing when it failed.
inline std::optional<QString> Xdotool(const QStringList& arguments) {
    QProcess xdotool;
    xdotool.start("xdotool", arguments);
    if (!xdotool.waitForFinished(20000) || xdotool.exitCode() != 0) {
        return std::nullopt;
    }
    return QString::fromUtf8(xdotool.readAllStandardOutput()).trimmed();
}

// The shown windows whose names match pattern, as the window system numbers them.
inline QStringList ShownWindows(const QString& pattern) {
    return Xdotool({"search", "--onlyvisible", "--name", pattern})
        .value_or(QString())
        .split('\n', Qt::SkipEmptyParts);
}

// What the window system calls the windows whose names match pattern, as a task bar reads them.
inline QStringList WindowNames(const QString& pattern) {
    QStringList names;
    const QString found = Xdotool({"search", "--name", pattern}).value_or(QString());
    for (const QString& id : found.split('\n', Qt::SkipEmptyParts)) {
        names << Xdotool({"getwindowname", id}).value_or(QString());
    }
    return names;
}
