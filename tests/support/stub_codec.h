// SPDX-License-Identifier: MIT
#pragma once
// A codec that reads and writes nothing, for tests that give one of its parts a behaviour of their own.

#include "codec_backend.h"

class StubCodec : public sharing::CodecBackend {
  public:
    sharing::SoundFacts probeSound(const QString&) override { return {}; }
    bool convertToMp3(const QString&, const QString&, const std::atomic<bool>&, QString*) override {
        return false;
    }
    bool convertToOgg(const QString&, const QString&, const std::atomic<bool>&, QString*) override {
        return false;
    }
    std::unique_ptr<sharing::VideoSink> openVideo(const QString&, const sharing::VideoSettings&,
                                                  QString*) override {
        return nullptr;
    }
};
