// SPDX-License-Identifier: MIT
#include "pictures_ahead.h"

#include "work_wait.h"

#include <QThread>

namespace print {

PicturesAhead::PicturesAhead(QStringList paths, QSize reduceBox)
    : paths_(std::move(paths)), reduceBox_(reduceBox),
      // As many pictures ahead as there are cores: this thread mostly waits for them while the
      // printer takes the pictures. A large sheet's pictures are big, so no more are held at a time.
      ahead_(qMax(1, QThread::idealThreadCount())) {}

PicturesAhead::~PicturesAhead() = default;

void PicturesAhead::startUpTo(int last) {
    for (; next_ <= last && next_ < paths_.size(); ++next_) {
        if (paths_[next_].isEmpty())
            continue;
        started_[next_] = decode(paths_[next_]);
    }
}

std::future<imaging::LoadedImage> PicturesAhead::decode(const QString& path) const {
    return std::async(std::launch::async,
                      [path, box = reduceBox_] { return imaging::loadImageFile(path, box); });
}

const QString& PicturesAhead::path(int index) const {
    return paths_[index];
}

imaging::LoadedImage PicturesAhead::take(int index) {
    if (index < 0 || index >= paths_.size() || paths_[index].isEmpty())
        return {};
    // Pictures skipped over are not decoded at all.
    next_ = qMax(next_, index);
    started_.erase(started_.begin(), started_.lower_bound(index));
    startUpTo(index + ahead_);
    auto found = started_.find(index);
    if (found == started_.end()) // taken before
        found = started_.emplace(index, decode(paths_[index])).first;
    std::future<imaging::LoadedImage>& work = found->second;
    imaging::waitForWork([&work](int ms) {
        return work.wait_for(std::chrono::milliseconds(ms)) == std::future_status::ready;
    });
    imaging::LoadedImage picture = work.get();
    started_.erase(found);
    return picture;
}

} // namespace print
