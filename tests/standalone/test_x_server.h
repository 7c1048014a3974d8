// SPDX-License-Identifier: MIT
#pragma once
// An X server of the tests' own (Xvfb, 1024 x 768 in 24 bits), started on the first use and ended
// with the test program, for the packages' player: its display's name, what it shows, and keys sent
// to the player's window; and what tests look for on it, a caption as the viewer draws it among that.

#include "slide_record.h"

#include <QImage>
#include <QPoint>
#include <QRectF>
#include <QString>

#include <functional>

namespace test_x_server {

// The display's name (":N"); empty, with what is missing in `why`, when Xvfb is not installed or
// does not start.
QString display(QString& why);
// What the screen shows; a null image when the display cannot be read.
QImage screen();
// Sends the key `keysym` to the window called "Verasco"; false when there is none.
bool sendKey(unsigned long keysym);

// Waits until `holds` is true of what the screen shows, for `ms` at most.
bool screenShows(const std::function<bool(const QImage&)>& holds, int ms = 60000);
// The mean difference of the pixels of `part` from those of `screen` at `at`, per channel.
double difference(const QImage& screen, const QImage& part, QPoint at = {});
// The part `frame` (fractions of its size) of `picture`, stretched over the whole screen: a moving
// picture's frame as a player fits it.
QImage frameOnScreen(const QImage& picture, QRectF frame);

// How the white letters of `slide`'s caption on a band at most 95 bright at the foot of a full
// screen picture on `screen` lie against the viewer's drawing of them: the largest distance
// between the edges of their boxes, and the difference in pixels lit as a share of the viewer's.
struct CaptionMatch {
    int edges = 0;
    double lit = 0;
};
CaptionMatch captionAgainstViewer(const QImage& screen, const TSlideRecord& slide);

} // namespace test_x_server
