// SPDX-License-Identifier: MIT
// The print dialog: its controls by name, the layout number its choices make, the one preview that
// is visible, and "Co&mments" following "&Journal Format".
#include "layout_preview.h"
#include "pdf_support.h"
#include "print_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest/QTest>

#include "qt_application_environment.h"
#include <gtest/gtest.h>

using print_test::clickMark;

namespace {

const auto* const environment = testing::AddGlobalTestEnvironment(new QtApplicationEnvironment<QApplication>);

template <typename T> T* child(Tprintdlg& dialog, const char* name) {
    T* found = dialog.findChild<T*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

TEST(PrintDialog, ControlsWithTheirCaptions) {
    Tprintdlg dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Print Verasco"));
    const std::pair<const char*, const char*> captions[] = {{"RadioButton1", "Sm&all Size"},
                                                            {"RadioButton2", "M&edium Size"},
                                                            {"RadioButton3", "La&rge Size"},
                                                            {"CheckBox5", "&Journal Format"},
                                                            {"CheckBox6", "Co&mments"},
                                                            {"CheckBox2", "Frame &Numbers"},
                                                            {"CheckBox3", "&Date && Filename in Header"},
                                                            {"CheckBox4", "C&ustom Footer:"},
                                                            {"Button1", "&Print"},
                                                            {"Button2", "Cancel"},
                                                            {"PreviewButton", "Pre&view..."}};
    for (const auto& [name, caption] : captions)
        EXPECT_EQ(child<QAbstractButton>(dialog, name)->text(), QLatin1String(caption)) << name;
    EXPECT_TRUE(child<QRadioButton>(dialog, "RadioButton1")->isChecked());
    EXPECT_EQ(child<QLineEdit>(dialog, "Edit1")->maxLength(), 128);
}

TEST(PrintDialog, ChoicesMakeTheLayoutNumberAndShowItsPreview) {
    Tprintdlg dialog;
    dialog.show();
    const struct {
        const char* size;
        bool journal;
        int layout;
        const char* image;
    } rows[] = {{"RadioButton1", false, 1, "Image4"}, {"RadioButton2", false, 2, "Image5"},
                {"RadioButton3", false, 3, "Image6"}, {"RadioButton1", true, 4, "Image1"},
                {"RadioButton2", true, 5, "Image2"},  {"RadioButton3", true, 6, "Image3"}};
    auto* journal = child<QCheckBox>(dialog, "CheckBox5");
    for (const auto& r : rows) {
        clickMark(child<QRadioButton>(dialog, r.size));
        if (journal->isChecked() != r.journal)
            clickMark(journal);
        EXPECT_EQ(dialog.options().layout, r.layout);
        for (const char* image : {"Image1", "Image2", "Image3", "Image4", "Image5", "Image6"})
            EXPECT_EQ(child<QLabel>(dialog, image)->isVisible(), qstrcmp(image, r.image) == 0)
                << "layout " << r.layout << ", " << image;
    }
}

TEST(PrintDialog, CommentsOnlyWithTheJournalFormat) {
    Tprintdlg dialog;
    auto* journal = child<QCheckBox>(dialog, "CheckBox5");
    auto* comments = child<QCheckBox>(dialog, "CheckBox6");
    dialog.show();
    EXPECT_FALSE(comments->isEnabled());
    clickMark(journal);
    EXPECT_TRUE(comments->isEnabled());
    clickMark(comments);
    EXPECT_TRUE(dialog.options().comments);
    clickMark(journal);
    EXPECT_FALSE(comments->isEnabled());
}

TEST(PrintDialog, DecorationsAndTheFooterText) {
    Tprintdlg dialog;
    dialog.show();
    for (const char* box : {"CheckBox2", "CheckBox3", "CheckBox4"})
        clickMark(child<QCheckBox>(dialog, box));
    QTest::keyClicks(child<QLineEdit>(dialog, "Edit1"), QStringLiteral("Holiday"));
    const print::PrintOptions o = dialog.options();
    EXPECT_TRUE(o.frameNumbers);
    EXPECT_TRUE(o.header);
    EXPECT_TRUE(o.footer);
    EXPECT_EQ(o.footerText, QStringLiteral("Holiday"));
}

TEST(PrintDialog, ButtonsAndEscapeGiveTheirResults) {
    Tprintdlg dialog;
    const std::pair<std::function<void()>, int> answers[] = {
        {[&] { QTest::mouseClick(child<QPushButton>(dialog, "Button1"), Qt::LeftButton); }, 1},
        {[&] { QTest::mouseClick(child<QPushButton>(dialog, "Button2"), Qt::LeftButton); }, 2},
        {[&] { QTest::keyClick(&dialog, Qt::Key_Escape); }, 2}};
    for (const auto& [answer, result] : answers) {
        QTimer::singleShot(0, &dialog, [&, answer = answer] {
            if (QApplication::activeModalWidget() == &dialog)
                answer();
        });
        EXPECT_EQ(dialog.exec(), result);
    }
}

TEST(LayoutPreview, SixDifferentMonochromePictures) {
    QList<QImage> previews;
    for (int layout = 1; layout <= 6; ++layout) {
        const QImage preview = print::drawLayoutPreview(layout);
        EXPECT_EQ(preview.size(), QSize(152, 179));
        EXPECT_EQ(preview.format(), QImage::Format_Mono);
        for (const QImage& earlier : previews)
            EXPECT_NE(preview, earlier) << "layout " << layout;
        previews.append(preview);
    }
}

} // namespace
