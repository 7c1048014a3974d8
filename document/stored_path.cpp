// SPDX-License-Identifier: MIT
#include "stored_path.h"

#include <QStringDecoder>

#include <array>

namespace StoredPath {
namespace {

// Windows-1252 differs from Latin-1 only in 0x80 to 0x9F. The five bytes it leaves undefined map
// to the control characters of the same number, as Windows itself converts them.
constexpr std::array<char16_t, 32> Windows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString fromWindows1252(const QByteArray& bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        text[i] = QChar(b >= 0x80 && b < 0xA0 ? Windows1252High[b - 0x80] : char16_t(b));
    }
    return text;
}

} // namespace

QByteArray encode(const QString& path) {
    return path.toUtf8();
}

QString decode(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytes);
    return utf8.hasError() ? fromWindows1252(bytes) : text;
}

bool fits(const QString& path) {
    return encode(path).size() <= Capacity;
}

bool assign(ShortString<Capacity>& field, const QString& path) {
    const QByteArray bytes = encode(path);
    if (bytes.size() > Capacity)
        return false;
    field.assign(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    return true;
}

} // namespace StoredPath
