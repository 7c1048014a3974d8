// SPDX-License-Identifier: MIT
#pragma once
// The viewer's pictures, decoded for the device pixels they are shown in. The next slide's picture is
// decoded on a second thread while the current slide is on screen, so that changing to it costs no
// decoding on the window thread.

#include "image_loader.h"

#include <QSize>
#include <QString>
#include <QThreadPool>

#include <atomic>
#include <functional>
#include <future>
#include <memory>

// One picture as the viewer shows it: a file in an image area of `area` logical pixels on a screen
// of `devicePixelRatio`, decoded `zoom` times as large where a slide's motion shows parts of it.
struct PictureRequest {
    QString path;
    QSize area;
    qreal devicePixelRatio = 1;
    qreal zoom = 1;
    bool operator==(const PictureRequest&) const = default;
};

// Decodes a picture file, reduced where the result still covers `reduceBox` (device pixels). It runs
// on the window thread or on the decoding thread.
using PictureDecoder = std::function<imaging::LoadedImage(const QString& path, QSize reduceBox)>;
// The viewer's decoder: imaging's loader unless a test has put another in place (empty brings it back).
void setPictureDecoder(PictureDecoder decoder);

// The picture decoded and, when the viewer scales it into its area (it is not smaller than the area
// both ways), scaled to the device pixels it fills there.
imaging::LoadedImage decodeForDisplay(const PictureRequest& request, const PictureDecoder& decoder);

class PictureAhead {
  public:
    // `decoded`, when given, is told on the decoding thread each time a decoding has ended.
    explicit PictureAhead(std::function<void()> decoded = {});
    // Waits for a decoding that still runs.
    ~PictureAhead();
    PictureAhead(const PictureAhead&) = delete;
    PictureAhead& operator=(const PictureAhead&) = delete;

    // Starts decoding the picture on the decoding thread, unless it is the one decoded or being
    // decoded already. An earlier request that has not started by then is dropped.
    void request(const PictureRequest& request);
    // Whether take() has this picture without decoding or waiting.
    bool ready(const PictureRequest& request) const;
    // The picture: the one decoded ahead when it is this one (waiting for its decoding to end), the
    // one taken last when it is asked for again, otherwise decoded now.
    imaging::LoadedImage take(const PictureRequest& request);
    // Forgets every picture, so that the next take reads its file again.
    void clear();

  private:
    std::function<void()> decoded_;
    QThreadPool thread_;
    std::shared_ptr<std::atomic<int>> latest_ = std::make_shared<std::atomic<int>>(0);
    PictureRequest ahead_;
    std::shared_future<imaging::LoadedImage> aheadResult_;
    PictureRequest last_;
    imaging::LoadedImage lastResult_;
};
