// SPDX-License-Identifier: MIT
#include "window_font.h"

#include <QGuiApplication>

QFont windowFont(int pointSize) {
#ifdef Q_OS_WIN
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
#else
    // Naming a family that is not installed would make every font lookup search for a substitute.
    QFont font = QGuiApplication::font();
#endif
    font.setPointSize(pointSize);
    return font;
}
