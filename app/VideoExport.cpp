#include "VideoExport.h"

#include "Framebuffer.h"

#include "GLControl.h"

namespace {

// The view's context current while the film draws, its own framebuffer bound again after.
class TViewContext {
public:
    explicit TViewContext(TGLControl& view) : View(view) { View.MakeCurrent(); }
    ~TViewContext() { View.DoneCurrent(); }
    TViewContext(const TViewContext&) = delete;
    TViewContext& operator=(const TViewContext&) = delete;

private:
    TGLControl& View;
};

class TPersonsPutBack {
public:
    TPersonsPutBack(TReplayFilm& film, std::int32_t step) : Film(film), Step(step) {}
    ~TPersonsPutBack() { Film.PutPersonsAt(Step); }
    TPersonsPutBack(const TPersonsPutBack&) = delete;
    TPersonsPutBack& operator=(const TPersonsPutBack&) = delete;

private:
    TReplayFilm& Film;
    std::int32_t Step;
};

TVideoOutcome Failed(const QString& error) {
    return {TVideoEnd::Failed, error};
}

} // namespace

TVideoOutcome ExportVideo(TGLControl& view, TLogFile& project, const TFilmLook& look,
                          const TVideoRequest& request, const TVideoProgress& progress) {
    if (view.Context() == nullptr) {
        return Failed(QStringLiteral("The view has not been drawn yet."));
    }
    TVideoPipeline video;
    if (const QString error = video.Open(request.FileName, request.Video); !error.isEmpty()) {
        return Failed(error);
    }
    TReplayFilm film(project, look);
    const TPersonsPutBack putBack(film, request.StepAfter);
    TFramebuffer frames;
    {
        const TViewContext current(view);
        const std::string error = frames.Open(request.Video.Width, request.Video.Height);
        if (!error.empty()) {
            return Failed(QString::fromStdString(error));
        }
        film.InitializeContext();
    }
    const auto release = [&] {
        const TViewContext current(view);
        film.ReleaseGraphics();
        frames.Release();
    };
    const std::int64_t count = request.Range.Count();
    QImage frame;
    for (std::int64_t i = 0; i < count; ++i) {
        {
            const TViewContext current(view);
            frames.Bind();
            film.DrawStep(static_cast<std::int32_t>(request.Range.StepOf(i)), frames.Width(),
                          frames.Height());
            frames.ReadFrame(frame);
        }
        if (const QString error = video.AddFrame(frame); !error.isEmpty()) {
            release();
            return Failed(error);
        }
        if (!progress(i + 1, count)) {
            release();
            video.Cancel();
            return {TVideoEnd::Cancelled, {}};
        }
    }
    release();
    const QString error = video.Finish();
    return error.isEmpty() ? TVideoOutcome{} : Failed(error);
}
