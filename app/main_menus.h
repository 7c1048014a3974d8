// SPDX-License-Identifier: MIT
#pragma once
// The main window's menu bar, built from one table: each item's object name, caption, shortcut,
// hint and the window's handler it runs. Items with a handler start enabled and are marked, so that
// the menu rules enable only items whose command exists.

#include <initializer_list>
#include <utility>

class QMenu;
class QObject;
class QUndoStack;
class TMainFormverasco;

struct MainMenus {
    QMenu* file = nullptr;
    QMenu* edit = nullptr;
};

// Builds the File, Edit, View and Help menus of the window's menu bar; Edit ends with "&Undo" and
// "Re&do", named after the step of the history they take back or do again and run by the window,
// which hands them to the text field that has the focus instead.
MainMenus buildMainMenus(TMainFormverasco& window, const QUndoStack& history);

// Enables the window's named menu items by their rules; an item whose command is not part of the
// program stays unavailable.
void applyMenuRules(QObject& window, std::initializer_list<std::pair<const char*, bool>> rules);
