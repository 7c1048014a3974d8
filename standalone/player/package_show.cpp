// SPDX-License-Identifier: MIT
#include "package_show.h"

#include "stored_path.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString SlideListName = QStringLiteral("images.sld");
const QString ImageDataName = QStringLiteral("images.dat");

// The file of the package folder whose name is `name` in any letter case: members are unpacked
// under their stored, upper-cased names, while records keep the name as the show spelled it.
QString packageFile(const QDir& folder, const QString& name) {
    if (name.isEmpty() || name.contains(QLatin1Char('/')))
        return {};
    for (const QString& entry : folder.entryList(QDir::Files | QDir::Hidden))
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return folder.filePath(entry);
    return {};
}

QString missingOr(const QString& path, const QFile& file) {
    return path.isEmpty() ? QStringLiteral("it is missing") : file.errorString();
}

} // namespace

bool PackageShow::open(const QString& folder, QString& error) {
    const QDir dir(folder);
    SlideList list;
    if (!readSlideList(packageFile(dir, SlideListName), list, error) ||
        !mapImageData(packageFile(dir, ImageDataName), error))
        return false;
    ranges_ = list.dataRanges(size_);
    options_ = PlayerOptions::parse(list.options);
    fillShow(list, dir);
    return true;
}

bool PackageShow::readSlideList(const QString& path, SlideList& list, QString& error) {
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        error =
            QStringLiteral("The slide list %1 cannot be read: %2.").arg(SlideListName, missingOr(path, file));
        return false;
    }
    // A list longer than the largest show and its header is damaged: it is not read whole.
    constexpr qint64 Largest =
        SlideList::HeaderSize + qint64(ShowDocument::MaxSlides) * SlideList::RecordSize;
    const QByteArray bytes = file.read(Largest + 1);
    const SlideList::ParseResult result =
        SlideList::parse(std::string_view(bytes.constData(), std::size_t(bytes.size())), list);
    QString reason;
    if (!result.ok())
        reason = QString::fromStdString(result.error);
    else if (list.records.empty())
        reason = QStringLiteral("it holds no slides");
    else if (list.records.size() > std::size_t(ShowDocument::MaxSlides))
        reason = QStringLiteral("it holds more than %1 slides").arg(ShowDocument::MaxSlides);
    if (reason.isEmpty())
        return true;
    error = QStringLiteral("The slide list %1 is damaged: %2.").arg(SlideListName, reason);
    return false;
}

bool PackageShow::mapImageData(const QString& path, QString& error) {
    data_.setFileName(path);
    if (path.isEmpty() || !data_.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("The image data %1 cannot be read: %2.")
                    .arg(ImageDataName, missingOr(path, data_));
        return false;
    }
    size_ = data_.size();
    if (size_ == 0)
        return true; // a show of blank slides
    bytes_ = data_.map(0, size_);
    if (!bytes_) {
        error =
            QStringLiteral("The image data %1 cannot be read: %2.").arg(ImageDataName, data_.errorString());
        return false;
    }
    return true;
}

void PackageShow::fillShow(const SlideList& list, const QDir& folder) {
    std::vector<TSlideRecord> records = list.records;
    for (std::size_t i = 0; i < records.size(); ++i) {
        TSlideRecord& slide = records[i];
        if (ranges_[i].length == 0)
            slide.ImageFile.assign(BlankImageName);
        // The sound's path in the folder, where it fits the record; else the bare name, found in
        // the working folder.
        const QString audio = packageFile(folder, StoredPath::of(slide.AudioFile));
        if (!audio.isEmpty() && !StoredPath::assign(slide.AudioFile, audio))
            StoredPath::assign(slide.AudioFile, QFileInfo(audio).fileName());
    }
    show_.load(std::move(records));
}

QByteArrayView PackageShow::pictureData(int index) const {
    const SlideList::DataRange& r = ranges_[std::size_t(index)];
    if (!r.valid || r.length == 0)
        return {};
    return QByteArrayView(bytes_ + r.offset, r.length);
}
