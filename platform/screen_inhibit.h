// SPDX-License-Identifier: MIT
#pragma once
// Asks the desktop not to lock or blank the screen while held: through the screen saver's
// org.freedesktop.ScreenSaver on the session bus, or where that is absent the portal's
// org.freedesktop.portal.Inhibit. The calls do not wait for their answers; an inhibit released (or
// gone) before its answer came is given back when it comes. Without a bus or either service it does
// nothing.

#include <QString>

#include <memory>

class ScreenInhibit {
  public:
    // `reason` is what the desktop may show as the reason the screen stays on.
    explicit ScreenInhibit(const QString& reason);
    ~ScreenInhibit();
    ScreenInhibit(const ScreenInhibit&) = delete;
    ScreenInhibit& operator=(const ScreenInhibit&) = delete;

    void hold();    // no more than one inhibit however often it is called
    void release(); // ends the inhibit held, if any

    struct State;

  private:
    std::shared_ptr<State> state_;
};
