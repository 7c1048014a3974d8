// SPDX-License-Identifier: MIT
#pragma once
// TFormOpenDialog: an open-file panel that lives inside a form. It shows a folder list (the
// folders with the files of the chosen type), the file type list with its label and a cancel
// button. Moving to another folder reports the folder; activating a file chooses it.

#include <QString>
#include <QStringList>
#include <QWidget>

class QComboBox;
class QFileSystemModel;
class QLabel;
class QModelIndex;
class QPushButton;
class QTreeView;

class TFormOpenDialog : public QWidget {
    Q_OBJECT
  public:
    explicit TFormOpenDialog(QWidget* parent = nullptr);

    // "Description|patterns|Description|patterns...", the patterns separated by ";".
    void setFilter(const QString& filter);
    void setCancelCaption(const QString& caption);

    // The folder shown when the panel is next shown.
    void setInitialDir(const QString& folder) { initialDir_ = folder; }
    QString InitialDir() const { return initialDir_; }
    // The chosen file, or while browsing the folder the panel is in.
    void setFileName(const QString& name) { fileName_ = name; }
    QString FileName() const { return fileName_; }

    // Moves the folder list to the initial folder (or to the top when it does not exist).
    void showInitialDir();
    // Moves the folder list to a folder, as a person clicking it would.
    void setCurrentFolder(const QString& folder);
    QString currentFolder() const { return currentFolder_; }
    // The patterns of the file type chosen in the type list.
    QStringList currentPatterns() const;

  signals:
    void FolderChange();
    void fileChosen(const QString& path);
    void cancelClicked();

  private:
    void ensureModel();
    void currentChanged(const QModelIndex& index);
    void activated(const QModelIndex& index);
    void typeChosen(int index);

    QTreeView* folderList_ = nullptr;
    QLabel* typeLabel_ = nullptr;
    QComboBox* typeList_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QFileSystemModel* model_ = nullptr; // made when first needed: reading folders is not for start-up
    QString initialDir_;
    QString fileName_;
    QString currentFolder_;
};
