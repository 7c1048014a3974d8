// SPDX-License-Identifier: MIT
// The media module: sound through Qt Multimedia. Without a sound card Qt's framework plays into a
// sink that keeps real time, so positions still advance.
#include "media_backend.h"

#include <QAudioOutput>
#include <QMediaPlayer>
#include <QUrl>

namespace {

class QtMediaBackend : public MediaBackend {
  public:
    QtMediaBackend() { player_.setAudioOutput(&output_); }

    void load(const QString& path) override {
        // Setting the same source again would be ignored; a file played again must start afresh.
        player_.setSource(QUrl());
        player_.setSource(QUrl::fromLocalFile(path));
    }
    void unload() override { player_.setSource(QUrl()); }

    Status status() const override {
        if (!player_.isAvailable())
            return Status::Failed;
        switch (player_.mediaStatus()) {
        case QMediaPlayer::LoadingMedia:
            return Status::Loading;
        case QMediaPlayer::LoadedMedia:
        case QMediaPlayer::BufferingMedia:
        case QMediaPlayer::BufferedMedia:
        case QMediaPlayer::EndOfMedia:
            return Status::Ready;
        default:
            return Status::Failed;
        }
    }

    qint64 durationMs() const override { return player_.duration(); }
    qint64 positionMs() const override { return player_.position(); }
    bool isPlaying() const override { return player_.playbackState() == QMediaPlayer::PlayingState; }

    void play(qint64 fromMs) override {
        player_.setPosition(fromMs);
        player_.play();
    }
    void stop() override { player_.stop(); }
    void setVolume(float volume) override { output_.setVolume(volume); }

  private:
    QMediaPlayer player_;
    QAudioOutput output_;
};

} // namespace

extern "C" Q_DECL_EXPORT MediaBackend* verascoCreateMediaBackend() {
    return new QtMediaBackend;
}
