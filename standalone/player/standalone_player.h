// SPDX-License-Identifier: MIT
#pragma once
// The player of a stand-alone package: the show of the package folder in the program's viewer,
// full screen and playing at once, with the loop, speed and control strip the slide list asks for.
// Esc quits, Space pauses and plays, the arrow keys step. With the report switch each slide, as it
// comes on screen, is also written to standard output as one line of tab-separated key=value
// fields, and the player quits after the last slide.

#include "shared_flags.h"
#include "show_form.h"

#include <QObject>
#include <QSize>

#include <cstdio>
#include <map>

class PackageShow;
class RuntimeDecoder;
class TPhoto;

class StandalonePlayer : public QObject {
    Q_OBJECT
  public:
    StandalonePlayer(PackageShow& package, const RuntimeDecoder& runtime, std::FILE* report);

    void start();
    TshowFrm& viewer() { return viewer_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void loadPicture(int index, QSize box, TPhoto& photo);
    void reportSlide(int index);

    struct Shown {
        QSize size;
        bool byRuntime = false;
    };
    PackageShow& package_;
    const RuntimeDecoder& runtime_;
    std::FILE* report_;
    SharedFlags flags_;
    TshowFrm viewer_;
    std::map<int, Shown> shown_; // the last picture decoded for each slide
};
