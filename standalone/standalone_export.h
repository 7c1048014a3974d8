// SPDX-License-Identifier: MIT
#pragma once
// File > "Sa&ve Stand-alone Verasco...": asks where the package goes and with which picture
// quality, then writes the slide list and the image data into a private temporary folder, converting
// pictures through the preview's imaging control and the show's music on a thread of its own behind
// a progress dialog with Cancel, and packs the folder behind the head into one package file, on a
// thread of its own while the windows go on painting. The main window is busy meanwhile; every failure is
// reported, removes what was written and gives the window back, and a signal that ends the program removes it
// too. The message at the end names the music files left out.

#include "export_error.h"
#include "package_extension.h"
#include "package_programs.h"
#include "quality_presets.h"
#include "slide_list.h"
#include "tell_user.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

class QLabel;
class QWidget;
class ShowDocument;
class TPhoto;
namespace sharing {
class CodecBackend;
}
class Tsaveexedlg;
struct SharedFlags;

// The program's own questions and messages (the confirmation dialog).
struct ExportPrompts {
    // "File already exists, overwrite older file?": false when the answer is No.
    std::function<bool()> overwrite;
    // A question with Yes and No: true for Yes.
    std::function<bool(const QString& text, const QString& line2)> ask;
    TellUser message;
};

struct ExportParts {
    ShowDocument* show = nullptr;
    QString* slideDirectory = nullptr; // the show folder; becomes the package's folder
    std::function<PlayerOptions()> playerOptions;
    QWidget* window = nullptr; // the main window, busy while the package is written
    QLabel* status = nullptr;  // its status label
    SharedFlags* flags = nullptr;
    Tsaveexedlg* dialog = nullptr;
    TPhoto* photo = nullptr; // converts the pictures
    ExportPrompts prompts;
    QString programsFolder; // holds the three programs a package carries, for each system
    // The setting "PACKAGE PLATFORM": the system chosen last, taken by the settings dialog and kept
    // from it. Without one, packages are for Windows.
    QString* packagePlatform = nullptr;
    std::function<QString()> showPath;      // the show file's path, empty for a show never saved
    sharing::CodecBackend* codec = nullptr; // converts the music; unset, the codec module does
};

class StandaloneExport {
  public:
    explicit StandaloneExport(ExportParts parts) : parts_(std::move(parts)) {}

    // The command, from the save dialog to the message at the end.
    void run();

    // Writes the package `target` with these quality values, reporting progress in the status
    // label; what the command does once the user has answered.
    std::optional<ExportError> write(const QString& target, QualityPreset quality,
                                     PackagePlatform platform = PackagePlatform::Linux);

  private:
    // The name chosen in the save dialog, or empty; a package of that name for `platform` either
    // does not exist yet or may be overwritten.
    QString chooseTarget(PackagePlatform platform);
    void setStatus(const QString& text);
    std::optional<std::vector<bool>> convertMusic(const std::vector<MusicConversion>& files);

    ExportParts parts_;
    std::vector<QString> musicLeftOut_; // by the last write, since they could not be converted
};
