// SPDX-License-Identifier: MIT
#include "save_exe_dialog.h"

#include "export_names.h"
#include "help_viewer.h"
#include "ovc_simple_field.h"
#include "package_programs.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSlider>

namespace {

constexpr int Margin = 8;
constexpr int Panel1Height = 88;
constexpr int Panel2Top = Margin + Panel1Height + Margin;
constexpr int Panel2Height = 156;
constexpr int ButtonTop = Panel2Top + Panel2Height + Margin;
constexpr int ButtonWidth = 75, ButtonHeight = 25;

template <typename T> T* named(T* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLabel* label(QWidget* parent, const char* name, const QString& text, QRect place,
              Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
    auto* l = named(new QLabel(text, parent), name);
    l->setGeometry(place);
    l->setAlignment(align);
    return l;
}

TOvcSimpleField* factorField(QWidget* parent, const char* name, QRect place) {
    auto* f = named(new TOvcSimpleField(parent), name);
    f->setRange(0, 255);
    f->setMaxDigits(3);
    f->setRequired(true);
    f->setGeometry(place);
    return f;
}

} // namespace

Tsaveexedlg::Tsaveexedlg(QWidget* parent, ContentsTiming timing) : DeferredWindow(parent) {
    setObjectName(QStringLiteral("saveexedlg"));
    setWindowTitle(tr("Stand-alone Verasco Settings"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    buildContentsIfNow(timing);
}

void Tsaveexedlg::build() {
    createPanel1();
    createPanel2();
    createButtons();
    FormCreate();
    layoutFor(96);
}

void Tsaveexedlg::createPanel1() {
    Panel1 = named(new QFrame(this), "Panel1");
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    const char* captions[] = {QT_TR_NOOP("Filename:"), QT_TR_NOOP("Total Images:"),
                              QT_TR_NOOP("Image Files:"), QT_TR_NOOP("Audio Files:")};
    const char* names[] = {"Label1", "Label2", "Label3", "Label4"};
    QLabel** values[] = {&Label5, &Label6, &Label7, &Label8};
    const char* valueNames[] = {"Label5", "Label6", "Label7", "Label8"};
    for (int i = 0; i < 4; ++i) {
        label(Panel1, names[i], tr(captions[i]), QRect(8, 6 + 19 * i, 84, 17));
        *values[i] = label(Panel1, valueNames[i], QString(), QRect(96, 6 + 19 * i, 240, 17));
    }
}

void Tsaveexedlg::createPanel2() {
    Panel2 = named(new QFrame(this), "Panel2");
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label(Panel2, "Label9", tr("Windows BMP Compression Quality Settings:"), QRect(8, 6, 330, 17));
    TrackBar1 = named(new QSlider(Qt::Horizontal, Panel2), "TrackBar1");
    TrackBar1->setRange(QualityMinimum, QualityMaximum);
    TrackBar1->setTickPosition(QSlider::TicksBelow);
    TrackBar1->setGeometry(8, 32, 329, 30);
    TrackBar1->setAccessibleName(tr("Image quality"));
    label(Panel2, "Label10", tr("Lower Image Quality"), QRect(8, 68, 160, 17));
    label(Panel2, "Label11", tr("Smaller File Size"), QRect(8, 86, 160, 17));
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    label(Panel2, "Label12", tr("Higher Image Quality"), QRect(177, 68, 160, 17), right);
    label(Panel2, "Label13", tr("Larger File Size"), QRect(177, 86, 160, 17), right);
    connect(TrackBar1, &QSlider::valueChanged, this, &Tsaveexedlg::TrackBar1Change);

    // Beyond the narrow width: the three values themselves.
    lumfld = factorField(Panel2, "lumfld", QRect(486, 30, 36, 21));
    chromfld = factorField(Panel2, "chromfld", QRect(486, 58, 36, 21));
    ComboBox1 = named(new QComboBox(Panel2), "ComboBox1");
    ComboBox1->addItems({QStringLiteral("1/1/1"), QStringLiteral("2/1/1"), QStringLiteral("4/1/1")});
    ComboBox1->setGeometry(456, 86, 66, 22);
    label(Panel2, "Label14", tr("&Luminance (0-255):"), QRect(360, 30, 122, 21))->setBuddy(lumfld);
    label(Panel2, "Label15", tr("Ch&rominance (0-255):"), QRect(360, 58, 122, 21))->setBuddy(chromfld);
    label(Panel2, "Label16", tr("Su&b-sampling:"), QRect(360, 86, 92, 22))->setBuddy(ComboBox1);
    for (TOvcSimpleField* field : {lumfld, chromfld})
        connect(field, &TOvcSimpleField::validityChanged, this, &Tsaveexedlg::updateSave);

    // The system the package runs on, in the order of PackagePlatform.
    RunsOnBox = named(new QComboBox(Panel2), "RunsOnBox");
    RunsOnBox->addItems({QStringLiteral("Windows"), QStringLiteral("Linux")});
    RunsOnBox->setGeometry(96, 108, 120, 22);
    label(Panel2, "Label17", tr("Runs &on:"), QRect(8, 108, 84, 22))->setBuddy(RunsOnBox);
    PlatformNote = label(Panel2, "PlatformNote", QString(), QRect(8, 132, 330, 17));
    connect(RunsOnBox, &QComboBox::currentIndexChanged, this, &Tsaveexedlg::updateSave);
    connect(RunsOnBox, &QComboBox::currentIndexChanged, this, &Tsaveexedlg::showPackageName);
}

void Tsaveexedlg::createButtons() {
    Button1 = named(new QPushButton(tr("&Save"), this), "Button1");
    Button2 = named(new QPushButton(tr("&Cancel"), this), "Button2");
    Button3 = named(new QPushButton(tr("&Help"), this), "Button3");
    BitBtn1 = named(new QPushButton(tr("More"), this), "BitBtn1");
    BitBtn2 = named(new QPushButton(tr("Less"), this), "BitBtn2");
    Button1->setDefault(true);
    BitBtn2->hide();
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    connect(Button3, &QPushButton::clicked, this, &Tsaveexedlg::Button3Click);
    connect(BitBtn1, &QPushButton::clicked, this, &Tsaveexedlg::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &Tsaveexedlg::BitBtn2Click);
}

void Tsaveexedlg::FormCreate() {
    TrackBar1->setValue(QualityOpening);
    TrackBar1Change();
}

void Tsaveexedlg::FormShow() {
    for (PackagePlatform p : {PackagePlatform::Windows, PackagePlatform::Linux})
        programsPresent_[int(p)] = PackagePrograms::present(programsFolder_, p);
    updateSave();
}

void Tsaveexedlg::updateSave() {
    const PackagePlatform chosen = platform();
    const bool present = programsPresent_[int(chosen)];
    // Only a missing Windows set is a build's choice; a missing Linux set is a broken install.
    PlatformNote->setText(chosen == PackagePlatform::Windows && !present
                              ? tr("Windows packages are not available in this build.")
                              : QString());
    // An empty note is not there for a screen reader either.
    PlatformNote->setVisible(!PlatformNote->text().isEmpty());
    Button1->setEnabled(present && lumfld->isValid() && chromfld->isValid());
}

// A package for Linux is named without ".exe", one for Windows with it.
void Tsaveexedlg::showPackageName() {
    Label5->setText(ExportNames::packageName(chosen_, platform()));
}

PackagePlatform Tsaveexedlg::platform() const {
    buildContents();
    return RunsOnBox->currentIndex() == int(PackagePlatform::Linux) ? PackagePlatform::Linux
                                                                    : PackagePlatform::Windows;
}

void Tsaveexedlg::setPlatform(PackagePlatform platform) {
    buildContents();
    RunsOnBox->setCurrentIndex(int(platform));
}

void Tsaveexedlg::TrackBar1Change() {
    const QualityPreset preset = qualityPreset(TrackBar1->value());
    lumfld->setValue(preset.luminance);
    chromfld->setValue(preset.chrominance);
    ComboBox1->setCurrentIndex(preset.subSampling);
}

void Tsaveexedlg::BitBtn1Click() {
    wide_ = true;
    BitBtn1->hide();
    BitBtn2->show();
    layoutFor(pixelsPerInch_);
}

void Tsaveexedlg::BitBtn2Click() {
    wide_ = false;
    BitBtn2->hide();
    BitBtn1->show();
    layoutFor(pixelsPerInch_);
}

void Tsaveexedlg::Button3Click() {
    showHelpContext(HelpContext);
}

void Tsaveexedlg::setFacts(const QString& chosen, int slides, int imageFiles, int audioFiles) {
    buildContents();
    chosen_ = chosen;
    showPackageName();
    Label6->setText(QString::number(slides));
    Label7->setText(QString::number(imageFiles));
    Label8->setText(QString::number(audioFiles));
}

QualityPreset Tsaveexedlg::quality() const {
    buildContents();
    return {lumfld->value(), chromfld->value(), ComboBox1->currentIndex()};
}

void Tsaveexedlg::layoutFor(int pixelsPerInch) {
    buildContents();
    pixelsPerInch_ = pixelsPerInch;
    const bool large = pixelsPerInch > 96;
    const int narrow = large ? NarrowWidthLarge : NarrowWidth;
    const int width = wide_ ? (large ? WideWidthLarge : WideWidth) : narrow;
    Panel1->setGeometry(Margin, Margin, narrow, Panel1Height);
    Panel2->setGeometry(Margin, Panel2Top, width, Panel2Height);
    const int step = ButtonWidth + Margin;
    QPushButton* row[] = {Button1, Button2, Button3};
    for (int i = 0; i < 3; ++i)
        row[i]->setGeometry(Margin + i * step, ButtonTop, ButtonWidth, ButtonHeight);
    for (QPushButton* b : {BitBtn1, BitBtn2})
        b->setGeometry(Margin + narrow - ButtonWidth, ButtonTop, ButtonWidth, ButtonHeight);
    setFixedSize(width + 2 * Margin, ButtonTop + ButtonHeight + Margin);
}

void Tsaveexedlg::showEvent(QShowEvent* event) {
    layoutFor(screen() ? qRound(screen()->logicalDotsPerInch()) : 96);
    FormShow();
    QDialog::showEvent(event);
}
