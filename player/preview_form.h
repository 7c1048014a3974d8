// SPDX-License-Identifier: MIT
#pragma once
// The preview window: one picture at its own size in a modal window fitted to the screen, closed by
// the first key or click. Its imaging control also serves the stand-alone export, which loads and
// saves pictures through it.

#include "tell_user.h"

#include <QDialog>

#include <functional>

class TPhoto;
struct SharedFlags;

class Tpreviewfrm : public QDialog {
    Q_OBJECT
  public:
    static constexpr int InitialClientWidth = 467;
    static constexpr int InitialClientHeight = 371;

    // Tells the user something in the program's information message: a text and a second line.

    explicit Tpreviewfrm(SharedFlags& flags, QWidget* parent = nullptr);

    void setInformUser(TellUser inform) { informUser_ = std::move(inform); }
    // Repaints the grids of the main window; run when the preview is shown and when it closes.
    void setRepaintGrids(std::function<void()> repaint) { repaintGrids_ = std::move(repaint); }

    // The imaging control Photo1.
    TPhoto& photo() const { return *Photo1; }

    // The message for a picture that failed to load: its first line and its second (tooLarge: the
    // picture is beyond the largest the program decodes).
    static std::pair<QString, QString> failureMessage(const QString& path, int fxError,
                                                      bool tooLarge = false);

  public slots:
    // Shows the picture and returns when the window has closed; a blank slide's "BLANK" and a picture
    // that cannot be loaded (after a message) return at once.
    void OpenPreview(const QString& path);
    // Keeps LoadInProgress set while a load or save reports less than 100 %.
    void Photo1Progress(TPhoto* sender, qint16 id, qint16 pctDone);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void placeFor(QSize picture);
    QSize frameSize();
    void repaintGrids();

    SharedFlags& flags_;
    TPhoto* Photo1 = nullptr;
    TellUser informUser_;
    std::function<void()> repaintGrids_;
};
