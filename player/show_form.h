// SPDX-License-Identifier: MIT
#pragma once
// The viewer window that plays a show: one slide at a time in a large image area with its caption
// underneath, and a control strip to play, stop, step, pick a slide and set the speed. Playback is a
// loop on the user-interface thread that keeps the window alive through the program's pumping wait;
// the next slide's picture is decoded ahead on a second thread. In full screen it presents the show
// on black, with the controls over the picture while the mouse moves. It needs only the show, the
// shared flags and the program's switches, so any program can play a show with it.

#include "deferred_window.h"
#include "frame_look.h"
#include "show_transition.h"
#include "slide_record.h"
#include "viewer_host.h"
#include "wait_pumping.h"

#include <QImage>
#include <QJsonObject>
#include <QList>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QStringList>
#include <QWidget>

#include <memory>

class CaptionBandView;
class FrameFillView;
class CrossFade;
class MediaDevice;
class MotionView;
class PictureAhead;
struct PictureRequest;
class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class ScreenInhibit;
class QScreen;
class QSlider;
class QSplitter;
class QTimer;
class QToolButton;
class QVBoxLayout;
class ShowDocument;
class ShowMusic;
class SlideAudio;
struct ShowChange;
class TPhoto;
struct SharedFlags;

class TshowFrm : public DeferredWindow<QWidget> {
    Q_OBJECT
  public:
    static constexpr int InitialWidth = 582;
    static constexpr int InitialHeight = 453;
    static constexpr int MinWidth = 364;
    static constexpr int MinHeight = 300;
    static constexpr int HelpContext = 15;
    static constexpr int AutoPlayDelayMs = 500;
    static constexpr int ControlStripHeight = 53;
    static constexpr int CaptionHeight = 61;
    // In full screen, the controls and the pointer hide after this long without mouse movement.
    static constexpr int ControlsIdleMs = 2000;

    TshowFrm(ShowDocument& show, SharedFlags& flags, QWidget* parent = nullptr,
             ContentsTiming timing = ContentsTiming::Now);
    // The slide on screen still waits for its picture, decoded on another thread.
    bool pictureOnItsWay() const { return waitingPicture_ >= 0; }
    ~TshowFrm() override;

    void setHost(ViewerHost host);
    // Opens the viewer on a slide (the first unless told otherwise) of a show that has slides, on
    // the screen and in the window state the switches ask for; with autoPlay it starts playing 500 ms
    // after it has opened.
    void StartShow(bool autoPlay, int firstSlide = 0);
    // Whether the slide the viewer was last closed on is still in the show.
    bool canResume() const;
    // Opens the viewer again on the slide it was last closed on, and plays.
    void ResumeShow();

    MediaDevice& mediaPlayer() {
        buildContents();
        return *MediaPlayer1;
    }
    // The device of the show's music, which plays under the slides while the show plays.
    MediaDevice& musicPlayer() {
        buildContents();
        return *MusicPlayer1;
    }
    bool AutoPlay = false;

  public slots:
    // Puts the current slide on screen, picture and caption, as the playback loop does.
    void ShowCurrentSlide();
    // Plays from the current slide; returns when the show stops.
    void PlayShow();
    void SpeedButton1Click(); // previous
    void SpeedButton2Click(); // play
    void SpeedButton3Click(); // stop
    void SpeedButton5Click(); // next
    void TrackBar2Change(int position);
    void Button1Click(); // preferences
    void Timer1Timer();
    void FormShow();
    void FormResize();
    void FormCloseQuery();
    void Memo1Enter();

  signals:
    // A slide has been put on screen (by the loop, by stepping or by the image slider).
    void slideShown(int index);

  protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    enum class Display { Loop, Stopped };
    void build() override;
    void showPreferencesButton();
    void createControls();
    void createControlStrip();
    void displaySlide(Display how);
    // A change to another slide turns the area as it looked into the new picture.
    void beginFade(int index, Display how);
    // The change into a slide as the show plays on, by the show's rules at the speed set.
    ShowRules::SlideChange slideChange(int index) const;
    // Steps 3 to 6 of the display: false when, while events were processed, the window went away or
    // another slide became the current one.
    bool loadPicture(int index, bool processAfterLoad);
    // The slide's pan and zoom over its picture, when it has one.
    void startMotion(int index, const QImage& picture);
    void fillCaption(int index);
    // Captions are drawn on a band over the picture: in full screen, and where the show asks for it.
    bool bandCaptions() const;
    // The caption of the slide on screen once more, after the way captions are drawn changed.
    void refreshCaption();
    // The band follows the picture on screen.
    void placeBandCaption();
    // The fill of the image area beside the picture on screen, by the slide's look.
    void showFill();
    // The picture a title slide on screen is filled with when `look` blurs one; null otherwise.
    QImage titleBackdrop(const ShowRules::Look& look);
    // A caption box too small for its caption grows, up to half the viewer, so no line is cut off.
    void fitCaptionBox();
    // Starts decoding the picture of the slide that comes after the current one.
    void requestNextPicture();
    // A picture decoded on the decoding thread: the slide on screen that waits for it takes it.
    void pictureDecoded();
    PictureRequest pictureRequest(int index) const;
    // A slide's time at the speed set, in milliseconds.
    int slideTimeMs(int index) const;
    void centreControls();
    void updateControlStrip();
    void setPlayingControlsEnabled(bool enabled);
    void jumpTo(int index);
    void afterStep();
    // The presenter's keys: Page Down and Up, the black screen, a typed slide number and Enter.
    bool presenterKey(const QKeyEvent& event);
    int resumeIndex() const;
    bool playOnePass();
    // Where the show's music stands as the slide comes on screen: the times of the slides before it.
    qint64 musicAtSlide(int index) const;
    // A music file passed over is named in the status line beside the controls.
    void noteMusicLeftOut(const QString& path);
    // Where the show ends when the slide from `index` on, shown at `shownAt`, play their times: the
    // music fades out before it. Not in sight in a looping show.
    void noteShowEnd(int index, qint64 shownAt);
    void advance();
    void clampCurrentSlide();
    void showSlideNumber();
    // The show may change while the viewer is open (pictures handed over by a later start): the
    // slide on screen keeps its place, and the slider and the count take in the new slides.
    void followShow(const ShowChange& change);
    // The slide on screen as the show now has it, drawn again at once where it differs from the one
    // drawn (its caption switched off, another picture or motion).
    void redrawChangedSlide();
    ShowSwitches readSwitches() const;
    QWidget* focusTarget() const;

    // Full screen: the show on black, the control strip and the caption area over the picture.
    void placeOnScreen(QScreen* screen);
    void screenChanged();
    void setPresenting(bool on);
    void layoutChrome();
    void updateChrome();
    void mouseMoved(QPoint global);
    void scheduleIdleCheck();
    void hideChromeWhenIdle();
    void setPointerHidden(bool hidden);
    void toggleBlank();

    ShowDocument& show_;
    SharedFlags& flags_;
    ViewerHost host_;
    bool hostSet_ = false;
    ShowSwitches switches_;
    std::unique_ptr<SlideAudio> audio_;
    ShowMusic* music_ = nullptr;
    bool programSetsSlider_ = false;
    // Steps asked for (previous, next, a jump) since the loop began putting its slide on screen.
    int stepsAsked_ = 0;
    // The music has reached the current slide's start by playing on: the pass does not move it.
    bool musicFollows_ = false;
    QStringList musicLeftOut_; // the music files passed over since the show began playing
    qint64 timeRanOutAt_ = -1; // when the last slide's time ran out, if the loop went on from there
    std::unique_ptr<PictureAhead> pictures_;
    int shownIndex_ = -1;        // the slide whose picture the image area shows
    int waitingPicture_ = -1;    // the slide on screen whose picture is still being decoded
    TSlideRecord drawnRecord_{}; // the slide as it was last put on screen
    QJsonObject drawnExtra_;
    QString backdropPath_; // the picture last taken for a title slide's fill, and that picture
    QImage backdrop_;
    QString typedNumber_; // digits typed for a jump
    int resumeSlide_ = -1;
    QString resumePicture_;

    bool presenting_ = false;
    bool chromeShown_ = true; // in full screen: the controls and the pointer are on screen
    bool idleCheckPending_ = false;
    qint64 lastMoveMs_ = 0;
    QPoint lastMovePos_;
    QList<int> captionSizes_; // the splitter's sizes before full screen
    QRect windowedGeometry_;  // the window's geometry before full screen

    QFrame* Panel1 = nullptr;
    QFrame* Panel2 = nullptr;
    QFrame* Panel3 = nullptr;
    QFrame* Panel4 = nullptr;
    QFrame* Panel5 = nullptr;
    QFrame* Panel6 = nullptr;
    QFrame* Panel7 = nullptr;
    QSplitter* Splitter1 = nullptr;
    QVBoxLayout* upperLayout_ = nullptr; // the image area above the control strip
    TPhoto* Photo10 = nullptr;
    CrossFade* fade_ = nullptr;
    MotionView* motion_ = nullptr;
    int shownMotion_ = -1;         // the slide whose motion runs
    bool motionFromStart_ = false; // the slide is put on screen anew: its motion starts again
    CaptionBandView* bandCaption_ = nullptr;
    FrameFillView* fill_ = nullptr;
    std::unique_ptr<ScreenInhibit> screenInhibit_; // held while the show is presented full screen
    QWidget* BlankScreen = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    MediaDevice* MediaPlayer1 = nullptr;
    MediaDevice* MusicPlayer1 = nullptr;
    QTimer* Timer1 = nullptr;
    QSlider* TrackBar1 = nullptr;
    QSlider* TrackBar2 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QToolButton* SpeedButton3 = nullptr;
    QToolButton* SpeedButton5 = nullptr;
    QPushButton* Button1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* statusLine_ = nullptr; // notes about the show as it plays, left of the controls
};
