// SPDX-License-Identifier: MIT
// The help window opens the shipped help file at the section of a context number.

#include "help_viewer.h"
#include "qt_application_environment.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFile>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <gtest/gtest.h>

namespace {

const char* const HelpSource = VERASCO_HELP_SOURCE;

// The application, and the help window with it, is destroyed after the last test, as in every other
// test program, not among the static objects at exit, where parts of Qt it needs may already be gone.
testing::Environment* const qtApplication =
    testing::AddGlobalTestEnvironment(new QtApplicationEnvironment<QApplication>);

class HelpViewer : public testing::Test {
  protected:
    static void SetUpTestSuite() { qputenv("VERASCO_HELP_FILE", HelpSource); }
};

// The vertical extent of the block holding the anchor, in document coordinates.
QRectF anchorBlockRect(QTextBrowser* browser, const QString& anchor) {
    QTextDocument* doc = browser->document();
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().anchorNames().contains(anchor))
                return doc->documentLayout()->blockBoundingRect(block);
        }
    }
    return {};
}

QTextBlock blockAtTop(QTextBrowser* browser) {
    return browser->cursorForPosition(QPoint(2, 2)).block();
}

TEST_F(HelpViewer, EveryContextOpensAtTheHeadingOfItsWindow) {
    const struct {
        int context;
        const char* heading;
    } rows[] = {
        {9, "Help Topics"},      {10, "Stand-alone Show Settings"},
        {15, "The Show Viewer"}, {20, "Printing a Show"},
        {30, "Preferences"},     {40, "Image Properties"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.context);
        showHelpContext(row.context);
        QTextBrowser* browser = helpViewerWindow();
        ASSERT_NE(browser, nullptr);
        EXPECT_FALSE(anchorBlockRect(browser, helpAnchor(row.context)).isNull());
        EXPECT_EQ(blockAtTop(browser).text().toStdString(), row.heading);
    }
}

TEST_F(HelpViewer, OpensOneWindowAtTheSectionOfTheContext) {
    showHelpContext(30);
    QTextBrowser* browser = helpViewerWindow();
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(browser->objectName(), "HelpViewer");
    EXPECT_EQ(browser->windowTitle(), "Verasco Help");
    EXPECT_TRUE(browser->isVisible());
    EXPECT_FALSE(browser->isModal());

    const QRectF section = anchorBlockRect(browser, helpAnchor(30));
    ASSERT_FALSE(section.isNull()) << "no anchor context-30 in the document";
    const int top = browser->verticalScrollBar()->value();
    EXPECT_GT(top, 0);
    EXPECT_NEAR(section.top(), top, 2.0);
    EXPECT_TRUE(blockAtTop(browser).text().contains("Preferences"))
        << blockAtTop(browser).text().toStdString();

    // Esc closes it; a second request reuses the same window and moves it to the new section.
    ASSERT_TRUE(QTest::qWaitForWindowActive(browser));
    QTest::keyClick(browser, Qt::Key_Escape);
    EXPECT_FALSE(browser->isVisible());
    showHelpContext(9);
    EXPECT_EQ(helpViewerWindow(), browser);
    EXPECT_TRUE(browser->isVisible());
    EXPECT_TRUE(blockAtTop(browser).text().contains("Help Topics"))
        << blockAtTop(browser).text().toStdString();
    EXPECT_EQ(QApplication::topLevelWidgets().count(browser), 1);
}

} // namespace
