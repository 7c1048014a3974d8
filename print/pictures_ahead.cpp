// SPDX-License-Identifier: MIT
#include "pictures_ahead.h"

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
        started_[next_] = std::async(std::launch::async, [path = paths_[next_], box = reduceBox_] {
            return imaging::loadImageFile(path, box);
        });
    }
}

const QString& PicturesAhead::path(int index) const {
    return paths_[index];
}

imaging::LoadedImage PicturesAhead::take(int index) {
    if (index < 0 || index >= paths_.size() || paths_[index].isEmpty())
        return {};
    // Pictures skipped over are not decoded at all.
    next_ = qMax(next_, index + 1);
    started_.erase(started_.begin(), started_.lower_bound(index));
    startUpTo(index + ahead_);
    const auto found = started_.find(index);
    if (found == started_.end())
        return imaging::loadImageFile(paths_[index], reduceBox_);
    imaging::LoadedImage picture = found->second.get();
    started_.erase(found);
    return picture;
}

} // namespace print
