// SPDX-License-Identifier: MIT
#include "slide_pass.h"

#include "export_names.h"
#include "image_loader.h"
#include "member_names.h"
#include "plain_files.h"
#include "show_document.h"
#include "show_file.h"
#include "stored_path.h"
#include "work_wait.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <future>
#include <vector>

namespace {

constexpr qint64 CopyBlock = 64 * 1024;

ExportError fileError(const QString& text, const QString& path, const QString& reason) {
    return {text, QDir::toNativeSeparators(path) + QStringLiteral(": ") + reason};
}

class Pass {
  public:
    Pass(const SlidePassJob& job, std::vector<PackageFile>& files)
        : job_(job), files_(files), buffer_(CopyBlock) {}

    std::optional<ExportError> run() {
        const int count = job_.show->SlideCount;
        if (auto error = open(count))
            return error;
        for (int i = 0; i < count; ++i) {
            if (job_.progress)
                job_.progress(i + 1, count);
            if (auto error = slide(i))
                return error;
        }
        for (QFile* f : {&list_, &data_})
            if (!f->flush() || f->error() != QFileDevice::NoError)
                return fileError(writeFailed(), f->fileName(), f->errorString());
        return std::nullopt;
    }

  private:
    static QString writeFailed() {
        return QCoreApplication::translate("StandaloneExport", "The stand-alone show could not be written.");
    }

    std::optional<ExportError> open(int count) {
        const QDir folder(job_.packageFolder);
        list_.setFileName(folder.filePath(QStringLiteral("images.sld")));
        data_.setFileName(folder.filePath(QStringLiteral("images.dat")));
        for (QFile* f : {&list_, &data_}) {
            // Unbuffered, so that a failed write says why (see imaging::writeAll).
            if (!f->open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
                return fileError(writeFailed(), f->fileName(), f->errorString());
            files_.push_back({f->fileName(), QFileInfo(f->fileName()).fileName()});
        }
        SlideList header;
        header.options = job_.options.format();
        return write(list_, header.header(count));
    }

    std::optional<ExportError> write(QFile& file, const std::string& bytes) {
        if (!imaging::writeAll(file, bytes.data(), qint64(bytes.size())))
            return fileError(writeFailed(), file.fileName(), file.errorString());
        return std::nullopt;
    }

    std::optional<ExportError> slide(int index) {
        const TSlideRecord& slide = job_.show->slide(index);
        TSlideRecord record = slide;
        record.ImageFile.assign(OffsetText(offset_));
        qint64 size = 0;
        if (ExportNames::hasImage(slide)) {
            const QString image = ExportNames::imagePath(slide);
            bool blank = false;
            if (auto error = checkReadable(index, image, blank))
                return error;
            if (auto error = blank ? std::nullopt : appendImage(index, image, size))
                return error;
        }
        if (auto error = packAudio(slide, record))
            return error;
        if (auto error = write(list_, SlideList::recordBytes(record)))
            return error;
        offset_ += size;
        return std::nullopt;
    }

    // Packed as it is, or converted on this thread or aside.
    std::optional<ExportError> appendImage(int index, const QString& image, qint64& size) {
        if (!ExportNames::needsConversion(image))
            return appendData(image, size);
        return index == asideSlide_ ? appendConvertedAside(index, image, size)
                                    : appendConverted(index, image, size);
    }

    // A picture that cannot be opened, or one packed as it is whose data does not decode, becomes a
    // blank slide (no data) when the user agrees; the pass stops when not.
    std::optional<ExportError> checkReadable(int index, const QString& image, bool& blank) {
        QFile file;
        QString reason;
        if (imaging::openRegularFile(file, image, &reason)) {
            file.close();
            if (ExportNames::needsConversion(image) || (reason = decodeFailure(image)).isEmpty())
                return std::nullopt;
        }
        if (index == asideSlide_) {
            aside_.wait();
            asideSlide_ = -1;
        }
        return blankOrStop(image, reason,
                           QCoreApplication::translate("StandaloneExport", "A picture could not be read."),
                           blank);
    }

    // Why the picture's data does not decode (tried at the smallest reduced decode, on a thread of
    // its own while the windows paint), or nothing when it decodes.
    static QString decodeFailure(const QString& image) {
        std::future<QString> tried = std::async(std::launch::async, [image] {
            // A file too large to read or a picture beyond the policy is packed as before: the
            // copy and the player have their own limits.
            const imaging::LoadedImage loaded = imaging::loadImageFile(image, QSize(1, 1));
            const bool undecodable = loaded.failure == imaging::DecodeFailure::BadData ||
                                     loaded.failure == imaging::DecodeFailure::NoCodec;
            return undecodable ? loaded.error : QString();
        });
        imaging::waitForWork([&tried](int ms) {
            return tried.wait_for(std::chrono::milliseconds(ms)) == std::future_status::ready;
        });
        return tried.get();
    }

    // Asks whether a blank slide takes the picture's place; the error that stops the pass when not.
    std::optional<ExportError> blankOrStop(const QString& image, const QString& reason, const QString& text,
                                           bool& blank) {
        const bool asked = bool(job_.blankInstead);
        if (asked && job_.blankInstead(image, reason)) {
            blank = true;
            return std::nullopt;
        }
        ExportError error = fileError(text, image, reason);
        error.cancelled = asked;
        return error;
    }

    // Straight into the image data, or else through the conversion file, while the next picture to
    // convert is converted aside.
    std::optional<ExportError> appendConverted(int index, const QString& image, qint64& size) {
        convertNextAside(index);
        if (job_.convertBytes) {
            // On a thread of its own: the windows keep painting meanwhile.
            std::future<std::optional<QByteArray>> converted = std::async(
                std::launch::async, [convert = job_.convertBytes, image] { return convert(image); });
            if (const std::optional<QByteArray> bytes = finished(converted))
                return appendBytes(*bytes, size);
        }
        QString reason;
        if (!job_.convert(image, job_.conversionFile, reason)) {
            // A picture that opens but does not decode: a blank slide instead when the user agrees.
            QFile::remove(job_.conversionFile);
            bool blank = false;
            return blankOrStop(
                image, reason,
                QCoreApplication::translate("StandaloneExport", "A picture could not be converted."), blank);
        }
        auto error = appendData(job_.conversionFile, size);
        QFile::remove(job_.conversionFile);
        return error;
    }

    void convertNextAside(int index) {
        if (!job_.convertAside)
            return;
        for (int i = index + 1; i < job_.show->SlideCount; ++i) {
            const TSlideRecord& next = job_.show->slide(i);
            if (!ExportNames::hasImage(next) || !ExportNames::needsConversion(ExportNames::imagePath(next)))
                continue;
            asideSlide_ = i;
            aside_ = std::async(std::launch::async,
                                [convert = job_.convertAside, image = ExportNames::imagePath(next)] {
                                    return convert(image);
                                });
            return;
        }
    }

    // The bytes converted aside; a picture the second thread could not convert goes through the
    // conversion file after all.
    std::optional<ExportError> appendConvertedAside(int index, const QString& image, qint64& size) {
        const std::optional<QByteArray> bytes = finished(aside_);
        asideSlide_ = -1;
        if (!bytes)
            return appendConverted(index, image, size);
        return appendBytes(*bytes, size);
    }

    static std::optional<QByteArray> finished(std::future<std::optional<QByteArray>>& work) {
        imaging::waitForWork([&work](int ms) {
            return work.wait_for(std::chrono::milliseconds(ms)) == std::future_status::ready;
        });
        return work.get();
    }

    std::optional<ExportError> appendBytes(const QByteArray& bytes, qint64& size) {
        if (offset_ + bytes.size() > MaxImageData)
            return tooMuchImageData();
        return writeData(bytes.constData(), bytes.size(), size);
    }

    std::optional<ExportError> appendData(const QString& source, qint64& size) {
        QFile in;
        QString reason;
        if (!imaging::openRegularFile(in, source, &reason))
            return fileError(QCoreApplication::translate("StandaloneExport", "A picture could not be read."),
                             source, reason);
        if (offset_ + in.size() > MaxImageData)
            return tooMuchImageData();
        // The copy stops within a block past the file's reported size, so an endless file fills no disk.
        const qint64 reported = in.size();
        for (qint64 copied = 0;;) {
            const qint64 n = in.read(buffer_.data(), CopyBlock);
            if (n < 0)
                return fileError(
                    QCoreApplication::translate("StandaloneExport", "A picture could not be read."), source,
                    in.errorString());
            if (n == 0)
                return std::nullopt;
            const QString overrun = imaging::overrunReason(copied += n, reported, MaxImageData);
            if (!overrun.isEmpty())
                return fileError(
                    QCoreApplication::translate("StandaloneExport", "A picture could not be read."), source,
                    overrun);
            if (auto error = writeData(buffer_.data(), n, size))
                return error;
        }
    }

    std::optional<ExportError> writeData(const char* bytes, qint64 n, qint64& size) {
        if (!imaging::writeAll(data_, bytes, n))
            return fileError(writeFailed(), data_.fileName(), data_.errorString());
        size += n;
        return std::nullopt;
    }

    std::optional<ExportError> packAudio(const TSlideRecord& slide, TSlideRecord& record) {
        const QString audio = ExportNames::audioPath(slide);
        if (!ExportNames::hasAudio(slide) || !QFileInfo(audio).isFile())
            return std::nullopt;
        const QString source = QFileInfo(audio).canonicalFilePath();
        QString member = soundMembers_.value(source);
        if (member.isEmpty()) {
            member = freeMemberName(ShowFile::fileNamePart(audio));
            const QString copy =
                QDir(job_.packageFolder).filePath(QStringLiteral("sound-%1").arg(files_.size()));
            if (const QString reason = imaging::copyRegularFile(audio, copy, imaging::SoundFileLimit);
                !reason.isEmpty())
                return fileError(
                    QCoreApplication::translate("StandaloneExport", "An audio file could not be packed."),
                    audio, reason);
            files_.push_back({copy, member});
            soundMembers_.insert(source, member);
        }
        if (!StoredPath::assign(record.AudioFile, member))
            return ExportError{
                QCoreApplication::translate("StandaloneExport", "An audio file could not be packed."),
                QCoreApplication::translate("StandaloneExport", "%1: its name is too long.")
                    .arg(QDir::toNativeSeparators(audio))};
        return std::nullopt;
    }

    QString freeMemberName(const QString& bare) const {
        return freePackageName(bare, job_.reservedNames, files_);
    }

    const SlidePassJob& job_;
    std::vector<PackageFile>& files_;
    QHash<QString, QString> soundMembers_; // the member of each sound file packed, by its path
    // The slide whose picture is being converted aside, or -1; a pass that ends early waits for it
    // as it goes.
    int asideSlide_ = -1;
    std::future<std::optional<QByteArray>> aside_;
    QFile list_;
    QFile data_;
    qint64 offset_ = 0;
    std::vector<char> buffer_;
};

} // namespace

std::optional<ExportError> runSlidePass(const SlidePassJob& job, std::vector<PackageFile>& files) {
    return Pass(job, files).run();
}

QString freePackageName(const QString& bare, const QStringList& reserved,
                        const std::vector<PackageFile>& files) {
    const auto taken = [&reserved, &files](const QString& name) {
        // Stored alike, one member would take the other's place.
        const auto same = [stored = name.toUtf8()](const QString& other) {
            const QByteArray utf8 = other.toUtf8();
            return MemberNames::same({utf8.constData(), std::size_t(utf8.size())},
                                     {stored.constData(), std::size_t(stored.size())});
        };
        return std::any_of(reserved.begin(), reserved.end(), same) ||
               std::any_of(files.begin(), files.end(),
                           [&same](const PackageFile& f) { return same(f.member); });
    };
    const qsizetype dot = bare.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot > 0 ? bare.left(dot) : bare, extension = dot > 0 ? bare.mid(dot) : QString();
    QString name = bare;
    for (int n = 2; taken(name); ++n)
        name = stem + QStringLiteral("-%1").arg(n) + extension;
    return name;
}

ExportError tooMuchImageData() {
    return {QCoreApplication::translate("StandaloneExport",
                                        "The pictures of this show are too large for a stand-alone show."),
            QCoreApplication::translate("StandaloneExport", "Their data would pass 2 GB.")};
}

std::optional<ExportError> checkImageDataSize(const ShowDocument& show) {
    qint64 total = 0;
    for (int i = 0; i < show.SlideCount; ++i) {
        const TSlideRecord& slide = show.slide(i);
        if (!ExportNames::hasImage(slide) || ExportNames::needsConversion(ExportNames::imagePath(slide)))
            continue;
        total += QFileInfo(ExportNames::imagePath(slide)).size();
        if (total > MaxImageData)
            return tooMuchImageData();
    }
    return std::nullopt;
}
