// SPDX-License-Identifier: MIT
#pragma once
// Makes the 80 x 70 thumbnails of both grids through the main window's hidden imaging control:
// the picture shrunk inside the control, fetched out as a device-independent bitmap, centred on
// (33, 25), and the file name written underneath as it is on disk. Larger thumbnails, up to 256
// pixels wide, are the same thumbnail grown: picture area and place grown alike, the name in the
// same font under it.

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>
#include <functional>
#include <optional>

class TPhoto;

inline constexpr int ThumbnailWidth = 80;
inline constexpr int ThumbnailHeight = 70;
inline constexpr int ThumbnailFetchAttempts = 6;
inline constexpr int LargestThumbnailWidth = 256;

// The size of a thumbnail `width` pixels wide (80 x 70 at ThumbnailWidth).
QSize thumbnailSizeFor(int width);
// The thumbnail width `steps` steps larger (negative: smaller) than `width`, kept between
// ThumbnailWidth and LargestThumbnailWidth; a width between two steps counts from the step below.
int steppedThumbnailWidth(int width, int steps);

class ThumbnailBuilder {
  public:
    // screenDepth measures the main window's colour depth; paletteFile is the shipped "verasco.pal",
    // used on displays with fewer than 16 bits per pixel; pixelRatio measures the window's device
    // pixels per pixel (1 without it). The 80 x 70 geometry stays in the window's pixels; at a
    // ratio above 1 the thumbnails carry that many device pixels, so they are drawn sharp.
    ThumbnailBuilder(TPhoto& photo, QImage& workBitmap, std::function<int()> screenDepth, QString paletteFile,
                     std::function<qreal()> pixelRatio = {});

    TPhoto& photo() { return photo_; }
    QImage& workBitmap() { return work_; }
    const QImage& audioIcon() const { return audioIcon_; }

    // Measures the colour depth and the pixel ratio again and keeps them for the drawing that follows.
    int measureScreenDepth();
    int ScreenBitsPerPixel() const { return screenBits_; }
    // The device pixels per thumbnail pixel the pictures are decoded and fitted at: the window's
    // ratio times how much the thumbnails are grown.
    qreal pixelRatio() const { return ratio_ * zoom(); }

    // The thumbnails' width from now on, ThumbnailWidth (the default) to LargestThumbnailWidth.
    int thumbnailWidth() const { return width_; }
    void setThumbnailWidth(int width);
    QSize thumbnailSize() const { return thumbnailSizeFor(width_); }
    // Whether a thumbnail was drawn at another width than thumbnailWidth() (a null one was not).
    bool drawnAtOtherWidth(const QImage& thumbnail) const;
    // The ground thumbnails are drawn on: white on a light palette, the palette's field colour on
    // a dark one.
    QColor ground() const;
    // Whether a thumbnail was drawn at another width or on another ground than it would be now.
    bool drawnOtherwise(const QImage& thumbnail) const;
    bool palettePath() const { return screenBits_ < 16; }

    void FitThumbnailImage();
    bool FetchScaledImage();
    // FetchScaledImage until one attempt succeeds, six attempts in all.
    bool fetchWithRetries();
    void DrawThumbnail(QImage& target, const QString& path);
    // The thumbnail of a slide whose picture file is not there: a grey cell with "missing" where
    // the picture would be and the file name under it.
    void drawMissingThumbnail(QImage& target, const QString& path);
    // The thumbnail of a slide whose picture file is there but cannot be read: drawn like a missing
    // one with "not readable", and marked so (isUnreadable).
    void drawUnreadableThumbnail(QImage& target, const QString& path);
    void BuildFolderThumbnail(QImage& target, const QString& path);
    // The same thumbnail from a picture decoded elsewhere (decodeThumbnailPicture at pixelRatio());
    // nothing for a file that could not be decoded.
    void drawFolderThumbnail(QImage& target, const QString& path, const std::optional<QImage>& picture);
    // Copies the audio mark onto the thumbnail's picture area, at its left edge.
    void drawAudioMark(QImage& thumbnail) const;
    // The work bitmap as an empty picture: 80 x 70, all of the thumbnails' ground.
    void clearWorkBitmap();
    void reducePaletteColours();

  private:
    enum class Mark { None, Missing, Unreadable };
    void draw(QImage& target, const QString& path, Mark mark);
    qreal zoom() const { return qreal(width_) / ThumbnailWidth; }

    TPhoto& photo_;
    QImage& work_;
    std::function<int()> screenDepth_;
    QString paletteFile_;
    std::function<qreal()> pixelRatio_;
    QImage audioIcon_;
    int screenBits_ = 32;
    qreal ratio_ = 1; // the window's device pixels per pixel
    int width_ = ThumbnailWidth;
    qreal workRatio_ = 1; // device pixels per pixel of the picture the last fit left in the control
};

// A thumbnail drawn for a picture that could not be decoded says so with a mark that goes with it
// (to a slide added from a folder row, through the show's history and the clipboard).
void markUnreadable(QImage& thumbnail);
bool isUnreadable(const QImage& thumbnail);

// The caption of a thumbnail: the file name part of path (after the last "\" or "/"), as it is
// spelled, at most 255 characters.
QString thumbnailCaption(const QString& path);
// The caption as it is drawn: whole when `fits` takes it, else shortened in the middle of its name
// with "...", its extension kept.
QString fittedCaption(const QString& caption, const std::function<bool(const QString&)>& fits);
