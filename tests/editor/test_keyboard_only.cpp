// SPDX-License-Identifier: MIT
// The show composed, played and saved with the keyboard alone, through the real main window: the
// labels' mnemonics and Tab reach the controls, the grids move their active cells, Enter and the
// context menu keys open the selected slides' properties, Ctrl or Alt with an arrow moves a slide as
// one step of the history, and not one mouse event reaches the program.

#include "app_windows.h"
#include "drag_window_support.h"
#include "show_file.h"
#include "show_form.h"
#include "text_dialog.h"

#include <QAccessible>
#include <QLabel>
#include <QMouseEvent>

#include <string_view>

namespace {
testing::Environment* const environment = testing::AddGlobalTestEnvironment(new PlayerTestEnvironment);

// Counts the mouse presses the program receives while it lives.
class MouseWatch : public QObject {
  public:
    MouseWatch() { qApp->installEventFilter(this); }
    ~MouseWatch() override { qApp->removeEventFilter(this); }
    int presses = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)
            ++presses;
        return false;
    }
};

class KeyboardOnly : public DragWindow {
  public:
    // Keys go where a keyboard sends them: to the widget with the focus.
    void key(QKeyCombination keys) {
        QWidget* target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr);
        QTest::keyClick(target, keys.key(), keys.keyboardModifiers());
    }
    QString focusName() {
        QWidget* focus = QApplication::focusWidget();
        return focus ? focus->objectName() : QString();
    }
    // Runs `keys` once the slide's properties are up, and notes the slides they came up for
    // ("Images: 3").
    void answerProperties(QKeyCombination keys) {
        Ttextdlg* dialog = windows->textdlg;
        whenModal(dialog, [this, dialog, keys] {
            propertiesOpened.append(dialog->findChild<QLabel*>("Label1")->text() + QLatin1Char(' ') +
                                    dialog->findChild<QLabel*>("Label6")->text());
            QTest::keyClick(dialog, keys.key(), keys.keyboardModifiers());
        });
    }
    // The offscreen platform has no window manager to give the window back its activation when a
    // window in front of it closes; the focus then comes back to the control that had it.
    void backToMainWindow() {
        QApplication::setActiveWindow(&main());
        ASSERT_TRUE(QTest::qWaitForWindowActive(&main(), ConditionWaitMs));
    }
    QStringList propertiesOpened;
};

TEST_F(KeyboardOnly, AShowIsComposedPlayedAndSavedWithoutTheMouse) {
    const QString folder = folderWith("folder", {"a.png", "b.png", "c.png"});
    const QString file = dir.filePath("keys.vrs");
    dialogSeams().getSaveFileName = [&](QWidget*, const QString&, const QString&, const QString&) {
        return file;
    };
    MouseWatch mouse;
    showWindow();
    QApplication::setActiveWindow(&main());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main(), ConditionWaitMs));

    key(Qt::ALT | Qt::Key_I); // "&Images:"
    ASSERT_EQ(focusName(), QStringLiteral("Edit1"));
    key(Qt::Key_End);
    key(Qt::SHIFT | Qt::Key_Home);
    QTest::keyClicks(QApplication::focusWidget(), folder);
    key(Qt::Key_Return);
    ASSERT_EQ(listed().size(), 3);

    key(Qt::ALT | Qt::Key_S); // "&Select Images"
    ASSERT_EQ(focusName(), QStringLiteral("OvcTable1"));
    key(Qt::Key_Down);
    key(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget()->accessibleName(), QStringLiteral("Add selected pictures"));
    key(Qt::Key_Space);
    ASSERT_EQ(focusName(), QStringLiteral("OvcTable1")) << "an add gives the folder grid the focus back";
    key(Qt::Key_Tab);
    key(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget()->accessibleName(), QStringLiteral("Add all pictures"));
    key(Qt::Key_Space);
    key(Qt::Key_Tab);
    key(Qt::Key_Tab);
    key(Qt::Key_Space);
    const QStringList composed = slideNames();
    ASSERT_EQ(composed.size(), 7);

    key(Qt::ALT | Qt::Key_O); // "Verasc&o"
    ASSERT_EQ(focusName(), QStringLiteral("OvcTable2"));
    key(Qt::CTRL | Qt::Key_Home);
    key(Qt::CTRL | Qt::Key_Right);
    QStringList moved = composed;
    moved.move(0, 1);
    EXPECT_EQ(slideNames(), moved);
    EXPECT_EQ(showGrid().ActiveCol(), 1) << "the moved slide stays active";
    key(Qt::ALT | Qt::Key_Down); // below the last slide: goes last
    moved.move(1, 6);
    EXPECT_EQ(slideNames(), moved);
    key(Qt::CTRL | Qt::Key_Z);
    key(Qt::CTRL | Qt::Key_Z);
    EXPECT_EQ(slideNames(), composed) << "each move is one step";
    key(Qt::CTRL | Qt::Key_Y);
    key(Qt::CTRL | Qt::Key_Home);
    key(Qt::Key_Home); // the Shift run starts here
    key(Qt::SHIFT | Qt::Key_Right);
    key(Qt::SHIFT | Qt::Key_Right);

    // The keys open the properties of every selected slide, as the menu does.
    for (QKeyCombination opener :
         {QKeyCombination(Qt::Key_Return), Qt::SHIFT | Qt::Key_F10, QKeyCombination(Qt::Key_Menu)}) {
        answerProperties(Qt::Key_Escape);
        key(opener);
        backToMainWindow();
    }
    EXPECT_EQ(propertiesOpened, QStringList(3, QStringLiteral("Images: 3")));

    key(Qt::ALT | Qt::Key_P); // "&Play Verasco"
    TshowFrm* viewer = windows->showFrm;
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return viewer->isVisible() && viewer->isActiveWindow(); }, ConditionWaitMs));
    key(Qt::Key_Right);
    key(Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !viewer->isVisible(); }, ConditionWaitMs));

    backToMainWindow();
    key(Qt::CTRL | Qt::Key_S);
    const ShowFile::ReadResult saved = ShowFile::read(file);
    ASSERT_TRUE(saved.ok());
    ASSERT_EQ(saved.records.size(), 7u);
    EXPECT_FALSE(show().ShowModified);
    EXPECT_EQ(mouse.presses, 0);
}

// The grids tell a screen reader what they hold: tables of cells named by the picture, and in the
// show by its number, time and caption, with the file name as the description; the active cell is
// the focused one, and the slides selected are the selected cells. The counts under the grids are
// read by what they say.
TEST_F(KeyboardOnly, TheGridsAreTablesOfNamedCells) {
    addSlides({"dune", "sea"});
    listFolder(2);
    focusShowGrid(0, 1);
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&showGrid());
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->role(), QAccessible::Table);
    EXPECT_EQ(table->text(QAccessible::Name), QStringLiteral("Slides of the show"));
    ASSERT_NE(table->tableInterface(), nullptr);
    EXPECT_EQ(table->tableInterface()->columnCount(), 5);
    QAccessibleInterface* second = table->tableInterface()->cellAt(0, 1);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->role(), QAccessible::Cell);
    EXPECT_EQ(second->text(QAccessible::Name), QStringLiteral("Slide 2: sea.png, 5 seconds"));
    EXPECT_EQ(second->text(QAccessible::Description), QStringLiteral("sea.png"));
    EXPECT_EQ(table->focusChild(), second);
    EXPECT_EQ(table->indexOfChild(second), 1);
    EXPECT_EQ(table->tableInterface()->cellAt(0, 2)->text(QAccessible::Name), QStringLiteral("Empty"));
    key(Qt::SHIFT | Qt::Key_Left);
    EXPECT_EQ(table->tableInterface()->selectedCellCount(), 2);
    EXPECT_TRUE(second->state().selected);
    for (const char* label : {"Label6", "Label7"}) {
        QAccessibleInterface* count = QAccessible::queryAccessibleInterface(main().findChild<QLabel*>(label));
        EXPECT_EQ(count->text(QAccessible::Name).trimmed(), label == std::string_view("Label6")
                                                                ? QStringLiteral("Files: 2")
                                                                : QStringLiteral("Images: 2"));
    }

    QAccessibleInterface* folderTable = QAccessible::queryAccessibleInterface(&folderGrid());
    ASSERT_NE(folderTable, nullptr);
    EXPECT_EQ(folderTable->role(), QAccessible::Table);
    EXPECT_EQ(folderTable->child(1)->text(QAccessible::Name), QStringLiteral("f01.png"));
}

} // namespace
