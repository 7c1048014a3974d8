// SPDX-License-Identifier: MIT
#pragma once
// "Video Settings": the size, frame rate and quality of a video, asked once its file name is chosen.
// The choices are kept from one video to the next.

#include "codec_backend.h"

#include <QDialog>
#include <QSize>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace sharing {

class VideoDialog : public QDialog {
    Q_OBJECT
  public:
    explicit VideoDialog(QWidget* parent = nullptr);

    // Shows the file's name and the format its extension asks for.
    void setTarget(const QString& path);
    QSize frameSize() const;
    int frameRate() const;
    VideoQuality quality() const;
    // The captions as a subtitle track rather than drawn on the picture.
    bool subtitles() const;

  private:
    QLabel* FileLabel = nullptr;
    QLabel* FormatLabel = nullptr;
    QComboBox* SizeBox = nullptr;
    QComboBox* RateBox = nullptr;
    QComboBox* QualityBox = nullptr;
    QCheckBox* SubtitlesBox = nullptr;
    QPushButton* SaveButton = nullptr;
    QPushButton* CancelButton = nullptr;
};

} // namespace sharing
