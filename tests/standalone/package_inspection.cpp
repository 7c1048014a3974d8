// SPDX-License-Identifier: MIT
#include "package_inspection.h"

#include "slide_list_bytes.h"

#include <QProcess>
#include <QRegularExpression>

namespace package_inspection {
namespace {

std::uint32_t le32(const QByteArray& b, qsizetype at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = v << 8 | std::uint8_t(b[at + i]);
    return v;
}

QByteArray shortString(const QByteArray& record, int offset) {
    return record.mid(offset + 1, std::uint8_t(record[offset]));
}

} // namespace

Walk walkMembers(const QByteArray& package, qsizetype start) {
    Walk walk;
    qsizetype at = start;
    while (at + 24 <= package.size()) {
        const int headerSize = std::uint8_t(package[at]);
        Member m;
        m.method = QString::fromLatin1(package.mid(at + 2, 5));
        m.packed = le32(package, at + 7);
        m.size = le32(package, at + 11);
        m.level = std::uint8_t(package[at + 20]);
        m.name = QString::fromUtf8(package.mid(at + 22, std::uint8_t(package[at + 21])));
        walk.members.push_back(m);
        at += 2 + headerSize + m.packed;
    }
    if (at != package.size())
        walk.problem = QStringLiteral("the members end at %1, the file at %2").arg(at).arg(package.size());
    return walk;
}

Lhasa lhasa(const QStringList& arguments) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral("lhasa"), arguments);
    if (!p.waitForStarted())
        return {};
    p.waitForFinished(-1);
    return {p.exitCode(), QString::fromLocal8Bit(p.readAll())};
}

QStringList lhasaNames(const QString& package) {
    QStringList names;
    const QStringList lines = lhasa({QStringLiteral("v"), package}).output.split(QLatin1Char('\n'));
    static const QRegularExpression member(QStringLiteral(R"(-l[hz].-\s+\w+\s+\w+\s+\d+\s+[\d:]+\s(.+)$)"));
    for (const QString& line : lines)
        if (const auto m = member.match(line); m.hasMatch())
            names << m.captured(1);
    return names;
}

SlideListFields readSlideList(const QByteArray& bytes) {
    SlideListFields list;
    const std::string raw = bytes.toStdString();
    if (raw.size() < 151)
        return list;
    list.signature = bytes.left(15);
    list.field1 = bytes.mid(15, 64);
    list.field2 = bytes.mid(79, 64);
    list.count = slide_list_bytes::getInt32(raw, 143);
    list.recordSize = slide_list_bytes::getInt32(raw, 147);
    for (qsizetype at = 151; at + 824 <= bytes.size(); at += 824) {
        const QByteArray r = bytes.mid(at, 824);
        const std::string rs = r.toStdString();
        SlideRecordFields f;
        f.image = shortString(r, 2);
        f.audio = shortString(r, 258);
        f.delay = std::uint8_t(r[514]);
        f.hold = std::uint8_t(r[515]);
        f.showText = std::uint8_t(r[516]);
        f.font = shortString(r, 520);
        f.colour = slide_list_bytes::getInt32(rs, 556);
        f.size = slide_list_bytes::getInt32(rs, 560);
        f.style = std::uint8_t(r[564]);
        f.text = shortString(r, 568);
        list.records.push_back(f);
    }
    return list;
}

QByteArray slideData(const SlideListFields& list, const QByteArray& data, int i) {
    const qsizetype offset = list.records[i].image.toLongLong();
    const qsizetype end =
        i + 1 < int(list.records.size()) ? list.records[i + 1].image.toLongLong() : data.size();
    return data.mid(offset, end - offset);
}

} // namespace package_inspection
