// SPDX-License-Identifier: MIT
#pragma once
// The program's windows with a show written straight into its document, the viewer, its media
// device, and a record of every slide the viewer put on screen, with the clock's time and whether
// sound was playing at that moment.

#include "app_windows.h"
#include "condition_wait.h"
#include "gui_test_support.h"
#include "main_window.h"
#include "media_device.h"
#include "shared_flags.h"
#include "show_document.h"
#include "show_form.h"
#include "test_shows.h"

#include <QLabel>
#include <QPointer>
#include <QSlider>
#include <QToolButton>
#include <QtTest/QTest>

struct Shown {
    int index;
    qint64 atMs;
    bool soundPlaying;
    qint64 soundPosition;
    bool fading; // the slide comes in by a cross-fade
};

struct NewSlide {
    QString image = {};
    int delay = 1;
    QString audio = {};
    bool hold = false;
    bool showText = false;
    QString text = {};
};

class ViewerFixture : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        windows.reset(createAppWindows());
        viewer = windows->showFrm;
        settings().LoopSlideShow = false;
        settings().HideEditor = false;
        settings().ShowSlideControls = true;
        settings().ReduceMotion = QStringLiteral("Off"); // whatever the desktop running the tests asks
        // A sound file that loads slowly on a very busy machine still plays.
        media().setOpenTimeoutMs(ConditionWaitMs);
        QObject::connect(viewer, &TshowFrm::slideShown, viewer, [this](int index) {
            shown.push_back({index, clock.nowMs(), media().isPlaying(), media().position(),
                             child<QWidget>("CrossFade")->isVisible()});
        });
    }
    void TearDown() override {
        if (viewer && viewer->isVisible())
            viewer->close();
    }

    TMainFormverasco& main() { return *windows->MainFormverasco; }
    ShowDocument& show() { return main().document(); }
    SharedFlags& flags() { return main().flags(); }
    Settings& settings() { return main().settings(); }
    MediaDevice& media() { return viewer->mediaPlayer(); }
    template <typename T> T* child(const char* name) { return viewer->findChild<T*>(QLatin1String(name)); }
    QSlider* speed() { return child<QSlider>("TrackBar1"); }
    QToolButton* button(const char* name) { return child<QToolButton>(name); }
    QString imageLabel() { return child<QLabel>("Label4")->text(); }

    QString picture(const char* name = "slide.png", QSize size = {64, 48}) {
        return writePicture(dir, QLatin1String(name), size);
    }
    QString wav(const char* name, int ms) { return writeWav(dir, QLatin1String(name), ms); }

    // A slide of these fields, changed further by `edit`; the show counts as unchanged.
    void addSlide(const NewSlide& fields, const test_shows::Edit& edit = {}) {
        const QString image = fields.image.isEmpty() ? picture() : fields.image;
        test_shows::append(show(), {test_shows::slide(show(), image, [&](TSlideRecord& r) {
                               r.Delay = std::uint8_t(fields.delay);
                               r.AudioFile.assign(QFile::encodeName(fields.audio).toStdString());
                               r.HoldForAudio = fields.hold;
                               r.ShowText = fields.showText;
                               r.Text.assign(fields.text.toStdString());
                               if (edit)
                                   edit(r);
                           })});
        show().markOpened(); // as a show read from a file
    }
    void addSlides(int n, int delay = 1) {
        for (int i = 0; i < n; ++i)
            addSlide({.image = picture(), .delay = delay});
    }

    // Opens the viewer from View > "Ver&asco" (no auto-play), its first picture on screen.
    void openViewer() {
        main().Slideshow1Click();
        ASSERT_TRUE(viewer->isVisible());
        waitForPicture();
    }
    // The slide on screen has its picture, decoded on another thread.
    void waitForPicture() {
        ASSERT_TRUE(QTest::qWaitFor([this] { return !viewer->pictureOnItsWay(); }, ConditionWaitMs));
    }

    std::vector<int> shownIndexes() const {
        std::vector<int> indexes;
        for (const Shown& s : shown)
            indexes.push_back(s.index);
        return indexes;
    }
    std::vector<qint64> shownTimes(qint64 since = 0) const {
        std::vector<qint64> times;
        for (const Shown& s : shown)
            times.push_back(s.atMs - since);
        return times;
    }

    FakeWaitClock clock;
    QTemporaryDir dir;
    std::unique_ptr<AppWindows> windows;
    QPointer<TshowFrm> viewer; // a test may destroy the windows while they wait
    std::vector<Shown> shown;
};
