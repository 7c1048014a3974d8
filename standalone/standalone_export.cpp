// SPDX-License-Identifier: MIT
#include "standalone_export.h"

#include "codec_module.h"
#include "dialogs.h"
#include "export_names.h"
#include "package_assembly.h"
#include "package_extension.h"
#include "qpx_conversion.h"
#include "save_exe_dialog.h"
#include "share_progress.h"
#include "shared_flags.h"
#include "shared_show.h"
#include "show_document.h"
#include "slide_pass.h"
#include "work_files.h"
#include "work_removal.h"
#include "work_wait.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QTemporaryDir>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <future>
#include <memory>

namespace {

const char* const PackageFilter =
    QT_TRANSLATE_NOOP("StandaloneExport", "Morvant Stand-alone Verasco (*.exe)");

// The main window while a package is written: repainted, any timed wait of the player ended,
// hourglass, disabled. Window and pointer come back with release() or when the object goes, and the
// status line gets its text back when it goes, whatever happened.
class BusyWindow {
  public:
    BusyWindow(QWidget& window, QLabel& status, SharedFlags& flags)
        : window_(window), status_(status), statusText_(status.text().trimmed()) {
        window.repaint();
        flags.WaitInterrupt = true;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        window.setEnabled(false);
    }
    ~BusyWindow() {
        release();
        status_.setText(statusText_ + QString(34, QLatin1Char(' ')));
    }
    void release() {
        if (released_)
            return;
        released_ = true;
        window_.setEnabled(true);
        QApplication::restoreOverrideCursor();
    }
    BusyWindow(const BusyWindow&) = delete;
    BusyWindow& operator=(const BusyWindow&) = delete;

  private:
    QWidget& window_;
    QLabel& status_;
    QString statusText_;
    bool released_ = false;
};

std::optional<ExportError> refuseTargetName(const QString& target) {
    const QString name = QFileInfo(target).fileName();
    for (const char* own : {"images.sld", "images.dat", ExtensionMemberName, RuntimeMemberName})
        if (name.compare(QLatin1String(own), Qt::CaseInsensitive) == 0)
            return ExportError{
                QCoreApplication::translate("StandaloneExport", "A stand-alone show cannot be named %1.")
                    .arg(name),
                QString()};
    return std::nullopt;
}

// The package packed on a thread of its own while the windows go on painting: long music makes
// members of hundreds of MB, which take seconds to pack.
std::optional<ExportError> assembleAside(const AssemblyJob& job) {
    std::future<std::optional<ExportError>> packing =
        std::async(std::launch::async, [&job] { return assemblePackage(job); });
    imaging::waitForWork([&packing](int ms) {
        return packing.wait_for(std::chrono::milliseconds(ms)) == std::future_status::ready;
    });
    return packing.get();
}

} // namespace

// Without the codec module no music is packed.
std::optional<std::vector<bool>> StandaloneExport::convertMusic(const std::vector<MusicConversion>& files) {
    std::vector<bool> converted(files.size(), false);
    sharing::CodecBackend* codec = parts_.codec ? parts_.codec : sharing::codecBackend();
    if (!codec)
        return converted;
    // An arrow over the dialog, whose Cancel may be clicked, in place of the busy window's hourglass.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    const sharing::ShareOutcome outcome = sharing::runWithProgress(
        parts_.window, QCoreApplication::translate("StandaloneExport", "Converting the music..."),
        [&](const sharing::ShareControl& control) {
            for (std::size_t i = 0; i < files.size() && !control.cancelled(); ++i) {
                QString reason;
                converted[i] = codec->convertToOgg(files[i].from, files[i].to, control.cancelFlag(), &reason);
                control.report(std::int64_t(i + 1), std::int64_t(files.size()));
            }
            return sharing::ShareOutcome{
                control.cancelled() ? sharing::ShareOutcome::Cancelled : sharing::ShareOutcome::Done, {}};
        });
    QApplication::restoreOverrideCursor();
    if (outcome.result == sharing::ShareOutcome::Cancelled)
        return std::nullopt;
    return converted;
}

QString StandaloneExport::chooseTarget(PackagePlatform platform) {
    const QString offered =
        ExportNames::defaultPackageName(parts_.showPath ? parts_.showPath() : QString(), platform);
    for (;;) {
        const QString chosen = dialogSeams().getSaveFileName(
            parts_.window, QCoreApplication::translate("StandaloneExport", "Save Stand-alone Verasco"),
            QDir(*parts_.slideDirectory).filePath(offered),
            QCoreApplication::translate("StandaloneExport", PackageFilter));
        if (chosen.isEmpty() || parts_.show->SlideCount == 0)
            return {};
        const QString target = ExportNames::packageName(chosen, platform);
        if (!QFileInfo::exists(target) || parts_.prompts.overwrite())
            return chosen;
    }
}

void StandaloneExport::setStatus(const QString& text) {
    parts_.status->setText(text);
    parts_.status->repaint();
}

void StandaloneExport::run() {
    const PackagePlatform remembered = parts_.packagePlatform
                                           ? PackagePrograms::platformNamed(*parts_.packagePlatform)
                                           : PackagePlatform::Windows;
    const QString chosen = chooseTarget(remembered);
    if (chosen.isEmpty())
        return;
    QString target = ExportNames::packageName(chosen, remembered);
    const ShowDocument& show = *parts_.show;
    parts_.dialog->setProgramsFolder(parts_.programsFolder);
    parts_.dialog->setPlatform(remembered);
    parts_.dialog->setFacts(chosen, show.SlideCount, ExportNames::imageFileCount(show),
                            ExportNames::audioFileCount(show));
    if (parts_.dialog->exec() != QDialog::Accepted)
        return;
    const PackagePlatform platform = parts_.dialog->platform();
    if (parts_.packagePlatform)
        *parts_.packagePlatform = PackagePrograms::platformName(platform);
    // Another system chosen in the dialog names the package by its own rule.
    if (const QString named = ExportNames::packageName(chosen, platform); named != target) {
        if (QFileInfo::exists(named) && !parts_.prompts.overwrite())
            return;
        target = named;
    }
    std::optional<ExportError> error;
    {
        BusyWindow busy(*parts_.window, *parts_.status, *parts_.flags);
        error = write(target, parts_.dialog->quality(), platform);
        if (!error) {
            setStatus(QCoreApplication::translate("StandaloneExport", "Creating Stand-alone Verasco...done") +
                      QString(15, QLatin1Char(' ')));
            busy.release();
            parts_.prompts.message(
                QCoreApplication::translate("StandaloneExport", "Information"),
                QCoreApplication::translate("StandaloneExport", "Stand-alone Verasco created."),
                sharing::musicLeftOutNote(musicLeftOut_));
            *parts_.slideDirectory = QFileInfo(target).absolutePath();
        }
    }
    if (error && !error->cancelled)
        parts_.prompts.message(QCoreApplication::translate("StandaloneExport", "Error"), error->text,
                               error->line2);
}

std::optional<ExportError> StandaloneExport::write(const QString& target, QualityPreset quality,
                                                   PackagePlatform platform) {
    musicLeftOut_.clear();
    if (auto refused = refuseTargetName(target))
        return refused;
    if (platform == PackagePlatform::Windows && !PackagePrograms::present(parts_.programsFolder, platform))
        return ExportError{QCoreApplication::translate("StandaloneExport",
                                                       "Windows packages are not available in this build."),
                           QString()};
    if (auto tooLarge = checkImageDataSize(*parts_.show))
        return tooLarge;
    // What earlier exports that were ended before their time left goes first.
    imaging::removeDeadWork(QDir::tempPath());
    imaging::removeDeadWork(QFileInfo(target).absolutePath());
    // Every working file of the export lives in this folder: made exclusively, readable by this user
    // only, under a name nobody can take first, so that no other user can put anything in its way.
    // Its lock tells later exports that it is in use.
    QTemporaryDir folder(QDir(QDir::tempPath()).filePath(ExportNames::temporaryPrefix()) +
                         QStringLiteral(".TMPXXXXXX"));
    if (!folder.isValid())
        return ExportError{
            QCoreApplication::translate("StandaloneExport", "The stand-alone show could not be written."),
            folder.errorString()};
    imaging::WorkLock lock;
    if (!imaging::lockWorkFolder(folder.path(), lock))
        return ExportError{
            QCoreApplication::translate("StandaloneExport", "The stand-alone show could not be written."),
            QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(folder.path()),
                                         QString::fromLocal8Bit(std::strerror(errno)))};
    WorkRemovedOnSignals removal(folder.path());

    SlidePassJob job;
    job.show = parts_.show;
    job.packageFolder = folder.path();
    job.conversionFile = folder.filePath(QStringLiteral("conversion.qpx"));
    job.reservedNames = {QStringLiteral("images.sld"), QStringLiteral("images.dat"),
                         QLatin1String(RuntimeMemberName), QFileInfo(target).fileName()};
    job.options = parts_.playerOptions();
    job.convert = PhotoQpxConverter(*parts_.photo, *parts_.flags, quality);
    // The picture of the slide at hand is converted whole on a thread of its own; the one converted
    // aside meanwhile only from a plain bitmap's rows, so that no two whole pictures are in memory.
    job.convertBytes = PictureQpxConverter(quality);
    job.convertAside = [rows = std::make_shared<BmpRowsConverter>(quality)](const QString& image) {
        return (*rows)(image);
    };
    if (parts_.prompts.ask)
        job.blankInstead = [this](const QString& picture, const QString& reason) {
            QApplication::setOverrideCursor(Qt::ArrowCursor);
            const bool yes = parts_.prompts.ask(
                QCoreApplication::translate("StandaloneExport",
                                            "A picture could not be read. Put a blank slide in its place?"),
                QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(picture), reason));
            QApplication::restoreOverrideCursor();
            return yes;
        };
    job.progress = [this](int slide, int count) {
        setStatus(QCoreApplication::translate("StandaloneExport", "Processing image %1 of %2...")
                      .arg(slide)
                      .arg(count) +
                  QString(11, QLatin1Char(' ')));
    };
    std::vector<PackageFile> files;
    std::optional<ExportError> error = runSlidePass(job, files);
    if (!error)
        error = runExtensionPass(
            {parts_.show, folder.path(), job.reservedNames,
             [this](const std::vector<MusicConversion>& music) { return convertMusic(music); },
             &musicLeftOut_},
            files);
    if (!error) {
        setStatus(QCoreApplication::translate("StandaloneExport", "Creating Stand-alone Verasco...") +
                  QString(15, QLatin1Char(' ')));
        AssemblyJob assembly{parts_.programsFolder, folder.path(), target, std::move(files), {}, platform};
        assembly.partialFile = [&removal](const QString& path, const QString& madeAs) {
            removal.addFile(path, madeAs);
        };
        error = assembleAside(assembly);
    }
    // A file of the private folder that could not be written is part of the package to be: the
    // package is named with the system's reason.
    const QString privateFolder = QDir::toNativeSeparators(folder.path()) + QDir::separator();
    if (error && error->line2.startsWith(privateFolder))
        error->line2 = QDir::toNativeSeparators(target) +
                       error->line2.mid(error->line2.indexOf(QStringLiteral(": "), privateFolder.size()));
    return error;
}
