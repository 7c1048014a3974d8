// SPDX-License-Identifier: MIT
#pragma once
// The preferences dialog: the six show defaults of the settings, and a button that puts the
// defaults back; beside them, how the viewer presents a show (full screen, its screen, cross-fades)
// and how the program looks (its appearance).
// Confirmed with OK, three of the defaults are given to every slide of the show.

#include "deferred_window.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class LookField;
class QPushButton;
class ShowDocument;
class TOvcSimpleField;
class TransitionField;
struct Settings;

class TprefFrm : public DeferredWindow<QDialog> {
    Q_OBJECT
  public:
    enum Result { Ok = 1, Cancel = 2 };
    static constexpr int HelpContext = 30;

    explicit TprefFrm(QWidget* parent = nullptr, ContentsTiming timing = ContentsTiming::Now);

    // Shows the values of the settings; the reset button changes the six defaults directly.
    void fillFrom(Settings& settings);
    // Writes the values shown into the settings. A screen choice left as it was shown keeps the stored
    // one, also a screen that is not connected now.
    void takeInto(Settings& settings) const;
    // Whether "&Reset All Images to Default Settings" was pressed since the dialog was filled.
    bool resetPressed() const { return resetPressed_; }
    // "Captions on a &band over the picture": the show's caption style, shown and as chosen.
    void setCaptionBand(bool band);
    bool captionBand() const;
    // The show's own change between slides, loaded from and stored into the show's object.
    TransitionField& transitionField();
    // "Give every slide &gentle motion": unchecked each time the dialog is filled.
    bool gentleMotion() const;
    // The show's fill and caption place.
    LookField& lookField() {
        buildContents();
        return *lookField_;
    }
    // Greys out (or enables again) the two switches that cannot change while a show is open:
    // "Display &Controls during Verasco" and "&Hide Editor during Verasco".
    void setViewerSwitchesEnabled(bool enabled);

  public slots:
    // "&Reset All Images to Default Settings".
    void Button2Click();
    // OK: closes with result 1 only while the display time is a valid number.
    void Button1Click();
    void Button3Click();

  protected:
    void reject() override;

  private:
    void build() override;
    QLayout* buildPresentingControls();
    Settings* settings_ = nullptr;
    bool resetPressed_ = false;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    TOvcSimpleField* dlyfld = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QCheckBox* CheckBox2 = nullptr;
    QCheckBox* CheckBox3 = nullptr;
    QCheckBox* CheckBox4 = nullptr;
    QCheckBox* CheckBox5 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QCheckBox* FullScreenBox = nullptr;
    QLabel* ScreenLabel = nullptr;
    QComboBox* ScreenBox = nullptr;
    QCheckBox* CrossFadeBox = nullptr;
    QDoubleSpinBox* CrossFadeTime = nullptr;
    QLabel* CrossFadeUnit = nullptr;
    QCheckBox* CaptionBandBox = nullptr;
    QLabel* AppearanceLabel = nullptr;
    QComboBox* AppearanceBox = nullptr; // "System", "Light" or "Dark"
    QLabel* ReduceMotionLabel = nullptr;
    QComboBox* ReduceMotionBox = nullptr; // "System", "On" or "Off"
    QCheckBox* GentleMotionBox = nullptr;
    TransitionField* transitionField_ = nullptr;
    LookField* lookField_ = nullptr;
    int screenShown_ = -1;
};

// Asked before the slides of a show take the defaults: "Give all N slides ...?"; true for Yes.
using AgreeToDefaults = std::function<bool(const QString& question)>;

// The Edit menu's "Verasco P&references...": shows the dialog for the settings; on OK takes its
// values, and when any slide differs from the new default display time, hold-for-audio or caption
// switch, gives every slide those defaults: at once after the reset button, otherwise only when
// `agree` says Yes. Slides that change mark the show changed. On anything but OK puts the six
// values back as they were. The caption style is the show's own: on OK a change of it is one step of
// the show's history, and so is gentle motion given to every slide. Returns the dialog's result.
int runPreferences(TprefFrm& dialog, Settings& settings, ShowDocument& show, const AgreeToDefaults& agree);
