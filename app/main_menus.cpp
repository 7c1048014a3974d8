// SPDX-License-Identifier: MIT
#include "main_menus.h"

#include "main_window.h"

#include <QAction>
#include <QCoreApplication>
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
        QAction* action = menu->addAction(QCoreApplication::translate("MainMenus", item.caption));
        action->setObjectName(QLatin1String(item.name));
        action->setShortcut(item.keys);
        if (item.hint) {
            action->setToolTip(QCoreApplication::translate("MainMenus", item.hint));
            action->setStatusTip(QCoreApplication::translate("MainMenus", item.hint));
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
    QAction* undo =
        historyItem(window, history.createUndoAction(edit, QCoreApplication::translate("MainMenus", "&Undo")),
                    "Undo1", run<&W::Undo1Click>());
    undo->setShortcut(Ctrl(Qt::Key_Z));
    edit->addAction(undo);
    QAction* redo =
        historyItem(window, history.createRedoAction(edit, QCoreApplication::translate("MainMenus", "Re&do")),
                    "Redo1", run<&W::Redo1Click>());
    redo->setShortcuts({Ctrl(Qt::Key_Z, Qt::ShiftModifier), Ctrl(Qt::Key_Y)});
    edit->addAction(redo);
}

// Edit > "&Sort Slides", before "Image Pr&operties...".
void addSortMenu(TMainFormverasco& window, QMenu* edit) {
    auto* sort = new QMenu(QCoreApplication::translate("MainMenus", "&Sort Slides"), edit);
    sort->setObjectName(QStringLiteral("SortMenu"));
    addItems(
        window, sort,
        {{"SortByDate1", QT_TRANSLATE_NOOP("MainMenus", "By &Date Taken"), {}, run<&W::SortByDate1Click>()},
         {"SortByName1", QT_TRANSLATE_NOOP("MainMenus", "By &Name"), {}, run<&W::SortByName1Click>()},
         {"SortReverse1", QT_TRANSLATE_NOOP("MainMenus", "&Reverse"), {}, run<&W::SortReverse1Click>()}});
    QObject::connect(sort, &QMenu::aboutToShow, &window, [&window] { window.SortMenuClick(); });
    edit->insertMenu(window.findChild<QAction*>(QStringLiteral("SlideProperties1")), sort);
}

} // namespace

MainMenus buildMainMenus(TMainFormverasco& window, const QUndoStack& history) {
    const Menu menus[] = {
        {"FileMenu",
         QT_TRANSLATE_NOOP("MainMenus", "&File"),
         run<&W::FileMenuClick>(),
         {{"FileNewItem", QT_TRANSLATE_NOOP("MainMenus", "Create &New Verasco"), Ctrl(Qt::Key_N),
           run<&W::FileNew>()},
          {"FileOpenItem", QT_TRANSLATE_NOOP("MainMenus", "&Open Existing Verasco..."), Ctrl(Qt::Key_O),
           run<&W::FileOpen>()},
          {"FileSaveAsItem", QT_TRANSLATE_NOOP("MainMenus", "&Save Verasco..."),
           Ctrl(Qt::Key_S, Qt::ShiftModifier), run<&W::FileSaveAs>()},
          {"SaveStandaloneSlideShow1",
           QT_TRANSLATE_NOOP("MainMenus", "Sa&ve Stand-alone Verasco..."),
           {},
           run<&W::SaveStandaloneSlideShow1Click>()},
          {},
          {"PrintSlide1", QT_TRANSLATE_NOOP("MainMenus", "Print &Image..."), {}, run<&W::PrintSlide1Click>()},
          {"FilePrintItem", QT_TRANSLATE_NOOP("MainMenus", "Print Ver&asco..."), Ctrl(Qt::Key_P),
           run<&W::FilePrint>()},
          {"FilePrintSetupItem",
           QT_TRANSLATE_NOOP("MainMenus", "P&rint Setup..."),
           {},
           run<&W::FilePrintSetup>()},
          {},
          {"FileExitItem", QT_TRANSLATE_NOOP("MainMenus", "E&xit"), Ctrl(Qt::Key_Q), run<&W::FileExit>()},
          {},
          {"SaveVideo1", QT_TRANSLATE_NOOP("MainMenus", "Save as Vi&deo..."), {}, run<&W::SaveVideo1Click>()},
          {"SaveWebPage1",
           QT_TRANSLATE_NOOP("MainMenus", "Save as &Web Page..."),
           {},
           run<&W::SaveWebPage1Click>()},
          {},
          {"FileSaveItem", QT_TRANSLATE_NOOP("MainMenus", "Sav&e"), Ctrl(Qt::Key_S), run<&W::FileSave>()}}},
        {"EditMenu",
         QT_TRANSLATE_NOOP("MainMenus", "&Edit"),
         run<&W::EditMenuClick>(),
         {{"EditCutItem", QT_TRANSLATE_NOOP("MainMenus", "Cu&t"), Ctrl(Qt::Key_X), run<&W::EditCut>(),
           QT_TRANSLATE_NOOP("MainMenus", "Delete selected item")},
          {"EditCopyItem", QT_TRANSLATE_NOOP("MainMenus", "&Copy"), Ctrl(Qt::Key_C), run<&W::EditCopy>(),
           QT_TRANSLATE_NOOP("MainMenus", "Copy selected item to clipboard")},
          {"EditPasteItem", QT_TRANSLATE_NOOP("MainMenus", "&Paste"), Ctrl(Qt::Key_V), run<&W::EditPaste>(),
           QT_TRANSLATE_NOOP("MainMenus", "Paste contents of clipboard")},
          {"Clear1", QT_TRANSLATE_NOOP("MainMenus", "Cle&ar"), QKeySequence(Qt::Key_Delete),
           run<&W::Clear1Click>()},
          {"ClearAll1", QT_TRANSLATE_NOOP("MainMenus", "Cl&ear All"), {}, run<&W::FileNew>()},
          {"SelectAll1", QT_TRANSLATE_NOOP("MainMenus", "Select A&ll"), Ctrl(Qt::Key_A),
           run<&W::SelectAll1Click>()},
          {},
          {"InsertTitle1",
           QT_TRANSLATE_NOOP("MainMenus", "Insert &Title..."),
           {},
           run<&W::InsertTitle1Click>(),
           QT_TRANSLATE_NOOP("MainMenus", "Insert a title slide before the active slide")},
          {"SlideProperties1",
           QT_TRANSLATE_NOOP("MainMenus", "Image Pr&operties..."),
           {},
           run<&W::SlideProperties1Click>()},
          {"Preferences1",
           QT_TRANSLATE_NOOP("MainMenus", "Verasco P&references..."),
           {},
           run<&W::Preferences1Click>()},
          {},
          {"Music1",
           QT_TRANSLATE_NOOP("MainMenus", "&Music..."),
           {},
           run<&W::Music1Click>(),
           QT_TRANSLATE_NOOP("MainMenus", "Choose music to play under the whole show")},
          {"FitToMusic1",
           QT_TRANSLATE_NOOP("MainMenus", "&Fit Slides to Music"),
           {},
           run<&W::FitToMusic1Click>(),
           QT_TRANSLATE_NOOP("MainMenus",
                             "Give the slides times so that the show lasts as long as its music")},
          {"TapTimes1",
           QT_TRANSLATE_NOOP("MainMenus", "&Tap Times to Music..."),
           {},
           run<&W::TapTimes1Click>(),
           QT_TRANSLATE_NOOP("MainMenus", "Play the music and end each slide with Space where it should")},
          {"RefreshCaptions1",
           QT_TRANSLATE_NOOP("MainMenus", "Refresh Captions"),
           {},
           run<&W::RefreshCaptions1Click>(),
           QT_TRANSLATE_NOOP("MainMenus", "Take the captions that come from the photos from them again")}}},
        {"View1",
         QT_TRANSLATE_NOOP("MainMenus", "&View"),
         run<&W::View1Click>(),
         {{"SingleSlide1", QT_TRANSLATE_NOOP("MainMenus", "&Image"), {}, run<&W::SingleSlide1Click>()},
          {"Slideshow1", QT_TRANSLATE_NOOP("MainMenus", "Ver&asco"), {}, run<&W::Slideshow1Click>()},
          {"ResumeSlideshow1",
           QT_TRANSLATE_NOOP("MainMenus", "&Resume Verasco"),
           {},
           run<&W::ResumeSlideshow1Click>()},
          {},
          {"LargerThumbnails1", QT_TRANSLATE_NOOP("MainMenus", "&Larger Thumbnails"), Ctrl(Qt::Key_Plus),
           run<&W::LargerThumbnails1Click>()},
          {"SmallerThumbnails1", QT_TRANSLATE_NOOP("MainMenus", "&Smaller Thumbnails"), Ctrl(Qt::Key_Minus),
           run<&W::SmallerThumbnails1Click>()}}},
        {"HelpMenu",
         QT_TRANSLATE_NOOP("MainMenus", "&Help"),
         {},
         {{"HelpContentsItem", QT_TRANSLATE_NOOP("MainMenus", "&Help Topics"), QKeySequence(Qt::Key_F1),
           run<&W::HelpContentsItemClick>()},
          {"HelpAboutItem",
           QT_TRANSLATE_NOOP("MainMenus", "&About Verasco..."),
           {},
           run<&W::HelpAboutItemClick>()}}},
    };
    MainMenus built;
    for (const Menu& entry : menus) {
        QMenu* menu = window.menuBar()->addMenu(QCoreApplication::translate("MainMenus", entry.caption));
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
    // Ctrl+= is Ctrl++ without Shift on most keyboards.
    window.findChild<QAction*>(QStringLiteral("LargerThumbnails1"))
        ->setShortcuts({Ctrl(Qt::Key_Plus), Ctrl(Qt::Key_Equal)});
    addHistoryItems(window, built.edit, history);
    return built;
}

void applyMenuRules(QObject& window, std::initializer_list<std::pair<const char*, bool>> rules) {
    for (const auto& [name, enabled] : rules) {
        QAction* action = window.findChild<QAction*>(QLatin1String(name));
        action->setEnabled(enabled && action->property(HasCommand).toBool());
    }
}
