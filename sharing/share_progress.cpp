// SPDX-License-Identifier: MIT
#include "share_progress.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProgressDialog>

#include <thread>

namespace sharing {

namespace {

constexpr int Steps = 1000;

} // namespace

ShareOutcome runWithProgress(QWidget* parent, const QString& label,
                             const std::function<ShareOutcome(const ShareControl&)>& work) {
    QProgressDialog dialog(label, QCoreApplication::translate("ShareProgress", "&Cancel"), 0, Steps, parent);
    dialog.setObjectName(QStringLiteral("shareProgress"));
    dialog.setWindowTitle(QStringLiteral("Verasco"));
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    dialog.setMinimumDuration(0);
    dialog.setValue(0);

    std::atomic<bool> cancel{false};
    QObject::connect(&dialog, &QProgressDialog::canceled, &dialog, [&cancel] { cancel = true; });
    ShareControl control;
    control.cancel = &cancel;
    // Reported on the work's thread, shown on the window thread; nothing is shown once the dialog
    // has gone, nor after Cancel, which closed it (a value set would show it again).
    control.progress = [&dialog, &cancel](std::int64_t done, std::int64_t total) {
        const int value = total > 0 ? int(done * Steps / total) : 0;
        QMetaObject::invokeMethod(
            &dialog,
            [&dialog, &cancel, value] {
                if (!cancel)
                    dialog.setValue(qMin(value, Steps - 1));
            },
            Qt::QueuedConnection);
    };

    QEventLoop loop;
    ShareOutcome outcome;
    std::thread worker([&] {
        outcome = work(control);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    dialog.show();
    loop.exec();
    worker.join();
    return outcome;
}

} // namespace sharing
