// SPDX-License-Identifier: MIT
#pragma once
// The settings dialog of a stand-alone export: what the show holds and where the package goes, and
// the QPX quality of the converted pictures (a slider of presets, and with "More" the three values
// themselves), and the system the package runs on ("Runs &on"). "&Save" is offered only when the
// three programs a package for that system carries are at hand and both factor fields hold a value
// from 0 to 255; where a build has no Windows programs, the dialog says so.

#include "deferred_window.h"
#include "package_programs.h"
#include "quality_presets.h"

#include <QDialog>

class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class QSlider;
class TOvcSimpleField;

class Tsaveexedlg : public DeferredWindow<QDialog> {
    Q_OBJECT
  public:
    static constexpr int HelpContext = 10;
    // Widths of Panel2, narrow and widened, up to 96 pixels per inch and above.
    static constexpr int NarrowWidth = 353, NarrowWidthLarge = 434;
    static constexpr int WideWidth = 531, WideWidthLarge = 654;

    explicit Tsaveexedlg(QWidget* parent = nullptr, ContentsTiming timing = ContentsTiming::Now);

    // The four facts of the upper panel: the package's path (the name chosen in the save dialog,
    // as it is spelled, named for the system chosen in "Runs &on" as it changes) and the counts.
    void setFacts(const QString& chosen, int slides, int imageFiles, int audioFiles);
    // Where the three programs are looked for when the dialog is shown.
    void setProgramsFolder(const QString& folder) { programsFolder_ = folder; }

    // The values in the fields now.
    QualityPreset quality() const;
    // The system chosen in "Runs &on".
    PackagePlatform platform() const;
    void setPlatform(PackagePlatform platform);

    // Places Panel2 and the dialog for the screen's resolution.
    void layoutFor(int pixelsPerInch);

  public slots:
    void FormCreate();
    void FormShow();
    void TrackBar1Change();
    // "More" and "Less".
    void BitBtn1Click();
    void BitBtn2Click();
    void Button3Click();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void build() override;
    void updateSave();
    void showPackageName();
    void createPanel1();
    void createPanel2();
    void createButtons();

    QString programsFolder_;
    QString chosen_;                           // the package's name as chosen in the save dialog
    bool programsPresent_[2] = {false, false}; // by PackagePlatform
    bool wide_ = false;
    int pixelsPerInch_ = 96;
    QFrame* Panel1 = nullptr;
    QFrame* Panel2 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label8 = nullptr;
    QSlider* TrackBar1 = nullptr;
    TOvcSimpleField* lumfld = nullptr;
    TOvcSimpleField* chromfld = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QComboBox* RunsOnBox = nullptr;
    QLabel* PlatformNote = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
};
