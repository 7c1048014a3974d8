// SPDX-License-Identifier: MIT
#include "pref_dialog.h"

#include "appearance.h"
#include "help_viewer.h"
#include "look_field.h"
#include "named_widget.h"
#include "ovc_simple_field.h"
#include "settings.h"
#include "show_document.h"
#include "show_extension.h"
#include "show_motion.h"
#include "transition_field.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>

namespace {

// The six values the dialog edits, to put back when it is not confirmed.
struct ShowDefaults {
    int DefaultDelay;
    bool HoldSlideForAudio, ShowTextOnEachSlide, ShowSlideControls, LoopSlideShow, HideEditor;

    static ShowDefaults of(const Settings& s) {
        return {s.DefaultDelay,      s.HoldSlideForAudio, s.ShowTextOnEachSlide,
                s.ShowSlideControls, s.LoopSlideShow,     s.HideEditor};
    }
    void restore(Settings& s) const {
        s.DefaultDelay = DefaultDelay;
        s.HoldSlideForAudio = HoldSlideForAudio;
        s.ShowTextOnEachSlide = ShowTextOnEachSlide;
        s.ShowSlideControls = ShowSlideControls;
        s.LoopSlideShow = LoopSlideShow;
        s.HideEditor = HideEditor;
    }
};

} // namespace

TprefFrm::TprefFrm(QWidget* parent, ContentsTiming timing) : DeferredWindow(parent) {
    setObjectName(QStringLiteral("prefFrm"));
    setWindowTitle(tr("Verasco Preferences"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    buildContentsIfNow(timing);
}

void TprefFrm::build() {
    dlyfld = named(new TOvcSimpleField(this), "dlyfld");
    dlyfld->setRange(1, 255);
    dlyfld->setMaxDigits(3);
    dlyfld->setRequired(true);
    dlyfld->setFixedWidth(48);
    Label1 = named(new QLabel(tr("Default Image Ti&me"), this), "Label1");
    Label1->setBuddy(dlyfld);
    Label2 = named(new QLabel(tr("seconds"), this), "Label2");
    CheckBox2 = named(new QCheckBox(tr("&Use Time of Attached Audio when Available"), this), "CheckBox2");
    CheckBox3 = named(new QCheckBox(tr("&Show Text with each image"), this), "CheckBox3");
    CheckBox4 = named(new QCheckBox(tr("&Loop Verasco"), this), "CheckBox4");
    CheckBox5 = named(new QCheckBox(tr("&Hide Editor during Verasco"), this), "CheckBox5");
    CheckBox1 = named(new QCheckBox(tr("Display &Controls during Verasco"), this), "CheckBox1");
    Button2 = named(new QPushButton(tr("&Reset All Images to Default Settings"), this), "Button2");
    Button1 = named(new QPushButton(tr("OK"), this), "Button1");
    Button3 = named(new QPushButton(tr("Cancel"), this), "Button3");
    Button1->setDefault(true);

    auto* delayRow = new QHBoxLayout;
    delayRow->addWidget(Label1);
    delayRow->addWidget(dlyfld);
    delayRow->addWidget(Label2);
    delayRow->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button3);
    auto* defaults = new QVBoxLayout;
    defaults->addLayout(delayRow);
    for (QWidget* w :
         std::initializer_list<QWidget*>{CheckBox2, CheckBox3, CheckBox4, CheckBox5, CheckBox1, Button2})
        defaults->addWidget(w);
    defaults->addLayout(buttons);
    // The viewer's presentation goes beside the defaults, which keep their places.
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(defaults);
    layout->addLayout(buildPresentingControls());
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // In reading order, the defaults before the presentation beside them, OK and Cancel last.
    QWidget* const order[] = {dlyfld,
                              CheckBox2,
                              CheckBox3,
                              CheckBox4,
                              CheckBox5,
                              CheckBox1,
                              Button2,
                              FullScreenBox,
                              ScreenBox,
                              CrossFadeBox,
                              CrossFadeTime,
                              CaptionBandBox,
                              GentleMotionBox,
                              AppearanceBox,
                              ReduceMotionBox,
                              transitionField_->chooser(),
                              transitionField_->timeBox(),
                              lookField_->firstChoice(),
                              lookField_->colourButton(),
                              lookField_->lastChoice(),
                              Button1,
                              Button3};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);

    connect(Button1, &QPushButton::clicked, this, &TprefFrm::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TprefFrm::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TprefFrm::Button3Click);
    connect(dlyfld, &TOvcSimpleField::validityChanged, Button1, &QPushButton::setEnabled);
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [] { showHelpContext(HelpContext); });
}

QLayout* TprefFrm::buildPresentingControls() {
    FullScreenBox = named(new QCheckBox(tr("&Full Screen"), this), "FullScreenBox");
    ScreenLabel = named(new QLabel(tr("Scr&een"), this), "ScreenLabel");
    ScreenBox = named(new QComboBox(this), "ScreenBox");
    // The dialog keeps its size whatever the screens are called; a long name is shown shortened.
    ScreenBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    ScreenBox->setMinimumContentsLength(22);
    ScreenLabel->setBuddy(ScreenBox);
    CrossFadeBox = named(new QCheckBox(tr("Cr&oss-fade"), this), "CrossFadeBox");
    CrossFadeTime = named(new QDoubleSpinBox(this), "CrossFadeTime");
    CrossFadeTime->setRange(Settings::MinCrossFadeTime / 1000.0, Settings::MaxCrossFadeTime / 1000.0);
    CrossFadeTime->setDecimals(1);
    CrossFadeTime->setSingleStep(0.1);
    CrossFadeTime->setAccessibleName(tr("Cross-fade time in seconds"));
    CrossFadeUnit = named(new QLabel(tr("seconds"), this), "CrossFadeUnit");
    connect(CrossFadeBox, &QCheckBox::toggled, CrossFadeTime, &QWidget::setEnabled);
    CaptionBandBox = named(new QCheckBox(tr("Captions on a &band over the picture"), this), "CaptionBandBox");
    AppearanceLabel = named(new QLabel(tr("&Appearance"), this), "AppearanceLabel");
    AppearanceBox = named(new QComboBox(this), "AppearanceBox");
    for (const char* appearance : {QT_TR_NOOP("System"), QT_TR_NOOP("Light"), QT_TR_NOOP("Dark")})
        AppearanceBox->addItem(tr(appearance), QLatin1String(appearance));
    AppearanceLabel->setBuddy(AppearanceBox);
    ReduceMotionLabel = named(new QLabel(tr("Reduce mo&tion"), this), "ReduceMotionLabel");
    ReduceMotionBox = named(new QComboBox(this), "ReduceMotionBox");
    for (const char* choice : {QT_TR_NOOP("System"), QT_TR_NOOP("On"), QT_TR_NOOP("Off")})
        ReduceMotionBox->addItem(tr(choice), QLatin1String(choice));
    ReduceMotionLabel->setBuddy(ReduceMotionBox);
    GentleMotionBox = named(new QCheckBox(tr("Give every slide &gentle motion"), this), "GentleMotionBox");
    transitionField_ = new TransitionField(tr("Cross-fade as set"), this);
    lookField_ = new LookField(LookField::Level::Show, this);

    auto* grid = new QGridLayout;
    grid->addWidget(FullScreenBox, 0, 0, 1, 3);
    grid->addWidget(ScreenLabel, 1, 0);
    grid->addWidget(ScreenBox, 1, 1, 1, 2);
    grid->addWidget(CrossFadeBox, 2, 0);
    grid->addWidget(CrossFadeTime, 2, 1);
    grid->addWidget(CrossFadeUnit, 2, 2);
    grid->addWidget(CaptionBandBox, 3, 0, 1, 3);
    grid->addWidget(GentleMotionBox, 4, 0, 1, 3);
    grid->addWidget(AppearanceLabel, 5, 0);
    grid->addWidget(AppearanceBox, 5, 1, 1, 2);
    grid->addWidget(ReduceMotionLabel, 6, 0);
    grid->addWidget(ReduceMotionBox, 6, 1, 1, 2);
    grid->addWidget(transitionField_, 7, 0, 1, 3);
    grid->addWidget(lookField_, 8, 0, 1, 3);
    grid->setRowStretch(9, 1);
    return grid;
}

void TprefFrm::fillFrom(Settings& settings) {
    buildContents();
    settings_ = &settings;
    resetPressed_ = false;
    GentleMotionBox->setChecked(false);
    dlyfld->setValue(settings.DefaultDelay);
    CheckBox2->setChecked(settings.HoldSlideForAudio);
    CheckBox3->setChecked(settings.ShowTextOnEachSlide);
    CheckBox4->setChecked(settings.LoopSlideShow);
    CheckBox5->setChecked(settings.HideEditor);
    CheckBox1->setChecked(settings.ShowSlideControls);
    FullScreenBox->setChecked(settings.FullScreen);
    ScreenBox->clear();
    for (const QScreen* screen : QGuiApplication::screens())
        ScreenBox->addItem(QStringLiteral("%1 (%2 x %3)")
                               .arg(screen->name())
                               .arg(screen->geometry().width())
                               .arg(screen->geometry().height()),
                           screen->name());
    // The screen chosen, or the main window's when it is not connected or none was chosen.
    const QScreen* mainScreen = parentWidget() ? parentWidget()->screen() : screen();
    screenShown_ = ScreenBox->findData(settings.ViewerScreen);
    if (settings.ViewerScreen.isEmpty() || screenShown_ < 0)
        screenShown_ = ScreenBox->findData(mainScreen->name());
    ScreenBox->setCurrentIndex(screenShown_);
    CrossFadeBox->setChecked(settings.CrossFade);
    CrossFadeTime->setValue(settings.CrossFadeTime / 1000.0);
    CrossFadeTime->setEnabled(settings.CrossFade);
    // The stored word, whatever the language the box shows it in; an unknown one leaves the choice.
    if (const int index = AppearanceBox->findData(settings.Appearance); index >= 0)
        AppearanceBox->setCurrentIndex(index);
    if (const int index = ReduceMotionBox->findData(settings.ReduceMotion); index >= 0)
        ReduceMotionBox->setCurrentIndex(index);
    dlyfld->setFocus();
}

void TprefFrm::takeInto(Settings& settings) const {
    buildContents();
    settings.DefaultDelay = dlyfld->value();
    settings.HoldSlideForAudio = CheckBox2->isChecked();
    settings.ShowTextOnEachSlide = CheckBox3->isChecked();
    settings.LoopSlideShow = CheckBox4->isChecked();
    settings.HideEditor = CheckBox5->isChecked();
    settings.ShowSlideControls = CheckBox1->isChecked();
    settings.FullScreen = FullScreenBox->isChecked();
    if (ScreenBox->currentIndex() != screenShown_)
        settings.ViewerScreen = ScreenBox->currentData().toString();
    settings.CrossFade = CrossFadeBox->isChecked();
    settings.CrossFadeTime = qRound(CrossFadeTime->value() * 1000);
    settings.Appearance = AppearanceBox->currentData().toString();
    settings.ReduceMotion = ReduceMotionBox->currentData().toString();
}

void TprefFrm::setViewerSwitchesEnabled(bool enabled) {
    buildContents();
    CheckBox1->setEnabled(enabled);
    CheckBox5->setEnabled(enabled);
}

void TprefFrm::Button2Click() {
    resetPressed_ = true;
    if (settings_) {
        settings_->DefaultDelay = 5;
        settings_->HoldSlideForAudio = true;
        settings_->ShowTextOnEachSlide = true;
    }
    dlyfld->setValue(5);
    CheckBox2->setChecked(true);
    CheckBox3->setChecked(true);
    CheckBox1->setChecked(true);
    CheckBox4->setChecked(true);
    if (settings_)
        CheckBox5->setChecked(settings_->HideEditor);
}

void TprefFrm::Button1Click() {
    if (!dlyfld->isValid()) {
        QApplication::beep();
        dlyfld->setFocus();
        return;
    }
    done(Ok);
}

void TprefFrm::Button3Click() {
    done(Cancel);
}

void TprefFrm::reject() {
    done(Cancel);
}

namespace {

// The three slide fields as the defaults of the settings would make them.
struct SlideDefaults {
    std::uint8_t Delay, HoldForAudio, ShowText;

    static SlideDefaults of(const Settings& s) {
        return {static_cast<std::uint8_t>(s.DefaultDelay), std::uint8_t(s.HoldSlideForAudio ? 1 : 0),
                std::uint8_t(s.ShowTextOnEachSlide ? 1 : 0)};
    }
    bool operator==(const SlideDefaults&) const = default;
    bool differFrom(const TSlideRecord& r) const {
        return r.Delay != Delay || (r.HoldForAudio != 0) != (HoldForAudio != 0) ||
               (r.ShowText != 0) != (ShowText != 0);
    }
};

bool anySlideDiffers(const ShowDocument& show, const SlideDefaults& defaults) {
    for (int i = 0; i < show.SlideCount; ++i)
        if (defaults.differFrom(show.slide(i)))
            return true;
    return false;
}

} // namespace

void TprefFrm::setCaptionBand(bool band) {
    buildContents();
    CaptionBandBox->setChecked(band);
}

bool TprefFrm::captionBand() const {
    return CaptionBandBox && CaptionBandBox->isChecked();
}

TransitionField& TprefFrm::transitionField() {
    buildContents();
    return *transitionField_;
}

bool TprefFrm::gentleMotion() const {
    return GentleMotionBox && GentleMotionBox->isChecked();
}

namespace {

// The picture's upright size from its file's header: a pan runs across its longer side. A picture
// that cannot be read counts as wide.
QSizeF uprightSize(const QString& path) {
    QImageReader reader(path);
    const QSize size = reader.size();
    if (size.isEmpty())
        return {4, 3};
    return reader.transformation() & QImageIOHandler::TransformationRotate90 ? size.transposed() : size;
}

void giveGentleMotion(ShowDocument& show) {
    std::vector<QSizeF> shapes;
    for (int i = 0; i < show.SlideCount; ++i)
        shapes.push_back(uprightSize(show.imagePath(i)));
    const std::vector<ShowMotion::Motion> motions = ShowMotion::gentleMotions(shapes);
    const ShowDocument::Step step(show, TprefFrm::tr("Gentle Motion"));
    for (int i = 0; i < show.SlideCount; ++i)
        show.replace(i,
                     {show.slide(i), show.thumbnail(i), ShowMotion::withMotion(show.extra(i), motions[i])});
}

} // namespace

int runPreferences(TprefFrm& dialog, Settings& settings, ShowDocument& show, const AgreeToDefaults& agree) {
    const ShowDefaults before = ShowDefaults::of(settings);
    const SlideDefaults visited = SlideDefaults::of(settings);
    dialog.fillFrom(settings);
    using ShowExtension::Captions;
    dialog.setCaptionBand(ShowExtension::captions(show.showData()) == Captions::Band);
    dialog.transitionField().load(show.showData());
    dialog.lookField().load(show.showData());
    const int result = dialog.exec();
    if (result != TprefFrm::Ok) {
        before.restore(settings);
        return result;
    }
    dialog.takeInto(settings);
    {
        const ShowDocument::Step step(show, TprefFrm::tr("Captions"));
        show.setShowData(dialog.lookField().storeInto(ShowExtension::withCaptions(
            show.showData(), dialog.captionBand() ? Captions::Band : Captions::Box)));
        show.setShowData(dialog.transitionField().storeInto(show.showData()));
    }
    if (dialog.gentleMotion())
        giveGentleMotion(show);
    applyAppearance(settings.Appearance);
    show.setDefaultDelay(settings.DefaultDelay);
    // A slide's own time, hold and caption switch are the user's work: they are replaced only when
    // the user says so, or asked for it with the reset button. Defaults this visit left as they were
    // are no question about the slides.
    const SlideDefaults defaults = SlideDefaults::of(settings);
    if ((!dialog.resetPressed() && defaults == visited) || !anySlideDiffers(show, defaults))
        return result;
    const QString question =
        TprefFrm::tr("Give all %1 slides the default time, audio hold and caption setting?")
            .arg(show.SlideCount);
    if (dialog.resetPressed() || agree(question)) {
        const ShowDocument::Step step(show, TprefFrm::tr("Default Settings"));
        show.giveEverySlide(defaults.Delay, defaults.HoldForAudio != 0, defaults.ShowText != 0);
    }
    return result;
}
