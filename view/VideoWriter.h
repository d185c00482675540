#pragma once
// An MP4 video (H.264 in yuv420p) written frame by frame through FFmpeg's libraries. It goes to a
// temporary file beside the target and replaces the target only once every frame and the file's
// end are written and on the disk: a cancelled or failed video leaves no file behind, and an
// older file of that name untouched.

#include <QImage>
#include <QString>

#include <memory>

struct TVideoSettings {
    int Width = 1280; // both even, as yuv420p needs
    int Height = 720;
    int FramesPerSecond = 25;
    int Crf = 23; // the encoder's constant quality: lower is better and larger
};

class TVideoWriter {
public:
    TVideoWriter();
    // A video not finished is dropped.
    ~TVideoWriter();
    TVideoWriter(const TVideoWriter&) = delete;
    TVideoWriter& operator=(const TVideoWriter&) = delete;

    // Empty on success; otherwise why the video cannot be made, and nothing was left behind.
    QString Open(const QString& fileName, const TVideoSettings& settings);
    // One frame of the size opened, RGBX rows from the bottom up as the offscreen canvas reads
    // them. Empty on success; after a failure the video is dropped.
    QString AddFrame(const QImage& bottomUp);
    // Writes the end of the file and puts it in place of the target.
    QString Finish();
    // Drops the video: the temporary file goes, the target stays as it was.
    void Cancel();

    std::int64_t FramesWritten() const;

private:
    struct TState;
    std::unique_ptr<TState> State;
};

// The same video, its frames encoded on a thread of their own while the caller draws the next:
// at most two frames wait, so memory stays that of a few frames. A failure shows at the next
// frame or at the end.
class TVideoPipeline {
public:
    TVideoPipeline();
    ~TVideoPipeline();
    TVideoPipeline(const TVideoPipeline&) = delete;
    TVideoPipeline& operator=(const TVideoPipeline&) = delete;

    QString Open(const QString& fileName, const TVideoSettings& settings);
    // Hands the frame over; the image is shared, not copied, until the caller changes it.
    QString AddFrame(const QImage& bottomUp);
    QString Finish();
    void Cancel();

private:
    struct TQueue;
    // Waits until every frame handed over is encoded; the first failure, or empty.
    QString Drain();

    TVideoWriter Writer;
    std::unique_ptr<TQueue> Queue;
};
