// SPDX-License-Identifier: MIT
// The viewer window: its controls, its layout, opening and closing, and the keys of a presenter.
#include "show_form.h"

#include "caption_band.h"
#include "cross_fade.h"
#include "frame_fill.h"
#include "help_viewer.h"
#include "media_device.h"
#include "motion_view.h"
#include "picture_ahead.h"
#include "screen_inhibit.h"
#include "screen_size.h"
#include "shared_flags.h"
#include "show_document.h"
#include "show_music.h"
#include "slide_audio.h"
#include "slide_paths.h"
#include "title_slides.h"
#include "tphoto.h"

#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QSplitter>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

namespace {

constexpr int MarginWidth = 75;
constexpr int SplitterWidth = 5;
constexpr QSize ControlsSize(337, 49);

template <typename T> T* named(T* object, const char* name) {
    object->setObjectName(QLatin1String(name));
    return object;
}

QFrame* panel(QWidget* parent, const char* name) {
    auto* frame = named(new QFrame(parent), name);
    frame->setFrameStyle(QFrame::NoFrame);
    return frame;
}

QLabel* label(QWidget* parent, const char* name, const QString& text, QRect place) {
    auto* l = named(new QLabel(text, parent), name);
    l->setGeometry(place);
    return l;
}

QToolButton* speedButton(QWidget* parent, const char* name, const QString& hint, int left) {
    auto* b = named(new QToolButton(parent), name);
    b->setToolTip(hint);
    b->setAccessibleName(hint);
    b->setGeometry(left, 2, 24, 22);
    return b;
}

QSlider* trackBar(QWidget* parent, const char* name, const QString& hint, QRect place) {
    auto* t = named(new QSlider(Qt::Horizontal, parent), name);
    t->setToolTip(hint);
    t->setGeometry(place);
    return t;
}

} // namespace

TshowFrm::TshowFrm(ShowDocument& show, SharedFlags& flags, QWidget* parent, ContentsTiming timing)
    : DeferredWindow(parent, Qt::Window), show_(show), flags_(flags) {
    setObjectName(QStringLiteral("showFrm"));
    setWindowTitle(tr("Verasco Viewer"));
    setMinimumSize(MinWidth, MinHeight);
    const QSize screen = ScreenSize(this);
    setGeometry((screen.width() - InitialWidth) / 2, (screen.height() - InitialHeight) / 2, InitialWidth,
                InitialHeight);
    buildContentsIfNow(timing);
}

void TshowFrm::build() {
    createControls();
    audio_ = std::make_unique<SlideAudio>(*MediaPlayer1);
    music_ = new ShowMusic(*MusicPlayer1, *MediaPlayer1, this);
    music_->onPassedOver([this](const QString& path) { noteMusicLeftOut(path); });
    // Told on the decoding thread; the picture is taken on this one. The decoding ends before
    // this window goes, and a call queued for a window that went is dropped.
    pictures_ = std::make_unique<PictureAhead>(
        [this] { QMetaObject::invokeMethod(this, &TshowFrm::pictureDecoded, Qt::QueuedConnection); });
    Timer1 = named(new QTimer(this), "Timer1");
    Timer1->setSingleShot(true);
    Timer1->setInterval(AutoPlayDelayMs);
    connect(Timer1, &QTimer::timeout, this, &TshowFrm::Timer1Timer);
    connect(&show_, &ShowDocument::changed, this, &TshowFrm::followShow);
    connect(&show_, &ShowDocument::showDataChanged, this, [this] {
        if (isVisible())
            refreshCaption();
    });
    if (hostSet_)
        showPreferencesButton();
}

TshowFrm::~TshowFrm() = default;

void TshowFrm::createControls() {
    Panel2 = panel(this, "Panel2");
    Panel4 = panel(Panel2, "Panel4");
    Panel6 = panel(Panel2, "Panel6");
    Panel5 = panel(Panel2, "Panel5");
    Panel4->setFixedWidth(MarginWidth);
    Panel5->setFixedWidth(MarginWidth);
    Panel6->setFocusPolicy(Qt::StrongFocus);
    Panel6->setAccessibleName(tr("Picture"));
    auto* imageRow = new QHBoxLayout(Panel2);
    imageRow->setContentsMargins(0, 0, 0, 0);
    imageRow->setSpacing(0);
    imageRow->addWidget(Panel4);
    imageRow->addWidget(Panel6, 1);
    imageRow->addWidget(Panel5);
    fill_ = new FrameFillView(Panel6);
    Photo10 = named(new TPhoto(Panel6), "Photo10");
    motion_ = new MotionView(Panel6);
    fade_ = new CrossFade(Panel6);
    bandCaption_ = named(new CaptionBandView(Panel6), "CaptionBand");
    screenInhibit_ = std::make_unique<ScreenInhibit>(tr("A slide show is playing"));

    Panel3 = panel(this, "Panel3");
    Panel3->setFixedHeight(ControlStripHeight);
    createControlStrip();

    auto* upper = new QWidget(this);
    upperLayout_ = new QVBoxLayout(upper);
    upperLayout_->setContentsMargins(0, 0, 0, 0);
    upperLayout_->setSpacing(0);
    upperLayout_->addWidget(Panel2, 1);
    upperLayout_->addWidget(Panel3);

    Panel1 = panel(this, "Panel1");
    Panel1->setMinimumHeight(1);
    Memo1 = named(new QPlainTextEdit(Panel1), "Memo1");
    Memo1->setAccessibleName(tr("Caption"));
    Memo1->setReadOnly(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->viewport()->setCursor(Qt::ArrowCursor);
    Memo1->setMinimumHeight(1);
    auto* captionLayout = new QVBoxLayout(Panel1);
    captionLayout->setContentsMargins(0, 0, 0, 0);
    captionLayout->addWidget(Memo1);
    MediaPlayer1 = named(new MediaDevice(Panel1), "MediaPlayer1");
    MusicPlayer1 = named(new MediaDevice(Panel1), "MusicPlayer1");

    Splitter1 = named(new QSplitter(Qt::Vertical, this), "Splitter1");
    Splitter1->setHandleWidth(SplitterWidth);
    Splitter1->setChildrenCollapsible(false);
    Splitter1->addWidget(upper);
    Splitter1->addWidget(Panel1);
    Splitter1->setStretchFactor(0, 1);
    Splitter1->setStretchFactor(1, 0);
    Splitter1->setSizes({InitialHeight - CaptionHeight - SplitterWidth, CaptionHeight});
    Splitter1->setAccessibleName(tr("Picture and caption"));
    Splitter1->handle(1)->setAccessibleName(tr("Caption height"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Splitter1);

    // Over everything, while the presenter has blacked the screen out.
    BlankScreen = panel(this, "BlankScreen");
    QPalette black = BlankScreen->palette();
    black.setColor(QPalette::Window, Qt::black);
    BlankScreen->setPalette(black);
    BlankScreen->setAutoFillBackground(true);
    BlankScreen->hide();

    Panel3->installEventFilter(this);
    Panel6->installEventFilter(this);
    Memo1->installEventFilter(this);
}

void TshowFrm::createControlStrip() {
    Panel7 = named(new QFrame(Panel3), "Panel7");
    Panel7->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    Panel7->resize(ControlsSize);
    Panel7->setFocusPolicy(Qt::StrongFocus);
    Panel7->setAccessibleName(tr("Viewer controls"));

    Label4 = label(Panel7, "Label4", tr("&Image 1"), {6, 1, 98, 14});
    TrackBar2 = trackBar(Panel7, "TrackBar2", tr("Select image"), {4, 15, 102, 18});
    TrackBar2->setRange(1, 1);
    Label5 = label(Panel7, "Label5", QStringLiteral("1"), {6, 32, 30, 14});
    Label6 = label(Panel7, "Label6", QStringLiteral("1"), {56, 32, 48, 14});
    Label6->setAlignment(Qt::AlignRight | Qt::AlignTop);
    Label4->setBuddy(TrackBar2);

    SpeedButton1 = speedButton(Panel7, "SpeedButton1", tr("Previous image"), 112);
    SpeedButton3 = speedButton(Panel7, "SpeedButton3", tr("Stop Verasco"), 136);
    SpeedButton2 = speedButton(Panel7, "SpeedButton2", tr("Play Verasco"), 160);
    SpeedButton5 = speedButton(Panel7, "SpeedButton5", tr("Next image"), 184);
    SpeedButton2->setCheckable(true);
    Button1 = named(new QPushButton(tr("P&references..."), Panel7), "Button1");
    Button1->setToolTip(tr("Set Verasco Preferences"));
    Button1->setGeometry(110, 25, 100, 22);

    Label3 = label(Panel7, "Label3", tr("Sp&eed"), {218, 1, 60, 14});
    TrackBar1 = trackBar(Panel7, "TrackBar1", tr("Set Verasco speed"), {214, 15, 118, 18});
    TrackBar1->setRange(0, 20);
    TrackBar1->setValue(10);
    Label1 = label(Panel7, "Label1", QStringLiteral("-"), {218, 32, 10, 14});
    Label2 = label(Panel7, "Label2", QStringLiteral("+"), {322, 32, 10, 14});
    Label3->setBuddy(TrackBar1);

    statusLine_ = named(new QLabel(Panel3), "StatusLine");
    statusLine_->setWordWrap(true);
    statusLine_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    statusLine_->hide();

    connect(SpeedButton1, &QToolButton::clicked, this, &TshowFrm::SpeedButton1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &TshowFrm::SpeedButton2Click);
    connect(SpeedButton3, &QToolButton::clicked, this, &TshowFrm::SpeedButton3Click);
    connect(SpeedButton5, &QToolButton::clicked, this, &TshowFrm::SpeedButton5Click);
    connect(TrackBar2, &QSlider::valueChanged, this, &TshowFrm::TrackBar2Change);
    connect(Button1, &QPushButton::clicked, this, &TshowFrm::Button1Click);
}

void TshowFrm::setHost(ViewerHost host) {
    host_ = std::move(host);
    hostSet_ = true;
    if (contentsBuilt())
        showPreferencesButton();
}

// The preferences button is there only when the host can edit the preferences.
void TshowFrm::showPreferencesButton() {
    Button1->setVisible(bool(host_.editPreferences));
}

ShowSwitches TshowFrm::readSwitches() const {
    return host_.switches ? host_.switches() : ShowSwitches{};
}

QWidget* TshowFrm::focusTarget() const {
    return Panel3->isVisibleTo(const_cast<TshowFrm*>(this)) ? static_cast<QWidget*>(Panel7) : Panel6;
}

void TshowFrm::centreControls() {
    Panel7->move((Panel3->width() - Panel7->width()) / 2 - 4, (Panel3->height() - Panel7->height()) / 2);
    statusLine_->setGeometry(4, 0, qMax(0, Panel7->x() - 8), Panel3->height());
}

void TshowFrm::StartShow(bool autoPlay, int firstSlide) {
    if (show_.SlideCount == 0)
        return;
    buildContents();
    switches_ = readSwitches();
    const int first = qBound(0, firstSlide, show_.SlideCount - 1);
    updateControlStrip();
    flags_.CurrentSlide = first;
    // Each opening reads the pictures again: their files may have changed meanwhile.
    pictures_->clear();
    shownIndex_ = -1;
    BlankScreen->hide();
    fillCaption(first);
    flags_.ShowPlaying = false;
    AutoPlay = autoPlay;
    programSetsSlider_ = true;
    TrackBar2->setRange(1, show_.SlideCount);
    TrackBar2->setValue(first + 1);
    programSetsSlider_ = false;
    Label6->setText(QString::number(show_.SlideCount));
    Label4->setText(tr("&Image %1").arg(first + 1));
    // A window of its own with its own task bar button, also when the main window is hidden: it
    // belongs to the main window only for its lifetime.
    if (!windowHandle())
        create();
    windowHandle()->setTransientParent(nullptr);
    // On a screen of another pixel density the picture is decoded again for that screen's pixels.
    connect(windowHandle(), &QWindow::screenChanged, this, &TshowFrm::screenChanged, Qt::UniqueConnection);
    // The window's own size and place, whatever the window system gave back after full screen.
    if (windowedGeometry_.isValid())
        setGeometry(windowedGeometry_);
    placeOnScreen(switches_.Screen);
    switches_.FullScreen ? showFullScreen() : show();
    raise();
    activateWindow();
}

int TshowFrm::resumeIndex() const {
    if (resumeSlide_ < 0)
        return -1;
    // The show may have changed since: the slide is looked for by its picture.
    if (resumeSlide_ < show_.SlideCount && imagePathOf(show_.slide(resumeSlide_)) == resumePicture_)
        return resumeSlide_;
    for (int i = 0; i < show_.SlideCount; ++i)
        if (imagePathOf(show_.slide(i)) == resumePicture_)
            return i;
    return -1;
}

bool TshowFrm::canResume() const {
    return resumeIndex() >= 0;
}

void TshowFrm::ResumeShow() {
    const int index = resumeIndex();
    if (index >= 0)
        StartShow(true, index);
}

void TshowFrm::FormShow() {
    if (SpeedButton1->icon().isNull()) {
        // Fetched on the first showing rather than at start-up, which then loads no icon.
        SpeedButton1->setIcon(style()->standardIcon(QStyle::SP_MediaSkipBackward));
        SpeedButton3->setIcon(style()->standardIcon(QStyle::SP_MediaStop));
        SpeedButton2->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
        SpeedButton5->setIcon(style()->standardIcon(QStyle::SP_MediaSkipForward));
    }
    if (host_.viewerOpened)
        host_.viewerOpened(switches_.HideEditor);
    centreControls();
    if (AutoPlay)
        Timer1->start();
    focusTarget()->setFocus();
    FormResize();
}

void TshowFrm::FormResize() {
    fade_->stop();
    Photo10->hide();
    if (width() < MinWidth || height() < MinHeight)
        resize(qMax(width(), MinWidth), qMax(height(), MinHeight));
    update();
    const int index = flags_.CurrentSlide;
    if (index >= 0 && index < show_.SlideCount) {
        loadPicture(index, false);
        Photo10->setVisible(!isBlankSlide(show_.slide(index)) && Photo10->FXError() == 0 &&
                            waitingPicture_ < 0);
        placeBandCaption();
        requestNextPicture();
    }
    centreControls();
}

void TshowFrm::screenChanged() {
    if (isVisible())
        FormResize();
}

void TshowFrm::FormCloseQuery() {
    if (flags_.CurrentSlide >= 0 && flags_.CurrentSlide < show_.SlideCount) {
        resumeSlide_ = flags_.CurrentSlide;
        resumePicture_ = imagePathOf(show_.slide(resumeSlide_));
    }
    BlankScreen->hide();
    fade_->stop();
    motion_->stop();
    pictures_->clear();
    waitingPicture_ = -1;
    audio_->StopAudio();
    music_->stop();
    flags_.ShowPlaying = false;
    flags_.WaitInterrupt = true;
    SpeedButton2->setChecked(false);
    Timer1->stop();
    screenInhibit_->release();
    if (isFullScreen())
        setWindowState(windowState() & ~Qt::WindowFullScreen);
    if (host_.viewerClosed)
        host_.viewerClosed(switches_.HideEditor);
}

void TshowFrm::Memo1Enter() {
    focusTarget()->setFocus();
}

void TshowFrm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TshowFrm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!contentsBuilt())
        return;
    centreControls();
    BlankScreen->setGeometry(rect());
    if (presenting_)
        layoutChrome();
}

void TshowFrm::closeEvent(QCloseEvent* event) {
    buildContents();
    FormCloseQuery();
    event->accept();
}

bool TshowFrm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Memo1 && event->type() == QEvent::FocusIn)
        QMetaObject::invokeMethod(this, &TshowFrm::Memo1Enter, Qt::QueuedConnection);
    else if (watched == Panel3 && event->type() == QEvent::Resize)
        centreControls();
    else if (watched == Panel6 && event->type() == QEvent::Resize && isVisible())
        FormResize();
    else if (watched == Panel6 && event->type() == QEvent::Resize)
        placeBandCaption();
    else if (watched == windowHandle() && event->type() == QEvent::MouseMove)
        mouseMoved(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
    return QWidget::eventFilter(watched, event);
}

void TshowFrm::keyPressEvent(QKeyEvent* event) {
    if (presenterKey(*event))
        return;
    switch (event->key()) {
    case Qt::Key_F11:
        isFullScreen() ? showNormal() : showFullScreen();
        break;
    case Qt::Key_Escape:
        isFullScreen() ? showNormal() : (void)close();
        break;
    case Qt::Key_Space:
        flags_.ShowPlaying ? SpeedButton3Click() : SpeedButton2Click();
        break;
    case Qt::Key_Left:
        SpeedButton1Click();
        break;
    case Qt::Key_Right:
        SpeedButton5Click();
        break;
    case Qt::Key_Home:
        jumpTo(0);
        break;
    case Qt::Key_End:
        jumpTo(show_.SlideCount - 1);
        break;
    case Qt::Key_F1:
        showHelpContext(HelpContext);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

QImage TshowFrm::titleBackdrop(const ShowRules::Look& look) {
    const int index = shownIndex_;
    if (look.fill != ShowRules::Fill::Blur || !TitleSlides::isTitle(show_, index))
        return {};
    const int from = TitleSlides::backdropOf(show_, index);
    const QString path = from < 0 ? QString() : show_.imagePath(from);
    if (path != backdropPath_) {
        backdropPath_ = path;
        backdrop_ = FrameFill::backdropPicture(path);
    }
    return backdrop_;
}
