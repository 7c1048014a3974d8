// SPDX-License-Identifier: MIT
// Edit > Sort Slides > By Date Taken on a show of 500 photographs whose EXIF dates run against their
// names, each file's date read for the sort: beside exiftool printing the DateTimeOriginal of the same
// 500 files (one process for all of them). The sort again with the dates kept from that read, as they
// are once the show's pictures were read, on a line of its own: no peer keeps them.
#include "date_taken.h"
#include "peer_programs.h"
#include "ratio_reporter.h"
#include "show_document.h"
#include "slide_sorting.h"
#include "stored_path.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int Photos = 500;
QStringList photos;
ShowDocument show;

// 500 small JPEG files, photo000.jpg on, each taken a minute before the one named before it.
bool makePhotos(const QString& folder) {
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(QColor(200, 120, 40));
    QFile arguments(QDir(folder).filePath(QStringLiteral("dates.args")));
    if (!arguments.open(QIODevice::WriteOnly))
        return false;
    for (int i = 0; i < Photos; ++i) {
        const QString path =
            QDir(folder).filePath(QStringLiteral("photo%1.jpg").arg(i, 3, 10, QLatin1Char('0')));
        if (!picture.save(path, "JPEG"))
            return false;
        photos.append(path);
        const int minutes = (Photos - i) * 7 % 600;
        arguments.write(
            QStringLiteral("-overwrite_original\n-DateTimeOriginal=2021:05:01 %1:%2:00\n%3\n-execute\n")
                .arg(8 + minutes / 60, 2, 10, QLatin1Char('0'))
                .arg(minutes % 60, 2, 10, QLatin1Char('0'))
                .arg(path)
                .toUtf8());
    }
    arguments.close();
    return QProcess::execute(QStringLiteral("exiftool"),
                             {QStringLiteral("-q"), QStringLiteral("-@"), arguments.fileName()}) == 0;
}

// Gives each photograph a modification time it has not had, so that the dates kept from an earlier
// read no longer hold and the next sort reads every file again.
bool touchPhotos() {
    static qint64 seconds = 1600000000;
    const QDateTime time = QDateTime::fromSecsSinceEpoch(++seconds);
    for (const QString& photo : photos) {
        QFile file(photo);
        if (!file.open(QIODevice::ReadWrite) || !file.setFileTime(time, QFileDevice::FileModificationTime))
            return false;
    }
    return true;
}

enum class Dates { Unread, Kept };

void sortByDate(benchmark::State& state, Dates dates) {
    SlideSorting::sortSlides(show, SlideSorting::allSlides(show), SlideSorting::Order::DateTaken);
    const quint64 readBefore = imaging::dateReadCount();
    for (auto _ : state) {
        state.PauseTiming();
        SlideSorting::sortSlides(show, SlideSorting::allSlides(show), SlideSorting::Order::Name);
        if (dates == Dates::Unread && !touchPhotos()) {
            state.SkipWithError("cannot change the photographs' times");
            return;
        }
        state.ResumeTiming();
        SlideSorting::sortSlides(show, SlideSorting::allSlides(show), SlideSorting::Order::DateTaken);
    }
    state.counters["files_read"] = double(imaging::dateReadCount() - readBefore) /
                                   double(std::max<benchmark::IterationCount>(1, state.iterations()));
}

void SortFiveHundredByDate(benchmark::State& state) {
    sortByDate(state, Dates::Unread);
}

void SortFiveHundredByKeptDate(benchmark::State& state) {
    sortByDate(state, Dates::Kept);
}

void ExiftoolFiveHundredDates(benchmark::State& state) {
    const QByteArray program = peerProgram(QStringLiteral("exiftool"));
    std::vector<QByteArray> paths;
    for (const QString& photo : photos)
        paths.push_back(QFile::encodeName(photo));
    std::vector<char*> argv = {const_cast<char*>("exiftool"), const_cast<char*>("-q"),
                               const_cast<char*>("-DateTimeOriginal")};
    for (QByteArray& path : paths)
        argv.push_back(path.data());
    argv.push_back(nullptr);
    // Its 500 lines go to /dev/null, as our dates go nowhere either.
    std::fflush(stdout);
    const int console = dup(STDOUT_FILENO);
    const int nowhere = open("/dev/null", O_WRONLY);
    dup2(nowhere, STDOUT_FILENO);
    bool ran = true;
    for (auto _ : state)
        ran = ran && spawnAndWait(program, argv.data());
    dup2(console, STDOUT_FILENO);
    close(nowhere);
    close(console);
    if (!ran)
        state.SkipWithError("exiftool failed");
}

BENCHMARK(SortFiveHundredByDate)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(ExiftoolFiveHundredDates)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(SortFiveHundredByKeptDate)->Unit(benchmark::kMillisecond)->MinTime(1.0);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    if (!makePhotos(dir.path())) {
        std::fprintf(stderr, "cannot make the photographs (exiftool)\n");
        return 1;
    }
    QList<ShowSlide> slides;
    for (const QString& photo : photos) {
        ShowSlide slide{show.freshRecord(), {}};
        slide.record.ImageFile.assign(StoredPath::encode(photo).toStdString());
        slides.append(slide);
    }
    show.insert(0, slides);
    return runWithRatios(argc, argv, {{"SortFiveHundredByDate", "ExiftoolFiveHundredDates"}},
                         {"SortFiveHundredByKeptDate"});
}
