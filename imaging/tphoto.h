// SPDX-License-Identifier: MIT
// TPhoto: the imaging control. It holds one current picture: loads it synchronously from a file,
// reports its size, shows it (scaled to the control or at its own size, with scroll bars), shrinks it
// for thumbnails, reduces it to a palette, lends it out as a packed bitmap, prints it into a painter
// and saves it as QPX. Failures never throw: they set FXError.
#pragma once

#include <QImage>
#include <QList>
#include <QPixmap>
#include <QRgb>
#include <QString>
#include <QWidget>

#include <memory>

class QPainter;
class QScrollBar;

namespace imaging {
class DibMemoryBlock;
struct LoadedImage;
} // namespace imaging

class TPhoto : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString FileName READ FileName WRITE setFileName)
    Q_PROPERTY(int FXError READ FXError)
    Q_PROPERTY(int IWidth READ IWidth)
    Q_PROPERTY(int IHeight READ IHeight)
    Q_PROPERTY(bool Update READ Update WRITE setUpdate)
    Q_PROPERTY(int AutoSize READ AutoSize WRITE setAutoSize)
    Q_PROPERTY(int ScrollBars READ ScrollBars WRITE setScrollBars)
    Q_PROPERTY(int QPXThumbnail READ QPXThumbnail WRITE setQPXThumbnail)
    Q_PROPERTY(QString PFileName READ PFileName WRITE setPFileName)
    Q_PROPERTY(int PrinterLeft READ PrinterLeft WRITE setPrinterLeft)
    Q_PROPERTY(int PrinterTop READ PrinterTop WRITE setPrinterTop)
    Q_PROPERTY(int PrinterWidth READ PrinterWidth WRITE setPrinterWidth)
    Q_PROPERTY(int PrinterHeight READ PrinterHeight WRITE setPrinterHeight)
    Q_PROPERTY(int SaveJPGLumFactor READ SaveJPGLumFactor WRITE setSaveJPGLumFactor)
    Q_PROPERTY(int SaveJPGChromFactor READ SaveJPGChromFactor WRITE setSaveJPGChromFactor)
    Q_PROPERTY(int SaveJPGSubSampling READ SaveJPGSubSampling WRITE setSaveJPGSubSampling)
    Q_PROPERTY(QString SaveFileName READ SaveFileName WRITE setSaveFileName)
    Q_PROPERTY(bool ProgressEnabled READ ProgressEnabled WRITE setProgressEnabled)

  public:
    // FXError values; every non-zero value means the last operation failed.
    enum Error {
        NoError = 0,
        FileUnreadable = 1,    // missing, not permitted, or a read error
        BadPicture = 2,        // unknown format, damaged or truncated data
        BadArgument = 3,       // a size, bit depth or palette kind the control cannot use
        PaletteUnreadable = 4, // the PFileName file is missing or not a palette
        SaveFailed = 5,        // encoding or writing failed; the old file is left as it was
        NoPicture = 6,         // the operation needs a loaded picture
        PrintFailed = 7,       // no active painter to print into
    };
    // AutoSize values.
    enum { AutoSizeOwnSize = 1, AutoSizeScaled = 4 };
    // The ID of OnProgress.
    enum ProgressId : qint16 { LoadProgress = 1, SaveProgress = 2 };

    explicit TPhoto(QWidget* parent = nullptr);
    ~TPhoto() override;

    // Loading: the assignment loads the file before it returns. It is decoded on a thread of its
    // own meanwhile: on the window thread the windows keep painting, and input waits.
    void setFileName(const QString& path);
    QString FileName() const { return fileName_; }
    // Takes the picture of `path` as a load elsewhere (another thread, ahead of time) gave it, as if
    // FileName had been set: the picture may be decoded reduced, or already scaled to the pixels it is
    // shown in; IWidth and IHeight report the stored size.
    void setLoadedImage(const QString& path, imaging::LoadedImage loaded);
    // Takes a picture the program made itself rather than a file's (the printed logo); FileName
    // becomes empty.
    void setPicture(const QImage& picture);
    int FXError() const { return error_; }
    QString errorText() const { return errorText_; } // a diagnostic for the last failure
    // The last load failed only because the picture is beyond the largest one the program decodes.
    bool tooLarge() const { return tooLarge_; }
    int IWidth() const { return size_.width(); }
    int IHeight() const { return size_.height(); }

    // Display.
    void setUpdate(bool on);
    bool Update() const { return update_; }
    void setAutoSize(int mode);
    int AutoSize() const { return autoSize_; }
    void Redisplay();
    // The device pixels a picture of the `stored` size fills when it is scaled into `view` (logical
    // pixels) keeping its proportions, on a screen of the given device pixel ratio.
    static QSize scaledPixels(QSize stored, QSize view, qreal devicePixelRatio);
    void setScrollBars(int bars);
    int ScrollBars() const { return scrollBars_; }
    // While on, a picture at its own size is shown with one of its pixels on each device pixel, so it
    // stays sharp on a screen of more device pixels than pixels, and takes shownSize() on screen.
    void setOwnSizeInDevicePixels(bool on);
    QSize shownSize() const;

    // Thumbnails and palettes.
    void setQPXThumbnail(int on) { qpxThumbnail_ = on; }
    int QPXThumbnail() const { return qpxThumbnail_; }
    // While not empty, loads decode a JPEG picture reduced, as long as it still covers what the
    // picture becomes when fitted into this box of pixels (a printed rectangle needs no more).
    // IWidth and IHeight still report the stored size; SaveImage reads the full picture again.
    void setReducedDecodeBox(QSize pixels) { reducedDecodeBox_ = pixels; }
    QSize reducedDecodeBox() const { return reducedDecodeBox_; }
    void ResizeImage(int width, int height);
    void setPFileName(const QString& path) { paletteFile_ = path; }
    QString PFileName() const { return paletteFile_; }
    void ReduceColors(int bits, int paletteKind, int dither);
    qintptr CopyDib();
    qintptr hPal() const { return paletteHandle_; }
    QList<QRgb> paletteColors() const { return palette_; }
    const QImage& image() const { return image_; }

    // Printing, in twips. The picture is drawn with no more pixels than the printer has in the
    // rectangle, so that a printer file does not carry pixels nobody can see.
    void setPrinterLeft(int twips) { printerLeft_ = twips; }
    void setPrinterTop(int twips) { printerTop_ = twips; }
    void setPrinterWidth(int twips) { printerWidth_ = twips; }
    void setPrinterHeight(int twips) { printerHeight_ = twips; }
    int PrinterLeft() const { return printerLeft_; }
    int PrinterTop() const { return printerTop_; }
    int PrinterWidth() const { return printerWidth_; }
    int PrinterHeight() const { return printerHeight_; }
    void setPrinterhDC(QPainter* painter);

    // Saving as QPX.
    void setSaveJPGLumFactor(int factor);
    void setSaveJPGChromFactor(int factor);
    void setSaveJPGSubSampling(int mode);
    int SaveJPGLumFactor() const { return lumFactor_; }
    int SaveJPGChromFactor() const { return chromFactor_; }
    int SaveJPGSubSampling() const { return subSampling_; }
    void setSaveFileName(const QString& path) { saveFileName_ = path; }
    QString SaveFileName() const { return saveFileName_; }
    void SaveImage();

    void setProgressEnabled(bool on) { progressEnabled_ = on; }
    bool ProgressEnabled() const { return progressEnabled_; }

  public slots:
    void Refresh();

  signals:
    // Raised only while ProgressEnabled, inside a load or SaveImage; the last report is always 100,
    // also when the operation fails.
    void OnProgress(TPhoto* sender, qint16 id, qint16 pctDone);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    void fail(Error code, const QString& text);
    void succeed();
    void reportProgress(ProgressId id, int percent);
    void pictureChanged();
    QRect viewportRect() const;
    void layoutScrollBars();
    bool reloadFullSize();

    QString fileName_;
    QImage image_;
    QSize size_{0, 0};     // the size reported by IWidth/IHeight
    bool reduced_ = false; // image_ is a reduced decode of fileName_
    int error_ = NoError;
    QString errorText_;
    bool tooLarge_ = false;

    bool update_ = true;
    int autoSize_ = AutoSizeScaled;
    int scrollBars_ = 0;
    bool devicePixels_ = false;
    QScrollBar* horizontal_ = nullptr;
    QScrollBar* vertical_ = nullptr;
    QPixmap scaledCache_; // the picture as last drawn scaled to the control

    int qpxThumbnail_ = 0;
    QSize reducedDecodeBox_;
    QString paletteFile_;
    QList<QRgb> palette_;
    qintptr paletteHandle_ = 0;
    std::unique_ptr<imaging::DibMemoryBlock> dib_;

    int printerLeft_ = 0, printerTop_ = 0, printerWidth_ = 0, printerHeight_ = 0;

    int lumFactor_ = 30, chromFactor_ = 30, subSampling_ = 2;
    QString saveFileName_;
    bool progressEnabled_ = false;
};
