// SPDX-License-Identifier: MIT
#pragma once
// Slides made from picture files: appending image slides with their thumbnails, and drawing the
// thumbnails of a show that was read. The slides come at once, each with a placeholder (its file's
// name) where its picture will be; the pictures of the slides in view are decoded on other threads
// and replace the placeholders as they arrive, those of slides scrolled out of view when they come
// into view. The pictures of slides added out of view are tried on one thread meanwhile, so that
// those that cannot be read are marked so at once. Through the imaging control (one thread, or a palette
// screen) they are drawn in order before the slides come.

#include "thumbnail_picture.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

class BackgroundDecodes;
class QImage;
class ShowDocument;
class ShowGridView;
class ThumbnailBuilder;
struct SharedFlags;
struct ShowSlide;

// True when a regular file exists there (links followed: no folder, device, FIFO or socket) and its
// lower-cased path contains one of the image extensions anywhere (a folder named "x.bmp" counts).
bool IsAcceptedImagePath(const QString& path);

// A placeholder thumbnail carries the source its picture is to be decoded from until the picture
// replaces it; the mark goes with the thumbnail through the show's history and the clipboard.
void markAwaitingPicture(QImage& thumbnail, ThumbnailSource source);
bool awaitsPicture(const QImage& thumbnail);

class ShowSlides {
  public:
    // Draws the thumbnail of each slide the grid is about to paint that awaits its picture or was
    // drawn at another width (freshenThumbnail), for as long as it lives.
    ShowSlides(ShowDocument& show, ThumbnailBuilder& thumbnails, ShowGridView& view, SharedFlags& flags);
    ~ShowSlides();
    ShowSlides(const ShowSlides&) = delete;
    ShowSlides& operator=(const ShowSlides&) = delete;

    // Appends a slide for an accepted image path; the caller has checked that the show has room.
    // False when the image cannot be loaded or when its path is too long to be stored (named in
    // Label7); the show is then as it was. A file gone meanwhile becomes a blank slide.
    bool AppendImageSlide(const QString& path);
    // Appends, in order and while the show has room, those of the paths that are accepted images
    // whose picture data decodes (tried on other threads at the smallest reduced decode while the
    // windows paint); the others are left out without a word. Label7 names the last path left out
    // for its length, which is returned (empty when there is none).
    QString appendAcceptedImages(const QStringList& paths);
    // The thumbnails of the `count` first slides of a show just read, with "Read i of N..." after
    // each: an undecodable image keeps its slide, a missing one is drawn as missing, and the audio
    // mark is drawn only when the audio file exists.
    void buildThumbnailsForRead(int count);
    // Draws slide `index`'s thumbnail anew when it awaits its picture or was drawn at another width
    // or on another ground than the thumbnails' now (after the width or the appearance changed, or
    // brought back by Undo or Paste): its picture is decoded on another thread and drawn when it arrives,
    // while the slide is in view; on a palette screen it is drawn now, through the imaging control.
    void freshenThumbnail(int index);
    // Threads that decode the pictures of reads and appends: 0 (the default) for every thread of
    // the pool, 1 for the window thread alone through the imaging control.
    void setDecodeThreads(int threads) { decodeThreads_ = threads; }
    // Whether pictures asked for slides in view are still on their way.
    bool picturesOnTheirWay() const { return !asked_.isEmpty(); }
    // Decodes the thumbnails' pictures in place of decodeThumbnailPicture, on the decoding threads
    // (a test holds them back with it).
    using PictureDecoder =
        std::function<std::optional<QImage>(const QString& path, qreal scale, ThumbnailSource source)>;
    void setPictureDecoder(PictureDecoder decoder) { decoder_ = std::move(decoder); }
    // Ends a read or an append in progress after the slide being drawn (the window is closing).
    void stopDrawing();
    bool drawingStopped() const { return stopRequested_; }

    ShowGridView& view() { return view_; }

  private:
    enum class Purpose { Append, ShowRead };
    // decoded is the picture made ahead, or null to load it through the imaging control now.
    bool drawThumbnail(ShowSlide& slide, Purpose purpose, const std::optional<QImage>* decoded);
    bool loadSlideImage(const QString& path);
    bool appendDecoded(const QString& path, const std::optional<QImage>* decoded);
    // Whether thumbnails come as placeholders and their pictures on other threads.
    bool decodesInBackground();
    // Draws the pictures of the paths, one by one in order, through the imaging control.
    QString appendThroughControl(const QStringList& accepted);
    // Appends the slides at once, each with its placeholder; those whose picture data does not decode
    // make no slide.
    QString appendPlaceholders(const QStringList& accepted);
    void drawPlaceholder(ShowSlide& slide, ThumbnailSource source);
    // The picture's path of slide `index`: empty for a blank or missing slide.
    QString picturePath(int index) const;
    void askPicture(int index);
    // The slides in view: work for the others that has not started is dropped.
    std::pair<int, int> slidesInView() const;
    void askPicturesInView();
    void pictureArrived(int index, std::optional<QImage> picture);
    // Draws the slide's thumbnail from the picture that arrived, or marked as not readable.
    void drawArrived(int index, const std::optional<QImage>& picture);
    // Tries the pictures of the slides added out of view that await them.
    void tryAdded(int first, int count);
    void tried(int key, const std::optional<QImage>& picture);
    // Slides first..first+count-1 whose placeholder was drawn already (brought back by Undo, Redo
    // or Paste) take the thumbnail drawn for it.
    void takeDrawn(int first, int count);

    ShowDocument& show_;
    ThumbnailBuilder& thumbnails_;
    ShowGridView& view_;
    SharedFlags& flags_;
    int decodeThreads_ = 0;
    bool stopRequested_ = false;
    PictureDecoder decoder_;
    std::unique_ptr<BackgroundDecodes> inView_;
    QHash<int, QString> asked_; // slide -> the picture's path asked for it
    std::unique_ptr<BackgroundDecodes> added_;
    QHash<int, QString> tried_; // the pictures on their way to added_, by key
    int nextTry_ = 0;
    qreal askedScale_ = 0; // the pixel ratio the pictures on their way are decoded at
    struct Drawn {
        QImage placeholder; // held so that its key stays its own while anything else holds it
        QImage thumbnail;
    };
    QHash<qint64, Drawn> drawn_; // by the placeholder's cacheKey()
};
