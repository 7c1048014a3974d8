// SPDX-License-Identifier: MIT
#pragma once
// The image properties dialog: one slide's display time, audio file, hold-for-audio and caption
// switches, and its caption with the caption's font. It works on a copy of the slide's values and
// of its thumbnail; the caller writes them back when the dialog closes with OK.

#include "deferred_window.h"
#include "slide_record.h"

#include <QDialog>
#include <QImage>
#include <functional>

class MediaDevice;
class CaptionSourceField;
class LookField;
class MotionField;
class TransitionField;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;
class TOvcSimpleField;

class Ttextdlg : public DeferredWindow<QDialog> {
    Q_OBJECT
  public:
    enum Result { Ok = 1, Cancel = 2 };
    static constexpr int HelpContext = 40;
    static constexpr int MaxCaption = 255;
    // The audio files offered: wave audio first, then the other kinds the media device plays.
    static const char* const AudioFilter;

    explicit Ttextdlg(QWidget* parent = nullptr, ContentsTiming timing = ContentsTiming::Now);
    ~Ttextdlg() override;

    // Draws the slide's thumbnail again without the audio mark, from the slide's image path
    // (blank for a blank slide). Given by the owner of the imaging control.
    using ThumbnailRebuilder = std::function<QImage(const QString& imagePath, bool blank)>;
    void setThumbnailRebuilder(ThumbnailRebuilder rebuild) { rebuild_ = std::move(rebuild); }

    // Fills every control from slide number index (0-based) and its thumbnail; the slide's time is
    // `timeMs` where given (to the tenth of a second), otherwise the record's whole seconds.
    void loadSlide(const TSlideRecord& slide, const QString& imagePath, const QString& audioPath,
                   const QImage& thumbnail, int index, std::int64_t timeMs = -1);
    // The values a visit of the dialog for several slides at once may give them all.
    struct Fields {
        bool delay = false, holdForAudio = false, showText = false, caption = false, font = false,
             audio = false;
    };
    // After loadSlide: the dialog stands for `count` slides, and shows the fields in `differing`
    // without a value (the switches neither on nor off), as the slides do not share one.
    void showSeveral(int count, const Fields& differing);
    // The fields the user changed since the dialog was loaded.
    Fields changedFields() const;
    // What the dialog holds, written into a slide: the switches, the display time, the caption
    // (its lines joined, each followed by one blank) and its font. The paths are given apart.
    void storeInto(TSlideRecord& slide) const;
    // The slide's time in milliseconds, to the tenth of a second.
    std::int64_t timeMs() const;
    // The audio path as the file system spells it, trimmed; empty for none.
    QString audioPath() const;
    const QImage& thumbnail() const { return thumbnail_; }
    // The slide's pan and zoom, loaded and stored by the caller beside the slide's values.
    MotionField& motionField() {
        buildContents();
        return *motionField_;
    }
    // Where the caption comes from, loaded and stored by the caller beside the slide's values.
    CaptionSourceField& captionSourceField() {
        buildContents();
        return *captionSourceField_;
    }
    // The change into the slide, loaded and stored by the caller likewise.
    TransitionField& transitionField() {
        buildContents();
        return *transitionField_;
    }
    // The slide's fill and caption place, loaded and stored as the motion is.
    LookField& lookField() {
        buildContents();
        return *lookField_;
    }
    MediaDevice& mediaPlayer() {
        buildContents();
        return *MediaPlayer1;
    }

  public slots:
    void Button3Click();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void BitBtn1Click();
    void Button1Click();
    void FormShow();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void reject() override;

  private:
    void build() override;
    void createControls();
    void layOutControls();
    void Edit4KeyDown(int key);
    void setAudioPath(const QString& path, const QString& shown);
    void showThumbnail();
    void showCaptionFont();
    void limitCaption();
    // The preview of the slide shows the caption as it is typed.
    void previewCaption();
    void stopListening();
    // Back to one slide's dialog, and what it shows noted, for changedFields().
    void forgetSeveral();
    void noteShownValues();

    QLabel* Label1 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label2 = nullptr; // "Ti&me:"
    TOvcSimpleField* dlyfld = nullptr;
    QLabel* Label3 = nullptr; // "seconds"
    QLabel* Label4 = nullptr; // "&Image File:"
    QLineEdit* Edit2 = nullptr;
    QLabel* Label5 = nullptr; // "&Audio File:"
    QLineEdit* Edit4 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QCheckBox* CheckBox2 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QPushButton* Button3 = nullptr;
    QFrame* Panel1 = nullptr;
    QLabel* Image1 = nullptr; // the thumbnail picture
    QPushButton* BitBtn1 = nullptr;
    QPushButton* Button1 = nullptr;
    MediaDevice* MediaPlayer1 = nullptr;
    MotionField* motionField_ = nullptr;
    CaptionSourceField* captionSourceField_ = nullptr;
    TransitionField* transitionField_ = nullptr;
    LookField* lookField_ = nullptr;
    QImage Image2; // the audio icon

    ThumbnailRebuilder rebuild_;
    QImage thumbnail_;
    QString imagePath_;
    bool blankSlide_ = false;
    QString audioPath_;
    // The caption font as the slide stores it; the font dialog replaces it.
    QString fontName_;
    qint32 fontSize_ = DefaultFontSize;
    quint8 fontStyle_ = 0;
    qint32 fontColor_ = 0;
    bool fontChosen_ = false;
    // What the dialog showed when it was loaded.
    struct Shown {
        QString delay, caption, audioPath, audioText;
        Qt::CheckState holdForAudio = Qt::Unchecked, showText = Qt::Unchecked;
    } shown_;
};

// A stored short string of text: its UTF-8 bytes, cut to capacity at a character boundary.
QByteArray storedText(const QString& text, int capacity);
// The caption a slide stores for the memo's text: its lines joined, each followed by one blank (the
// last blank only while there is room for it); nothing for an empty memo.
QByteArray storedCaption(const QString& memoText);
// The memo's text for a stored caption: without the blank that storing adds after the last line,
// so that the caption does not grow by a blank at every OK.
QString memoCaption(const QString& caption);
