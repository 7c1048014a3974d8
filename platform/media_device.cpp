// SPDX-License-Identifier: MIT
#include "media_device.h"

#include "media_backend.h"
#include "shipped_files.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QLibrary>
#include <QPointer>
#include <QTimer>

namespace {

constexpr int LoadPollMs = 5;

// The module where the program's shipped files are (beside it, or installed), or where this build
// puts it, for programs that run from other folders of the build (tests, benchmarks).
CreateMediaBackend findMediaModule() {
    const QStringList folders = shippedFileFolders(QCoreApplication::applicationDirPath())
                                << QStringLiteral(VERASCO_MEDIA_MODULE_DIR);
    for (const QString& folder : folders) {
        QLibrary module(QDir(folder).filePath(QLatin1String(MediaModuleName)));
        if (auto create = reinterpret_cast<CreateMediaBackend>(module.resolve(CreateMediaBackendName)))
            return create;
    }
    return nullptr;
}

} // namespace

MediaDevice::MediaDevice(QObject* parent) : QObject(parent) {}

MediaDevice::~MediaDevice() = default;

MediaBackend* MediaDevice::backend() {
    if (!backend_) {
        static const CreateMediaBackend create = findMediaModule();
        if (create)
            backend_.reset(create());
        if (backend_)
            backend_->setVolume(float(volume_));
    }
    return backend_.get();
}

bool MediaDevice::open(const QString& path, int timeoutMs) {
    close();
    MediaBackend* media = backend();
    if (!media)
        return false;
    const quint64 opening = ++opening_;
    const QPointer<MediaDevice> self(this);
    const QDeadlineTimer deadline(timeoutMs);
    // The failure of a file that failed before may still be on its way and land on this one: a load
    // that fails is tried once more.
    bool quitting = false;
    for (int attempt = 0;
         attempt < 2 && !quitting && !deadline.hasExpired() && media->status() != MediaBackend::Status::Ready;
         ++attempt) {
        media->load(path);
        while (media->status() == MediaBackend::Status::Loading && !deadline.hasExpired() && !quitting) {
            QEventLoop loop;
            QTimer::singleShot(LoadPollMs, &loop, &QEventLoop::quit);
            quitting = loop.exec() != 0;
            // Events ran meanwhile: this device may be gone, or a later open may have taken over.
            if (!self || opening != opening_)
                return false;
        }
    }
    if (media->status() != MediaBackend::Status::Ready) {
        close();
        return false;
    }
    open_ = true;
    length_ = media->durationMs();
    return true;
}

void MediaDevice::close() {
    open_ = false;
    length_ = 0;
    if (backend_)
        backend_->unload();
}

qint64 MediaDevice::position() const {
    return isPlaying() ? qBound<qint64>(0, backend_->positionMs(), length_) : length();
}

bool MediaDevice::isPlaying() const {
    return open_ && backend_->isPlaying();
}

bool MediaDevice::play(qint64 fromMs) {
    if (!open_ || fromMs < 0 || (fromMs > 0 && fromMs >= length_))
        return false;
    backend_->play(fromMs);
    return backend_->isPlaying();
}

void MediaDevice::stop() {
    if (backend_)
        backend_->stop();
}

void MediaDevice::setVolume(qreal volume) {
    volume_ = qBound<qreal>(0, volume, 1);
    if (backend_)
        backend_->setVolume(float(volume_));
}
