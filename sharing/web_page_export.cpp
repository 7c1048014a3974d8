// SPDX-License-Identifier: MIT
#include "web_page_export.h"

#include "caption_band.h"
#include "codec_module.h"
#include "frame_fill.h"
#include "image_loader.h"
#include "missing_picture.h"
#include "plain_files.h"
#include "qpx_encoder.h"
#include "target_files.h"
#include "web_page_data.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>

#include <algorithm>
#include <map>
#include <mutex>
#include <optional>
#include <thread>

namespace sharing {

namespace {

// The page's own mark, by which a later export knows the folder it may replace.
const QByteArray PageMark = "<meta name=\"generator\" content=\"Verasco\">";

// The files and folders the page writes, by their path inside its folder: an earlier page replaced
// loses these and keeps everything else.
bool isPageFile(const QString& relative) {
    static const QRegularExpression own(
        QStringLiteral("^(index\\.html|pictures(/picture-[0-9]+\\.jpg)?|captions(/"
                       "caption-[0-9]+\\.png)?|fills(/fill-[0-9]+\\.png)?|"
                       "sounds(/(sound|music)-[0-9]+\\.[a-z0-9]+)?)$"));
    return own.match(relative).hasMatch();
}

// The JPEG quality of the page's pictures: factor 12 is the usual quality 90.
constexpr imaging::QpxSettings PictureQuality{12, 12, imaging::ChromaSubsampling::S420};

struct PictureFile {
    QString source;
    QString name;    // in the page's folder
    QSize stored;    // empty when the picture could not be read
    QColor backdrop; // valid when the file is not there (see PageSlide)
};

struct SoundFile {
    QString source;
    QString stem; // its name in the page's folder without the extension
    QString name; // empty when the sound cannot be played
    std::int64_t lengthMs = -1;
};

bool writeFile(const QString& path, const QByteArray& bytes, QString* error) {
    // Unbuffered and to the end, so that a write that fails says why: a write cut short by a full
    // disk reports no error, the next one does.
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        qint64 done = 0;
        for (qint64 n = 0;
             done < bytes.size() && (n = file.write(bytes.constData() + done, bytes.size() - done)) > 0;)
            done += n;
        if (done == bytes.size())
            return true;
    }
    *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), file.errorString());
    return false;
}

// WAV files of plain samples and MP3 files (whichever of FFmpeg's MP3 decoders reads them) play in
// every current browser as they are.
bool playsAsItIs(const SoundFacts& facts) {
    static const QStringList plain = {QStringLiteral("pcm_u8"), QStringLiteral("pcm_s16le"),
                                      QStringLiteral("pcm_s24le"), QStringLiteral("pcm_f32le")};
    return (facts.container == QLatin1String("wav") && plain.contains(facts.codec)) ||
           (facts.container == QLatin1String("mp3") &&
            (facts.codec == QLatin1String("mp3") || facts.codec == QLatin1String("mp3float")));
}

// The picture no larger than the page's limit on either side, and at least a pixel on each: a
// panorama of a single pixel's height stays one.
QImage fittedForPage(const imaging::LoadedImage& loaded) {
    QSize size = loaded.fullSize;
    if (size.width() > WebPictureLimit || size.height() > WebPictureLimit)
        size = size.scaled(WebPictureLimit, WebPictureLimit, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    return loaded.image.size() == size
               ? loaded.image
               : loaded.image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// The pictures and sounds of the page, each file once, made ready by two threads.
class PageFiles {
  public:
    PageFiles(const SharedShow& show, const QString& folder, const ShareControl& control)
        : folder_(folder), control_(control) {
        for (const SharedSlide& slide : show.slides) {
            if (!slide.picture.isEmpty() && !pictureOf_.count(slide.picture)) {
                pictureOf_[slide.picture] = pictures_.size();
                const QString name = QStringLiteral("pictures/picture-%1.jpg").arg(pictures_.size() + 1);
                pictures_.push_back({slide.picture, name, {}, {}});
            }
            if (!slide.audio.isEmpty() && !soundOf_.count(slide.audio)) {
                soundOf_[slide.audio] = sounds_.size();
                sounds_.push_back(
                    {slide.audio, QStringLiteral("sounds/sound-%1").arg(soundOf_.size()), {}, -1});
            }
        }
        for (const QString& file : show.music)
            if (!musicOf_.count(file)) {
                musicOf_[file] = sounds_.size();
                sounds_.push_back({file, QStringLiteral("sounds/music-%1").arg(musicOf_.size()), {}, -1});
            }
    }

    // False with *error when a file could not be written.
    bool make(CodecBackend* codec, QString* error);
    const PictureFile& picture(const QString& source) const { return pictures_[pictureOf_.at(source)]; }
    const SoundFile& sound(const QString& source) const { return sounds_[soundOf_.at(source)]; }
    bool hasSounds() const { return !sounds_.empty(); }
    // The page's names of the music files in the order they play, those that cannot be played left
    // out as the viewer passes them over.
    std::vector<QString> music(const std::vector<QString>& sources, std::vector<QString>* leftOut) const {
        std::vector<QString> names;
        for (const QString& source : sources)
            if (const QString& name = sounds_[musicOf_.at(source)].name; !name.isEmpty())
                names.push_back(name);
            else if (std::find(leftOut->begin(), leftOut->end(), source) == leftOut->end())
                leftOut->push_back(source);
        return names;
    }

  private:
    bool makePicture(PictureFile& picture, QString* error) const;
    bool makeSound(CodecBackend& codec, SoundFile& sound, QString* error) const;
    void work(CodecBackend* codec);

    QString folder_;
    const ShareControl& control_;
    std::vector<PictureFile> pictures_;
    std::vector<SoundFile> sounds_;
    std::map<QString, std::size_t> pictureOf_, soundOf_, musicOf_;
    std::atomic<std::size_t> next_{0};
    std::atomic<std::size_t> done_{0};
    std::atomic<bool> failed_{false};
    std::mutex errorLock_;
    QString error_;
};

bool PageFiles::makePicture(PictureFile& picture, QString* error) const {
    const QSize box(WebPictureLimit, WebPictureLimit);
    QImage image;
    QSize stored;
    if (!QFileInfo::exists(picture.source)) {
        // As the viewer shows it, drawn as large as a page picture may be: the page shows its middle.
        image = missingPicture(box, picture.source, QGuiApplication::font());
        picture.backdrop = image.pixelColor(0, 0);
        stored = image.size();
    } else {
        const imaging::LoadedImage loaded = imaging::loadImageFile(picture.source, box);
        if (loaded.image.isNull())
            return true; // shown as the viewer shows it: an empty area
        image = fittedForPage(loaded);
        stored = loaded.fullSize;
    }
    QString why;
    const QByteArray jpeg = imaging::encodeQpx(image, PictureQuality, {}, &why);
    if (jpeg.isEmpty()) {
        *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(picture.source), why);
        return false;
    }
    if (!writeFile(QDir(folder_).filePath(picture.name), jpeg, error))
        return false;
    picture.stored = stored;
    return true;
}

bool PageFiles::makeSound(CodecBackend& codec, SoundFile& sound, QString* error) const {
    const SoundFacts facts = codec.probeSound(sound.source);
    if (!facts.readable)
        return true; // as in the viewer: it ends the earlier sound and holds nothing
    const bool asItIs = playsAsItIs(facts);
    const QString name = sound.stem + QLatin1Char('.') + (asItIs ? facts.container : QStringLiteral("mp3"));
    const QString path = QDir(folder_).filePath(name);
    QString why;
    if (asItIs) {
        if (const QString reason = imaging::copyRegularFile(sound.source, path, imaging::SoundFileLimit);
            !reason.isEmpty()) {
            *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), reason);
            return false;
        }
        QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                   QFile::ReadOther);
    } else if (!codec.convertToMp3(sound.source, path, control_.cancelFlag(), &why)) {
        if (control_.cancelled())
            return true;
        *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), why);
        return false;
    }
    sound.name = name;
    sound.lengthMs = facts.durationMs;
    return true;
}

void PageFiles::work(CodecBackend* codec) {
    const std::size_t total = pictures_.size() + sounds_.size();
    for (std::size_t task; !failed_ && !control_.cancelled() && (task = next_++) < total;) {
        QString error;
        const bool ok = task < pictures_.size() ? makePicture(pictures_[task], &error)
                                                : makeSound(*codec, sounds_[task - pictures_.size()], &error);
        if (!ok) {
            std::lock_guard lock(errorLock_);
            if (!failed_.exchange(true))
                error_ = error;
            return;
        }
        control_.report(std::int64_t(++done_), std::int64_t(total));
    }
}

bool PageFiles::make(CodecBackend* codec, QString* error) {
    if (!QDir(folder_).mkdir(QStringLiteral("pictures")) ||
        (hasSounds() && !QDir(folder_).mkdir(QStringLiteral("sounds")))) {
        *error = QCoreApplication::translate("ShareReasons", "%1: cannot make its folders")
                     .arg(QDir::toNativeSeparators(folder_));
        return false;
    }
    std::thread second([this, codec] { work(codec); });
    work(codec);
    second.join();
    *error = error_;
    return !failed_;
}

} // namespace

bool isSharedWebPage(const QString& folder) {
    QFile page(QDir(folder).filePath(QStringLiteral("index.html")));
    return page.open(QIODevice::ReadOnly) && page.read(4096).contains(PageMark);
}

namespace {

bool writePng(const QImage& image, const QString& path, QString* error) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return image.save(&buffer, "PNG") && QDir().mkpath(QFileInfo(path).path()) &&
           writeFile(path, bytes, error);
}

} // namespace

// The slide's caption drawn once, as a package carries it: the viewer's band laid out with the
// program's fonts for a screen PackageWidth x PackageHeight filled by its picture, its letters outlined
// in their colours on transparency, written as PNG to `path`. Its size, empty for a slide that shows
// none; nothing when it could not be written.
std::optional<QSize> writeCaption(const SharedSlide& slide, const QString& path, QString* error) {
    const QSize screen(CaptionBand::PackageWidth, CaptionBand::PackageHeight);
    const QImage letters = !slide.showText ? QImage()
                           : slide.title
                               ? CaptionBand::titleOutlined(slide.caption, slide.font, slide.colour, screen)
                               : CaptionBand::outlined(slide.caption, slide.font, slide.colour, screen);
    if (letters.isNull())
        return QSize();
    if (!writePng(letters, path, error))
        return std::nullopt;
    return letters.size();
}

namespace {

// The blurred fill of a slide that asks for one, drawn once by the show's rules for a screen
// PackageWidth x PackageHeight and kept at an eighth of that size: the page enlarges it to cover its
// area. A title slide's is made of the picture after it. False when it could not be written;
// `written` tells whether there is one.
bool writeFill(const SharedSlide& slide, const QString& path, bool* written, QString* error) {
    *written = false;
    const QString& picture = slide.title ? slide.backdrop : slide.picture;
    if (slide.look.fill != ShowRules::Fill::Blur || picture.isEmpty())
        return true;
    const QSize screen(CaptionBand::PackageWidth, CaptionBand::PackageHeight);
    const imaging::LoadedImage loaded = imaging::loadImageFile(picture, screen);
    if (loaded.image.isNull())
        return true;
    const QImage fill = FrameFill::backdrop(loaded.image, screen, slide.look)
                            .scaled(screen / 8, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    *written = writePng(fill, path, error);
    return *written;
}

} // namespace

ShareOutcome writeWebPage(const WebPageJob& job, const ShareControl& control) {
    QString error;
    WorkBesideTarget work(job.target, WorkBesideTarget::Kind::Folder);
    if (!work.create(&error))
        return ShareOutcome::failed(error);
    // A file that could not be written is named where it would have ended up.
    const auto failed = [&](const QString& why) {
        return ShareOutcome::failed(QString(why).replace(QDir::toNativeSeparators(work.path()),
                                                         QDir::toNativeSeparators(job.target)));
    };
    PageFiles files(job.show, work.path(), control);
    CodecBackend* codec = files.hasSounds() ? codecBackend(&error) : nullptr;
    if (files.hasSounds() && !codec)
        return failed(error);
    const bool made = files.make(codec, &error);
    if (control.cancelled())
        return {ShareOutcome::Cancelled, {}};
    if (!made)
        return failed(error);

    std::vector<std::int64_t> lengths;
    for (const SharedSlide& slide : job.show.slides)
        lengths.push_back(slide.audio.isEmpty() ? -1 : files.sound(slide.audio).lengthMs);
    const ShowTimeline timeline = makeTimeline(slideTimings(job.show, lengths), job.show.fadeMs);
    std::vector<PageSlide> slides;
    for (std::size_t i = 0; i < job.show.slides.size(); ++i) {
        const SharedSlide& slide = job.show.slides[i];
        PageSlide page;
        if (!slide.picture.isEmpty() && files.picture(slide.picture).stored.isValid()) {
            page.picture = files.picture(slide.picture).name;
            page.stored = files.picture(slide.picture).stored;
            page.backdrop = files.picture(slide.picture).backdrop;
        }
        const SlideSpan& span = timeline.slides[i];
        page.ms = span.endMs - span.startMs;
        page.fadeMs = span.transitionMs;
        page.transition = span.transition;
        page.motionMs = span.motionMs;
        const QString caption = QStringLiteral("captions/caption-%1.png").arg(i + 1);
        const std::optional<QSize> drawn = writeCaption(slide, QDir(work.path()).filePath(caption), &error);
        if (!drawn)
            return failed(error);
        page.captionSize = *drawn;
        page.caption = drawn->isEmpty() ? QString() : caption;
        const QString fill = QStringLiteral("fills/fill-%1.png").arg(i + 1);
        bool filled = false;
        if (((!page.picture.isEmpty() && !page.backdrop.isValid()) || slide.title) &&
            !writeFill(slide, QDir(work.path()).filePath(fill), &filled, &error))
            return failed(error);
        page.fill = filled ? fill : QString();
        if (!slide.audio.isEmpty())
            page.sound = files.sound(slide.audio).name;
        page.endsSound = !slide.audio.isEmpty();
        slides.push_back(page);
    }
    const QString title = QFileInfo(job.target).fileName();
    std::vector<QString> leftOut;
    if (!writeFile(QDir(work.path()).filePath(QStringLiteral("index.html")),
                   webPageHtml(title, job.show, slides, files.music(job.show.music, &leftOut)), &error))
        return failed(error);
    if (!work.commit(&error, isPageFile))
        return ShareOutcome::failed(error);
    return {ShareOutcome::Done, musicLeftOutNote(leftOut)};
}

} // namespace sharing
