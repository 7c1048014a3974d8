// SPDX-License-Identifier: MIT
#include "tphoto.h"

#include "color_reduction.h"
#include "dib_block.h"
#include "dib_memory.h"
#include "image_format.h"
#include "image_loader.h"
#include "palette_file.h"
#include "picture_resize.h"
#include "plain_files.h"
#include "qpx_encoder.h"
#include "standard_palette.h"
#include "work_wait.h"

#include <QFile>

#include <algorithm>
#include <future>
#include <memory>
#include <mutex>
#include <vector>

namespace {

constexpr int PaletteFromFile = 7;

qintptr nextPaletteHandle() {
    static qintptr next = 0;
    return ++next;
}

} // namespace

TPhoto::~TPhoto() = default;

void TPhoto::fail(Error code, const QString& text) {
    error_ = code;
    errorText_ = text;
    tooLarge_ = false;
}

void TPhoto::succeed() {
    error_ = NoError;
    errorText_.clear();
    tooLarge_ = false;
}

void TPhoto::reportProgress(ProgressId id, int percent) {
    if (progressEnabled_)
        emit OnProgress(this, id, qint16(percent));
}

void TPhoto::setFileName(const QString& path) {
    // The reduced picture must cover every box it is asked to cover.
    const QSize reduceBox =
        qpxThumbnail_ == 1 ? imaging::ThumbnailBox.expandedTo(reducedDecodeBox_) : reducedDecodeBox_;
    // Decoded on a thread of its own while this one waits (the windows keep painting); the steps of
    // its progress are reported here, in order.
    struct Steps {
        std::mutex mutex;
        std::vector<int> percents;
    };
    auto steps = std::make_shared<Steps>();
    std::future<imaging::LoadedImage> work = std::async(std::launch::async, [path, reduceBox, steps] {
        return imaging::loadImageFile(path, reduceBox, [&steps = *steps](int pct) {
            const std::lock_guard lock(steps.mutex);
            steps.percents.push_back(pct);
        });
    });
    const auto reportSteps = [this, &steps = *steps] {
        std::vector<int> percents;
        {
            const std::lock_guard lock(steps.mutex);
            percents.swap(steps.percents);
        }
        for (const int pct : percents)
            reportProgress(LoadProgress, pct);
    };
    imaging::waitForWork(
        [&work](int ms) { return work.wait_for(std::chrono::milliseconds(ms)) == std::future_status::ready; },
        reportSteps);
    setLoadedImage(path, work.get());
    reportProgress(LoadProgress, 100);
}

void TPhoto::setLoadedImage(const QString& path, imaging::LoadedImage loaded) {
    fileName_ = path;
    if (loaded.image.isNull()) {
        // A failed load leaves no picture behind, so nothing can later print or save the previous
        // file's picture under this file's name.
        image_ = QImage();
        size_ = QSize(0, 0);
        reduced_ = false;
        fail(loaded.readFailed ? FileUnreadable : BadPicture, loaded.error);
        tooLarge_ = loaded.failure == imaging::DecodeFailure::TooLarge;
    } else {
        image_ = std::move(loaded.image);
        size_ = loaded.fullSize;
        reduced_ = image_.size() != size_;
        succeed();
    }
    pictureChanged();
}

void TPhoto::setPicture(const QImage& picture) {
    fileName_.clear();
    reduced_ = false;
    if (picture.isNull()) {
        image_ = QImage();
        size_ = QSize(0, 0);
        fail(NoPicture, tr("no picture given"));
    } else {
        image_ =
            picture.convertToFormat(picture.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        size_ = image_.size();
        succeed();
    }
    pictureChanged();
}

void TPhoto::ResizeImage(int width, int height) {
    if (image_.isNull())
        return fail(NoPicture, tr("no picture loaded"));
    QImage scaled = imaging::resizedPicture(image_, width, height);
    if (scaled.isNull())
        return fail(BadArgument, tr("cannot resize to %1 x %2").arg(width).arg(height));
    image_ = std::move(scaled);
    size_ = image_.size();
    reduced_ = false;
    succeed();
    pictureChanged();
}

void TPhoto::ReduceColors(int bits, int paletteKind, int dither) {
    if (bits >= 24) {
        // Back to true colour; the palette stays the control's.
        if (image_.format() == QImage::Format_Indexed8)
            image_ = image_.convertToFormat(QImage::Format_RGB32);
        succeed();
        pictureChanged();
        return;
    }
    if (bits != 8)
        return fail(BadArgument, tr("unsupported bit depth %1").arg(bits));
    QList<QRgb> colours;
    if (paletteKind == PaletteFromFile) {
        const std::optional<QByteArray> bytes =
            paletteFile_.isEmpty() ? std::nullopt
                                   : imaging::readRegularFile(paletteFile_, imaging::PaletteFileLimit);
        if (!bytes)
            return fail(PaletteUnreadable, tr("cannot open palette %1").arg(paletteFile_));
        const auto parsed = imaging::parseRiffPalette(*bytes);
        if (!parsed)
            return fail(PaletteUnreadable, tr("not a palette file: %1").arg(paletteFile_));
        colours = *parsed;
    } else {
        colours = imaging::standardPalette();
    }
    if (palette_ != colours || paletteHandle_ == 0) {
        palette_ = colours;
        paletteHandle_ = nextPaletteHandle();
    }
    if (!image_.isNull()) {
        QImage reduced = imaging::reduceToPalette(
            image_, palette_, dither == 0 ? imaging::Dither::None : imaging::Dither::FloydSteinberg);
        if (reduced.isNull())
            return fail(BadPicture, tr("cannot reduce colours"));
        image_ = std::move(reduced);
    }
    succeed();
    pictureChanged();
}

qintptr TPhoto::CopyDib() {
    dib_.reset();
    if (image_.isNull()) {
        fail(NoPicture, tr("no picture loaded"));
        return 0;
    }
    QByteArray packed = imaging::packDib(image_);
    if (packed.isEmpty()) {
        fail(BadArgument, tr("picture too large for a bitmap"));
        return 0;
    }
    dib_ = std::make_unique<imaging::DibMemoryBlock>(std::move(packed));
    succeed();
    return dib_->handle();
}

void TPhoto::setSaveJPGLumFactor(int factor) {
    lumFactor_ = std::clamp(factor, 0, 255);
}
void TPhoto::setSaveJPGChromFactor(int factor) {
    chromFactor_ = std::clamp(factor, 0, 255);
}
void TPhoto::setSaveJPGSubSampling(int mode) {
    subSampling_ = std::clamp(mode, 0, 2);
}

// A picture decoded reduced for a thumbnail is read again at full size before it is saved, so that a
// save never writes the small version in place of the picture.
bool TPhoto::reloadFullSize() {
    imaging::LoadedImage full = imaging::loadImageFile(fileName_, QSize());
    if (full.image.isNull())
        return false;
    image_ = std::move(full.image);
    size_ = full.fullSize;
    reduced_ = false;
    return true;
}

void TPhoto::SaveImage() {
    if (image_.isNull()) {
        fail(NoPicture, tr("no picture to save"));
    } else if (saveFileName_.isEmpty()) {
        fail(BadArgument, tr("no file name to save to"));
    } else if (reduced_ && !reloadFullSize()) {
        fail(FileUnreadable, tr("cannot read %1 again at full size").arg(fileName_));
    } else {
        imaging::QpxSettings settings;
        settings.luminanceFactor = lumFactor_;
        settings.chrominanceFactor = chromFactor_;
        settings.subsampling = imaging::ChromaSubsampling(subSampling_);
        QString error;
        const QByteArray bytes = imaging::encodeQpx(
            image_, settings, [this](int pct) { reportProgress(SaveProgress, pct); }, &error);
        if (bytes.isEmpty()) {
            fail(SaveFailed, error);
        } else if (const imaging::FileWrite written = imaging::writeWholeFile(saveFileName_, bytes);
                   !written.ok) {
            fail(SaveFailed, tr("cannot write %1: %2").arg(saveFileName_, written.error));
        } else {
            succeed();
        }
    }
    reportProgress(SaveProgress, 100);
}
