// SPDX-License-Identifier: MIT
// The numeric entry field: what can be typed, when its value counts as valid, and its error colours.

#include "ovc_simple_field.h"
#include "qt_application_environment.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

testing::Environment* const qtApplication =
    testing::AddGlobalTestEnvironment(new QtApplicationEnvironment<QApplication>);

std::unique_ptr<TOvcSimpleField> delayField() {
    auto field = std::make_unique<TOvcSimpleField>();
    field->setRange(1, 255);
    field->setMaxDigits(3);
    field->setRequired(true);
    return field;
}

bool showsErrorColours(const TOvcSimpleField& field) {
    return field.palette().color(QPalette::Base) == Qt::red &&
           field.palette().color(QPalette::Text) == Qt::white;
}

TEST(OvcSimpleField, TypedTextAndItsValidity) {
    struct Row {
        const char* typed;
        const char* shown;
        bool valid;
    };
    const Row rows[] = {
        {"5", "5", true},  {"255", "255", true},  {"1", "1", true},      {"", "", false},
        {"0", "0", false}, {"256", "256", false}, {"1234", "123", true}, {"a1b2", "12", true},
        {"-7", "7", true}, {"999", "999", false}, {"007", "007", true},  {" 4", "4", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typed);
        auto field = delayField();
        QTest::keyClicks(field.get(), QString::fromLatin1(row.typed));
        EXPECT_EQ(field->text(), QString::fromLatin1(row.shown));
        EXPECT_EQ(field->isValid(), row.valid);
        EXPECT_EQ(showsErrorColours(*field), !row.valid);
    }
}

TEST(OvcSimpleField, ValueAndValidityFollowEdits) {
    auto field = delayField();
    field->setValue(12);
    QSignalSpy validity(field.get(), &TOvcSimpleField::validityChanged);

    QTest::keyClick(field.get(), Qt::Key_End);
    QTest::keyClick(field.get(), Qt::Key_Backspace);
    QTest::keyClick(field.get(), Qt::Key_Backspace);
    EXPECT_FALSE(field->isValid());
    QTest::keyClicks(field.get(), "42");

    EXPECT_EQ(field->value(), 42);
    EXPECT_TRUE(field->isValid());
    ASSERT_EQ(validity.count(), 2);
    EXPECT_FALSE(validity.at(0).at(0).toBool());
    EXPECT_TRUE(validity.at(1).at(0).toBool());
}

TEST(OvcSimpleField, AnEmptyFieldIsValidOnlyWhenNoValueIsRequired) {
    auto field = delayField();
    EXPECT_FALSE(field->isValid());
    field->setRequired(false);
    EXPECT_TRUE(field->isValid());
    EXPECT_FALSE(showsErrorColours(*field));
    field->setValue(300);
    EXPECT_FALSE(field->isValid());
    field->setRange(1, 999);
    EXPECT_TRUE(field->isValid());
}

} // namespace
