// SPDX-License-Identifier: MIT
#include "text_dialog.h"

#include "audio_icon.h"
#include "caption_source_field.h"
#include "dialogs.h"
#include "help_viewer.h"
#include "look_field.h"
#include "media_device.h"
#include "motion_field.h"
#include "named_widget.h"
#include "ovc_simple_field.h"
#include "slide_time.h"
#include "stored_font.h"
#include "stored_path.h"
#include "thumbnails.h"
#include "transition_field.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QTextDocument>
#include <QToolButton>

// The chooser opens on the first filter: every kind of sound the program plays.
const char* const Ttextdlg::AudioFilter =
    QT_TR_NOOP("Sound Files (*.wav *.mp3 *.ogg *.oga *.opus *.flac *.au *.snd);;Wave Audio (*.wav);;"
               "Other Audio (*.mp3 *.ogg *.oga *.opus *.flac *.au *.snd);;All Files (*)");

namespace {
constexpr int PictureWidth = 66;
constexpr int PictureHeight = 50;
} // namespace

QByteArray storedText(const QString& text, int capacity) {
    QByteArray bytes = text.toUtf8();
    if (bytes.size() <= capacity)
        return bytes;
    int cut = capacity;
    // Never end inside a character: step back over its continuation bytes and its lead byte.
    while (cut > 0 && (uchar(bytes[cut]) & 0xC0) == 0x80)
        --cut;
    return bytes.left(cut);
}

QByteArray storedCaption(const QString& memoText) {
    if (memoText.isEmpty())
        return {};
    QByteArray caption = storedText(memoText, Ttextdlg::MaxCaption).replace('\n', ' ');
    if (caption.size() < Ttextdlg::MaxCaption)
        caption += ' ';
    return caption;
}

QString memoCaption(const QString& caption) {
    return caption.endsWith(QLatin1Char(' ')) ? caption.chopped(1) : caption;
}

Ttextdlg::Ttextdlg(QWidget* parent, ContentsTiming timing) : DeferredWindow(parent) {
    setObjectName(QStringLiteral("textdlg"));
    setWindowTitle(tr("Image Properties"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    buildContentsIfNow(timing);
}

void Ttextdlg::build() {
    createControls();
    layOutControls();
    MediaPlayer1 = named(new MediaDevice(this), "MediaPlayer1");
    Image2 = makeAudioIcon();

    connect(Button3, &QPushButton::clicked, this, &Ttextdlg::Button3Click);
    connect(SpeedButton1, &QToolButton::clicked, this, &Ttextdlg::SpeedButton1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &Ttextdlg::SpeedButton2Click);
    connect(BitBtn1, &QPushButton::clicked, this, &Ttextdlg::BitBtn1Click);
    connect(Button1, &QPushButton::clicked, this, &Ttextdlg::Button1Click);
    connect(Memo1, &QPlainTextEdit::textChanged, this, &Ttextdlg::limitCaption);
    connect(Memo1, &QPlainTextEdit::textChanged, this, &Ttextdlg::previewCaption);
    connect(CheckBox2, &QCheckBox::toggled, this, &Ttextdlg::previewCaption);
    Edit4->installEventFilter(this);
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [] { showHelpContext(HelpContext); });
}

Ttextdlg::~Ttextdlg() = default;

void Ttextdlg::createControls() {
    Label1 = named(new QLabel(tr("Image:"), this), "Label1");
    Label6 = named(new QLabel(this), "Label6");
    Label6->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label6->setMinimumWidth(24);
    dlyfld = named(new TOvcSimpleField(this), "dlyfld");
    // A slide's time in tenths of a second.
    dlyfld->setTenths(true);
    dlyfld->setRange(int(ShowRules::MinSlideMs / 100), int(ShowRules::MaxSlideMs / 100));
    dlyfld->setMaxDigits(5);
    dlyfld->setRequired(true);
    dlyfld->setErrorColours(Qt::red, Qt::black);
    dlyfld->setAlignment(Qt::AlignRight);
    dlyfld->setFixedWidth(48);
    Label2 = named(new QLabel(tr("Ti&me:"), this), "Label2");
    Label2->setBuddy(dlyfld);
    Label3 = named(new QLabel(tr("seconds"), this), "Label3");
    Edit2 = named(new QLineEdit(this), "Edit2");
    Edit2->setReadOnly(true);
    Label4 = named(new QLabel(tr("&Image File:"), this), "Label4");
    Label4->setBuddy(Edit2);
    Edit4 = named(new QLineEdit(this), "Edit4");
    Edit4->setReadOnly(true);
    Label5 = named(new QLabel(tr("&Audio File:"), this), "Label5");
    Label5->setBuddy(Edit4);
    SpeedButton1 = named(new QToolButton(this), "SpeedButton1");
    SpeedButton1->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    SpeedButton1->setToolTip(tr("Open audio file"));
    SpeedButton1->setAccessibleName(SpeedButton1->toolTip());
    SpeedButton2 = named(new QToolButton(this), "SpeedButton2");
    SpeedButton2->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
    SpeedButton2->setToolTip(tr("Play audio file"));
    SpeedButton2->setAccessibleName(SpeedButton2->toolTip());
    CheckBox1 = named(new QCheckBox(tr("&Use Time of Attached Audio when Available"), this), "CheckBox1");
    CheckBox2 = named(new QCheckBox(tr("&Show text with image"), this), "CheckBox2");
    Memo1 = named(new QPlainTextEdit(this), "Memo1");
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setTabChangesFocus(true);
    Memo1->setAccessibleName(tr("Caption"));
    Button3 = named(new QPushButton(tr("&Text Properties"), this), "Button3");
    Panel1 = named(new QFrame(this), "Panel1");
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Image1 = named(new QLabel(Panel1), "Image1");
    Image1->setFixedSize(PictureWidth, PictureHeight);
    BitBtn1 = named(new QPushButton(tr("OK"), this), "BitBtn1");
    BitBtn1->setDefault(true);
    Button1 = named(new QPushButton(tr("Cancel"), this), "Button1");
    motionField_ = new MotionField(this);
    captionSourceField_ = new CaptionSourceField(this, *Memo1);
    transitionField_ = new TransitionField(tr("As the show"), this);
    lookField_ = new LookField(LookField::Level::Slide, this);
}

void Ttextdlg::layOutControls() {
    auto* panelLayout = new QHBoxLayout(Panel1);
    panelLayout->setContentsMargins(4, 4, 4, 4);
    panelLayout->addWidget(Image1);

    auto* top = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{Label1, Label6})
        top->addWidget(w);
    top->addSpacing(16);
    for (QWidget* w : std::initializer_list<QWidget*>{Label2, dlyfld, Label3})
        top->addWidget(w);
    top->addStretch();
    top->addWidget(Panel1);

    auto* files = new QGridLayout;
    files->addWidget(Label4, 0, 0);
    files->addWidget(Edit2, 0, 1, 1, 3);
    files->addWidget(Label5, 1, 0);
    files->addWidget(Edit4, 1, 1);
    files->addWidget(SpeedButton1, 1, 2);
    files->addWidget(SpeedButton2, 1, 3);
    Edit2->setMinimumWidth(320);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button3);
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(Button1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(files);
    auto* looks = new QHBoxLayout;
    looks->addWidget(motionField_);
    looks->addWidget(lookField_);
    layout->addLayout(looks);
    layout->addWidget(transitionField_);
    for (QWidget* w : std::initializer_list<QWidget*>{CheckBox1, CheckBox2, captionSourceField_, Memo1})
        layout->addWidget(w);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // In reading order, OK and Cancel last.
    QWidget* const order[] = {dlyfld,
                              Edit2,
                              Edit4,
                              SpeedButton1,
                              SpeedButton2,
                              motionField_->chooser(),
                              lookField_->firstChoice(),
                              lookField_->colourButton(),
                              lookField_->lastChoice(),
                              transitionField_->chooser(),
                              transitionField_->timeBox(),
                              CheckBox1,
                              CheckBox2,
                              captionSourceField_->box(),
                              captionSourceField_->titleBox(),
                              Memo1,
                              Button3,
                              BitBtn1,
                              Button1};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
}

void Ttextdlg::loadSlide(const TSlideRecord& slide, const QString& imagePath, const QString& audioPath,
                         const QImage& thumbnail, int index, std::int64_t timeMs) {
    buildContents();
    dlyfld->setTenthsValue(int((timeMs < 0 ? std::int64_t(slide.Delay) * 1000 : timeMs) / 100));
    thumbnail_ = thumbnail;
    showThumbnail();
    Label6->setText(QString::number(index + 1));
    imagePath_ = imagePath;
    blankSlide_ = imagePath.compare(QLatin1String(BlankImageName.data()), Qt::CaseInsensitive) == 0;
    Edit2->setText(imagePath);
    fontName_ = StoredPath::of(slide.FontName);
    fontSize_ = slide.FontSize;
    fontStyle_ = slide.FontStyle;
    fontColor_ = slide.FontColor;
    Memo1->clear();
    Memo1->setPlainText(memoCaption(StoredPath::of(slide.Text)));
    showCaptionFont();
    CheckBox1->setChecked(slide.HoldForAudio != 0);
    CheckBox2->setChecked(slide.ShowText != 0);
    setAudioPath(audioPath, audioPath);
    dlyfld->setFocus();
    forgetSeveral();
    noteShownValues();
}

void Ttextdlg::storeInto(TSlideRecord& slide) const {
    buildContents();
    slide.HoldForAudio = CheckBox1->isChecked() ? 1 : 0;
    slide.ShowText = CheckBox2->isChecked() ? 1 : 0;
    slide.Delay = static_cast<std::uint8_t>(ShowRules::delayOf(timeMs()));
    slide.Text.assign(storedCaption(Memo1->toPlainText()).toStdString());
    slide.FontName.assign(storedText(fontName_, int(sizeof slide.FontName.chars)).toStdString());
    slide.FontSize = fontSize_;
    slide.FontStyle = fontStyle_;
    slide.FontColor = fontColor_;
}

std::int64_t Ttextdlg::timeMs() const {
    return std::int64_t(dlyfld->tenths()) * 100;
}

QString Ttextdlg::audioPath() const {
    return audioPath_.trimmed();
}

void Ttextdlg::setAudioPath(const QString& path, const QString& shown) {
    audioPath_ = path;
    Edit4->setText(shown);
    SpeedButton2->setEnabled(!path.trimmed().isEmpty());
}

// The thumbnail's picture, above its name, fitted whole into the box: a thumbnail drawn larger than
// the start size has its picture grown alike.
void Ttextdlg::showThumbnail() {
    // The thumbnail may carry more device pixels than pixels.
    const qreal ratio = thumbnail_.devicePixelRatio();
    const qreal grown = qMax<qreal>(1, thumbnail_.width() / ratio / ThumbnailWidth);
    const QSize box = (QSizeF(PictureWidth, PictureHeight) * ratio).toSize();
    QImage picture = thumbnail_.copy(QRectF(QPointF(), QSizeF(box) * grown).toRect());
    if (!picture.isNull() && picture.size() != box)
        picture = picture.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    picture.setDevicePixelRatio(ratio);
    Image1->setPixmap(QPixmap::fromImage(picture));
}

void Ttextdlg::showCaptionFont() {
    Memo1->setFont(storedFont(fontName_, fontSize_, fontStyle_));
    Memo1->setPalette(captionPalette(palette(), storedColor(fontColor_, palette())));
    previewCaption();
}

void Ttextdlg::previewCaption() {
    lookField_->setCaption(CheckBox2->isChecked() ? Memo1->toPlainText().trimmed() : QString(), Memo1->font(),
                           storedColor(fontColor_, palette()));
}

// The memo holds what the slide can store: 255 bytes of text, a line break counting as the blank
// it becomes.
void Ttextdlg::limitCaption() {
    const QString text = Memo1->toPlainText();
    if (text.toUtf8().size() <= MaxCaption)
        return;
    const QString kept = QString::fromUtf8(storedText(text, MaxCaption));
    QTextCursor cursor = Memo1->textCursor();
    const int position = cursor.position();
    const QSignalBlocker blocker(Memo1);
    Memo1->setPlainText(kept);
    cursor = Memo1->textCursor();
    cursor.setPosition(qMin(position, int(kept.size())));
    Memo1->setTextCursor(cursor);
}

void Ttextdlg::Button3Click() {
    QFont font = Memo1->font();
    QColor colour = storedColor(fontColor_, palette());
    const QString shownFamily = font.family();
    const QColor shownColour = colour;
    if (!dialogSeams().chooseFont(font, colour, this))
        return;
    fontChosen_ = true;
    // A face or colour the user left as shown keeps its stored form (a stand-in face, a system colour).
    if (font.family() != shownFamily)
        fontName_ = font.family();
    fontSize_ = font.pointSize() > 0 ? font.pointSize() : -font.pixelSize();
    fontStyle_ = quint8((font.bold() ? StoredBold : 0) | (font.italic() ? StoredItalic : 0) |
                        (font.underline() ? StoredUnderline : 0) | (font.strikeOut() ? StoredStrikeOut : 0));
    if (colour != shownColour)
        fontColor_ = qint32(colour.red() | (colour.green() << 8) | (colour.blue() << 16));
    showCaptionFont();
}

void Ttextdlg::SpeedButton1Click() {
    const QString start = audioPath().isEmpty() ? QString() : QFileInfo(audioPath()).absolutePath();
    const QString chosen = dialogSeams().getOpenFileName(this, tr("Open"), start, tr(AudioFilter));
    if (chosen.isEmpty())
        return;
    // A path that cannot be stored whole in the slide is refused rather than stored cut.
    if (!StoredPath::fits(chosen) || !QFileInfo(chosen).isFile()) {
        QApplication::beep();
        return;
    }
    setAudioPath(chosen, chosen);
    QPainter painter(&thumbnail_);
    painter.drawImage(QPoint(0, AudioMarkTop), Image2, QRect(0, 0, AudioMarkWidth, AudioMarkHeight));
    painter.end();
    showThumbnail();
}

void Ttextdlg::SpeedButton2Click() {
    if (audioPath().isEmpty())
        return;
    // A slide read from a show file may name a device or a FIFO: never a sound.
    if (!QFileInfo(audioPath()).isFile()) {
        QApplication::beep();
        return;
    }
    if (!MediaPlayer1->open(audioPath()) || !MediaPlayer1->play())
        QApplication::beep();
}

void Ttextdlg::Edit4KeyDown(int key) {
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        SpeedButton1Click();
        return;
    }
    if (Edit4->text().trimmed().isEmpty())
        return;
    if (rebuild_) {
        thumbnail_ = rebuild_(imagePath_, blankSlide_);
        showThumbnail();
    }
    setAudioPath(QString(), QString());
}

bool Ttextdlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Edit4 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Delete ||
            key == Qt::Key_Backspace) {
            Edit4KeyDown(key);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Ttextdlg::stopListening() {
    MediaPlayer1->stop();
    MediaPlayer1->close();
}

void Ttextdlg::BitBtn1Click() {
    if (!dlyfld->isValid()) {
        QApplication::beep();
        dlyfld->setFocus();
        return;
    }
    stopListening();
    done(Ok);
}

void Ttextdlg::Button1Click() {
    stopListening();
    done(Cancel);
}

void Ttextdlg::reject() {
    Button1Click();
}

void Ttextdlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void Ttextdlg::FormShow() {
    if (logicalDpiY() > 96)
        Panel1->setFixedHeight(60);
}

// ---- several slides at once ----

void Ttextdlg::showSeveral(int count, const Fields& differing) {
    buildContents();
    const QString various = tr("(various)");
    Label6->setText(QString::number(count));
    Label1->setText(tr("Images:"));
    Edit2->clear();
    Edit2->setPlaceholderText(tr("%1 images").arg(count));
    dlyfld->setRequired(!differing.delay);
    if (differing.delay)
        dlyfld->clear();
    for (auto [box, mixed] :
         {std::pair{CheckBox1, differing.holdForAudio}, std::pair{CheckBox2, differing.showText}}) {
        box->setTristate(mixed);
        if (mixed)
            box->setCheckState(Qt::PartiallyChecked);
    }
    if (differing.caption) {
        Memo1->clear();
        Memo1->setPlaceholderText(various);
    }
    // Deleting the shown text takes the audio off every slide.
    if (differing.audio)
        setAudioPath(QString(), various);
    noteShownValues();
}

Ttextdlg::Fields Ttextdlg::changedFields() const {
    Fields changed;
    changed.delay = dlyfld->text() != shown_.delay;
    changed.holdForAudio = CheckBox1->checkState() != shown_.holdForAudio;
    changed.showText = CheckBox2->checkState() != shown_.showText;
    changed.caption = Memo1->document()->isModified() || Memo1->toPlainText() != shown_.caption;
    changed.font = fontChosen_;
    changed.audio = audioPath_ != shown_.audioPath || Edit4->text() != shown_.audioText;
    return changed;
}

void Ttextdlg::forgetSeveral() {
    Label1->setText(tr("Image:"));
    Edit2->setPlaceholderText(QString());
    dlyfld->setRequired(true);
    CheckBox1->setTristate(false);
    CheckBox2->setTristate(false);
    Memo1->setPlaceholderText(QString());
    fontChosen_ = false;
}

void Ttextdlg::noteShownValues() {
    shown_ = {dlyfld->text(), Memo1->toPlainText(),    audioPath_,
              Edit4->text(),  CheckBox1->checkState(), CheckBox2->checkState()};
    Memo1->document()->setModified(false);
}
