// SPDX-License-Identifier: MIT
#pragma once
// The image browser, the left half of the main window: chooses a folder (through the select
// dialog or typed into the images field), lists its image files in the folder grid and draws
// their thumbnails as their rows are first painted. It is also the source of the add commands.

#include "tell_user.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class BackgroundDecodes;
class QImage;
class QLabel;
class QLineEdit;
class QWidget;
class TFileListBox;
class ThumbnailBuilder;
class TOvcTable;
class TselectDlg;
struct FolderImages;

// The main window's controls the browser works with.
struct BrowserControls {
    TOvcTable& OvcTable1;
    QLineEdit& Edit1;
    QLabel& Label6;
    QWidget& window;
};

class ImageBrowser {
  public:
    // openPreview(path) opens the preview.
    using Preview = std::function<void(const QString& path)>;

    static const QString Mask;

    // imageDirectory is the "IMAGE DIRECTORY" setting, which the images field commits to.
    ImageBrowser(FolderImages& folder, TFileListBox& fileList, ThumbnailBuilder& thumbnails,
                 QString& imageDirectory, BrowserControls controls, TselectDlg& selectDialog,
                 TellUser message);
    ~ImageBrowser();

    void setPreview(Preview preview) { preview_ = std::move(preview); }
    // Told the listed paths after every scan (the Find Image list is rebuilt from them).
    void setListedHandler(std::function<void(const QStringList& paths)> listed) {
        listed_ = std::move(listed);
    }

    // Folder selection and scan; without the dialog while ScanWithoutDialog is set.
    void Button1Click();
    // Lists the folder named in the images field; false when it cannot be entered or read.
    bool ScanImageFolder();
    void Edit1Enter();
    void CommitImagesField();
    // The thumbnail of a row of the folder grid; null for no data. One not drawn yet shows the
    // file's name alone until its picture arrives and the cell is painted again: nothing is
    // decoded or waited for while the grid paints.
    const QImage* OvcTable1GetCellData(int row, int col);
    // The rows about to be painted: their pictures are decoded on other threads, top row first;
    // those of rows scrolled out of view that have not started are dropped.
    void rowsInView(const QList<int>& rows);
    void OvcTable1KeyUp(int key, bool altHeld);
    // A double-click previews the image of the active row.
    void previewActiveRow();

    bool ScanWithoutDialog = true;
    FolderImages& folder() { return folder_; }
    TOvcTable& grid() { return controls_.OvcTable1; }
    TFileListBox& fileList() { return fileList_; }
    // The thumbnail of a listed row, drawn now if it is not yet.
    const QImage& folderThumbnail(int row);
    // The thumbnail a row shows now: drawn, or the file's name alone until its picture arrives from
    // the background. Nothing is decoded for it.
    const QImage& shownThumbnail(int row);
    // The thumbnail a slide made from a listed row starts with: the row's when it is drawn, else the
    // file's name alone, marked as awaiting its picture (which the show grid then decodes); for a
    // row drawn without its picture, which could not be read, the slide's mark that says so.
    QImage slideThumbnail(int row);
    // After the thumbnails' width changed: every row's thumbnail is drawn anew as it comes into view.
    void drawThumbnailsAnew();

  private:
    bool chooseFolder(bool withDialog);
    void pictureArrived(int row, std::optional<QImage> picture);
    void drawRow(int row, const std::optional<QImage>& picture);
    bool enterFolder(QString& path) const;

    FolderImages& folder_;
    TFileListBox& fileList_;
    ThumbnailBuilder& thumbnails_;
    QString& imageDirectory_;
    BrowserControls controls_;
    TselectDlg& selectDialog_;
    TellUser message_;
    Preview preview_;
    std::function<void(const QStringList& paths)> listed_;
    std::unique_ptr<BackgroundDecodes> inView_;
};

// "Files: " with the count and 24 blanks that wipe out the tail of a longer earlier text.
QString filesCountText(int count);
// A typed folder as it is tried: a drive letter alone gets its root ("C:" becomes "C:\"), and a
// final separator is dropped except from a root.
QString normalizeTypedFolder(const QString& path);
// Whether two folder names name the same folder: equal, or equal without regard to case unless
// the file system holds both spellings as different folders.
bool sameFolderName(const QString& a, const QString& b);
