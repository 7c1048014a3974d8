// SPDX-License-Identifier: MIT
#pragma once
// Edit > Tap Times to Music...: the show's music plays from its start, and each Space ends the slide
// shown there, so that the slides follow the music as it is heard. Done keeps the times tapped (the
// slides not reached keep theirs) as one step of the show's history; Esc keeps the show as it was.

#include <QDialog>

#include <cstdint>
#include <vector>

class MediaDevice;
class QLabel;
class ShowDocument;
class ShowMusic;

class TapTimesDialog : public QDialog {
    Q_OBJECT
  public:
    TapTimesDialog(ShowDocument& show, QWidget* parent = nullptr);
    ~TapTimesDialog() override;

    // The times tapped so far, one for each slide from the first, in milliseconds.
    const std::vector<std::int64_t>& taps() const { return taps_; }
    // Gives the slides tapped their times as one step; false when none was tapped.
    bool apply();

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void tap();
    void showSlide();

    ShowDocument& show_;
    MediaDevice* music_ = nullptr;
    MediaDevice* quiet_ = nullptr; // the slides' own sounds, which do not play here
    ShowMusic* player_ = nullptr;
    QLabel* slide_ = nullptr;
    QLabel* picture_ = nullptr;
    std::vector<std::int64_t> taps_;
    qint64 lastTapMs_ = -1;
};
