// SPDX-License-Identifier: MIT
#include "main_menus.h"

#include "main_window.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QUndoStack>

#include <functional>
#include <vector>

namespace {

// Marks the menu items whose command is wired, so that the menu's enabling leaves the others off.
const char* const HasCommand = "verascoHasCommand";

using Handler = std::function<void(TMainFormverasco&)>;

template <auto Slot> Handler run() {
    return [](TMainFormverasco& window) { (window.*Slot)(); };
}

// One line of a menu; an item without a name is a separator.
struct Item {
    const char* name = nullptr;
    const char* caption = "";
    QKeySequence keys;
    Handler handler;
    const char* hint = nullptr; // shown beside the item under the pointer
};

struct Menu {
    const char* name;
    const char* caption;
    Handler aboutToShow;
    std::vector<Item> items;
};

QKeySequence Ctrl(Qt::Key key, Qt::KeyboardModifiers more = Qt::NoModifier) {
    return QKeySequence(QKeyCombination(Qt::ControlModifier | more, key));
}

using W = TMainFormverasco;

void addItems(TMainFormverasco& window, QMenu* menu, const std::vector<Item>& items) {
    for (const Item& item : items) {
        if (!item.name) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(QString::fromUtf8(item.caption));
        action->setObjectName(QLatin1String(item.name));
        action->setShortcut(item.keys);
        if (item.hint) {
            action->setToolTip(QString::fromUtf8(item.hint));
            action->setStatusTip(QString::fromUtf8(item.hint));
        }
        action->setProperty(HasCommand, true);
        QObject::connect(action, &QAction::triggered, &window,
                         [&window, run = item.handler] { run(window); });
    }
}

// The history's own actions, for their names and enabling, with the window's handler in place of
// the history's.
QAction* historyItem(TMainFormverasco& window, QAction* action, const char* name, Handler handler) {
    action->setObjectName(QLatin1String(name));
    action->setProperty(HasCommand, true);
    QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
    QObject::connect(action, &QAction::triggered, &window, [&window, handler] { handler(window); });
    return action;
}

void addHistoryItems(TMainFormverasco& window, QMenu* edit, const QUndoStack& history) {
    edit->addSeparator();
    QAction* undo = historyItem(window, history.createUndoAction(edit, QStringLiteral("&Undo")), "Undo1",
                                run<&W::Undo1Click>());
    undo->setShortcut(Ctrl(Qt::Key_Z));
    edit->addAction(undo);
    QAction* redo = historyItem(window, history.createRedoAction(edit, QStringLiteral("&Redo")), "Redo1",
                                run<&W::Redo1Click>());
    redo->setShortcuts({Ctrl(Qt::Key_Z, Qt::ShiftModifier), Ctrl(Qt::Key_Y)});
    edit->addAction(redo);
}

// Edit > "S&ort Slides", before "Image Pr&operties...".
void addSortMenu(TMainFormverasco& window, QMenu* edit) {
    auto* sort = new QMenu(QStringLiteral("S&ort Slides"), edit);
    sort->setObjectName(QStringLiteral("SortMenu"));
    addItems(window, sort,
             {{"SortByDate1", "By &Date Taken", {}, run<&W::SortByDate1Click>()},
              {"SortByName1", "By &Name", {}, run<&W::SortByName1Click>()},
              {"SortReverse1", "&Reverse", {}, run<&W::SortReverse1Click>()}});
    QObject::connect(sort, &QMenu::aboutToShow, &window, [&window] { window.SortMenuClick(); });
    edit->insertMenu(window.findChild<QAction*>(QStringLiteral("SlideProperties1")), sort);
}

} // namespace

MainMenus buildMainMenus(TMainFormverasco& window, const QUndoStack& history) {
    const Menu menus[] = {
        {"FileMenu",
         "&File",
         run<&W::FileMenuClick>(),
         {{"FileNewItem", "Create &New Verasco", Ctrl(Qt::Key_N), run<&W::FileNew>()},
          {"FileOpenItem", "&Open Existing Verasco...", Ctrl(Qt::Key_O), run<&W::FileOpen>()},
          {"FileSaveAsItem", "&Save Verasco...", Ctrl(Qt::Key_S, Qt::ShiftModifier), run<&W::FileSaveAs>()},
          {"SaveStandaloneSlideShow1",
           "Sa&ve Stand-alone Verasco...",
           {},
           run<&W::SaveStandaloneSlideShow1Click>()},
          {},
          {"PrintSlide1", "Print &Image...", {}, run<&W::PrintSlide1Click>()},
          {"FilePrintItem", "Print Ver&asco...", Ctrl(Qt::Key_P), run<&W::FilePrint>()},
          {"FilePrintSetupItem", "P&rint Setup...", {}, run<&W::FilePrintSetup>()},
          {},
          {"FileExitItem", "E&xit", Ctrl(Qt::Key_Q), run<&W::FileExit>()},
          {},
          {"SaveVideo1", "Save as &Video...", {}, run<&W::SaveVideo1Click>()},
          {"SaveWebPage1", "Save as &Web Page...", {}, run<&W::SaveWebPage1Click>()},
          {},
          {"FileSaveItem", "&Save", Ctrl(Qt::Key_S), run<&W::FileSave>()}}},
        {"EditMenu",
         "&Edit",
         run<&W::EditMenuClick>(),
         {{"EditCutItem", "Cu&t", Ctrl(Qt::Key_X), run<&W::EditCut>(), "Delete selected item"},
          {"EditCopyItem", "&Copy", Ctrl(Qt::Key_C), run<&W::EditCopy>(), "Copy selected item to clipboard"},
          {"EditPasteItem", "&Paste", Ctrl(Qt::Key_V), run<&W::EditPaste>(), "Paste contents of clipboard"},
          {"Clear1", "Cle&ar", QKeySequence(Qt::Key_Delete), run<&W::Clear1Click>()},
          {"ClearAll1", "Cl&ear All", {}, run<&W::FileNew>()},
          {"SelectAll1", "Select A&ll", Ctrl(Qt::Key_A), run<&W::SelectAll1Click>()},
          {},
          {"SlideProperties1", "Image Pr&operties...", {}, run<&W::SlideProperties1Click>()},
          {"Preferences1", "Verasco P&references...", {}, run<&W::Preferences1Click>()},
          {},
          {"Music1", "&Music...", {}, run<&W::Music1Click>(), "Choose music to play under the whole show"},
          {"FitToMusic1",
           "Fit Slides to &Music",
           {},
           run<&W::FitToMusic1Click>(),
           "Give the slides times so that the show lasts as long as its music"}}},
        {"View1",
         "&View",
         run<&W::View1Click>(),
         {{"SingleSlide1", "&Image", {}, run<&W::SingleSlide1Click>()},
          {"Slideshow1", "Ver&asco", {}, run<&W::Slideshow1Click>()},
          {"ResumeSlideshow1", "&Resume Verasco", {}, run<&W::ResumeSlideshow1Click>()}}},
        {"HelpMenu",
         "&Help",
         {},
         {{"HelpContentsItem", "&Help Topics", QKeySequence(Qt::Key_F1), run<&W::HelpContentsItemClick>()},
          {"HelpAboutItem", "&About Verasco...", {}, run<&W::HelpAboutItemClick>()}}},
    };
    MainMenus built;
    for (const Menu& entry : menus) {
        QMenu* menu = window.menuBar()->addMenu(QString::fromUtf8(entry.caption));
        menu->setObjectName(QLatin1String(entry.name));
        if (entry.aboutToShow)
            QObject::connect(menu, &QMenu::aboutToShow, &window,
                             [&window, show = entry.aboutToShow] { show(window); });
        addItems(window, menu, entry.items);
    }
    built.file = window.findChild<QMenu*>(QStringLiteral("FileMenu"));
    built.edit = window.findChild<QMenu*>(QStringLiteral("EditMenu"));
    built.edit->setToolTipsVisible(true);
    addSortMenu(window, built.edit);
    addHistoryItems(window, built.edit, history);
    return built;
}

void applyMenuRules(QObject& window, std::initializer_list<std::pair<const char*, bool>> rules) {
    for (const auto& [name, enabled] : rules) {
        QAction* action = window.findChild<QAction*>(QLatin1String(name));
        action->setEnabled(enabled && action->property(HasCommand).toBool());
    }
}
