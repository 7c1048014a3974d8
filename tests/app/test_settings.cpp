// SPDX-License-Identifier: MIT
// The settings: defaults, the string forms read and written, the INI file they live in away from
// Windows, and the start-up check of the two folders.

#include "settings.h"
#include "settings_store.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

class SettingsTest : public testing::Test {
  protected:
    QTemporaryDir dir;
    QString iniPath() const { return dir.filePath("Verasco.ini"); }

    void writeIni(const QByteArray& text) {
        QFile f(iniPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    QByteArray iniText() const {
        QFile f(iniPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // Each text in a file of its own: QSettings keeps files it has read and may not notice a
    // rewrite of the same size within the same moment.
    Settings readFromIni(const QByteArray& text) {
        const QString path = dir.filePath(QStringLiteral("read%1.ini").arg(++files_));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        f.close();
        return Settings::read(SettingsStore(path));
    }

  private:
    int files_ = 0;
};

TEST_F(SettingsTest, FirstRunGivesTheDefaults) {
    const Settings s = Settings::read(SettingsStore(iniPath()));

    EXPECT_EQ(s.ImageDirectory, Settings::defaultFolder());
    EXPECT_EQ(s.SlideDirectory, Settings::defaultFolder());
    EXPECT_EQ(s.DefaultDelay, 5);
    EXPECT_TRUE(s.HoldSlideForAudio);
    EXPECT_FALSE(s.ShowTextOnEachSlide);
    EXPECT_TRUE(s.ShowSlideControls);
    EXPECT_TRUE(s.LoopSlideShow);
    EXPECT_FALSE(s.HideEditor);
    EXPECT_FALSE(s.FullScreen);
    EXPECT_EQ(s.ViewerScreen, QString());
    EXPECT_EQ(s.crossFadeMs(), 0);
    EXPECT_EQ(s.PackagePlatform, QStringLiteral("Windows"));
    EXPECT_EQ(s.Appearance, QStringLiteral("System"));
    EXPECT_EQ(s.ThumbnailSize, 80);
    EXPECT_FALSE(QFile::exists(iniPath())) << "reading creates nothing";
}

TEST(SettingsFolders, TheDefaultFolderIsThePicturesFolderOrHome) {
    const QString folder = Settings::defaultFolder();
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    EXPECT_EQ(folder, QDir(pictures).exists() ? pictures : QDir::homePath());
    EXPECT_TRUE(QDir(folder).exists());
}

TEST_F(SettingsTest, DefaultDelayTexts) {
    struct Row {
        QByteArray stored;
        int delay;
    };
    const Row rows[] = {
        {"0x0A", 10}, {"0X0a", 10}, {"10", 10},  {"255", 255}, {"abc", 5}, {"0x", 5}, {"0xZZ", 5},
        {"", 5},      {"12.5", 5},  {"266", 10}, {"-1", 255},  {"256", 5}, {"0", 5},  {"0x1FF", 255},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.stored.toStdString());
        EXPECT_EQ(readFromIni("[General]\nDEFAULT%20DELAY=" + row.stored + "\n").DefaultDelay, row.delay);
    }
}

TEST_F(SettingsTest, CrossFadeTimesAndThumbnailSizesStayWithinTheirRanges) {
    struct Row {
        QByteArray stored;
        int ms;
        int thumbnail;
    };
    const Row rows[] = {{"500", 500, 256},    {"0x3E8", 1000, 256}, {"100", 200, 100}, {"-5", 200, 80},
                        {"90000", 2000, 256}, {"soon", 1000, 80},   {"0x80", 200, 128}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.stored.toStdString());
        const Settings s = readFromIni("[General]\nCROSS%20FADE=1\nCROSS%20FADE%20TIME=" + row.stored +
                                       "\nTHUMBNAIL%20SIZE=" + row.stored + "\n");
        EXPECT_EQ(s.crossFadeMs(), row.ms);
        EXPECT_EQ(s.ThumbnailSize, row.thumbnail);
    }
}

// The three words of each are read as written; any other text follows the desktop.
TEST_F(SettingsTest, AppearanceAndReduceMotionTexts) {
    const std::pair<QByteArray, QString> rows[] = {{"Dark", "Dark"},     {"Light", "Light"},
                                                   {"System", "System"}, {"dark", "System"},
                                                   {"", "System"},       {"1", "System"}};
    for (const auto& [stored, appearance] : rows) {
        SCOPED_TRACE(stored.toStdString());
        EXPECT_EQ(readFromIni("[General]\nAPPEARANCE=" + stored + "\n").Appearance, appearance);
    }
    const std::pair<QByteArray, QString> motions[] = {
        {"On", "On"}, {"Off", "Off"}, {"System", "System"}, {"on", "System"}, {"1", "System"}};
    for (const auto& [stored, reduce] : motions) {
        SCOPED_TRACE(stored.toStdString());
        EXPECT_EQ(readFromIni("[General]\nREDUCE%20MOTION=" + stored + "\n").ReduceMotion, reduce);
    }
}

TEST_F(SettingsTest, SwitchTexts) {
    struct Row {
        QByteArray stored;
        bool hold, captions;
    };
    // Hold for audio defaults to on, captions to off.
    const Row rows[] = {{"0", false, false},    {"1", true, true},    {"2", true, true},
                        {"0x00", false, false}, {"yes", true, false}, {"", true, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.stored.toStdString());
        const Settings s = readFromIni("[General]\nHOLD%20SLIDE%20FOR%20AUDIO=" + row.stored +
                                       "\nSHOW%20TEXT%20ON%20EACH%20SLIDE=" + row.stored + "\n");
        EXPECT_EQ(s.HoldSlideForAudio, row.hold);
        EXPECT_EQ(s.ShowTextOnEachSlide, row.captions);
    }
}

TEST_F(SettingsTest, NamesWithPlainBlanksAreReadToo) {
    const Settings s = readFromIni("[General]\nIMAGE DIRECTORY=/data/pictures\nLOOP SLIDE SHOW=0\n");
    EXPECT_EQ(s.ImageDirectory, "/data/pictures");
    EXPECT_FALSE(s.LoopSlideShow);
}

TEST_F(SettingsTest, ValuesAreWrittenAsDecimalDigitsAndSwitches) {
    Settings s = Settings::defaults();
    s.ImageDirectory = "/data/pictures";
    s.SlideDirectory = "C:\\shows\\";
    s.DefaultDelay = 12;
    s.HoldSlideForAudio = false;
    s.ShowTextOnEachSlide = true;
    s.ShowSlideControls = true;
    s.LoopSlideShow = false;
    s.HideEditor = true;
    s.FullScreen = true;
    s.ViewerScreen = "HDMI-1";
    s.CrossFade = true;
    s.CrossFadeTime = 500;
    s.PackagePlatform = "Linux";
    s.Appearance = "Dark";
    s.ReduceMotion = "On";
    s.ThumbnailSize = 192;
    s.WindowGeometry = "AdnQyw+/=";

    SettingsStore store(iniPath());
    ASSERT_TRUE(s.write(store));
    // The INI file keeps its keys sorted and writes a blank in a name as %20, a backslash doubled.
    EXPECT_EQ(iniText(), QByteArray("[General]\n"
                                    "APPEARANCE=Dark\n"
                                    "CROSS%20FADE=1\n"
                                    "CROSS%20FADE%20TIME=500\n"
                                    "DEFAULT%20DELAY=12\n"
                                    "FULL%20SCREEN=1\n"
                                    "HIDE%20EDITOR=1\n"
                                    "HOLD%20SLIDE%20FOR%20AUDIO=0\n"
                                    "IMAGE%20DIRECTORY=/data/pictures\n"
                                    "LOOP%20SLIDE%20SHOW=0\n"
                                    "PACKAGE%20PLATFORM=Linux\n"
                                    "REDUCE%20MOTION=On\n"
                                    "SHOW%20SLIDE%20CONTROLS=1\n"
                                    "SHOW%20TEXT%20ON%20EACH%20SLIDE=1\n"
                                    "SLIDE%20DIRECTORY=C:\\\\shows\\\\\n"
                                    "THUMBNAIL%20SIZE=192\n"
                                    "VIEWER%20SCREEN=HDMI-1\n"
                                    "WINDOW%20GEOMETRY=\"AdnQyw+/=\"\n"));
}

TEST_F(SettingsTest, WrittenSettingsReadBackTheSame) {
    Settings s = Settings::defaults();
    s.ImageDirectory = " /data/a,b;c=d/@home/Bilder \xC3\xA9t\xC3\xA9 ";
    s.SlideDirectory = "@shows";
    s.DefaultDelay = 255;
    s.HoldSlideForAudio = false;
    s.ShowSlideControls = false;
    s.HideEditor = true;
    s.ViewerScreen = "DP-2 (projector)";
    s.CrossFade = true;
    s.CrossFadeTime = 1300;
    s.PackagePlatform = "Linux";
    s.Appearance = "Light";
    s.ReduceMotion = "Off";
    s.ThumbnailSize = 224;
    s.WindowGeometry = "AdnQywADAAAAAAB/AAAAWQ==";
    // Ten shows remembered, one of them twice: the newest eight are kept, each once, newest first.
    for (int i = 0; i < 10; ++i)
        s.rememberRecentShow(QStringLiteral("/shows/%1.vrs").arg(i));
    s.rememberRecentShow(QStringLiteral("/shows/5.vrs"));
    ASSERT_EQ(s.RecentShows.size(), Settings::MaxRecentShows);
    EXPECT_EQ(s.RecentShows.front(), QStringLiteral("/shows/5.vrs"));
    EXPECT_EQ(s.RecentShows.back(), QStringLiteral("/shows/2.vrs"));
    {
        SettingsStore store(iniPath());
        ASSERT_TRUE(s.write(store));
    }

    Settings back = Settings::read(SettingsStore(iniPath()));

    EXPECT_EQ(back.storedValues(), s.storedValues());
    EXPECT_EQ(back.RecentShows, s.RecentShows);

    // A shorter list written over a longer one leaves none of the older entries.
    back.RecentShows = {QStringLiteral("/shows/only.vrs")};
    {
        SettingsStore store(iniPath());
        ASSERT_TRUE(back.write(store));
    }
    EXPECT_EQ(Settings::read(SettingsStore(iniPath())).RecentShows, back.RecentShows);
}

TEST_F(SettingsTest, AStoreThatCannotBeWrittenSaysSo) {
    writeIni("a file, not a folder");
    SettingsStore store(iniPath() + "/Verasco.ini");
    EXPECT_FALSE(Settings::defaults().write(store));
}

TEST_F(SettingsTest, TheUserStoreLivesInTheConfigurationFolder) {
    const bool hadConfig = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path()));
    const QString expected = dir.filePath("MorvantImaging/Verasco.ini");
    EXPECT_EQ(SettingsStore::defaultLocation(), expected);
    {
        SettingsStore store;
        Settings s = Settings::defaults();
        s.DefaultDelay = 9;
        EXPECT_TRUE(s.write(store));
    }
    EXPECT_EQ(Settings::read(SettingsStore()).DefaultDelay, 9);
    EXPECT_TRUE(QFile::exists(expected));
    if (hadConfig)
        qputenv("XDG_CONFIG_HOME", oldConfig);
    else
        qunsetenv("XDG_CONFIG_HOME");
}

TEST_F(SettingsTest, FoldersThatCannotBeEnteredAreReplacedAtStartUp) {
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir(dir.path()).mkdir("shows"));
    ASSERT_TRUE(QDir(dir.path()).mkdir("pictures"));
    writeIni("x");
    struct Row {
        QString image, slide, expectedImage, expectedSlide;
    };
    const QString fallback = Settings::fallbackFolder();
    const Row rows[] = {
        {dir.filePath("pictures"), dir.filePath("shows"), dir.filePath("pictures"), dir.filePath("shows")},
        {dir.filePath("gone"), dir.filePath("shows"), fallback, dir.filePath("shows")},
        {dir.filePath("pictures"), iniPath(), dir.filePath("pictures"), fallback},
        {"", "", fallback, fallback},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.image.toStdString() + " | " + row.slide.toStdString());
        Settings s = Settings::defaults();
        s.ImageDirectory = row.image;
        s.SlideDirectory = row.slide;
        s.checkFolders();
        EXPECT_EQ(s.ImageDirectory, row.expectedImage);
        EXPECT_EQ(s.SlideDirectory, row.expectedSlide);
        EXPECT_EQ(QDir::currentPath(), QDir(row.expectedImage).canonicalPath());
    }
    QDir::setCurrent(before);
}

} // namespace
