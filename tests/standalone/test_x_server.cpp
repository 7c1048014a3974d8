// SPDX-License-Identifier: MIT
#include "test_x_server.h"

#include "caption_band.h"
#include "slide_paths.h"
#include "stored_font.h"

#include <QDeadlineTimer>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace test_x_server {

namespace {

struct Server {
    QProcess process;
    QString name;
    QString why;
    ~Server() {
        process.terminate();
        process.waitForFinished();
    }
};

Server& server() {
    static Server s;
    if (!s.name.isEmpty() || !s.why.isEmpty())
        return s;
    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty()) {
        s.why = QStringLiteral("Xvfb (Debian's package xvfb) is not installed");
        return s;
    }
    // The server writes its display number to standard output once it takes connections.
    s.process.start(QStringLiteral("Xvfb"),
                    {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                     QStringLiteral("0"), QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
                     QStringLiteral("tcp")});
    while (s.process.waitForReadyRead(30000) && !s.process.canReadLine())
        ;
    const QString number = QString::fromLatin1(s.process.readLine()).trimmed();
    if (number.isEmpty())
        s.why =
            QStringLiteral("Xvfb did not start: ") + QString::fromLocal8Bit(s.process.readAllStandardError());
    else
        s.name = QLatin1Char(':') + number;
    return s;
}

using Connection = std::unique_ptr<Display, int (*)(Display*)>;

Connection open() {
    QString why;
    const QByteArray name = display(why).toLatin1();
    return Connection(name.isEmpty() ? nullptr : XOpenDisplay(name.constData()), &XCloseDisplay);
}

Window named(Display* d, Window in, const char* title) {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (!XQueryTree(d, in, &root, &parent, &children, &count))
        return 0;
    for (unsigned i = 0; i < count && !found; ++i) {
        char* name = nullptr;
        if (XFetchName(d, children[i], &name) && name && QByteArray(name) == title)
            found = children[i];
        if (name)
            XFree(name);
        if (!found)
            found = named(d, children[i], title);
    }
    if (children)
        XFree(children);
    return found;
}

} // namespace

QString display(QString& why) {
    why = server().why;
    return server().name;
}

QImage screen() {
    const Connection d = open();
    if (!d)
        return {};
    const Window root = DefaultRootWindow(d.get());
    XWindowAttributes a;
    XGetWindowAttributes(d.get(), root, &a);
    XImage* shot = XGetImage(d.get(), root, 0, 0, unsigned(a.width), unsigned(a.height), AllPlanes, ZPixmap);
    if (!shot)
        return {};
    QImage image(a.width, a.height, QImage::Format_RGB32);
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x)
            image.setPixel(x, y, uint(XGetPixel(shot, x, y)) | 0xFF000000u);
    XDestroyImage(shot);
    return image;
}

bool sendKey(unsigned long keysym) {
    const Connection d = open();
    const Window window = d ? named(d.get(), DefaultRootWindow(d.get()), "Verasco") : 0;
    if (!window)
        return false;
    XEvent event{};
    event.xkey.type = KeyPress;
    event.xkey.display = d.get();
    event.xkey.window = window;
    event.xkey.root = DefaultRootWindow(d.get());
    event.xkey.keycode = XKeysymToKeycode(d.get(), KeySym(keysym));
    event.xkey.same_screen = True;
    XSendEvent(d.get(), window, True, KeyPressMask, &event);
    XSync(d.get(), False);
    return true;
}

bool screenShows(const std::function<bool(const QImage&)>& holds, int ms) {
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        const QImage shown = screen();
        if (!shown.isNull() && holds(shown))
            return true;
        QThread::msleep(50);
    }
    return false;
}

double difference(const QImage& screen, const QImage& part, QPoint at) {
    qint64 sum = 0;
    for (int y = 0; y < part.height(); ++y)
        for (int x = 0; x < part.width(); ++x) {
            const QRgb a = screen.pixel(at.x() + x, at.y() + y), b = part.pixel(x, y);
            sum += qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) + qAbs(qBlue(a) - qBlue(b));
        }
    return double(sum) / (3.0 * part.width() * part.height());
}

QImage frameOnScreen(const QImage& picture, QRectF frame) {
    const QRect part(qRound(frame.x() * picture.width()), qRound(frame.y() * picture.height()),
                     qRound(frame.width() * picture.width()), qRound(frame.height() * picture.height()));
    return picture.copy(part).scaled(1024, 768, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

namespace {

// The box of the letters lit (grey above 160) in the rows from `top` on, and how many they are.
std::pair<QRect, int> litLetters(const QImage& screen, int top) {
    QRect box;
    int lit = 0;
    for (int y = top; y < screen.height(); ++y)
        for (int x = 0; x < screen.width(); ++x)
            if (qGray(screen.pixel(x, y)) > 160) {
                box |= QRect(x, y, 1, 1);
                ++lit;
            }
    return {box, lit};
}

} // namespace

CaptionMatch captionAgainstViewer(const QImage& screen, const TSlideRecord& slide) {
    QImage viewer(screen.size(), QImage::Format_RGB32);
    viewer.fill(Qt::black);
    QPainter painter(&viewer);
    const QRect band = CaptionBand::draw(painter, viewer.rect(), shownCaptionOf(slide),
                                         storedFont(fontNameOf(slide), slide.FontSize, slide.FontStyle),
                                         Qt::white, viewer.height());
    painter.end();
    // The bands' tops may lie 2 pixels apart.
    const auto [box, lit] = litLetters(screen, band.top() + 3);
    const auto [viewerBox, viewerLit] = litLetters(viewer, band.top() + 3);
    const int edges =
        std::max({std::abs(box.left() - viewerBox.left()), std::abs(box.right() - viewerBox.right()),
                  std::abs(box.top() - viewerBox.top()), std::abs(box.bottom() - viewerBox.bottom())});
    return {edges, std::abs(lit - viewerLit) / double(std::max(viewerLit, 1))};
}

} // namespace test_x_server
