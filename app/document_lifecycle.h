#pragma once
// The show as a whole: Clear All, Open, Save, the typed show name and the question before closing.
// Every command that would drop a changed show asks first through the confirmation dialog.

#include <QString>
#include <functional>

class QLineEdit;
class QWidget;
class ShowDocument;
class ShowFileCommands;
class ShowSlides;
class Tconfirmfrm;
struct Settings;

class DocumentLifecycle {
public:
    DocumentLifecycle(ShowDocument& show, Settings& settings, ShowSlides& slides, ShowFileCommands& files,
                      Tconfirmfrm& confirm, QLineEdit& showNameField, QWidget* dialogParent);

    // Called with true when the add buttons may be used again (after Clear All).
    void setAddButtonsHandler(std::function<void(bool)> handler) { enableAddButtons_ = std::move(handler); }

    void FileNew();
    void FileOpen();
    // Asks for a name and writes the show; true when it was saved.
    bool FileSaveAs();
    // Whether the main window may close: a changed show is offered for saving first.
    bool FormCloseQuery();

    // The show name field: focus in, focus out, and the Enter key.
    void Edit2Enter();
    void Edit2Exit();
    void Edit2KeyPress();

    // False only while the close query runs Clear All: then only the show's data is dropped.
    bool FullClear = true;

private:
    bool askToKeepChanges();
    void clearGrid();
    void commitTypedName();
    void rememberFolderOf(const QString& path);

    ShowDocument& show_;
    Settings& settings_;
    ShowSlides& slides_;
    ShowFileCommands& files_;
    Tconfirmfrm& confirm_;
    QLineEdit& showNameField_;
    QWidget* dialogParent_;
    std::function<void(bool)> enableAddButtons_;
    QString rememberedName_;
};
