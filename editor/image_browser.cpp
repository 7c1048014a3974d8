// SPDX-License-Identifier: MIT
#include "image_browser.h"

#include "background_decodes.h"
#include "file_list_box.h"
#include "folder_images.h"
#include "form_open_dialog.h"
#include "ovc_table.h"
#include "select_dialog.h"
#include "show_file.h"
#include "show_slides.h"
#include "thumbnail_picture.h"
#include "thumbnails.h"
#include "wait_cursor.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>

const QString ImageBrowser::Mask =
    QStringLiteral("*.bmp;*.jpg;*.qpx;*.kqp;*.dib;*.jif;*.pcx;*.png;*.tga;*.tif;*.jpeg;*.jpe;"
                   "*.webp;*.gif;*.heic;*.heif;*.avif");

namespace {
constexpr int MaxPathLength = 255;

bool isRootFolder(const QString& path) {
    return QDir(path).isRoot() || path == QLatin1String("/") || path == QLatin1String("\\");
}
} // namespace

QString filesCountText(int count) {
    return QCoreApplication::translate("ImageBrowser", "Files: %1").arg(count) +
           QString(24, QLatin1Char(' '));
}

QString normalizeTypedFolder(const QString& path) {
    if (path.size() == 2 && path[1] == QLatin1Char(':'))
        return path + QDir::separator();
    const bool endsWithSeparator = path.endsWith(QLatin1Char('/')) || path.endsWith(QLatin1Char('\\'));
    if (path.size() > 1 && endsWithSeparator && !isRootFolder(path))
        return path.chopped(1);
    return path;
}

bool sameFolderName(const QString& a, const QString& b) {
    if (a == b)
        return true;
    if (a.compare(b, Qt::CaseInsensitive) != 0)
        return false;
    const QFileInfo first(a);
    const QFileInfo second(b);
    return !(first.isDir() && second.isDir() && first.canonicalFilePath() != second.canonicalFilePath());
}

ImageBrowser::ImageBrowser(FolderImages& folder, TFileListBox& fileList, ThumbnailBuilder& thumbnails,
                           QString& imageDirectory, BrowserControls controls, TselectDlg& selectDialog,
                           TellUser message)
    : folder_(folder), fileList_(fileList), thumbnails_(thumbnails), imageDirectory_(imageDirectory),
      controls_(controls), selectDialog_(selectDialog), message_(std::move(message)),
      inView_(std::make_unique<BackgroundDecodes>(
          [this](int row, std::optional<QImage> picture) { pictureArrived(row, std::move(picture)); })) {
    fileList_.setMask(Mask);
    fileList_.setDirectory(imageDirectory_);
    selectDialog_.setImagesField(&controls_.Edit1);
    controls_.OvcTable1.setCellTextSupplier([this](int row, int) -> TOvcTable::CellText {
        if (row < 0 || row >= folder_.count())
            return {};
        const QString& path = folder_.FolderImagePaths[row];
        return {QFileInfo(path).fileName(), QDir::toNativeSeparators(path)};
    });
}

ImageBrowser::~ImageBrowser() = default;

void ImageBrowser::Button1Click() {
    bool withDialog = !ScanWithoutDialog;
    for (;;) {
        if (!chooseFolder(withDialog) || ScanImageFolder())
            return;
        message_(QCoreApplication::translate("ImageBrowser", "Error"),
                 QCoreApplication::translate("ImageBrowser", "Invalid Directory or Directory Read Error!"),
                 {});
        withDialog = true;
    }
}

// Step 1 of the folder selection: false when the selection ends without a scan.
bool ImageBrowser::chooseFolder(bool withDialog) {
    if (!withDialog)
        return true;
    QLineEdit& field = controls_.Edit1;
    TFormOpenDialog& panel = selectDialog_.openDialog();
    panel.setFileName(QString());
    panel.setInitialDir(field.text());
    QString previous = field.text().left(MaxPathLength);
    selectDialog_.setResult(0);
    if (selectDialog_.Execute()) {
        QString chosenFolder = QFileInfo(panel.FileName()).absolutePath();
        field.setText(normalizeTypedFolder(chosenFolder));
    } else if (selectDialog_.result() == QDialog::Accepted) {
        previous.clear(); // "&Select" on the folder already listed reads it again
    }
    if (sameFolderName(field.text(), previous))
        return false;
    controls_.window.repaint();
    return true;
}

// Makes the folder the current directory. A folder typed in another case than it is spelled is
// found when the exact path does not exist; path then holds the spelling on disk, in full.
bool ImageBrowser::enterFolder(QString& path) const {
    QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    if (!QFileInfo(absolute).isDir())
        absolute = ShowFile::resolveCaseInsensitive(absolute, ShowFile::PathKind::Folder);
    if (absolute.isEmpty() || !QFileInfo(absolute).isReadable() || !QDir::setCurrent(absolute))
        return false;
    path = absolute;
    return true;
}

bool ImageBrowser::ScanImageFolder() {
    QString path = controls_.Edit1.text();
    if (!enterFolder(path))
        return false;
    TOvcTable& grid = controls_.OvcTable1;
    const WaitCursor hourglass;
    grid.setAllowRedraw(false);
    fileList_.setDirectory(path);
    if (!fileList_.Update()) {
        grid.setAllowRedraw(true);
        return false;
    }
    controls_.Edit1.setText(path);
    inView_->clear();
    folder_.clear();
    grid.setEnabled(false);
    const int n = std::min(int(fileList_.Items().size()), FolderImages::MaxRows);
    controls_.Label6.setText(filesCountText(n));
    controls_.Label6.repaint();
    for (int i = 0; i < n; ++i)
        folder_.FolderImagePaths.append(joinFolderPath(fileList_.Directory(), fileList_.Items()[i]));
    if (listed_)
        listed_(folder_.FolderImagePaths);

    // The thumbnails are drawn as their rows are painted, not here.
    grid.clearSelection();
    grid.setRowLimit(n);
    grid.setActiveCell(0, 0);
    grid.setTopRow(0);
    grid.setAllowRedraw(true);
    grid.setEnabled(true);
    grid.InvalidateTable();
    controls_.window.update();
    return true;
}

void ImageBrowser::Edit1Enter() {
    imageDirectory_ = controls_.Edit1.text().trimmed();
}

void ImageBrowser::CommitImagesField() {
    QLineEdit& field = controls_.Edit1;
    const QString text = field.text().trimmed();
    field.setText(text);
    if (sameFolderName(text, imageDirectory_)) {
        field.setText(imageDirectory_);
        return;
    }
    QString path = normalizeTypedFolder(text.left(MaxPathLength));
    field.setText(path);
    if (!enterFolder(path)) {
        field.setText(imageDirectory_);
        return;
    }
    ScanWithoutDialog = true;
    Button1Click();
    imageDirectory_ = field.text();
    ScanWithoutDialog = false;
}

const QImage& ImageBrowser::folderThumbnail(int row) {
    QImage& thumbnail = (*folder_.FolderThumbnails)[row];
    if (folder_.FolderThumbnailReady[row])
        return thumbnail;
    const QString& path = folder_.FolderImagePaths[row];
    if (thumbnails_.measureScreenDepth() >= 16) {
        drawRow(row, decodeThumbnailPicture(path, thumbnails_.pixelRatio()));
        return thumbnail;
    }
    thumbnails_.BuildFolderThumbnail(thumbnail, path);
    folder_.FolderThumbnailReady[row] = true;
    controls_.OvcTable1.invalidateCell(row, 0);
    return thumbnail;
}

// A row whose picture could not be decoded shows its name alone, and its thumbnail is marked so.
void ImageBrowser::drawRow(int row, const std::optional<QImage>& picture) {
    QImage& thumbnail = (*folder_.FolderThumbnails)[row];
    thumbnails_.drawFolderThumbnail(thumbnail, folder_.FolderImagePaths[row], picture);
    if (!picture)
        markUnreadable(thumbnail);
    folder_.FolderThumbnailReady[row] = true;
    controls_.OvcTable1.invalidateCell(row, 0);
}

const QImage& ImageBrowser::shownThumbnail(int row) {
    QImage& thumbnail = (*folder_.FolderThumbnails)[row];
    if (!folder_.FolderThumbnailReady[row] && thumbnail.isNull())
        thumbnails_.drawFolderThumbnail(thumbnail, folder_.FolderImagePaths[row], std::nullopt);
    return thumbnail;
}

QImage ImageBrowser::slideThumbnail(int row) {
    // Screens below 16 bits per pixel draw through the imaging control's palette, one at a time.
    if (folder_.FolderThumbnailReady[row] || thumbnails_.measureScreenDepth() < 16) {
        const QImage& drawn = folderThumbnail(row);
        if (!isUnreadable(drawn))
            return drawn;
    }
    QImage thumbnail;
    if (folder_.FolderThumbnailReady[row]) {
        thumbnails_.drawUnreadableThumbnail(thumbnail, folder_.FolderImagePaths[row]);
        return thumbnail;
    }
    thumbnails_.drawFolderThumbnail(thumbnail, folder_.FolderImagePaths[row], std::nullopt);
    markAwaitingPicture(thumbnail, ThumbnailSource::AnyValid);
    return thumbnail;
}

void ImageBrowser::drawThumbnailsAnew() {
    inView_->clear();
    folder_.FolderThumbnailReady.fill(false);
    controls_.OvcTable1.InvalidateTable();
}

const QImage* ImageBrowser::OvcTable1GetCellData(int row, int col) {
    if (col != 0 || row < 0 || row >= folder_.count())
        return nullptr;
    QImage& thumbnail = (*folder_.FolderThumbnails)[row];
    if (folder_.FolderThumbnailReady[row])
        return &thumbnail;
    // The painting waits for nothing: the name shows until the thumbnail is drawn, from the picture
    // decoded in the background, or, on a screen below 16 bits per pixel, through the imaging
    // control once the painting is over.
    if (thumbnails_.measureScreenDepth() < 16)
        QMetaObject::invokeMethod(
            &controls_.OvcTable1,
            [this, row] {
                if (row < folder_.count())
                    folderThumbnail(row);
            },
            Qt::QueuedConnection);
    thumbnails_.drawFolderThumbnail(thumbnail, folder_.FolderImagePaths[row], std::nullopt);
    return &thumbnail;
}

void ImageBrowser::rowsInView(const QList<int>& rows) {
    if (thumbnails_.measureScreenDepth() < 16)
        return;
    const TOvcTable& grid = controls_.OvcTable1;
    inView_->keepOnly(grid.TopRow(), grid.TopRow() + grid.fullyVisibleRows());
    for (const int row : rows) {
        if (row < 0 || row >= folder_.count() || folder_.FolderThumbnailReady[row])
            continue;
        inView_->want(row, [path = folder_.FolderImagePaths[row], scale = thumbnails_.pixelRatio()] {
            return decodeThumbnailPicture(path, scale);
        });
    }
}

void ImageBrowser::pictureArrived(int row, std::optional<QImage> picture) {
    // A row drawn meanwhile (added as a slide) keeps its thumbnail.
    if (row >= folder_.count() || folder_.FolderThumbnailReady[row])
        return;
    drawRow(row, picture);
}

void ImageBrowser::OvcTable1KeyUp(int key, bool altHeld) {
    if (folder_.FolderImagePaths.isEmpty())
        return;
    TOvcTable& grid = controls_.OvcTable1;
    if (key == Qt::Key_Home) {
        grid.setActiveRow(0);
        return;
    }
    if (key == Qt::Key_End) {
        grid.setActiveRow(folder_.count() - 1);
        return;
    }
    if (altHeld || key <= 0 || key > 0xFFFF)
        return;
    const QChar letter = QChar(key).toUpper();
    for (int row = 0; row < folder_.count(); ++row) {
        const QString name = QFileInfo(folder_.FolderImagePaths[row]).fileName();
        if (!name.isEmpty() && name[0].toUpper() == letter) {
            grid.setActiveRow(row);
            grid.setTopRow(row);
            return;
        }
    }
}

void ImageBrowser::previewActiveRow() {
    const int row = controls_.OvcTable1.ActiveRow();
    if (preview_ && row >= 0 && row < folder_.count())
        preview_(folder_.FolderImagePaths[row]);
}
