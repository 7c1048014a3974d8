// SPDX-License-Identifier: MIT
// The show's operations and its history: what each change does to the slides, what it announces, the
// modified flag, and Undo and Redo back and forth, with the thumbnails kept along.

#include "show_document.h"
#include "test_shows.h"

#include <QUndoStack>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

namespace {

// Slides named by their image file; each has a thumbnail of its own, one pixel wide, of its name's
// first letter as grey.
QList<ShowSlide> named(const ShowDocument& show, const std::string& names) {
    QList<ShowSlide> slides;
    for (char name : names) {
        ShowSlide slide = test_shows::slide(show, std::string_view(&name, 1));
        slide.thumbnail = QImage(1, 1, QImage::Format_RGB32);
        slide.thumbnail.fill(qRgb(name, name, name));
        slides.append(slide);
    }
    return slides;
}

// The slides' names in order, and whether each thumbnail is still the one of its name.
std::string names(const ShowDocument& show) {
    std::string result;
    for (int i = 0; i < show.SlideCount; ++i) {
        const std::string name = show.slide(i).ImageFile.str();
        const bool ownThumbnail =
            !name.empty() && show.thumbnail(i).pixel(0, 0) == qRgb(name[0], name[0], name[0]);
        result += ownThumbnail ? name : "?";
    }
    return result;
}

struct Operation {
    const char* what;
    std::function<void(ShowDocument&)> run;
    std::string after;
    std::vector<ShowChange::Kind> announced;
};

std::ostream& operator<<(std::ostream& out, const Operation& row) {
    return out << row.what;
}

class ShowOperation : public testing::TestWithParam<Operation> {};

TEST_P(ShowOperation, ChangesTheShowAndIsUndoneAndRedoneWithItsThumbnails) {
    const Operation& row = GetParam();
    ShowDocument show;
    test_shows::append(show, named(show, "PQRS"));
    show.markOpened();
    std::vector<ShowChange::Kind> announced;
    QObject::connect(&show, &ShowDocument::changed,
                     [&](const ShowChange& change) { announced.push_back(change.kind); });

    row.run(show);
    EXPECT_EQ(names(show), row.after);
    EXPECT_EQ(announced, row.announced);
    EXPECT_TRUE(show.ShowModified);
    ASSERT_EQ(show.history().count(), 1);

    show.history().undo();
    EXPECT_EQ(names(show), "PQRS");
    EXPECT_FALSE(show.ShowModified) << "back to the show as opened";
    show.history().redo();
    EXPECT_EQ(names(show), row.after);
    EXPECT_TRUE(show.ShowModified);
}

using Kind = ShowChange::Kind;
INSTANTIATE_TEST_SUITE_P(
    Operations, ShowOperation,
    testing::Values(
        Operation{"insert before slide 2",
                  [](ShowDocument& s) { s.insert(2, named(s, "AB")); },
                  "PQABRS",
                  {Kind::Inserted}},
        Operation{
            "append", [](ShowDocument& s) { s.append(named(s, "A").front()); }, "PQRSA", {Kind::Inserted}},
        Operation{"remove two",
                  [](ShowDocument& s) { EXPECT_EQ(s.remove(1, 2).size(), 2); },
                  "PS",
                  {Kind::Removed}},
        Operation{"move 0 onto 2", [](ShowDocument& s) { s.move(0, 2); }, "QRPS", {Kind::Moved}},
        Operation{"move 3 onto 1", [](ShowDocument& s) { s.move(3, 1); }, "PSQR", {Kind::Moved}},
        Operation{
            "replace", [](ShowDocument& s) { s.replace(1, named(s, "Z").front()); }, "PZRS", {Kind::Changed}},
        Operation{"two changes in one step",
                  [](ShowDocument& s) {
                      const ShowDocument::Step step(s, QStringLiteral("Cut and paste"));
                      const QList<ShowSlide> cut = s.remove(0);
                      s.insert(2, cut);
                  },
                  "QRPS",
                  {Kind::Removed, Kind::Inserted}}));

TEST(ShowHistory, GivingEverySlideTheDefaultsIsUndoneSlideBySlide) {
    ShowDocument show;
    test_shows::append(show, named(show, "PQ"));
    test_shows::edit(show, 1, [](TSlideRecord& r) {
        r.Delay = 42;
        r.ShowText = 1;
    });
    show.giveEverySlide(9, true, false);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(std::tuple(show.slide(i).Delay, show.slide(i).HoldForAudio, show.slide(i).ShowText),
                  std::tuple(9, 1, 0));
    show.history().undo();
    EXPECT_EQ(std::tuple(show.slide(0).Delay, show.slide(1).Delay, show.slide(1).ShowText),
              std::tuple(5, 42, 1));
    EXPECT_EQ(show.history().undoText(), QStringLiteral("Change Slides"));
}

TEST(ShowHistory, UndoAndRedoBackToTheSavedShowLeaveNothingToSave) {
    ShowDocument show;
    test_shows::append(show, named(show, "PQ"));
    show.markSaved();
    EXPECT_FALSE(show.ShowModified);
    show.move(0, 1);
    show.history().undo();
    EXPECT_FALSE(show.ShowModified);
    show.history().undo();
    EXPECT_TRUE(show.ShowModified) << "before the save";
    show.history().redo();
    EXPECT_FALSE(show.ShowModified);
    show.history().redo();
    EXPECT_TRUE(show.ShowModified);
}

TEST(ShowHistory, ClearingOrReadingAShowLeavesNothingToUndo) {
    const std::pair<const char*, std::function<void(ShowDocument&)>> wholeShow[] = {
        {"clear", [](ShowDocument& s) { s.clear(); }},
        {"load", [](ShowDocument& s) { s.load({s.freshRecord()}); }},
    };
    for (const auto& [what, change] : wholeShow) {
        SCOPED_TRACE(what);
        ShowDocument show;
        test_shows::append(show, named(show, "PQ"));
        change(show);
        EXPECT_FALSE(show.ShowModified);
        EXPECT_FALSE(show.history().canUndo());
        EXPECT_FALSE(show.history().canRedo());
    }
}

TEST(ShowHistory, AStepThatChangesNothingIsNotKeptAndKeepsWhatCanBeRedone) {
    ShowDocument show;
    test_shows::append(show, named(show, "PQ"));
    show.history().undo();
    {
        const ShowDocument::Step step(show, QStringLiteral("Nothing"));
        show.move(1, 1);
        show.remove(5);
        show.replace(0, show.at(0));
    }
    EXPECT_TRUE(show.history().canRedo());
    EXPECT_FALSE(show.history().canUndo());
}

TEST(ShowHistory, TheShowTakesFiveHundredSlidesAndUndoGoesBackAHundredSteps) {
    ShowDocument show;
    test_shows::fill(show, 498);
    EXPECT_EQ(show.insert(0, named(show, "ABC")), 2);
    EXPECT_EQ(show.SlideCount, ShowDocument::MaxSlides);
    EXPECT_EQ(show.insert(0, named(show, "D")), 0);
    for (int i = 0; i < 150; ++i)
        show.move(0, 1);
    int undone = 0;
    for (; show.history().canUndo(); ++undone)
        show.history().undo();
    EXPECT_EQ(undone, ShowDocument::HistorySteps);
}

TEST(ShowSlots, AFreshSlideHasTheDefaultTimeAndFontAndIndexesOutsideTheShowReadAsFresh) {
    ShowDocument show(7);
    TSlideRecord expected;
    std::memset(&expected, 0, sizeof expected);
    expected.Delay = 7;
    expected.FontName.assign(DefaultFontName);
    expected.FontSize = DefaultFontSize;
    EXPECT_EQ(std::memcmp(&show.freshRecord(), &expected, sizeof expected), 0);
    test_shows::append(show, named(show, "P"));
    for (int outside : {-1, 1, ShowDocument::MaxSlides}) {
        EXPECT_EQ(std::memcmp(&show.slide(outside), &expected, sizeof expected), 0) << outside;
        EXPECT_TRUE(show.thumbnail(outside).isNull()) << outside;
    }
    show.setDefaultDelay(300);
    EXPECT_EQ(show.freshRecord().Delay, 255);
    EXPECT_EQ(show.slide(0).Delay, 7) << "the slides keep their own time";
}

} // namespace
