// SPDX-License-Identifier: MIT
#include "target_files.h"

#include "folder_replacement.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace sharing {

namespace {

std::filesystem::path fsPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

QString systemReason(const std::error_code& code) {
    return QString::fromLocal8Bit(code.message());
}

} // namespace

WorkBesideTarget::~WorkBesideTarget() {
    lock_.release();
    if (!committed_ && !work_.isEmpty())
        remove(work_);
}

void WorkBesideTarget::remove(const QString& path) const {
    std::error_code ignored;
    std::filesystem::remove_all(fsPath(path), ignored);
}

bool WorkBesideTarget::create(QString* error) {
    const QString folder = QFileInfo(target_).absolutePath();
    imaging::removeDeadWork(folder);
    const auto failed = [&](const QString& why) {
        *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(folder), why);
        return false;
    };
    if (kind_ == Kind::File) {
        QByteArray name;
        removal_.emplace();
        const int fd =
            imaging::createWorkFile(QFile::encodeName(target_), 0666, name, lock_,
                                    [this](const QByteArray& path, const QByteArray& madeAs) {
                                        removal_->addFile(QFile::decodeName(path), QFile::decodeName(madeAs));
                                    });
        if (fd < 0) {
            removal_.reset();
            return failed(QString::fromLocal8Bit(std::strerror(errno)));
        }
        ::close(fd);
        work_ = QFile::decodeName(name);
        return true;
    }
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QString name = imaging::workNameBeside(target_);
        std::error_code code;
        if (!std::filesystem::create_directory(fsPath(name), code)) {
            if (code)
                return failed(systemReason(code));
            continue; // a name taken by another file
        }
        work_ = name;
        // A signal removes the folder from here on, also while its lock is being made.
        removal_.emplace(work_);
        if (!imaging::lockWorkFolder(work_, lock_))
            return failed(QString::fromLocal8Bit(std::strerror(errno)));
        return true;
    }
    return failed(QCoreApplication::translate("ShareReasons", "no free working name"));
}

bool WorkBesideTarget::commit(QString* error, const OwnFiles& earlierOwn) {
    // The work stops being work here: a signal no longer removes it (the folder's handle would reach
    // into the target), and the folder's lock file, no part of the page, goes before it moves.
    removal_.reset();
    if (kind_ == Kind::Folder)
        lock_.release();
    if (kind_ == Kind::Folder && QFileInfo(target_).isDir()) {
        // A folder cannot be renamed over a folder: the earlier one gives what is not its own work
        // to the new one and steps aside.
        if (!replaceFolderKeepingOthers(work_, target_, earlierOwn, error))
            return false;
    } else {
        // A rename replaces a file of the target's name in one step.
        std::error_code code;
        std::filesystem::rename(fsPath(work_), fsPath(target_), code);
        if (code) {
            *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(target_), systemReason(code));
            return false;
        }
    }
    committed_ = true;
    return true;
}

} // namespace sharing
