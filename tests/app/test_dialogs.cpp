// SPDX-License-Identifier: MIT
// The preferences dialog and the confirmation dialog, driven through their real buttons and keys
// while they run modally, and the order Tab takes the dialogs' controls in.

#include "appearance.h"
#include "confirm_dialog.h"
#include "ovc_simple_field.h"
#include "pref_dialog.h"
#include "qt_application_environment.h"
#include "settings.h"
#include "shorten_middle.h"
#include "show_document.h"
#include "show_extension.h"
#include "show_motion.h"
#include "test_shows.h"
#include "text_dialog.h"

#include <QUndoStack>

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGuiApplication>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

testing::Environment* const qtApplication =
    testing::AddGlobalTestEnvironment(new QtApplicationEnvironment<QApplication>);

// Runs the action as soon as the dialog is the modal window on screen, as a person would.
void whenShown(QDialog& dialog, std::function<void()> action) {
    auto* poll = new QTimer(&dialog);
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, &dialog, [poll, &dialog, action] {
        // Keys reach the dialog's shortcuts only once it is the active window.
        if (!dialog.isVisible() || QApplication::activeModalWidget() != &dialog ||
            QApplication::activeWindow() != &dialog)
            return;
        poll->stop();
        poll->deleteLater();
        action();
    });
    poll->start();
}

template <typename T> T* child(QWidget& parent, const char* name) {
    T* w = parent.findChild<T*>(QLatin1String(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

void click(QWidget& dialog, const char* button) {
    QTest::mouseClick(child<QPushButton>(dialog, button), Qt::LeftButton);
}

// ---- Preferences ----

class Preferences : public testing::Test {
  protected:
    TprefFrm dialog;
    Settings settings = Settings::defaults();
    ShowDocument show;

    void SetUp() override {
        settings.DefaultDelay = 20;
        settings.HoldSlideForAudio = false;
        settings.ShowTextOnEachSlide = false;
        settings.ShowSlideControls = false;
        settings.LoopSlideShow = false;
        settings.HideEditor = true;
        for (int i = 0; i < 3; ++i)
            test_shows::append(show, {test_shows::slide(show, "BLANK", [i](TSlideRecord& r) {
                                   r.Delay = static_cast<std::uint8_t>(10 + i);
                                   r.HoldForAudio = i == 1;
                                   r.ShowText = i == 2;
                               })});
    }
    bool checked(const char* box) { return child<QCheckBox>(dialog, box)->isChecked(); }
    TOvcSimpleField* delay() { return child<TOvcSimpleField>(dialog, "dlyfld"); }
    int run() { return runPreferences(dialog, settings, show, agree); }

    // The question before the slides take the defaults, answered with `agreeing`.
    QStringList asked;
    bool agreeing = false;
    AgreeToDefaults agree = [this](const QString& question) {
        asked.append(question);
        return agreeing;
    };
};

// The appearance chosen is kept in the settings and the program takes it at once: Dark and Light
// draw with Fusion and their palettes; System, with no portal to ask, goes back to the platform's look.
TEST_F(Preferences, TheAppearanceChosenIsKeptAndTakenAtOnce) {
    const QPalette platform = QApplication::palette();
    settings.Appearance = QStringLiteral("Light");
    for (const char* chosen : {"Dark", "Light", "System"}) {
        SCOPED_TRACE(chosen);
        whenShown(dialog, [&] {
            QComboBox* box = child<QComboBox>(dialog, "AppearanceBox");
            EXPECT_EQ(box->currentText(), settings.Appearance) << "shows the setting";
            box->setCurrentText(QLatin1String(chosen));
            click(dialog, "Button1");
        });
        EXPECT_EQ(run(), 1);
        EXPECT_EQ(settings.Appearance, QLatin1String(chosen));
        if (QLatin1String(chosen) == QLatin1String("Dark")) {
            EXPECT_EQ(QApplication::palette().color(QPalette::Base), darkPalette().color(QPalette::Base));
        } else if (QLatin1String(chosen) == QLatin1String("Light")) {
            EXPECT_EQ(QApplication::palette().color(QPalette::Window),
                      lightPalette().color(QPalette::Window));
        } else if (desktopColorScheme() == ColorScheme::None) {
            EXPECT_EQ(QApplication::palette().color(QPalette::Base), platform.color(QPalette::Base));
        }
    }
}

TEST_F(Preferences, ResetThenCancelOrEscLeavesEverySettingAsItWas) {
    for (const bool useEsc : {false, true}) {
        SCOPED_TRACE(useEsc ? "Esc" : "Cancel");
        const Settings before = settings;
        Settings duringReset;
        whenShown(dialog, [&] {
            click(dialog, "Button2");
            duringReset = settings;
            EXPECT_EQ(delay()->text(), "5");
            EXPECT_TRUE(checked("CheckBox1") && checked("CheckBox2") && checked("CheckBox3") &&
                        checked("CheckBox4"));
            EXPECT_TRUE(checked("CheckBox5")) << "shows the current HideEditor";
            if (useEsc)
                QTest::keyClick(&dialog, Qt::Key_Escape);
            else
                click(dialog, "Button3");
        });

        EXPECT_EQ(run(), 2);

        // The reset changed the settings at once; closing without OK put them back.
        EXPECT_EQ(duringReset.DefaultDelay, 5);
        EXPECT_TRUE(duringReset.HoldSlideForAudio && duringReset.ShowTextOnEachSlide);
        EXPECT_EQ(settings.storedValues(), before.storedValues());
        EXPECT_EQ(show.slide(0).Delay, 10);
    }
}

// The slides' own times, holds and caption switches are the user's work: OK keeps the new defaults
// and gives them to the slides only when the user says Yes.
TEST_F(Preferences, OkAsksBeforeTheDefaultsReplaceTheSlidesOwnValues) {
    for (const bool yes : {false, true}) {
        SCOPED_TRACE(yes ? "Yes" : "No");
        agreeing = yes;
        asked.clear();
        show.markOpened();
        whenShown(dialog, [&] {
            delay()->selectAll();
            QTest::keyClicks(delay(), yes ? "8" : "9");
            click(dialog, "Button1");
        });

        EXPECT_EQ(run(), 1);

        EXPECT_EQ(asked, QStringList{"Give all 3 slides the default time, audio hold and caption setting?"});
        EXPECT_EQ(show.defaultDelay(), yes ? 8 : 9);
        EXPECT_EQ(settings.DefaultDelay, yes ? 8 : 9);
        EXPECT_EQ(show.ShowModified, yes);
        for (int i = 0; i < 3; ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(show.slide(i).Delay, yes ? 8 : 10 + i);
            EXPECT_EQ(show.slide(i).HoldForAudio, yes ? 0 : i == 1);
            EXPECT_EQ(show.slide(i).ShowText, yes ? 0 : i == 2);
        }
    }
    // Undo gives the slides their own values back.
    show.undo();
    EXPECT_EQ(show.slide(1).Delay, 11);
    EXPECT_EQ(show.slide(1).HoldForAudio, 1);

    // Slides that have the defaults already: nothing to ask, nothing changed.
    show.redo();
    asked.clear();
    show.markOpened();
    whenShown(dialog, [&] {
        child<QCheckBox>(dialog, "CheckBox2")->setChecked(true);
        child<QCheckBox>(dialog, "CheckBox2")->setChecked(false);
        click(dialog, "Button1");
    });
    EXPECT_EQ(run(), 1);
    EXPECT_TRUE(asked.isEmpty());
    EXPECT_FALSE(show.ShowModified);
}

// OK asks about the slides only when this visit changed the default time, audio hold or caption
// switch; other settings changed leave the slides as they are, unasked.
TEST_F(Preferences, OkAsksOnlyWhenTheSlidesDefaultsChangedInThisVisit) {
    const struct {
        const char* change;
        std::function<void(TprefFrm&)> make;
        bool asks;
    } rows[] = {
        {"nothing", [](TprefFrm&) {}, false},
        {"full screen", [](TprefFrm& d) { child<QCheckBox>(d, "FullScreenBox")->toggle(); }, false},
        {"cross-fade", [](TprefFrm& d) { child<QCheckBox>(d, "CrossFadeBox")->toggle(); }, false},
        {"loop", [](TprefFrm& d) { child<QCheckBox>(d, "CheckBox4")->toggle(); }, false},
        {"time",
         [](TprefFrm& d) {
             child<TOvcSimpleField>(d, "dlyfld")->selectAll();
             QTest::keyClicks(child<TOvcSimpleField>(d, "dlyfld"), "7");
         },
         true},
        {"audio hold", [](TprefFrm& d) { child<QCheckBox>(d, "CheckBox2")->toggle(); }, true},
        {"caption switch", [](TprefFrm& d) { child<QCheckBox>(d, "CheckBox3")->toggle(); }, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.change);
        asked.clear();
        show.markOpened();
        whenShown(dialog, [&] {
            row.make(dialog);
            click(dialog, "Button1");
        });
        EXPECT_EQ(run(), 1);
        EXPECT_EQ(asked.size(), row.asks ? 1 : 0);
        EXPECT_FALSE(show.ShowModified);
        EXPECT_EQ(show.slide(0).Delay, 10);
    }
}

// The reset button says what it does: OK after it gives every slide the defaults without asking.
TEST_F(Preferences, ResetThenOkGivesEverySlideFiveSecondsHoldAndCaptions) {
    show.markOpened();
    whenShown(dialog, [&] {
        click(dialog, "Button2");
        click(dialog, "Button1");
    });

    EXPECT_EQ(run(), 1);

    EXPECT_TRUE(asked.isEmpty());
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(show.slide(i).Delay, 5);
        EXPECT_EQ(show.slide(i).HoldForAudio, 1);
        EXPECT_EQ(show.slide(i).ShowText, 1);
    }
    EXPECT_TRUE(show.ShowModified);
    EXPECT_EQ(settings.DefaultDelay, 5);
    EXPECT_TRUE(settings.ShowSlideControls && settings.LoopSlideShow && settings.HideEditor);
}

TEST_F(Preferences, AnInvalidDisplayTimeKeepsTheDialogOpen) {
    bool stayedOpen = false;
    whenShown(dialog, [&] {
        TOvcSimpleField* field = delay();
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClick(field, Qt::Key_Return);
        click(dialog, "Button1");
        QMetaObject::invokeMethod(&dialog, "Button1Click");
        QTest::keyClicks(field, "0");
        QTest::keyClick(field, Qt::Key_Return);
        stayedOpen = dialog.isVisible() && !child<QPushButton>(dialog, "Button1")->isEnabled();
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, "42");
        click(dialog, "Button1");
    });

    agreeing = true;
    EXPECT_EQ(run(), 1);

    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(settings.DefaultDelay, 42);
    EXPECT_EQ(show.slide(0).Delay, 42);
}

// Tab takes each dialog's controls in reading order, OK and Cancel last, and comes round to the first.
TEST(Dialogs, TabTakesTheControlsInReadingOrder) {
    TprefFrm preferences;
    Ttextdlg properties;
    const std::pair<QWidget*, QStringList> dialogs[] = {
        {&preferences,
         {"dlyfld",        "CheckBox2",      "CheckBox3",       "CheckBox4",        "CheckBox5",
          "CheckBox1",     "Button2",        "FullScreenBox",   "ScreenBox",        "CrossFadeBox",
          "CrossFadeTime", "CaptionBandBox", "GentleMotionBox", "AppearanceBox",    "ReduceMotionBox",
          "TransitionBox", "TransitionTime", "FillBox",         "FillColourButton", "CaptionPlaceBox",
          "Button1",       "Button3"}},
        {&properties,
         {"dlyfld", "Edit2", "Edit4", "SpeedButton1", "SpeedButton2", "MotionBox", "FillBox",
          "FillColourButton", "CaptionPlaceBox", "TransitionBox", "TransitionTime", "CheckBox1", "CheckBox2",
          "CaptionFromBox", "TitleBox", "Memo1", "Button3", "BitBtn1", "Button1"}}};
    for (const auto& [dialog, expected] : dialogs) {
        QWidget* const first = child<QWidget>(*dialog, "dlyfld");
        QStringList order;
        QWidget* w = first;
        do {
            // A spin box's own line edit takes the focus with it.
            if ((w->focusPolicy() & Qt::TabFocus) && !w->objectName().startsWith(QLatin1String("qt_")))
                order << w->objectName();
            w = w->nextInFocusChain();
        } while (w != first && order.size() <= expected.size());
        EXPECT_EQ(order.join(QLatin1Char(' ')).toStdString(), expected.join(QLatin1Char(' ')).toStdString())
            << dialog->objectName().toStdString();
    }
}

// How the viewer presents a show sits beside the defaults, which keep their places; OK takes it, Cancel
// does not (the caption style among them, kept by the show), and a screen choice left alone keeps a screen
// that is not connected now (choosing another screen is tested where there are several).
TEST_F(Preferences, PresentingChoicesBesideTheDefaults) {
    settings.ViewerScreen = QStringLiteral("projector-not-connected");
    settings.CrossFadeTime = 1500;
    int defaultsRight = 0, presentingLeft = 0;
    QString screenShown;
    bool timeEnabled = true;
    whenShown(dialog, [&] {
        for (const char* name : {"dlyfld", "CheckBox2", "CheckBox1", "Button2", "Button3"})
            defaultsRight = std::max(defaultsRight, child<QWidget>(dialog, name)->geometry().right());
        presentingLeft = child<QWidget>(dialog, "ScreenBox")->geometry().left();
        screenShown = child<QComboBox>(dialog, "ScreenBox")->currentData().toString();
        timeEnabled = child<QWidget>(dialog, "CrossFadeTime")->isEnabled();
        click(dialog, "Button1");
    });
    EXPECT_EQ(run(), 1);
    EXPECT_GT(presentingLeft, defaultsRight);
    EXPECT_EQ(screenShown, QGuiApplication::primaryScreen()->name()) << "the main window's screen";
    EXPECT_FALSE(timeEnabled);
    EXPECT_EQ(settings.ViewerScreen, QStringLiteral("projector-not-connected"));
    EXPECT_EQ(settings.crossFadeMs(), 0);

    for (const bool ok : {false, true}) {
        SCOPED_TRACE(ok ? "OK" : "Cancel");
        whenShown(dialog, [&] {
            child<QCheckBox>(dialog, "FullScreenBox")->setChecked(true);
            child<QCheckBox>(dialog, "CrossFadeBox")->setChecked(true);
            child<QDoubleSpinBox>(dialog, "CrossFadeTime")->setValue(0.4);
            child<QCheckBox>(dialog, "CaptionBandBox")->setChecked(true);
            click(dialog, ok ? "Button1" : "Button3");
        });
        run();
        // The caption style is the show's own.
        EXPECT_EQ(ShowExtension::captions(show.showData()) == ShowExtension::Captions::Band, ok);
        EXPECT_EQ(settings.FullScreen, ok);
        EXPECT_EQ(settings.crossFadeMs(), ok ? 400 : 0);
        EXPECT_EQ(settings.ViewerScreen, QStringLiteral("projector-not-connected"));
    }
}

// Gentle motion is given once, on OK, to every slide, varied from slide to slide, as one step that
// Undo takes back whole; the box is unchecked again the next time.
TEST_F(Preferences, GentleMotionGivesEverySlideItsOwnMotionInOneStep) {
    show.replace(1, {show.slide(1), show.thumbnail(1), QJsonObject{{"later", true}}});
    const int steps = show.history().count();
    for (const bool ok : {false, true}) {
        whenShown(dialog, [&] {
            EXPECT_FALSE(checked("GentleMotionBox"));
            child<QCheckBox>(dialog, "GentleMotionBox")->setChecked(true);
            click(dialog, ok ? "Button1" : "Button3");
        });
        run();
    }
    EXPECT_EQ(show.history().count(), steps + 1);
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(ShowMotion::motion(show.extra(i))) << i;
    EXPECT_NE(ShowMotion::motion(show.extra(0)), ShowMotion::motion(show.extra(1)));
    EXPECT_NE(ShowMotion::motion(show.extra(1)), ShowMotion::motion(show.extra(2)));
    EXPECT_EQ(show.extra(1).value("later"), true);
    show.undo();
    EXPECT_FALSE(ShowMotion::motion(show.extra(0)));
    EXPECT_EQ(show.extra(1), (QJsonObject{{"later", true}}));
}

// ---- Confirmation dialog ----

struct Visible {
    bool yes, no, cancel;
    QString title, noCaption;
};

Visible visibleButtons(Tconfirmfrm& d) {
    return {child<QPushButton>(d, "Button3")->isVisible(), child<QPushButton>(d, "Button1")->isVisible(),
            child<QPushButton>(d, "Button2")->isVisible(), d.windowTitle(),
            child<QPushButton>(d, "Button1")->text()};
}

TEST(ConfirmDialog, ModesShowTheirButtonsAndReturnTheAnswer) {
    enum Call { AskWithCancel, AskWithoutCancel, ErrorMessage, InformationMessage };
    struct Row {
        const char* name;
        Call call;
        std::function<void(Tconfirmfrm&)> answer;
        int result;
        Visible expected;
    };
    const Visible withCancel{true, true, true, "Confirm", "&No"};
    const Visible withoutCancel{true, true, false, "Confirm", "&No"};
    const auto press = [](const char* name) { return [name](Tconfirmfrm& d) { click(d, name); }; };
    const auto key = [](Qt::Key k) {
        return [k](Tconfirmfrm& d) {
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &d, k);
        };
    };
    // The window's close box, as the window system reports a click on it.
    const auto closeBox = [](Tconfirmfrm& d) {
        QCloseEvent close;
        QCoreApplication::sendEvent(d.windowHandle(), &close);
    };
    const Row rows[] = {
        {"yes", AskWithCancel, press("Button3"), 4, withCancel},
        {"no", AskWithCancel, press("Button1"), 1, withCancel},
        {"cancel", AskWithCancel, press("Button2"), 2, withCancel},
        {"enterIsNo", AskWithCancel, key(Qt::Key_Return), 1, withCancel},
        {"escIsCancel", AskWithCancel, key(Qt::Key_Escape), 2, withCancel},
        {"closeBoxIsCancel", AskWithCancel, closeBox, 2, withCancel},
        {"yesWithoutCancel", AskWithoutCancel, press("Button3"), 4, withoutCancel},
        {"noWithoutCancel", AskWithoutCancel, press("Button1"), 1, withoutCancel},
        {"escIsNoWithoutCancel", AskWithoutCancel, key(Qt::Key_Escape), 1, withoutCancel},
        {"closeBoxIsNoWithoutCancel", AskWithoutCancel, closeBox, 1, withoutCancel},
        {"error", ErrorMessage, press("Button1"), 1, {false, true, false, "Error", "&OK"}},
        {"information", InformationMessage, press("Button1"), 1, {false, true, false, "Information", "&OK"}},
    };
    Tconfirmfrm dialog;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Visible seen{};
        QString line1, line2;
        whenShown(dialog, [&] {
            seen = visibleButtons(dialog);
            line1 = child<QLabel>(dialog, "Label1")->text();
            line2 = child<QLabel>(dialog, "Label2")->text();
            row.answer(dialog);
        });
        int result = 0;
        switch (row.call) {
        case AskWithCancel:
            result = dialog.ask("Question?", "second line");
            break;
        case AskWithoutCancel:
            result = dialog.ask("Question?", "second line", false);
            break;
        case ErrorMessage:
            result = dialog.message("Error", "Invalid Verasco File!");
            break;
        case InformationMessage:
            result = dialog.message("Information", "Done", "second line");
            break;
        }
        EXPECT_EQ(result, row.result);
        EXPECT_EQ(seen.yes, row.expected.yes);
        EXPECT_EQ(seen.no, row.expected.no);
        EXPECT_EQ(seen.cancel, row.expected.cancel);
        EXPECT_EQ(seen.title, row.expected.title);
        EXPECT_EQ(seen.noCaption, row.expected.noCaption);
        EXPECT_EQ(line1, row.call == ErrorMessage         ? "Invalid Verasco File!"
                         : row.call == InformationMessage ? "Done"
                                                          : "Question?");
        EXPECT_EQ(line2, row.call == ErrorMessage ? "" : "second line");
        EXPECT_EQ(dialog.windowTitle(), "Confirm");
    }
}

TEST(ConfirmDialog, LaysItselfOutForTheScreenResolution) {
    struct Row {
        Tconfirmfrm::Mode mode;
        int dpi, width, okLeft;
    };
    const Row rows[] = {
        {Tconfirmfrm::QuestionWithCancel, 96, 406, 168},
        {Tconfirmfrm::QuestionWithCancel, 120, 498, 207},
        {Tconfirmfrm::Question, 96, 326, 168},
        {Tconfirmfrm::Question, 144, 386, 207},
        {Tconfirmfrm::Message, 72, 326, 132},
        {Tconfirmfrm::Message, 97, 386, 146},
    };
    Tconfirmfrm dialog;
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.mode) + " at " + std::to_string(row.dpi));
        dialog.setMode(row.mode);
        dialog.layoutFor(row.dpi);
        EXPECT_EQ(dialog.width(), row.width);
        const QRect yes = child<QPushButton>(dialog, "Button3")->geometry();
        const QRect no = child<QPushButton>(dialog, "Button1")->geometry();
        const QRect cancel = child<QPushButton>(dialog, "Button2")->geometry();
        EXPECT_EQ(no.left(), row.okLeft);
        if (row.mode != Tconfirmfrm::Message) {
            EXPECT_LT(yes.right(), no.left()) << "Yes comes first from the left";
        }
        if (row.mode == Tconfirmfrm::QuestionWithCancel) {
            EXPECT_LT(no.right(), cancel.left());
            EXPECT_LE(cancel.right(), dialog.width());
        }
        EXPECT_LE(child<QLabel>(dialog, "Label2")->geometry().right(), dialog.width());
    }
}

TEST(ConfirmDialog, ShorteningDeletesFromTheMiddleThenInsertsDots) {
    const auto atMost = [](int n) { return [n](const QString& t) { return t.size() <= n; }; };
    // "abcdefghij": e, d, f, c, g, b go (each the character at position length div 2), leaving "ahij";
    // the dots go in front of its second character.
    EXPECT_EQ(shortenMiddle("abcdefghij", atMost(7)), "a...hij");
    EXPECT_EQ(shortenMiddle("abcdefghij", atMost(10)), "abcdefghij");
    EXPECT_EQ(shortenMiddle("abcdefghij", atMost(12)), "abcdefghij");
    // "abcdefghijk": e, f, d, g go, leaving "abchijk"; the dots go in front of its third character.
    EXPECT_EQ(shortenMiddle("abcdefghijk", atMost(10)), "ab...chijk");
    // Nothing fits: the deleting stops at one character instead of running for ever.
    EXPECT_EQ(shortenMiddle("xy", atMost(0)), "...y");
}

TEST(ConfirmDialog, TheSaveQuestionNamesAShowFileOnItsSecondLine) {
    const QString longName = "/home/ann/" + QString(300, 'x') + "/holiday.vrs";
    struct Row {
        QString field;
        QString line1;
        bool quoted;
    };
    const QString plain = "Do you want to save the changes you made?";
    const QString naming = "Do you want to save the changes you made to";
    const Row rows[] = {
        {"", plain, false},
        {"   ", plain, false},
        {"/home/ann/trip.VRS", naming, true},
        {"/home/ann/my.shows/trip.vrs", naming, true},
        {"/home/ann/trip.txt", plain, false},
        {longName, naming, true},
    };
    Tconfirmfrm dialog;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.field.left(40).toStdString());
        QString line1, line2;
        int room = 0, used = 0;
        whenShown(dialog, [&] {
            const QLabel* label2 = child<QLabel>(dialog, "Label2");
            line1 = child<QLabel>(dialog, "Label1")->text();
            line2 = label2->text();
            room = label2->width();
            used = QFontMetrics(label2->font()).horizontalAdvance(line2);
            click(dialog, "Button2");
        });

        EXPECT_EQ(dialog.askSaveChanges(row.field), 2);

        EXPECT_EQ(line1, row.line1);
        if (!row.quoted) {
            EXPECT_EQ(line2, "");
        } else if (row.field == longName) {
            EXPECT_TRUE(line2.startsWith("\"/home/")) << line2.toStdString();
            EXPECT_TRUE(line2.endsWith("holiday.vrs\"?")) << line2.toStdString();
            EXPECT_TRUE(line2.contains("...xx"));
            EXPECT_LE(used, room);
            EXPECT_GT(used, room / 2);
        } else {
            EXPECT_EQ(line2, "\"" + row.field + "\"?");
        }
    }
}

} // namespace
