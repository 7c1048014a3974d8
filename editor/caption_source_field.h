// SPDX-License-Identifier: MIT
#pragma once
// Image Properties' "Caption from": the caption typed, or taken from the photo (its date taken, its
// file name, its description). A source chosen shows the slide's caption from it in the caption
// field; typing there makes the caption a typed one again. Beside it, "Title slide": a blank slide's
// caption shown as its title.

#include "caption_sources.h"

#include <QWidget>

#include <optional>

class QCheckBox;
class QComboBox;
class QPlainTextEdit;

class CaptionSourceField : public QWidget {
    Q_OBJECT
  public:
    CaptionSourceField(QWidget* parent, QPlainTextEdit& caption);

    // Shows the slide's source; `several`: the slides do not share one, and none is shown.
    // Called after the caption field was filled.
    void load(const QJsonObject& slide, const QString& imagePath, bool several = false);
    // The source the user chose since load; nothing when unchanged.
    std::optional<CaptionSources::Source> chosen() const;
    QComboBox* box() const { return box_; }
    QCheckBox* titleBox() const { return title_; }
    // Shows the title mark: on, off or, for slides that differ, neither; only blank slides take one.
    void loadTitle(Qt::CheckState title, bool blank);
    // The title mark the user set since loadTitle; nothing when unchanged.
    std::optional<bool> titleChosen() const;

  private:
    void choose(int index);
    void captionEdited();

    QPlainTextEdit& caption_;
    QComboBox* box_ = nullptr;
    QCheckBox* title_ = nullptr;
    Qt::CheckState loadedTitle_ = Qt::Unchecked;
    QString imagePath_;
    int loaded_ = 0;
    bool filling_ = false;
};
