// SPDX-License-Identifier: MIT
// The peer of the start-up measurement: the least a Qt Widgets program does to show one window
// with a line of text. Like Verasco under measurement, it ends once the window has painted itself.

#include "quit_when_painted.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("Hello"));
    window.setWindowTitle(QStringLiteral("Minimal"));
    window.resize(588, 414);
    new QuitWhenPainted(&window);
    window.show();
    return app.exec();
}
