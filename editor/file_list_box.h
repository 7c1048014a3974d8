// SPDX-License-Identifier: MIT
#pragma once
// FileListBox1: the image browser's hidden file list. It is pointed at a folder and, when read,
// holds the names (without folder) of the plain files there that match its mask, sorted by name
// without regard to case.

#include <QObject>
#include <QString>
#include <QStringList>

class TFileListBox : public QObject {
    Q_OBJECT
  public:
    explicit TFileListBox(QObject* parent = nullptr);

    // Patterns separated by ";", such as "*.bmp;*.jpg" ("*" any run of characters, "?" any one);
    // matched against whole names without regard to case.
    void setMask(const QString& mask);
    QString Mask() const { return mask_.join(QLatin1Char(';')); }

    // The folder, always with its full path. Pointing the list at a folder does not read it yet.
    void setDirectory(const QString& folder);
    QString Directory() const { return directory_; }

    // Reads the folder again; false (and an empty list) when it cannot be read.
    bool Update();
    const QStringList& Items() const { return items_; }

  private:
    QStringList mask_;
    QString directory_;
    QStringList items_;
};

// The full path of a listed file: the folder, a separator unless the folder ends with one, the name.
QString joinFolderPath(const QString& folder, const QString& name);
