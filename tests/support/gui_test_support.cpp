// SPDX-License-Identifier: MIT
#include "gui_test_support.h"

#include "test_wav.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>

#include <memory>

namespace {
std::unique_ptr<QTemporaryDir> configFolder;
std::unique_ptr<QApplication> application;
} // namespace

void PlayerTestEnvironment::SetUp() {
    configFolder = std::make_unique<QTemporaryDir>();
    QByteArray platform = "offscreen";
    if (!screens_.isEmpty()) {
        QFile list(configFolder->filePath(QStringLiteral("screens.json")));
        ASSERT_TRUE(list.open(QIODevice::WriteOnly) && list.write(screens_) == screens_.size());
        platform += ":configfile=" + QFile::encodeName(list.fileName());
    }
    qputenv("QT_QPA_PLATFORM", platform);
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configFolder->path()));
    static int argc = 1;
    static char name[] = "verasco-player-test";
    static char* argv[] = {name, nullptr};
    application = std::make_unique<QApplication>(argc, argv);
}

void PlayerTestEnvironment::TearDown() {
    application.reset();
    configFolder.reset();
}

QString writePicture(const QTemporaryDir& dir, const QString& name, QSize size, QColor colour) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(colour);
    const QString path = dir.filePath(name);
    // Qt's writers know no ".jpe"; it names a JPEG file all the same.
    const bool jpe = QFileInfo(path).suffix().compare(QLatin1String("jpe"), Qt::CaseInsensitive) == 0;
    EXPECT_TRUE(picture.save(path, jpe ? "JPEG" : nullptr, 90)) << path.toStdString();
    return path;
}

QString writePictureFolder(const QTemporaryDir& dir, const QString& name, const QStringList& pictures) {
    const QString folder = dir.filePath(name);
    EXPECT_TRUE(QDir().mkpath(folder)) << folder.toStdString();
    for (const QString& picture : pictures)
        writePicture(dir, name + '/' + picture, {24, 16});
    return folder;
}

QString writeWav(const QTemporaryDir& dir, const QString& name, int ms) {
    const QString path = dir.filePath(name);
    EXPECT_TRUE(writeTestWav(path, ms)) << path.toStdString();
    return path;
}

QTimer* whenModal(QWidget* window, std::function<void()> action) {
    auto* poll = new QTimer(window);
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, window, [window, poll, action = std::move(action)] {
        if (QApplication::activeModalWidget() != window)
            return;
        poll->deleteLater();
        poll->stop();
        action();
    });
    poll->start();
    return poll;
}

void FakeWaitClock::callAfter(int ms, QObject* context, std::function<void()> action) {
    at(now_ + qMax(ms, 0), [context = QPointer<QObject>(context), action = std::move(action)] {
        if (context)
            action();
    });
}

WaitEnd FakeWaitClock::pump(int ms, const std::function<bool()>& interrupted) {
    const qint64 end = now_ + qMax(ms, 0);
    for (;;) {
        QCoreApplication::processEvents();
        if (interrupted())
            return WaitEnd::Interrupted;
        const auto next = planned_.begin();
        if (next == planned_.end() || next->first > end) {
            now_ = end;
            return WaitEnd::TimeUp;
        }
        now_ = qMax(now_.load(), next->first);
        const std::function<void()> action = std::move(next->second);
        planned_.erase(next);
        action();
    }
}
