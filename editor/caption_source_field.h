// SPDX-License-Identifier: MIT
#pragma once
// Image Properties' "Caption from": the caption typed, or taken from the photo (its date taken, its
// file name, its description). A source chosen shows the slide's caption from it in the caption
// field; typing there makes the caption a typed one again.

#include "caption_sources.h"

#include <QWidget>

#include <optional>

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

  private:
    void choose(int index);
    void captionEdited();

    QPlainTextEdit& caption_;
    QComboBox* box_ = nullptr;
    QString imagePath_;
    int loaded_ = 0;
    bool filling_ = false;
};
