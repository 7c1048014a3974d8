// SPDX-License-Identifier: MIT
#include "preview_form.h"

#include "preview_fit.h"
#include "screen_size.h"
#include "shared_flags.h"
#include "show_file.h"
#include "tphoto.h"

#include <QApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QWindow>

namespace {
const QString BlankSlide = QStringLiteral("BLANK");
const char* const PasswordProtected = QT_TRANSLATE_NOOP("Tpreviewfrm", "This image is password protected.");
} // namespace

Tpreviewfrm::Tpreviewfrm(SharedFlags& flags, QWidget* parent) : QDialog(parent), flags_(flags) {
    setObjectName(QStringLiteral("previewfrm"));
    setWindowTitle(tr("Preview Image"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    resize(InitialClientWidth, InitialClientHeight);
    Photo1 = new TPhoto(this);
    Photo1->setObjectName(QStringLiteral("Photo1"));
    Photo1->setAutoSize(TPhoto::AutoSizeOwnSize);
    Photo1->setOwnSizeInDevicePixels(true);
    Photo1->setGeometry(rect());
    connect(Photo1, &TPhoto::OnProgress, this, &Tpreviewfrm::Photo1Progress);
}

void Tpreviewfrm::Photo1Progress(TPhoto*, qint16, qint16 pctDone) {
    flags_.LoadInProgress = pctDone < 100;
}

std::pair<QString, QString> Tpreviewfrm::failureMessage(const QString& path, int fxError, bool tooLarge) {
    // The imaging component cannot tell a protected picture from other failures, so that text stays
    // for the failures whose cause is not known.
    const QString cannotOpen = tr("This image cannot be opened.");
    if (!QFileInfo::exists(path))
        return {cannotOpen, tr("The file does not exist.")};
    if (fxError == TPhoto::FileUnreadable)
        return {cannotOpen, tr("The file cannot be read.")};
    if (fxError == TPhoto::BadPicture && tooLarge)
        return {cannotOpen, tr("The picture is larger than the largest this program shows.")};
    if (fxError == TPhoto::BadPicture)
        return {cannotOpen, tr("The file is damaged or no picture.")};
    return {tr(PasswordProtected), QString()};
}

void Tpreviewfrm::OpenPreview(const QString& path) {
    if (path == BlankSlide)
        return;
    setWindowTitle(ShowFile::fileNamePart(path));
    Photo1->setFileName(path);
    QCoreApplication::processEvents();
    if (Photo1->FXError() != 0) {
        const auto [text, line2] = failureMessage(path, Photo1->FXError(), Photo1->tooLarge());
        if (informUser_)
            informUser_(tr("Information"), text, line2);
        else
            QApplication::beep();
        return;
    }
    // On a screen of more device pixels than pixels the picture takes fewer of its pixels.
    placeFor(Photo1->shownSize());
    exec();
    repaintGrids();
}

void Tpreviewfrm::placeFor(QSize picture) {
    const PreviewPlacement place = fitPreview(picture, ScreenSize(this), frameSize());
    Photo1->setScrollBars(place.scrollBars);
    resize(place.client);
    move(place.topLeft);
}

// The platform tells the frame once the window exists and may stop telling once it is hidden again;
// the frame of the last showing is known then.
QSize Tpreviewfrm::frameSize() {
    if (!windowHandle())
        create();
    const QMargins margins = windowHandle()->frameMargins();
    const QSize platform(margins.left() + margins.right(), margins.top() + margins.bottom());
    return platform.expandedTo(frameGeometry().size() - size());
}

void Tpreviewfrm::repaintGrids() {
    if (repaintGrids_)
        repaintGrids_();
}

void Tpreviewfrm::keyPressEvent(QKeyEvent* event) {
    event->accept();
    accept();
}

void Tpreviewfrm::mousePressEvent(QMouseEvent*) {
    accept();
}

void Tpreviewfrm::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    Photo1->setGeometry(rect());
}

void Tpreviewfrm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    repaintGrids();
}
