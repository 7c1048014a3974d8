// SPDX-License-Identifier: MIT
#include "video_dialog.h"

#include "video_export.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace sharing {

namespace {

template <class T> T* named(T* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

VideoDialog::VideoDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("videoDlg"));
    setWindowTitle(tr("Video Settings"));
    FileLabel = named(new QLabel(this), "FileLabel");
    FormatLabel = named(new QLabel(this), "FormatLabel");
    SizeBox = named(new QComboBox(this), "SizeBox");
    SizeBox->addItem(QStringLiteral("1280 x 720"), QSize(1280, 720));
    SizeBox->addItem(QStringLiteral("1920 x 1080"), QSize(1920, 1080));
    SizeBox->addItem(QStringLiteral("2560 x 1440"), QSize(2560, 1440));
    SizeBox->addItem(QStringLiteral("3840 x 2160"), QSize(3840, 2160));
    SizeBox->addItem(tr("1080 x 1920 (vertical)"), QSize(1080, 1920));
    SizeBox->addItem(tr("1080 x 1080 (square)"), QSize(1080, 1080));
    RateBox = named(new QComboBox(this), "RateBox");
    for (int rate : {24, 25, 30, 50, 60})
        RateBox->addItem(QString::number(rate), rate);
    RateBox->setCurrentText(QStringLiteral("25"));
    QualityBox = named(new QComboBox(this), "QualityBox");
    QualityBox->addItem(tr("Smaller file"), int(VideoQuality::Smaller));
    QualityBox->addItem(tr("Balanced"), int(VideoQuality::Balanced));
    QualityBox->addItem(tr("Best"), int(VideoQuality::Best));
    QualityBox->setCurrentIndex(1);

    auto* form = new QFormLayout;
    form->addRow(tr("Filename:"), FileLabel);
    form->addRow(tr("Format:"), FormatLabel);
    form->addRow(tr("&Size:"), SizeBox);
    form->addRow(tr("&Frames per second:"), RateBox);
    form->addRow(tr("&Quality:"), QualityBox);
    SubtitlesBox = named(new QCheckBox(tr("Captions as &subtitles"), this), "SubtitlesBox");
    form->addRow(QString(), SubtitlesBox);
    auto* buttons = new QDialogButtonBox(this);
    SaveButton = named(buttons->addButton(tr("&Save"), QDialogButtonBox::AcceptRole), "SaveButton");
    CancelButton = named(buttons->addButton(tr("&Cancel"), QDialogButtonBox::RejectRole), "CancelButton");
    SaveButton->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void VideoDialog::setTarget(const QString& path) {
    FileLabel->setText(QDir::toNativeSeparators(path));
    FormatLabel->setText(containerForName(path) == VideoContainer::WebM ? tr("WebM (VP9 video, Opus sound)")
                                                                        : tr("MP4 (H.264 video, AAC sound)"));
}

QSize VideoDialog::frameSize() const {
    return SizeBox->currentData().toSize();
}

int VideoDialog::frameRate() const {
    return RateBox->currentData().toInt();
}

VideoQuality VideoDialog::quality() const {
    return VideoQuality(QualityBox->currentData().toInt());
}

bool VideoDialog::subtitles() const {
    return SubtitlesBox->isChecked();
}

} // namespace sharing
