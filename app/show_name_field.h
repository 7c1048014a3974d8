// SPDX-License-Identifier: MIT
#pragma once
// The show name field Edit2: the path of the show last read or saved, and the name a typed name is
// compared with. The commands that read or save a show set both; a typed name is settled against
// the remembered one.

#include <QLineEdit>
#include <QString>

class ShowNameField {
  public:
    explicit ShowNameField(QLineEdit& edit) : edit_(edit) {}

    QLineEdit& edit() { return edit_; }
    QString text() const { return edit_.text(); }
    void setText(const QString& text) { edit_.setText(text); }

    // A command read or saved the show under this path.
    void setShowName(const QString& path) {
        edit_.setText(path);
        remembered_ = path.trimmed();
        showPath_ = remembered_;
    }
    // The file the show was last read from or saved to; empty for a show that has none yet.
    const QString& showPath() const { return showPath_; }
    // Clear All: the empty show belongs to no file.
    void forgetShowPath() { showPath_.clear(); }
    // The focus came from another control: the name it holds now is the one to compare with.
    void remember() { remembered_ = edit_.text().trimmed(); }
    const QString& remembered() const { return remembered_; }

  private:
    QLineEdit& edit_;
    QString remembered_;
    QString showPath_;
};
