// SPDX-License-Identifier: MIT
// The show's operations and its history: what each change does to the slides, what it announces, the
// modified flag, and Undo and Redo back and forth, with the thumbnails kept along.

#include "show_document.h"
#include "test_shows.h"

#include <QJsonArray>
#include <QUndoStack>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

// Printed as gtest shows a change that differs.
void PrintTo(const ShowChange& change, std::ostream* out) {
    *out << "{kind " << int(change.kind) << ", first " << change.first << ", count " << change.count
         << ", to " << change.to << "}";
}

namespace {

// Slides named by their image file; each has a thumbnail of its own, one pixel wide, of its name's
// first letter as grey, and data of its own beyond the record holding its name.
QList<ShowSlide> named(const ShowDocument& show, const std::string& names) {
    QList<ShowSlide> slides;
    for (char name : names) {
        ShowSlide slide = test_shows::slide(show, std::string_view(&name, 1));
        slide.thumbnail = QImage(1, 1, QImage::Format_RGB32);
        slide.thumbnail.fill(qRgb(name, name, name));
        slide.extra = {{"name", QString(QChar(name))}, {"motion", QJsonObject{{"to", name}}}};
        slides.append(slide);
    }
    return slides;
}

// The slides' names in order, and whether each thumbnail and data is still the one of its name.
std::string names(const QList<ShowSlide>& slides) {
    std::string result;
    for (const ShowSlide& slide : slides) {
        const std::string name = slide.record.ImageFile.str();
        const bool ownThumbnail = !name.empty() &&
                                  slide.thumbnail.pixel(0, 0) == qRgb(name[0], name[0], name[0]) &&
                                  slide.extra.value("name").toString().toStdString() == name;
        result += ownThumbnail ? name : "?";
    }
    return result;
}
std::string names(const ShowDocument& show) {
    QList<ShowSlide> slides;
    for (int i = 0; i < show.SlideCount; ++i)
        slides.append(show.at(i));
    return names(slides);
}

struct Operation {
    const char* what;
    std::function<void(ShowDocument&)> run;
    std::string after;
    std::vector<ShowChange> announced;
    int steps = 1; // kept in the history; a change that is none keeps none and leaves the show unchanged
    QJsonObject data = {}; // the show's own data after it
};

std::ostream& operator<<(std::ostream& out, const Operation& row) {
    return out << row.what;
}

class ShowOperation : public testing::TestWithParam<Operation> {};

// Each operation changes the show as it says, announces what it changed, and is one step of the
// history that Undo takes back and Redo makes again, announced as the first time.
TEST_P(ShowOperation, ChangesTheShowAsItAnnouncesAndIsUndoneAndRedone) {
    const Operation& row = GetParam();
    ShowDocument show;
    test_shows::append(show, named(show, "PQRS"));
    show.markOpened();
    std::vector<ShowChange> announced;
    QObject::connect(&show, &ShowDocument::changed,
                     [&](const ShowChange& change) { announced.push_back(change); });

    row.run(show);
    EXPECT_EQ(names(show), row.after);
    EXPECT_EQ(show.showData(), row.data);
    EXPECT_EQ(announced, row.announced);
    EXPECT_EQ(show.ShowModified, row.steps > 0);
    ASSERT_EQ(show.history().count(), row.steps);
    if (row.steps == 0)
        return;

    show.undo();
    EXPECT_EQ(names(show), "PQRS");
    EXPECT_TRUE(show.showData().isEmpty());
    EXPECT_FALSE(show.ShowModified) << "back to the show as opened";
    announced.clear();
    show.redo();
    EXPECT_EQ(names(show), row.after);
    EXPECT_EQ(show.showData(), row.data);
    EXPECT_EQ(announced, row.announced);
    EXPECT_TRUE(show.ShowModified);
}

using Kind = ShowChange::Kind;
ShowChange change(Kind kind, int first, int count, int to = 0) {
    return {kind, first, count, to};
}

INSTANTIATE_TEST_SUITE_P(
    Operations, ShowOperation,
    testing::Values(
        Operation{"insert before slide 2",
                  [](ShowDocument& s) { s.insert(2, named(s, "AB")); },
                  "PQABRS",
                  {change(Kind::Inserted, 2, 2)}},
        Operation{"append",
                  [](ShowDocument& s) { s.append(named(s, "A").front()); },
                  "PQRSA",
                  {change(Kind::Inserted, 4, 1)}},
        Operation{"remove two",
                  [](ShowDocument& s) { EXPECT_EQ(s.remove(1, 2).size(), 2); },
                  "PS",
                  {change(Kind::Removed, 1, 2)}},
        Operation{"remove each of three given in any order",
                  [](ShowDocument& s) {
                      EXPECT_EQ(names(s.removeEach({3, 0, 1, 3, 7})), "PQS");
                  },
                  "R",
                  {change(Kind::Removed, 3, 1), change(Kind::Removed, 0, 2)}},
        Operation{"move 2 and 0 together to the end",
                  [](ShowDocument& s) {
                      EXPECT_EQ(s.moveEach({2, 0}, 4), 2);
                  },
                  "QSPR",
                  {change(Kind::Removed, 2, 1), change(Kind::Removed, 0, 1), change(Kind::Inserted, 2, 2)}},
        Operation{"move 3 and 1 together before 0",
                  [](ShowDocument& s) {
                      EXPECT_EQ(s.moveEach({3, 1}, 0), 0);
                  },
                  "QSPR",
                  {change(Kind::Removed, 3, 1), change(Kind::Removed, 1, 1), change(Kind::Inserted, 0, 2)}},
        Operation{"move slides standing together to their own place",
                  [](ShowDocument& s) {
                      EXPECT_EQ(s.moveEach({1, 2}, 3), 1);
                  },
                  "PQRS",
                  {},
                  0},
        Operation{
            "move 0 onto 2", [](ShowDocument& s) { s.move(0, 2); }, "QRPS", {change(Kind::Moved, 0, 1, 2)}},
        Operation{
            "move 3 onto 1", [](ShowDocument& s) { s.move(3, 1); }, "PSQR", {change(Kind::Moved, 3, 1, 1)}},
        Operation{"replace",
                  [](ShowDocument& s) { s.replace(1, named(s, "Z").front()); },
                  "PZRS",
                  {change(Kind::Changed, 1, 1)}},
        Operation{"give every slide the defaults",
                  [](ShowDocument& s) { s.giveEverySlide(9, true, false); },
                  "PQRS",
                  {change(Kind::Changed, 0, 4)}},
        Operation{"two changes in one step",
                  [](ShowDocument& s) {
                      const ShowDocument::Step step(s, QStringLiteral("Cut and paste"));
                      const QList<ShowSlide> cut = s.remove(0);
                      s.insert(2, cut);
                  },
                  "QRPS",
                  {change(Kind::Removed, 0, 1), change(Kind::Inserted, 2, 1)}},
        Operation{"replace by the same slide", [](ShowDocument& s) { s.replace(2, s.at(2)); }, "PQRS", {}, 0},
        Operation{"replace by a slide of another caption font",
                  [](ShowDocument& s) {
                      ShowSlide other = s.at(2);
                      other.record.FontSize = 12;
                      s.replace(2, other);
                  },
                  "PQRS",
                  {change(Kind::Changed, 2, 1)}},
        Operation{"replace by a slide of other data",
                  [](ShowDocument& s) {
                      ShowSlide other = s.at(3);
                      other.extra.insert("name", "T");
                      s.replace(3, other);
                  },
                  "PQR?",
                  {change(Kind::Changed, 3, 1)}},
        Operation{"give the show data of its own",
                  [](ShowDocument& s) {
                      s.setShowData({{"captions", "band"}});
                  },
                  "PQRS",
                  {},
                  1,
                  {{"captions", "band"}}},
        Operation{"a thumbnail drawn anew",
                  [](ShowDocument& s) { s.setThumbnail(1, named(s, "Z").front().thumbnail); },
                  "P?RS",
                  {change(Kind::Changed, 1, 1)},
                  0},
        Operation{"clear", [](ShowDocument& s) { s.clear(); }, "", {change(Kind::Reset, 0, 0)}, 0},
        Operation{"load",
                  [](ShowDocument& s) { s.load({s.freshRecord()}); },
                  "?",
                  {change(Kind::Reset, 0, 0)},
                  0}));

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
    show.undo();
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
    show.undo();
    EXPECT_FALSE(show.ShowModified);
    show.undo();
    EXPECT_TRUE(show.ShowModified) << "before the save";
    show.redo();
    EXPECT_FALSE(show.ShowModified);
    show.redo();
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
    show.move(0, 1);
    show.undo();
    {
        const ShowDocument::Step step(show, QStringLiteral("Nothing"));
        show.move(1, 1);
        show.remove(5);
        show.replace(0, show.at(0));
    }
    EXPECT_EQ(names(show), "PQ");
    EXPECT_TRUE(show.history().canRedo());
    EXPECT_EQ(show.history().count(), 2);
}

// An empty show differs from the one read or saved when that one had slides, whatever led to it.
TEST(ShowHistory, AnEmptyShowIsAChangeOnlyWhenTheStoredShowHadSlides) {
    const std::tuple<std::string, bool> rows[] = {{"PQ", true}, {"", false}};
    for (const auto& [stored, modified] : rows) {
        SCOPED_TRACE(stored);
        ShowDocument show;
        test_shows::append(show, named(show, stored));
        show.markSaved();
        test_shows::append(show, named(show, "AB"));
        show.remove(0, show.SlideCount);
        EXPECT_EQ(show.ShowModified, modified);
        show.undo();
        EXPECT_TRUE(show.ShowModified);
    }
    ShowDocument withMusic;
    withMusic.setShowData({{"music", QJsonArray{QJsonObject{{"path", "/music/a.ogg"}}}}});
    EXPECT_TRUE(withMusic.ShowModified) << "music chosen for a show of no slides is a change";
}

// The show takes 500 slides. Small steps are all kept; steps of many slides are kept as long as
// their bytes fit the history's limit, the oldest going first, and the show as opened is then out of
// reach: undoing as far as the history goes leaves a changed show.
TEST(ShowHistory, TheShowTakesFiveHundredSlidesAndTheHistoryKeepsWhatFitsItsBytes) {
    ShowDocument show;
    test_shows::fill(show, 498);
    EXPECT_EQ(show.insert(0, named(show, "ABC")), 2);
    EXPECT_EQ(show.SlideCount, ShowDocument::MaxSlides);
    EXPECT_EQ(show.insert(0, named(show, "D")), 0);
    show.markOpened();
    for (int i = 0; i < 150; ++i)
        show.move(0, 1);
    EXPECT_EQ(show.history().count(), 150);

    show.markOpened();
    const QList<ShowSlide> all = show.remove(0, show.SlideCount);
    const std::size_t stepBytes = show.historyBytes();
    const int fitting = int(ShowDocument::HistoryBytes / stepBytes);
    int made = 1;
    for (; made < 2 * fitting; ++made)
        made % 2 ? (void)show.insert(0, all) : (void)show.remove(0, show.SlideCount);
    EXPECT_LE(show.historyBytes(), ShowDocument::HistoryBytes);
    EXPECT_GE(show.history().count(), fitting - 1);
    EXPECT_LT(show.history().count(), made);
    const int kept = show.history().count();
    for (int i = 0; i < kept; ++i)
        show.undo();
    EXPECT_FALSE(show.history().canUndo());
    EXPECT_EQ(show.SlideCount, (made - kept) % 2 ? 0 : ShowDocument::MaxSlides);
    EXPECT_TRUE(show.ShowModified) << "the show as opened is out of reach";
    for (int i = 0; i < kept; ++i)
        show.redo();
    EXPECT_EQ(show.SlideCount, made % 2 ? 0 : ShowDocument::MaxSlides);
    EXPECT_EQ(show.slide(0).ImageFile.str(), made % 2 ? "" : "A");
}

// Every slide as a file would store it, with its thumbnail's pixel.
std::vector<std::string> contents(const ShowDocument& show) {
    std::vector<std::string> slides;
    for (int i = 0; i < show.SlideCount; ++i) {
        std::string bytes(sizeof(TSlideRecord), '\0');
        SlideRecordBytes::encode(show.slide(i), bytes.data());
        slides.push_back(bytes + std::to_string(show.thumbnail(i).pixel(0, 0)));
    }
    return slides;
}

// Three hundred photos added, forty of them given another time and a caption, ten deleted: each
// command is one step, and Undo takes them back one by one, each to the show exactly as it stood
// before it.
TEST(ShowHistory, ManySlidesChangedAndDeletedTogetherAreUndoneStepByStep) {
    ShowDocument show;
    QList<ShowSlide> photos;
    for (int i = 0; i < 300; ++i) {
        ShowSlide photo = test_shows::slide(show, "photo" + std::to_string(i) + ".jpg",
                                            [i](TSlideRecord& r) { r.ShowText = std::uint8_t(i % 2); });
        photo.thumbnail = QImage(1, 1, QImage::Format_RGB32);
        photo.thumbnail.fill(QColor::fromRgb(QRgb(i)));
        photos.append(photo);
    }
    std::vector<int> chosen;
    for (int i = 0; i < 40; ++i)
        chosen.push_back(7 * i + 3);
    const auto giveChosen = [&] {
        const ShowDocument::Step step(show, QStringLiteral("Image Properties"));
        for (int index : chosen) {
            ShowSlide slide = show.at(index);
            slide.record.Delay = 3;
            slide.record.Text.assign("Harbour");
            show.replace(index, slide);
        }
    };
    const std::pair<QString, std::function<void()>> steps[] = {
        {QStringLiteral("Add Slides"), [&] { EXPECT_EQ(show.insert(0, photos), 300); }},
        {QStringLiteral("Image Properties"), giveChosen},
        {QStringLiteral("Delete Slides"),
         [&] {
             EXPECT_EQ(show.removeEach({299, 3, 10, 11, 12, 100, 101, 150, 290, 298}).size(), 10);
         }},
    };
    std::vector<std::vector<std::string>> before;
    for (const auto& [name, run] : steps) {
        before.push_back(contents(show));
        run();
        EXPECT_EQ(show.history().undoText(), name);
    }
    EXPECT_EQ(show.SlideCount, 290);
    int given = 0;
    for (int i = 0; i < show.SlideCount; ++i) {
        const TSlideRecord& slide = show.slide(i);
        const int photo = std::stoi(slide.ImageFile.str().substr(5));
        const bool isChosen = photo % 7 == 3 && photo < 280;
        given += isChosen;
        EXPECT_EQ(std::tuple(int(slide.Delay), slide.Text.str(), int(slide.ShowText)),
                  std::tuple(isChosen ? 3 : 5, std::string(isChosen ? "Harbour" : ""), photo % 2))
            << photo;
    }
    EXPECT_EQ(given, 36) << "four of the forty were deleted";
    for (auto shown = before.rbegin(); shown != before.rend(); ++shown) {
        show.undo();
        EXPECT_EQ(contents(show), *shown) << "undone back to step " << before.rend() - shown;
    }
    EXPECT_FALSE(show.history().canUndo());
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
