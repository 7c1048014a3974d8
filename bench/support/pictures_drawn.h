// SPDX-License-Identifier: MIT
#pragma once
// What the benchmarks of the main window wait for and start from: the pictures of the slides in
// view drawn in the show grid, and the desktop's shared thumbnail cache empty.

#include "main_window.h"
#include "ovc_table.h"
#include "show_slides.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

// Waits until the show grid has drawn the pictures of the slides in view (at most a minute); false
// when they did not come.
inline bool slidePicturesDrawn(TMainFormverasco& main) {
    ShowSlides& slides = main.slides();
    QWidget* grid = main.findChild<TOvcTable*>("OvcTable2")->viewport();
    for (QDeadlineTimer deadline(60000); !deadline.hasExpired();) {
        if (!slides.picturesOnTheirWay()) {
            grid->grab(); // draws the pictures that came, asks for any still missing
            if (!slides.picturesOnTheirWay())
                return true;
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    return false;
}

// Points the shared thumbnail cache at a new empty folder, which lives as long as the object.
inline std::unique_ptr<QTemporaryDir> emptyThumbnailCache() {
    auto cache = std::make_unique<QTemporaryDir>();
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cache->path()));
    return cache;
}
