// SPDX-License-Identifier: MIT
#pragma once
// Slides made from picture files: appending image slides with their thumbnails, and drawing the
// thumbnails of a show that was read. The pictures are decoded on every core and drawn in order.

#include "thumbnail_picture.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QImage;
class ShowDocument;
class ShowGridView;
class ThumbnailBuilder;
class ThumbnailDecodeQueue;
struct SharedFlags;
struct ShowSlide;

// True when a regular file exists there (links followed: no folder, device, FIFO or socket) and its
// lower-cased path contains one of the image extensions anywhere (a folder named "x.bmp" counts).
bool IsAcceptedImagePath(const QString& path);

class ShowSlides {
  public:
    ShowSlides(ShowDocument& show, ThumbnailBuilder& thumbnails, ShowGridView& view, SharedFlags& flags);

    // Appends a slide for an accepted image path; the caller has checked that the show has room.
    // False when the image cannot be loaded or when its path is too long to be stored (named in
    // Label7); the show is then as it was. A file gone meanwhile becomes a blank slide.
    bool AppendImageSlide(const QString& path);
    // Appends, in order and while the show has room, those of the paths that are accepted images;
    // the others are left out without a word. Label7 names the last path left out for its length,
    // which is returned (empty when there is none).
    QString appendAcceptedImages(const QStringList& paths);
    // The thumbnails of the `count` first slides of a show just read, with "Read i of N..." after
    // each: an undecodable image keeps its slide, a missing one is drawn as missing, and the audio
    // mark is drawn only when the audio file exists.
    void buildThumbnailsForRead(int count);
    // Draws slide `index`'s thumbnail anew when it was drawn at another width or on another ground
    // than the thumbnails' now (after the width or the appearance changed, or brought back by Undo
    // or Paste).
    void freshenThumbnail(int index);
    // Threads that decode the pictures of reads and appends: 0 (the default) for every thread of
    // the pool, 1 for the window thread alone through the imaging control.
    void setDecodeThreads(int threads) { decodeThreads_ = threads; }
    // Ends a read or an append in progress after the slide being drawn (the window is closing).
    void stopDrawing() { stopRequested_ = true; }
    bool drawingStopped() const { return stopRequested_; }

    ShowGridView& view() { return view_; }

  private:
    enum class Purpose { Append, ShowRead };
    // decoded is the picture made ahead, or null to load it through the imaging control now.
    bool drawThumbnail(ShowSlide& slide, Purpose purpose, const std::optional<QImage>* decoded);
    bool loadSlideImage(const QString& path);
    bool appendDecoded(const QString& path, const std::optional<QImage>* decoded);
    // Decodes the pictures of the paths ahead, in order (an empty path has none); nothing when
    // they go through the imaging control (one thread, or a palette screen).
    std::unique_ptr<ThumbnailDecodeQueue> decodeAhead(const QStringList& paths, ThumbnailSource source);

    ShowDocument& show_;
    ThumbnailBuilder& thumbnails_;
    ShowGridView& view_;
    SharedFlags& flags_;
    int decodeThreads_ = 0;
    bool stopRequested_ = false;
};
