// SPDX-License-Identifier: MIT
#pragma once
// Looks into a package file from outside: its level-0 members walked by hand from their header
// fields, Debian's lhasa listing, testing and extracting it, and its slide list read field by field.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace package_inspection {

struct Member {
    QString name;
    QString method;
    int level = -1;
    std::uint32_t packed = 0;
    std::uint32_t size = 0;
};

struct Walk {
    std::vector<Member> members;
    QString problem; // empty when the last member ends exactly at the end of the file
};

// The members that follow the first `start` bytes.
Walk walkMembers(const QByteArray& package, qsizetype start);

struct Lhasa {
    int exitCode = -1;
    QString output;
};
// Runs Debian's lhasa with the arguments; exitCode -1 when it is not installed.
Lhasa lhasa(const QStringList& arguments);
// Member names in the order lhasa's verbose listing gives them (lhasa shows level-0 names lower-cased).
QStringList lhasaNames(const QString& package);

// One record of a slide list, read from its bytes.
struct SlideRecordFields {
    QByteArray image, audio, font, text;
    int delay = 0, hold = 0, showText = 0, style = 0;
    std::int32_t colour = 0, size = 0;
};
struct SlideListFields {
    QByteArray signature, field1, field2;
    std::int32_t count = 0, recordSize = 0;
    std::vector<SlideRecordFields> records;
};
SlideListFields readSlideList(const QByteArray& bytes);

// The image data of slide `i`: from its offset to the next slide's, the last one to the end.
QByteArray slideData(const SlideListFields& list, const QByteArray& data, int i);

} // namespace package_inspection
