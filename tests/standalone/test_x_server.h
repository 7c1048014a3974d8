// SPDX-License-Identifier: MIT
#pragma once
// An X server of the tests' own (Xvfb, 1024 x 768 in 24 bits), started on the first use and ended
// with the test program, for the packages' player: its display's name, what it shows, and keys sent
// to the player's window.

#include <QImage>
#include <QString>

namespace test_x_server {

// The display's name (":N"); empty, with what is missing in `why`, when Xvfb is not installed or
// does not start.
QString display(QString& why);
// What the screen shows; a null image when the display cannot be read.
QImage screen();
// Sends the key `keysym` to the window called "Verasco"; false when there is none.
bool sendKey(unsigned long keysym);

} // namespace test_x_server
