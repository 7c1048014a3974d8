#pragma once
// The show grid's side of the show document: appending image slides, building their thumbnails,
// and keeping the grid (active cell, top row, row count) and the Label7 status line in step with
// the show. Everything that shows the show anew goes through here.

#include <QImage>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QLabel;
class ShowDocument;
class ThumbnailBuilder;
class TOvcTable;
class ThumbnailDecodeQueue;
struct SharedFlags;

// True when a regular file exists there (links followed: no folder, device, FIFO or socket) and its
// lower-cased path contains one of the image extensions anywhere (a folder named "x.bmp" counts).
bool IsAcceptedImagePath(const QString& path);

// "Images: N", and after a read how many of the show's pictures were not found.
QString imagesCountText(int count, int notFound = 0);
// Label7 when a file is left out because its path is too long to be stored in a slide.
QString pathTooLongText(const QString& path);

class ShowSlides {
  public:
    ShowSlides(ShowDocument& show, ThumbnailBuilder& thumbnails, TOvcTable& grid, QLabel& countLabel,
               SharedFlags& flags);

    // Which rows are in view when the show is shown anew.
    enum class GridView { FirstRows, LastRows };

    // Appends a slide for an accepted image path; the caller has checked that the show has room.
    // False when the image cannot be loaded (the slide is then left out again) or when its path is
    // too long to be stored (named in Label7).
    bool AppendImageSlide(const QString& path);
    // Appends each accepted image path in order while the show has room, then sets the grid's
    // rows. Label7 names the last path left out for its length, if any. The pictures are decoded
    // on every core and drawn in order.
    void appendImageSlides(const QStringList& paths);
    // Loads the slide's image and draws its thumbnail; drops the slide when the image cannot be
    // decoded. False when the slide was dropped.
    bool BuildSlideThumbnail(int index);
    // The thumbnail steps as a show file is read: an undecodable or missing image keeps its
    // slide, and the audio mark is drawn only when the audio file exists.
    void buildThumbnailForRead(int index);
    // buildThumbnailForRead for slides 0 to count - 1 in order, with "Read i of N..." after each;
    // the pictures are decoded on every core.
    void buildThumbnailsForRead(int count);
    // Threads that decode the pictures of reads and appends: 0 (the default) for every thread of
    // the pool, 1 for the window thread alone through the imaging control.
    void setDecodeThreads(int threads) { decodeThreads_ = threads; }
    // Ends a read or an append in progress after the slide being drawn (the window is closing).
    void stopDrawing() { stopRequested_ = true; }
    bool drawingStopped() const { return stopRequested_; }
    // The grid's row count for the slide count.
    void UpdateShowGrid();
    void showImagesCount();
    // The count after a show was read, with how many of its pictures were not found.
    void showImagesCount(int notFound);
    // Names in Label7 a file that made no slide because its path is too long to be stored.
    void showPathTooLong(const QString& path);
    // "Read i of N..." in Label7 while a show is read.
    void showReadProgress(int done, int count);
    // After the show changed as a whole: redrawing resumed, cell (0, 0) active, the rows for the
    // slide count (at least minimumRows), the first or the last four rows in view, the count in
    // Label7.
    void showAnew(GridView view, int minimumRows = 0);
    // After Clear All: the visible slots' thumbnails white, one empty row.
    void showCleared();

    ShowDocument& show() { return show_; }
    TOvcTable& grid() { return grid_; }
    QLabel& countLabel() { return countLabel_; }

  private:
    enum class Purpose { Append, ShowRead };
    // decoded is the picture made ahead, or null to load it through the imaging control now.
    bool drawSlideThumbnail(int index, Purpose purpose, const std::optional<QImage>* decoded = nullptr);
    bool loadSlideImage(const QString& path);
    bool appendSlide(const QString& path, const std::optional<QImage>* decoded);
    bool buildSlideThumbnail(int index, const std::optional<QImage>* decoded);
    // Decodes the pictures of the paths ahead, in order (an empty path has none); nothing when
    // they go through the imaging control (one thread, or a palette screen).
    std::unique_ptr<ThumbnailDecodeQueue> decodeAhead(const QStringList& paths);

    ShowDocument& show_;
    ThumbnailBuilder& thumbnails_;
    TOvcTable& grid_;
    QLabel& countLabel_;
    SharedFlags& flags_;
    int decodeThreads_ = 0;
    bool stopRequested_ = false;
};
