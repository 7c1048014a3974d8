// SPDX-License-Identifier: MIT
// The settings dialog of the export: the quality presets behind the slider, More and Less, the
// facts of the show, and "&Save" offered only when the three programs are at hand.

#include "qt_application_environment.h"
#include "save_exe_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>

#include "ovc_simple_field.h"

namespace {

testing::Environment* const environment =
    testing::AddGlobalTestEnvironment(new QtApplicationEnvironment<QApplication>);

template <typename T> T* child(const Tsaveexedlg& d, const char* name) {
    return d.findChild<T*>(QLatin1String(name));
}

TEST(SaveExeDialog, TheSliderLoadsItsPresetAndOpensAtEleven) {
    Tsaveexedlg dialog;
    auto* slider = child<QSlider>(dialog, "TrackBar1");
    EXPECT_EQ(slider->value(), 11);
    const struct {
        int position, lum, chrom;
        const char* sub;
    } cases[] = {{20, 8, 10, "1/1/1"},  {17, 16, 18, "2/1/1"}, {14, 24, 28, "2/1/1"}, {13, 24, 28, "4/1/1"},
                 {11, 30, 34, "4/1/1"}, {3, 74, 74, "4/1/1"},  {1, 90, 90, "4/1/1"}};
    for (const auto& c : cases) {
        slider->setValue(c.position);
        EXPECT_EQ(child<TOvcSimpleField>(dialog, "lumfld")->text(), QString::number(c.lum)) << c.position;
        EXPECT_EQ(child<TOvcSimpleField>(dialog, "chromfld")->text(), QString::number(c.chrom)) << c.position;
        EXPECT_EQ(child<QComboBox>(dialog, "ComboBox1")->currentText(), QLatin1String(c.sub)) << c.position;
    }
}

TEST(SaveExeDialog, TheValuesInTheFieldsAreTheOnesUsed) {
    Tsaveexedlg dialog;
    child<QSlider>(dialog, "TrackBar1")->setValue(20);
    child<TOvcSimpleField>(dialog, "lumfld")->setText(QStringLiteral("99"));
    child<QComboBox>(dialog, "ComboBox1")->setCurrentIndex(1);
    const QualityPreset q = dialog.quality();
    EXPECT_EQ(q.luminance, 99);
    EXPECT_EQ(q.chrominance, 10);
    EXPECT_EQ(q.subSampling, 1);
}

TEST(SaveExeDialog, MoreWidensThePanelAndLessNarrowsItBack) {
    for (int dpi : {96, 120}) {
        Tsaveexedlg dialog;
        dialog.layoutFor(dpi);
        auto* panel = child<QFrame>(dialog, "Panel2");
        auto* more = child<QPushButton>(dialog, "BitBtn1");
        auto* less = child<QPushButton>(dialog, "BitBtn2");
        EXPECT_EQ(panel->width(), dpi > 96 ? 434 : 353);
        EXPECT_FALSE(more->isHidden());
        EXPECT_TRUE(less->isHidden());
        more->click();
        EXPECT_EQ(panel->width(), dpi > 96 ? 654 : 531);
        EXPECT_TRUE(more->isHidden());
        EXPECT_FALSE(less->isHidden());
        EXPECT_GE(dialog.width(), panel->geometry().right());
        less->click();
        EXPECT_EQ(panel->width(), dpi > 96 ? 434 : 353);
        EXPECT_FALSE(more->isHidden());
    }
}

// The package's name as spelled, for the system it runs on as that changes.
TEST(SaveExeDialog, ShowsTheTargetAsSpelledAndTheCounts) {
    Tsaveexedlg dialog;
    dialog.setFacts(QStringLiteral("/Home/Shows/Holiday.EXE"), 12, 9, 4);
    EXPECT_EQ(child<QLabel>(dialog, "Label5")->text(), QStringLiteral("/Home/Shows/Holiday.EXE"));
    dialog.setPlatform(PackagePlatform::Linux);
    EXPECT_EQ(child<QLabel>(dialog, "Label5")->text(), QStringLiteral("/Home/Shows/Holiday"));
    dialog.setFacts(QStringLiteral("/Home/Shows/Trip"), 12, 9, 4);
    EXPECT_EQ(child<QLabel>(dialog, "Label5")->text(), QStringLiteral("/Home/Shows/Trip"));
    child<QComboBox>(dialog, "RunsOnBox")->setCurrentText(QStringLiteral("Windows"));
    EXPECT_EQ(child<QLabel>(dialog, "Label5")->text(), QStringLiteral("/Home/Shows/Trip.exe"));
    EXPECT_EQ(child<QLabel>(dialog, "Label6")->text(), QStringLiteral("12"));
    EXPECT_EQ(child<QLabel>(dialog, "Label7")->text(), QStringLiteral("9"));
    EXPECT_EQ(child<QLabel>(dialog, "Label8")->text(), QStringLiteral("4"));
}

// "&Save" needs the three programs of the system chosen and a value from 0 to 255 in each factor
// field; a field without one shows the error colours. Where the Windows programs are missing, the
// dialog says that this build makes no Windows packages.
TEST(SaveExeDialog, SaveIsOfferedOnlyWithTheThreeProgramsOfTheSystemAndValidFactors) {
    const QStringList programs{"verasco1.dat", "verasco2.dat", "verasco3.dat"};
    const QStringList windowsPrograms{"verasco1w.dat", "verasco2w.dat", "verasco3w.dat"};
    const struct {
        int missing; // program, or -1
        const char* field;
        const char* text;
        bool offered;
    } rows[] = {{-1, "lumfld", "30", true},   {0, "lumfld", "30", false},     {1, "lumfld", "30", false},
                {2, "lumfld", "30", false},   {-1, "lumfld", "", false},      {-1, "chromfld", "", false},
                {-1, "lumfld", "999", false}, {-1, "chromfld", "256", false}, {-1, "chromfld", "255", true},
                {-1, "lumfld", "0", true}};
    for (const auto& r : rows) {
        SCOPED_TRACE(std::to_string(r.missing) + " " + r.field + "=" + r.text);
        QTemporaryDir folder;
        for (int i = 0; i < 3; ++i)
            if (i != r.missing) {
                QFile f(folder.filePath(programs[i]));
                ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            }
        Tsaveexedlg dialog;
        dialog.setProgramsFolder(folder.path());
        dialog.setPlatform(PackagePlatform::Linux);
        dialog.FormShow();
        auto* field = child<TOvcSimpleField>(dialog, r.field);
        field->setText(QLatin1String(r.text));
        EXPECT_EQ(child<QPushButton>(dialog, "Button1")->isEnabled(), r.offered);
        const bool errorColours = field->palette().color(QPalette::Base) == QColor(Qt::red);
        EXPECT_EQ(errorColours, r.missing < 0 && !r.offered);
        field->setText(QStringLiteral("30"));
        EXPECT_EQ(child<QPushButton>(dialog, "Button1")->isEnabled(), r.missing < 0) << "given back";
        EXPECT_EQ(child<QLabel>(dialog, "PlatformNote")->text(), QString());

        auto* runsOn = child<QComboBox>(dialog, "RunsOnBox");
        runsOn->setCurrentText(QStringLiteral("Windows"));
        EXPECT_EQ(dialog.platform(), PackagePlatform::Windows);
        EXPECT_FALSE(child<QPushButton>(dialog, "Button1")->isEnabled()) << "no Windows programs";
        EXPECT_EQ(child<QLabel>(dialog, "PlatformNote")->text(),
                  QStringLiteral("Windows packages are not available in this build."));
        EXPECT_FALSE(child<QLabel>(dialog, "PlatformNote")->isHidden());
        for (const QString& name : windowsPrograms) {
            QFile f(folder.filePath(name));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        }
        dialog.FormShow();
        EXPECT_EQ(child<QPushButton>(dialog, "Button1")->isEnabled(), true);
        EXPECT_EQ(child<QLabel>(dialog, "PlatformNote")->text(), QString());
        EXPECT_TRUE(child<QLabel>(dialog, "PlatformNote")->isHidden())
            << "no empty label for a screen reader";
    }
}

} // namespace
