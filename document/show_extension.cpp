// SPDX-License-Identifier: MIT
#include "show_extension.h"

#include "exact_numbers.h"
#include "music_level.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QLocale>
#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace ShowExtension {
namespace {

const QString MusicKey = QStringLiteral("music");
const QString FadeKey = QStringLiteral("musicFadeMs");
const QString LevelKey = QStringLiteral("musicLevel");
const QString SlidesKey = QStringLiteral("slides");
const QString CaptionsKey = QStringLiteral("captions");
const QString PathKey = QStringLiteral("path");
const QString BandValue = QStringLiteral("band");
const QString BoxValue = QStringLiteral("box");

Data damaged(const QString& why) {
    Data data;
    data.damage = why;
    return data;
}

// The objects of "slides", one for each slide, or a reason why they cannot be used.
QString takeSlides(const QJsonValue& value, int count, std::vector<QJsonObject>& slides) {
    if (!value.isArray())
        return QCoreApplication::translate("ShowExtension", "its slide list is not a list");
    const QJsonArray list = value.toArray();
    if (list.size() != count)
        return QCoreApplication::translate("ShowExtension", "it holds %1 slides, the show %2")
            .arg(list.size())
            .arg(count);
    for (const QJsonValue& slide : list) {
        if (!slide.isObject())
            return QCoreApplication::translate("ShowExtension", "a slide's data is not an object");
        slides.push_back(slide.toObject());
    }
    return {};
}

} // namespace

qint64 announcedLength(QByteArrayView prefix) {
    if (prefix.size() < PrefixSize || std::memcmp(prefix.data(), Tag, 4) != 0)
        return -1;
    return qFromLittleEndian<quint32>(prefix.data() + 4);
}

Data decode(QByteArrayView tail, int count) {
    const QByteArrayView tag(Tag, 4);
    if (tail.isEmpty() || !(tail.startsWith(tag) || tag.startsWith(tail)))
        return {};
    const qint64 length = announcedLength(tail);
    if (length < 0)
        return damaged(QCoreApplication::translate("ShowExtension", "it is cut short"));
    if (length > MaxBytes)
        return damaged(QCoreApplication::translate("ShowExtension", "it is too large"));
    if (length > tail.size() - PrefixSize)
        return damaged(QCoreApplication::translate("ShowExtension", "it is cut short"));
    const ScannedJson scanned = holdInexactNumbers(tail.sliced(PrefixSize, length));
    if (!scanned.error.isEmpty())
        return damaged(scanned.error);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(scanned.json, &error);
    if (error.error != QJsonParseError::NoError)
        return damaged(error.errorString());
    if (!document.isObject())
        return damaged(QCoreApplication::translate("ShowExtension", "it holds no object"));
    Data data;
    data.show = document.object();
    if (data.show.value(MusicKey).toArray().size() > MaxMusicFiles)
        return damaged(QCoreApplication::translate("ShowExtension", "it lists more than %1 music files")
                           .arg(QLocale().toString(MaxMusicFiles)));
    if (data.show.contains(SlidesKey)) {
        const QString why = takeSlides(data.show.take(SlidesKey), count, data.slides);
        if (!why.isEmpty())
            return damaged(why);
    }
    return data;
}

QByteArray encode(const QJsonObject& show, const std::vector<QJsonObject>& slides) {
    QJsonObject block = show;
    if (std::any_of(slides.begin(), slides.end(), [](const QJsonObject& s) { return !s.isEmpty(); })) {
        QJsonArray list;
        for (const QJsonObject& slide : slides)
            list.append(slide);
        block.insert(SlidesKey, list);
    }
    if (block.isEmpty())
        return {};
    const QByteArray json = restoreHeldNumbers(QJsonDocument(block).toJson(QJsonDocument::Compact));
    QByteArray bytes(PrefixSize, '\0');
    std::memcpy(bytes.data(), Tag, 4);
    qToLittleEndian<quint32>(quint32(json.size()), bytes.data() + 4);
    return bytes + json;
}

QStringList musicPaths(const QJsonObject& show) {
    QStringList paths;
    for (const QJsonValue& entry : show.value(MusicKey).toArray())
        if (const QString path = entry.toObject().value(PathKey).toString(); !path.isEmpty())
            paths.append(path);
    return paths;
}

QJsonObject withMusic(QJsonObject show, const QStringList& paths) {
    if (paths.isEmpty()) {
        show.remove(MusicKey);
        return show;
    }
    QJsonArray music;
    for (const QString& path : paths)
        music.append(QJsonObject{{PathKey, path}});
    show.insert(MusicKey, music);
    return show;
}

int musicFadeMs(const QJsonObject& show) {
    const QJsonValue fade = show.value(FadeKey);
    if (!fade.isDouble())
        return DefaultFadeMs;
    return int(std::clamp(fade.toDouble(), 0.0, double(MaxFadeMs)));
}

int musicLevel(const QJsonObject& show) {
    const QJsonValue level = show.value(LevelKey);
    if (!level.isDouble())
        return MusicLevel::FullLevel;
    return int(std::clamp(level.toDouble(), 0.0, double(MusicLevel::FullLevel)));
}

QJsonObject withMusicLevel(QJsonObject show, int percent) {
    // The default is written only where the show held another value before.
    if (percent >= MusicLevel::FullLevel && !show.contains(LevelKey))
        return show;
    show.insert(LevelKey, std::clamp(percent, 0, MusicLevel::FullLevel));
    return show;
}

Captions captions(const QJsonObject& show) {
    return show.value(CaptionsKey).toString() == BandValue ? Captions::Band : Captions::Box;
}

QJsonObject withCaptions(QJsonObject show, Captions style) {
    // The default is written only where the show held another value before.
    if (style == Captions::Band)
        show.insert(CaptionsKey, BandValue);
    else if (show.contains(CaptionsKey))
        show.insert(CaptionsKey, BoxValue);
    return show;
}

QString damageNote(const QString& damage) {
    return QCoreApplication::translate("ShowExtension", "Music, motion and caption data left out: %1")
        .arg(damage);
}

} // namespace ShowExtension
