// SPDX-License-Identifier: MIT
#pragma once
// How the main window's controls follow the window when it grows beyond its start size (its
// minimum): the layout stays centred across (the main window then places its grids across the
// whole width), the grids grow down, the add buttons keep to the middle
// of the grids' height and the counters to their foot. The controls keep their order and distances.

#include <QObject>
#include <QRect>
#include <QSize>

#include <functional>
#include <vector>

class QWidget;

class WindowGrowth : public QObject {
  public:
    enum class Down { Stay, Half, Whole, Grow };

    // client is the window's client area; designSize its start size.
    WindowGrowth(QWidget& client, QSize designSize);

    // Takes the control's place now as its place at the start size. A control inside a panel that
    // moves itself passes across = false.
    void follow(QWidget* control, Down down, bool across = true);
    // Called after every placing, to place across what follows more than the window's width.
    void setAfterPlacing(std::function<void()> after) { afterPlacing_ = std::move(after); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Rule {
        QWidget* control;
        QRect place;
        Down down;
        bool across;
    };
    void place();

    QWidget& client_;
    QSize designSize_;
    std::vector<Rule> rules_;
    std::function<void()> afterPlacing_;
};
