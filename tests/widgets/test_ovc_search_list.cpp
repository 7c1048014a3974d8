// SPDX-License-Identifier: MIT
// The incremental search list: what typing, Backspace and a character no item continues with select.

#include "ovc_search_list.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {
void ensureApplication() {
    static int argc = 1;
    static char name[] = "test_ovc_search_list";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
}

struct Typing {
    const char* keys; // '<' stands for Backspace
    int row;          // the selected row afterwards
    const char* searchText;
};

class SearchListTyping : public testing::TestWithParam<Typing> {};

TEST_P(SearchListTyping, SelectsTheFirstItemBeginningWithWhatWasTyped) {
    ensureApplication();
    // The typing must not pause long enough to start a new search.
    QApplication::setKeyboardInputInterval(60000);
    TOvcSearchList list;
    list.addItems({"alpha.png", "beta.png", "beta2.png", "bz.png", "gamma.png"});
    QSignalSpy changes(&list, &TOvcSearchList::Change);
    for (const char key : std::string(GetParam().keys)) {
        if (key == '<')
            QTest::keyClick(&list, Qt::Key_Backspace);
        else
            QTest::keyClicks(&list, QString(QLatin1Char(key)));
    }
    EXPECT_EQ(list.currentRow(), GetParam().row);
    EXPECT_EQ(list.searchText(), QLatin1String(GetParam().searchText));
    if (GetParam().row >= 0) {
        ASSERT_FALSE(changes.isEmpty());
        EXPECT_EQ(changes.last().at(0).toInt(), GetParam().row);
    }
}

INSTANTIATE_TEST_SUITE_P(Keys, SearchListTyping,
                         testing::Values(Typing{"b", 1, "b"}, Typing{"BETA2", 2, "BETA2"},
                                         Typing{"bz", 3, "bz"}, Typing{"bx", 1, "b"},
                                         Typing{"beta2<<<<z", 3, "bz"}, Typing{"q", -1, ""},
                                         Typing{"G", 4, "G"}));
} // namespace
