// SPDX-License-Identifier: MIT
#pragma once
// Paths as a slide record keeps them: the bytes of a short string of 255. Verasco writes UTF-8.
// Shows saved on Windows hold the single-byte text of its code page, so bytes that are not valid
// UTF-8 are read as Windows-1252; the caption and its font name are read the same way. A path whose UTF-8
// form is longer than the field is never stored cut: it is refused where it would be added.

#include "slide_record.h"

#include <QByteArray>
#include <QString>

namespace StoredPath {

inline constexpr int Capacity = 255;

QByteArray encode(const QString& path);
QString decode(const QByteArray& bytes);
// Whether the path's stored form fits the field.
bool fits(const QString& path);
// Stores the path; false, with the field left as it was, when it does not fit.
bool assign(ShortString<Capacity>& field, const QString& path);
// The text of any short string of a slide (a path, the caption, the font name), read as paths are.
template <std::size_t N> QString of(const ShortString<N>& field) {
    return decode(QByteArray(field.chars, qsizetype(field.length <= N ? field.length : N)));
}

} // namespace StoredPath
