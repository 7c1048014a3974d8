// SPDX-License-Identifier: MIT
#include "print_progress.h"

#include <QCoreApplication>
#include <QProgressDialog>

namespace print {

PrintProgress::PrintProgress(QWidget* parent, int pages)
    : dialog_(new QProgressDialog(parent)), pages_(pages) {
    dialog_->setObjectName(QStringLiteral("PrintProgress"));
    dialog_->setWindowTitle(QStringLiteral("Verasco"));
    dialog_->setCancelButtonText(QCoreApplication::translate("PrintProgress", "Cancel"));
    dialog_->setWindowModality(Qt::ApplicationModal);
    dialog_->setAutoClose(false);
    dialog_->setAutoReset(false);
    dialog_->setMinimumDuration(0);
    dialog_->setRange(0, pages);
    // A window of the disabled main window would be disabled with it.
    dialog_->setEnabled(true);
    dialog_->show();
}

PrintProgress::~PrintProgress() {
    delete dialog_;
}

bool PrintProgress::startPage(int page) {
    if (!dialog_ || dialog_->wasCanceled())
        return false;
    dialog_->setLabelText(
        QCoreApplication::translate("PrintProgress", "Printing page %1 of %2").arg(page + 1).arg(pages_));
    dialog_->setValue(page);
    keepAlive();
    return !dialog_->wasCanceled();
}

void PrintProgress::keepAlive() {
    QCoreApplication::processEvents();
}

} // namespace print
