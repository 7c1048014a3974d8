// SPDX-License-Identifier: MIT
#include "share_commands.h"

#include "dialogs.h"
#include "share_progress.h"
#include "show_document.h"
#include "video_dialog.h"
#include "video_export.h"
#include "web_page_export.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <utility>

namespace sharing {

namespace {

// Marks the one command that runs.
class BusyFlag {
  public:
    explicit BusyFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~BusyFlag() { flag_ = false; }
    BusyFlag(const BusyFlag&) = delete;
    BusyFlag& operator=(const BusyFlag&) = delete;

  private:
    bool& flag_;
};

constexpr char Mp4Filter[] = QT_TRANSLATE_NOOP("ShareCommands", "MP4 video (*.mp4)");
constexpr char WebMFilter[] = QT_TRANSLATE_NOOP("ShareCommands", "WebM video (*.webm)");

} // namespace

// The messages of one kind of export, whole sentences so that each language words them its own way.
struct ShareCommands::Headlines {
    const char* done;
    const char* cancelled;
    const char* failed;
};

namespace {
const ShareCommands::Headlines VideoHeadlines{
    QT_TRANSLATE_NOOP("ShareCommands", "Video created."),
    QT_TRANSLATE_NOOP("ShareCommands", "The video was not saved."),
    QT_TRANSLATE_NOOP("ShareCommands", "The video could not be written.")};
const ShareCommands::Headlines PageHeadlines{
    QT_TRANSLATE_NOOP("ShareCommands", "Web page created."),
    QT_TRANSLATE_NOOP("ShareCommands", "The web page was not saved."),
    QT_TRANSLATE_NOOP("ShareCommands", "The web page could not be written.")};
} // namespace

QString ShareCommands::proposedName() const {
    const QString name = parts_.showName ? parts_.showName() : QString();
    return name.isEmpty() ? QStringLiteral("show") : name;
}

// The save dialog until a name is taken: one that does not exist, or one the user lets go.
// Empty when the dialog is cancelled, the show is empty, or the name cannot be used.
QString ShareCommands::chooseTarget(const QString& caption, const QString& name, const QString& filter,
                                    const std::function<QString(const QString&)>& complete,
                                    const std::function<bool(const QString&)>& acceptable,
                                    QString* selectedFilter) {
    for (;;) {
        const QString dir = QDir(*parts_.slideDirectory).filePath(name);
        const QString chosen =
            selectedFilter
                ? dialogSeams().getSaveFileNameAndFilter(parts_.window, caption, dir, filter, selectedFilter)
                : dialogSeams().getSaveFileName(parts_.window, caption, dir, filter);
        if (chosen.isEmpty() || parts_.show->SlideCount == 0)
            return {};
        const QString target = complete(chosen);
        if (!QFileInfo::exists(target))
            return target;
        if (!acceptable(target))
            return {};
        if (parts_.prompts.overwrite())
            return target;
    }
}

// The folder dialog until a folder is taken: a new or empty one, or one holding an earlier page
// that the user lets go; any other folder keeps what it holds. Empty when the dialog is cancelled,
// the show is empty, or the folder cannot be used.
QString ShareCommands::choosePageFolder(const Headlines& what) {
    for (;;) {
        // A folder not there yet is proposed as a name in its parent.
        const QString chosen = dialogSeams().getFolder(parts_.window, tr("Save as Web Page"),
                                                       QDir(*parts_.slideDirectory).filePath(proposedName()));
        if (chosen.isEmpty() || parts_.show->SlideCount == 0)
            return {};
        const QFileInfo folder(chosen);
        if (!folder.exists() || (folder.isDir() && QDir(chosen).isEmpty(QDir::AllEntries | QDir::Hidden |
                                                                        QDir::System | QDir::NoDotAndDotDot)))
            return chosen;
        if (!folder.isDir() || !isSharedWebPage(chosen)) {
            report(ShareOutcome::Failed, what,
                   tr("%1: a folder that holds no web page of Verasco").arg(QDir::toNativeSeparators(chosen)),
                   chosen);
            return {};
        }
        if (parts_.prompts.ask(tr("File already exists, overwrite older file?"),
                               tr("Only the page's own files are replaced: other files in the folder stay.")))
            return chosen;
    }
}

void ShareCommands::report(int result, const Headlines& what, const QString& reason, const QString& target) {
    switch (result) {
    case ShareOutcome::Done:
        parts_.prompts.message(tr("Information"), tr(what.done), reason);
        *parts_.slideDirectory = QFileInfo(target).absolutePath();
        break;
    case ShareOutcome::Cancelled:
        parts_.prompts.message(tr("Information"), tr(what.cancelled), tr("Cancelled: nothing was written."));
        break;
    default:
        parts_.prompts.message(tr("Error"), tr(what.failed), reason);
    }
}

// One command runs at a time. One asked for meanwhile (from the window, while a cancelled one still
// winds down) starts as soon as the running one has ended.
void ShareCommands::runOne(void (ShareCommands::*command)()) {
    if (busy_) {
        asked_ = command;
        return;
    }
    {
        const BusyFlag busy(busy_);
        (this->*command)();
    }
    if (const auto next = std::exchange(asked_, nullptr))
        runOne(next);
}

void ShareCommands::saveVideo() {
    runOne(&ShareCommands::writeVideo);
}

void ShareCommands::saveWebPage() {
    runOne(&ShareCommands::writeWebPage);
}

void ShareCommands::writeVideo() {
    const Headlines& what = VideoHeadlines;
    QString filter = tr(Mp4Filter);
    const QString target = chooseTarget(
        tr("Save as Video"), proposedName() + QStringLiteral(".mp4"),
        QStringLiteral("%1;;%2").arg(tr(Mp4Filter), tr(WebMFilter)),
        [&](const QString& chosen) {
            return videoFileName(chosen,
                                 filter == tr(WebMFilter) ? VideoContainer::WebM : VideoContainer::Mp4);
        },
        [&](const QString& name) {
            if (QFileInfo(name).isFile())
                return true;
            report(ShareOutcome::Failed, what, tr("%1: not a file").arg(QDir::toNativeSeparators(name)),
                   name);
            return false;
        },
        &filter);
    if (target.isEmpty())
        return;
    if (!videoDialog_)
        videoDialog_ = new VideoDialog(parts_.window);
    videoDialog_->setTarget(target);
    if (dialogSeams().runModal(videoDialog_) != QDialog::Accepted)
        return;
    VideoJob job;
    job.show = readSharedShow(*parts_.show, QApplication::palette());
    job.show.loop = parts_.loop();
    job.show.fadeMs = parts_.fadeMs ? parts_.fadeMs() : 0;
    job.target = target;
    job.container = containerForName(target);
    job.size = videoDialog_->frameSize();
    job.fps = videoDialog_->frameRate();
    job.quality = videoDialog_->quality();
    job.subtitles = videoDialog_->subtitles();
    const ShareOutcome outcome =
        runWithProgress(parts_.window, tr("Saving the video..."),
                        [&job](const ShareControl& control) { return sharing::writeVideo(job, control); });
    report(outcome.result, what, outcome.reason, target);
}

void ShareCommands::writeWebPage() {
    const Headlines& what = PageHeadlines;
    const QString target = choosePageFolder(what);
    if (target.isEmpty())
        return;
    WebPageJob job;
    job.show = readSharedShow(*parts_.show, QApplication::palette());
    job.show.loop = parts_.loop();
    job.show.fadeMs = parts_.fadeMs ? parts_.fadeMs() : 0;
    job.target = target;
    const ShareOutcome outcome =
        runWithProgress(parts_.window, tr("Saving the web page..."),
                        [&job](const ShareControl& control) { return sharing::writeWebPage(job, control); });
    report(outcome.result, what, outcome.reason, target);
}

} // namespace sharing
