#pragma once
// The show grid's side of the show document: appending image slides, building their thumbnails,
// and keeping the grid's rows and the "Images: " counter in step with the slide count.

#include <QString>

class QLabel;
class ShowDocument;
class ThumbnailBuilder;
class TOvcTable;
struct SharedFlags;

// True when the file exists and its lower-cased path contains one of the image extensions
// anywhere (a folder named "x.bmp" counts).
bool IsAcceptedImagePath(const QString& path);

QString imagesCountText(int count);
QString readProgressText(int done, int count);

class ShowSlides {
public:
    ShowSlides(ShowDocument& show, ThumbnailBuilder& thumbnails, TOvcTable& grid, QLabel& countLabel,
               SharedFlags& flags);

    // Appends a slide for an accepted image path; the caller has checked that the show has room.
    // False when the image cannot be loaded: the slide is then left out again.
    bool AppendImageSlide(const QString& path);
    // Loads the slide's image and draws its thumbnail; drops the slide when the image cannot be
    // decoded. False when the slide was dropped.
    bool BuildSlideThumbnail(int index);
    // The thumbnail steps as a show file is read: an undecodable image keeps its slide, and the
    // audio mark is drawn only when the audio file exists.
    void buildThumbnailForRead(int index);
    void UpdateShowGrid();
    void showImagesCount();
    // Repaints the grid with row 0 and cell (0, 0) active.
    void activateFirstCell();

    ShowDocument& show() { return show_; }
    TOvcTable& grid() { return grid_; }
    QLabel& countLabel() { return countLabel_; }

private:
    enum class Purpose { Append, ShowRead };
    bool drawSlideThumbnail(int index, Purpose purpose);
    bool loadSlideImage(const QString& path);

    ShowDocument& show_;
    ThumbnailBuilder& thumbnails_;
    TOvcTable& grid_;
    QLabel& countLabel_;
    SharedFlags& flags_;
};
