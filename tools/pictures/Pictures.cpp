// Takes the pictures of the README's user guide from the program itself, so that they can be
// made again whenever the look changes: the main window on the ferry sample, a deck during the
// replay, the evacuation curve, the congestion map, each page of the options window and the
// project data window. Needs a display (scripts/pictures runs it on a virtual one).
//
// Usage: ambla-pictures SAMPLE OUTDIR

#include "DeckView.h"
#include "EvacuationCurveWindow.h"
#include "MainWindowProbe.h"
#include "OptionsWindow.h"
#include "ProgressDialog.h"
#include "ProjectDataWindow.h"
#include "QtUiServices.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QPainter>
#include <QPixmap>
#include <QSurfaceFormat>
#include <QTabWidget>
#include <QTest>

#include <cstdio>

namespace {

// The window as the screen shows it. grab() leaves out the native OpenGL window the view draws
// in, so a frame of the view is drawn in its place.
QPixmap Picture(QWidget& window, TGLControl* view) {
    QPixmap picture = window.grab();
    if (view != nullptr) {
        QPainter painter(&picture);
        painter.drawImage(QRect(view->mapTo(&window, QPoint(0, 0)), view->size()),
                          view->DrawnFrame());
    }
    return picture;
}

bool Save(QWidget& window, const QString& folder, const QString& name, TGLControl* view = nullptr) {
    QTest::qWait(300); // let the frame and any pending layout settle
    const QString file = QDir(folder).filePath(name);
    if (!Picture(window, view).save(file)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        return false;
    }
    std::printf("%s\n", qPrintable(file));
    return true;
}

bool Shown(QWidget& window) {
    window.show();
    return QTest::qWaitForWindowExposed(&window);
}

} // namespace

int main(int argc, char* argv[]) {
    QSurfaceFormat::setDefaultFormat(TGLControl::PreferredFormat());
    QApplication application(argc, argv);
    if (argc != 3) {
        std::fputs("usage: ambla-pictures SAMPLE OUTDIR\n", stderr);
        return 2;
    }
    const QString sample = QString::fromLocal8Bit(argv[1]);
    const QString folder = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(folder);
    TQtUiServices services;
    TScopedUiServices installed(services);

    TMainWindowProbe form;
    TProgressDialog progress(&form);
    TOptionsWindow options(&form);
    TProjectDataWindow statistics(&form);
    form.SetWindows({&progress, nullptr, &options, &statistics, nullptr});
    form.resize(1280, 800);
    if (!Shown(form)) {
        return 1;
    }
    form.Projects->LoadLogFile(sample);
    bool saved = Save(form, folder, "main-window.png", form.View);

    // The boat deck, forty seconds into the replay, a little closer.
    form.Tools->DeckChooser->setCurrentIndex(0);
    form.ViewCommands->DeckChosen();
    form.Projects->Replay.SeekToSecond(40);
    form.ViewCommands->ZoomIn();
    form.ViewCommands->ZoomIn();
    saved = Save(form, folder, "replay.png", form.View) && saved;

    form.Evacuation->ShowEvacuationCurve();
    saved = form.Evacuation->CurveWindow() != nullptr &&
            Save(*form.Evacuation->CurveWindow(), folder, "evacuation-curve.png") && saved;
    form.Evacuation->CurveWindow()->close();

    form.Tools->DeckChooser->setCurrentIndex(form.Tools->DeckChooser->count() - 1);
    form.ViewCommands->DeckChosen();
    form.Action(TCommand::CongestionMap)->setChecked(true);
    form.Evacuation->SwitchCongestionMap();
    // As a report shows it: the plan, with a scale in metres.
    form.ViewCommands->LookFromPlan();
    form.Action(TCommand::ScaleBar)->trigger();
    saved = Save(form, folder, "congestion-map.png", form.View) && saved;

    options.FillFromOptions(form.Shots->Options);
    saved = Shown(options) && saved;
    for (int page = 0; page < options.Pages->count(); ++page) {
        options.Pages->setCurrentIndex(page);
        // "Screen Shots" gives options-screen-shots.png.
        const QString name = options.Pages->tabText(page).toLower().replace(' ', '-');
        saved = Save(options, folder, "options-" + name + ".png") && saved;
    }
    options.close();

    statistics.Fill(form.Projects->LogFile.get());
    saved = Shown(statistics) && Save(statistics, folder, "project-data.png") && saved;
    statistics.close();
    return saved ? 0 : 1;
}
