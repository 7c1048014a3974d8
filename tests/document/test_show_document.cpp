// The show's slots: what a slot holds after a reset, whether or not it has been written since.

#include "show_document.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// A slot as a reset with the given display time leaves it, every byte, built field by field.
TSlideRecord freshRecord(int delay) {
    TSlideRecord r;
    std::memset(&r, 0, sizeof r);
    r.ImageFile.assign({});
    r.AudioFile.assign({});
    r.Text.assign({});
    r.Delay = static_cast<std::uint8_t>(delay);
    r.FontName.assign(DefaultFontName);
    r.FontSize = DefaultFontSize;
    return r;
}

bool sameBytes(const TSlideRecord& a, const TSlideRecord& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(ShowDocumentSlots, UnwrittenSlotsReadAsTheLastResetLeftThemWhateverIsWrittenAroundThem) {
    ShowDocument show(7);
    const ShowDocument& seen = show;
    for (int i : {0, 250, ShowDocument::SlotCount - 1})
        EXPECT_TRUE(sameBytes(seen.slide(i), freshRecord(7))) << "slot " << i;

    // A new display time is for slots reset from now on; the others keep the one they were given.
    show.setDefaultDelay(30);
    ASSERT_TRUE(show.setImagePath(4, QStringLiteral("/pictures/a.jpg")));
    show.resetSlot(9);
    for (int i : {0, 3, 5, 8, 10, ShowDocument::SlotCount - 1})
        EXPECT_TRUE(sameBytes(seen.slide(i), freshRecord(7))) << "slot " << i;
    EXPECT_EQ(show.imagePath(4), QStringLiteral("/pictures/a.jpg"));
    EXPECT_EQ(seen.slide(4).Delay, 7);
    EXPECT_TRUE(sameBytes(seen.slide(9), freshRecord(30)));

    // Resetting every slot clears the written ones too, with the display time now in force.
    show.resetAll();
    for (int i : {0, 4, 9, 100, ShowDocument::SlotCount - 1})
        EXPECT_TRUE(sameBytes(seen.slide(i), freshRecord(30))) << "slot " << i;
    show.slide(2).Delay = 1;
    EXPECT_TRUE(sameBytes(show.slide(1), freshRecord(30)));
    EXPECT_TRUE(sameBytes(seen.slide(3), freshRecord(30)));
}

} // namespace
