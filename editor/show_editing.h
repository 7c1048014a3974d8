// SPDX-License-Identifier: MIT
#pragma once
// Show list editing, the right half of the main window: adding the selected or all folder images
// at the insert position, Clear, Cut, Copy and Paste through the slide clipboard on the selected
// slides (or the active one), Select All, a drag of the selected slides, and the rules that enable
// the Edit and View menus. Each command on several slides is one step of the show's history. The edit
// commands act on the images field or the show name field instead when one of them has the focus.

#include "slide_clipboard.h"
#include "tell_user.h"

#include <QList>
#include <QString>
#include <functional>
#include <vector>

class ImageBrowser;
class QLineEdit;
class QPushButton;
class QWidget;
class ShowDocument;
class ShowGridView;

// The main window's controls the editing works with.
struct EditingControls {
    QPushButton& BitBtn1; // ">"
    QPushButton& BitBtn3; // ">>"
    QLineEdit& Edit1;     // images field
    QLineEdit& Edit2;     // show name field
    QWidget& window;      // whose focus widget decides where a command acts
};

// What the Edit and View menus offer, by item.
struct EditMenuState {
    bool cut = false, copy = false, paste = false, clear = false, clearAll = false, selectAll = false,
         properties = false, undo = false, redo = false;
    bool fieldHasFocus = false; // Undo and Redo act on a text field's typing
};
struct ViewMenuState {
    bool image = false, slideshow = false;
};

class ShowEditing {
  public:
    // Where an add command came from: the button, or a drag from the folder grid.
    enum class Origin { Button, FolderDrag };
    // The switches a new slide takes from the preferences: hold for audio, show text.
    struct NewSlideSwitches {
        bool holdForAudio = false;
        bool showText = false;
    };
    using Switches = std::function<NewSlideSwitches()>;

    // ">" and ">>" follow the show from now on.
    ShowEditing(ShowDocument& show, ShowGridView& view, ImageBrowser& browser, EditingControls controls,
                Switches switches, TellUser message);

    // The slide index that add and paste insert at, from the show grid's active cell; an active
    // cell after the last slide moves back to the place after it.
    int InsertPosition();
    void BitBtn1Click(Origin origin);
    void BitBtn3Click();
    void Clear1Click();
    void EditCut();
    void EditCopy();
    void EditPaste();
    // The typing in the focused text field, or else the show's last step.
    void EditUndo();
    void EditRedo();
    void SelectAll1Click();
    // A slide dragged onto slide `target`: with the others selected with it, they go together after
    // the target when dragged forward, else before it. Returns where the dragged slide then stands.
    int dragSlides(int source, int target);
    EditMenuState EditMenuClick() const;
    ViewMenuState View1Click() const;
    const SlideClipboard& clipboard() const { return clipboard_; }

  private:
    QLineEdit* focusedField() const;
    bool showGridHasFocus() const;
    // ">" and ">>" are available while the show has room.
    void enableAddButtons();
    // Inserts the folder rows at p in folder order, as many as fit from the last one up; says so
    // when the show became full.
    void insertFolderRows(const QList<int>& rows, int p, Origin origin);
    void copyToClipboard(const std::vector<int>& chosen);
    // The rows in view after a change, and a file left out for its long path named.
    void keepInView(int topRow);
    void showFullMessage();

    ShowDocument& show_;
    ShowGridView& view_;
    ImageBrowser& browser_;
    EditingControls controls_;
    Switches switches_;
    TellUser message_;
    SlideClipboard clipboard_;
    QString tooLong_; // an image of the last insertion whose path is too long to be stored
};
