// SPDX-License-Identifier: MIT
#pragma once
// Edit > Music... for a show with music: its files in the order they play, each with its length, and
// their total against the show's running time; files added, removed and moved, and the music's level.
// Each change is a step of the show's history at once ("Music").

#include <QDialog>

#include <cstdint>
#include <functional>
#include <map>

class QLabel;
class QListWidget;
class QPushButton;
class QSlider;
class ShowDocument;

class MusicDialog : public QDialog {
    Q_OBJECT
  public:
    // Asks for files to add; empty for none.
    using FileChooser = std::function<QStringList()>;
    // The length of each file in milliseconds (below 0 for one that cannot be played).
    using Lengths = std::function<std::map<QString, std::int64_t>(const QStringList& paths)>;

    MusicDialog(ShowDocument& show, FileChooser choose, Lengths lengths, QWidget* parent = nullptr);

  private:
    void showMusic();
    void setMusic(const QStringList& paths);
    void add();
    void remove();
    void moveBy(int step);
    void setLevel(int percent);

    ShowDocument& show_;
    FileChooser choose_;
    Lengths lengths_;
    std::map<QString, std::int64_t> known_;
    QListWidget* list_ = nullptr;
    QLabel* total_ = nullptr;
    QSlider* level_ = nullptr;
    QLabel* levelText_ = nullptr;
    QPushButton *remove_ = nullptr, *up_ = nullptr, *down_ = nullptr;
};
