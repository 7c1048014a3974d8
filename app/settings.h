// SPDX-License-Identifier: MIT
#pragma once
// The settings of the program in memory: two folders, six show defaults, how the viewer presents
// a show and the shows last used. Read from the settings store once when the main window is created, written
// once when it closes.

#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

class SettingsStore;

struct Settings {
    QString ImageDirectory;           // "IMAGE DIRECTORY": the folder shown in the image browser
    QString SlideDirectory;           // "SLIDE DIRECTORY": the folder of show files
    int DefaultDelay = 5;             // "DEFAULT DELAY": display time of new slides, 1 to 255 seconds
    bool HoldSlideForAudio = true;    // "HOLD SLIDE FOR AUDIO"
    bool ShowTextOnEachSlide = false; // "SHOW TEXT ON EACH SLIDE"
    bool ShowSlideControls = true;    // "SHOW SLIDE CONTROLS"
    bool LoopSlideShow = true;        // "LOOP SLIDE SHOW"
    bool HideEditor = false;          // "HIDE EDITOR"
    bool FullScreen = false;          // "FULL SCREEN": the viewer opens in full screen
    QString ViewerScreen;             // "VIEWER SCREEN": the screen's name; empty for the main window's
    bool CrossFade = false;           // "CROSS FADE": slides change by a cross-fade, not a cut
    int CrossFadeTime = 1000;         // "CROSS FADE TIME": the fade's length in milliseconds
    QString PackagePlatform =
        QStringLiteral("Windows"); // "PACKAGE PLATFORM": "Windows" or "Linux", what packages run on
    QStringList RecentShows;       // "RECENT SHOW 1" to "RECENT SHOW 8": the last shows opened or saved
    QString Appearance = QStringLiteral("System"); // "APPEARANCE": "System", "Light" or "Dark"
    // "REDUCE MOTION": "System" (as the desktop asks), "On" (the viewer shows motions as still pictures
    // and changes slides by cuts) or "Off".
    QString ReduceMotion = QStringLiteral("System");
    int ThumbnailSize = 80; // "THUMBNAIL SIZE": the width of the grids' thumbnails in pixels, 80 to 256
    // "WINDOW GEOMETRY": the main window's place and size when it last closed, as Qt saves a window's
    // geometry, in Base64; empty before the first close (the window then starts at its design size).
    QString WindowGeometry;

    static constexpr int MinCrossFadeTime = 200;
    static constexpr int MaxCrossFadeTime = 2000;
    static constexpr int MinThumbnailSize = 80;
    static constexpr int MaxThumbnailSize = 256;
    // The length of a slide change's fade in milliseconds; 0 for a hard cut.
    int crossFadeMs() const { return CrossFade ? CrossFadeTime : 0; }

    static constexpr int MaxRecentShows = 8;
    // Puts the show first among the recent shows, once, keeping the newest MaxRecentShows.
    void rememberRecentShow(const QString& path);

    // The values of a first run.
    static Settings defaults();
    // Each value independently; a missing or malformed value gives its default.
    static Settings read(const SettingsStore& store);
    // Writes the values in their fixed order; false when the store could not be written.
    bool write(SettingsStore& store) const;
    // The stored names and their texts, in the order they are written.
    std::vector<std::pair<QString, QString>> storedValues() const;

    // The folder a folder setting falls back to: "C:\" on Windows; elsewhere the user's pictures
    // folder, or the home folder when there is none.
    static QString defaultFolder();
    // The folder that replaces one that cannot be entered at start-up: the lower-cased program
    // folder on Windows; elsewhere the same as defaultFolder().
    static QString fallbackFolder();

    // The start-up check: makes the show folder and then the image folder the current directory,
    // replacing each that cannot be entered by fallbackFolder(). The current directory ends at the
    // image folder.
    void checkFolders();

    // Parses a stored number: "0x"/"0X" followed by hexadecimal digits, or decimal digits; false
    // when the text is no number.
    static bool parseNumber(const QString& text, int& value);
};
