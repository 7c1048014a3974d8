// SPDX-License-Identifier: MIT
#pragma once
// The show as a whole: Clear All, Open, Save, the typed show name and the question before closing.
// Every command that would drop a changed show asks first through the confirmation dialog.

#include <QCoreApplication>
#include <QString>

class QWidget;
class ShowDocument;
class ShowFileCommands;
class ShowGridView;
class ShowNameField;
class Tconfirmfrm;
struct Settings;

class DocumentLifecycle {
    Q_DECLARE_TR_FUNCTIONS(DocumentLifecycle)

  public:
    DocumentLifecycle(ShowDocument& show, Settings& settings, ShowGridView& view, ShowFileCommands& files,
                      Tconfirmfrm& confirm, ShowNameField& showName, QWidget* dialogParent);

    void FileNew();
    // Asks for the show file first and then, once one is chosen, about the open show's changes:
    // a cancel of either leaves the open show as it was.
    void FileOpen();
    // Opens the show file as Open does once a name is chosen: a changed show is offered for saving
    // first, and a cancel keeps it. Also for a show handed over by a later start or a recent show.
    void openShow(const QString& path);
    // Asks for a name and writes the show; true when it was saved.
    bool FileSaveAs();
    // Writes the show to the file it was read from or last saved to, without asking; a show that
    // has no file yet is saved as FileSaveAs() does. True when it was saved.
    bool FileSave();
    // Whether the main window may close: a changed show is offered for saving first.
    bool FormCloseQuery();

    // The show name field: the focus arriving from another control of the window, the focus
    // leaving for another control, and the Enter key. Focus that goes to a menu, a dialog or
    // another program and comes back is no edit of the name.
    void Edit2Enter();
    void Edit2Exit();
    void Edit2KeyPress();

  private:
    // Whether an empty show is written: only when it was emptied and the question offers to save it.
    enum class Emptied { Refuse, Save };
    bool saveAs(Emptied emptied);
    // Save: in place for a show that has its file, else through saveAs().
    bool save(Emptied emptied);
    // Asks about the changes of a changed show; true when the show stays (a cancel, a refused save).
    bool askToKeepChanges();
    // Clear All before another show is read; false when the show stays (a cancel, a refused save).
    bool clearForOpen();
    void readShow(const QString& path);
    void commitTypedName();
    void rememberFolderOf(const QString& path);

    ShowDocument& show_;
    Settings& settings_;
    ShowGridView& view_;
    ShowFileCommands& files_;
    Tconfirmfrm& confirm_;
    ShowNameField& showName_;
    QWidget* dialogParent_;
    bool committing_ = false;
};
