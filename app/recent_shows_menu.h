// SPDX-License-Identifier: MIT
#pragma once
// File > "Recent Verascos": the shows last opened or saved, newest first, kept in the settings. Shows
// whose files have gone are dropped from the list whenever the File menu opens.

#include <QString>

#include <functional>

class QMenu;
struct Settings;

class RecentShowsMenu {
  public:
    // The submenu is added at the end of the file menu; choosing a show calls open with its path.
    RecentShowsMenu(QMenu& fileMenu, Settings& settings, std::function<void(const QString&)> open);

    // Drops the shows that are no files any more and lists the others; the submenu is unavailable
    // while the list is empty.
    void refresh();
    // A show was read from or saved to the path: it goes first in the list and in the desktop's list
    // of recently used files.
    void remember(const QString& path);

  private:
    QMenu* menu_;
    Settings& settings_;
    std::function<void(const QString&)> open_;
};
