// SPDX-License-Identifier: MIT
#include "picture_ahead.h"

#include "tphoto.h"

namespace {

PictureDecoder& replacement() {
    static PictureDecoder decoder;
    return decoder;
}

PictureDecoder currentDecoder() {
    if (replacement())
        return replacement();
    return [](const QString& path, QSize reduceBox) { return imaging::loadImageFile(path, reduceBox); };
}

QSize devicePixels(QSize logical, qreal ratio) {
    return QSize(qRound(logical.width() * ratio), qRound(logical.height() * ratio));
}

} // namespace

void setPictureDecoder(PictureDecoder decoder) {
    replacement() = std::move(decoder);
}

imaging::LoadedImage decodeForDisplay(const PictureRequest& request, const PictureDecoder& decoder) {
    const QSize area = request.area * request.zoom;
    imaging::LoadedImage loaded = decoder(request.path, devicePixels(area, request.devicePixelRatio));
    const QSize stored = loaded.fullSize;
    // A picture smaller than the area both ways is shown at its own size.
    if (loaded.image.isNull() || (stored.width() < area.width() && stored.height() < area.height()))
        return loaded;
    const QSize pixels = TPhoto::scaledPixels(stored, area, request.devicePixelRatio);
    if (!pixels.isEmpty() && loaded.image.size() != pixels)
        loaded.image = loaded.image.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return loaded;
}

PictureAhead::PictureAhead(std::function<void()> decoded) : decoded_(std::move(decoded)) {
    thread_.setMaxThreadCount(1);
}

PictureAhead::~PictureAhead() {
    thread_.waitForDone();
}

void PictureAhead::request(const PictureRequest& request) {
    if ((aheadResult_.valid() && request == ahead_) || (lastResult_.fullSize.isValid() && request == last_))
        return;
    const int id = ++*latest_;
    auto task = std::make_shared<std::packaged_task<imaging::LoadedImage()>>(
        [request, decoder = currentDecoder(), id, latest = latest_] {
            // A window being resized asks for many pictures; only the last one is worth decoding.
            return id == *latest ? decodeForDisplay(request, decoder) : imaging::LoadedImage{};
        });
    ahead_ = request;
    aheadResult_ = task->get_future().share();
    thread_.start([task, decoded = decoded_] {
        (*task)();
        if (decoded)
            decoded();
    });
}

void PictureAhead::clear() {
    ++*latest_;
    aheadResult_ = {};
    lastResult_ = {};
}

bool PictureAhead::ready(const PictureRequest& request) const {
    if (aheadResult_.valid() && request == ahead_)
        return aheadResult_.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
    return lastResult_.fullSize.isValid() && request == last_;
}

imaging::LoadedImage PictureAhead::take(const PictureRequest& request) {
    if (aheadResult_.valid() && request == ahead_) {
        last_ = request;
        lastResult_ = aheadResult_.get();
        aheadResult_ = {};
    } else if (!(lastResult_.fullSize.isValid() && request == last_)) {
        last_ = request;
        lastResult_ = decodeForDisplay(request, currentDecoder());
    }
    return lastResult_;
}
