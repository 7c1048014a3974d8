// SPDX-License-Identifier: MIT
#include "settings.h"

#include "settings_store.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

#include <algorithm>

namespace {

const QString ImageDirectoryName = QStringLiteral("IMAGE DIRECTORY");
const QString SlideDirectoryName = QStringLiteral("SLIDE DIRECTORY");
const QString DefaultDelayName = QStringLiteral("DEFAULT DELAY");
const QString HoldSlideForAudioName = QStringLiteral("HOLD SLIDE FOR AUDIO");
const QString ShowTextOnEachSlideName = QStringLiteral("SHOW TEXT ON EACH SLIDE");
const QString ShowSlideControlsName = QStringLiteral("SHOW SLIDE CONTROLS");
const QString LoopSlideShowName = QStringLiteral("LOOP SLIDE SHOW");
const QString HideEditorName = QStringLiteral("HIDE EDITOR");
const QString FullScreenName = QStringLiteral("FULL SCREEN");
const QString ViewerScreenName = QStringLiteral("VIEWER SCREEN");
const QString CrossFadeName = QStringLiteral("CROSS FADE");
const QString CrossFadeTimeName = QStringLiteral("CROSS FADE TIME");
const QString PackagePlatformName = QStringLiteral("PACKAGE PLATFORM");
const QString AppearanceName = QStringLiteral("APPEARANCE");
const QString ReduceMotionName = QStringLiteral("REDUCE MOTION");
const QString ThumbnailSizeName = QStringLiteral("THUMBNAIL SIZE");
const QString WindowGeometryName = QStringLiteral("WINDOW GEOMETRY");
const QStringList Appearances = {QStringLiteral("System"), QStringLiteral("Light"), QStringLiteral("Dark")};
const QStringList MotionChoices = {QStringLiteral("System"), QStringLiteral("On"), QStringLiteral("Off")};

QString recentShowName(int number) {
    return QStringLiteral("RECENT SHOW %1").arg(number);
}

QString readString(const SettingsStore& store, const QString& name, const QString& fallback) {
    return store.value(name).value_or(fallback);
}

int readNumber(const SettingsStore& store, const QString& name, int fallback) {
    const auto text = store.value(name);
    int value = fallback;
    if (!text || !Settings::parseNumber(*text, value))
        return fallback;
    return value;
}

bool readSwitch(const SettingsStore& store, const QString& name, bool fallback) {
    return readNumber(store, name, fallback ? 1 : 0) != 0;
}

QString switchText(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

bool canEnter(const QString& folder) {
    return !folder.isEmpty() && QDir::setCurrent(folder);
}

} // namespace

Settings Settings::defaults() {
    Settings s;
    s.ImageDirectory = defaultFolder();
    s.SlideDirectory = defaultFolder();
    return s;
}

bool Settings::parseNumber(const QString& text, int& value) {
    bool ok = false;
    int parsed = 0;
    if (text.size() > 2 && (text.startsWith(QLatin1String("0x")) || text.startsWith(QLatin1String("0X")))) {
        const QString digits = text.mid(2);
        // Eight hexadecimal digits make a 32-bit pattern, as "0xFFFFFFFF" for -1.
        if (!digits.startsWith(QLatin1Char('+')) && !digits.startsWith(QLatin1Char('-')))
            parsed = static_cast<int>(digits.toUInt(&ok, 16));
    } else {
        parsed = text.toInt(&ok, 10);
    }
    if (ok)
        value = parsed;
    return ok;
}

Settings Settings::read(const SettingsStore& store) {
    const Settings d = defaults();
    Settings s;
    s.ImageDirectory = readString(store, ImageDirectoryName, d.ImageDirectory);
    s.SlideDirectory = readString(store, SlideDirectoryName, d.SlideDirectory);
    // Only the low 8 bits count; 0 is no display time, so it reads as the default too.
    const int delay = readNumber(store, DefaultDelayName, d.DefaultDelay) & 0xFF;
    s.DefaultDelay = delay != 0 ? delay : d.DefaultDelay;
    s.HoldSlideForAudio = readSwitch(store, HoldSlideForAudioName, d.HoldSlideForAudio);
    s.ShowTextOnEachSlide = readSwitch(store, ShowTextOnEachSlideName, d.ShowTextOnEachSlide);
    s.ShowSlideControls = readSwitch(store, ShowSlideControlsName, d.ShowSlideControls);
    s.LoopSlideShow = readSwitch(store, LoopSlideShowName, d.LoopSlideShow);
    s.HideEditor = readSwitch(store, HideEditorName, d.HideEditor);
    s.FullScreen = readSwitch(store, FullScreenName, d.FullScreen);
    s.ViewerScreen = readString(store, ViewerScreenName, d.ViewerScreen);
    s.CrossFade = readSwitch(store, CrossFadeName, d.CrossFade);
    s.CrossFadeTime =
        std::clamp(readNumber(store, CrossFadeTimeName, d.CrossFadeTime), MinCrossFadeTime, MaxCrossFadeTime);
    s.PackagePlatform = readString(store, PackagePlatformName, d.PackagePlatform);
    // An appearance the program does not know looks like the desktop.
    s.Appearance = readString(store, AppearanceName, d.Appearance);
    if (!Appearances.contains(s.Appearance))
        s.Appearance = d.Appearance;
    s.ReduceMotion = readString(store, ReduceMotionName, d.ReduceMotion);
    if (!MotionChoices.contains(s.ReduceMotion))
        s.ReduceMotion = d.ReduceMotion;
    s.ThumbnailSize =
        std::clamp(readNumber(store, ThumbnailSizeName, d.ThumbnailSize), MinThumbnailSize, MaxThumbnailSize);
    s.WindowGeometry = readString(store, WindowGeometryName, d.WindowGeometry);
    for (int number = Settings::MaxRecentShows; number >= 1; --number) {
        const QString path = readString(store, recentShowName(number), QString());
        if (!path.isEmpty())
            s.rememberRecentShow(path);
    }
    return s;
}

std::vector<std::pair<QString, QString>> Settings::storedValues() const {
    std::vector<std::pair<QString, QString>> values = {
        {ImageDirectoryName, ImageDirectory},
        {SlideDirectoryName, SlideDirectory},
        {DefaultDelayName, QString::number(DefaultDelay)},
        {HoldSlideForAudioName, switchText(HoldSlideForAudio)},
        {ShowTextOnEachSlideName, switchText(ShowTextOnEachSlide)},
        {ShowSlideControlsName, switchText(ShowSlideControls)},
        {LoopSlideShowName, switchText(LoopSlideShow)},
        {HideEditorName, switchText(HideEditor)},
        {FullScreenName, switchText(FullScreen)},
        {ViewerScreenName, ViewerScreen},
        {CrossFadeName, switchText(CrossFade)},
        {CrossFadeTimeName, QString::number(CrossFadeTime)},
        {PackagePlatformName, PackagePlatform},
        {AppearanceName, Appearance},
        {ReduceMotionName, ReduceMotion},
        {ThumbnailSizeName, QString::number(ThumbnailSize)},
        {WindowGeometryName, WindowGeometry},
    };
    for (int i = 0; i < RecentShows.size(); ++i)
        values.emplace_back(recentShowName(i + 1), RecentShows.at(i));
    return values;
}

void Settings::rememberRecentShow(const QString& path) {
    RecentShows.removeAll(path);
    RecentShows.prepend(path);
    while (RecentShows.size() > MaxRecentShows)
        RecentShows.removeLast();
}

bool Settings::write(SettingsStore& store) const {
    for (const auto& [name, text] : storedValues())
        store.setValue(name, text);
    // A show dropped from the list leaves no entry behind.
    for (int number = int(RecentShows.size()) + 1; number <= MaxRecentShows; ++number)
        store.remove(recentShowName(number));
    return store.sync();
}

QString Settings::defaultFolder() {
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\");
#else
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!pictures.isEmpty() && QDir(pictures).exists())
        return pictures;
    return QDir::homePath();
#endif
}

QString Settings::fallbackFolder() {
#ifdef Q_OS_WIN
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toLower() + QLatin1Char('\\');
#else
    return defaultFolder();
#endif
}

void Settings::checkFolders() {
    if (!canEnter(SlideDirectory))
        SlideDirectory = fallbackFolder();
    if (!canEnter(ImageDirectory)) {
        ImageDirectory = fallbackFolder();
        QDir::setCurrent(ImageDirectory);
    }
}
