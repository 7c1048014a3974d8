// SPDX-License-Identifier: MIT
#include "target_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <filesystem>
#include <system_error>

namespace sharing {

namespace {

// A hidden name beside `target` that nothing has yet.
QString workName(const QString& target) {
    const QFileInfo info(target);
    return info.dir().filePath(QStringLiteral(".%1.%2.part")
                                   .arg(info.fileName())
                                   .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
}

std::filesystem::path fsPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

QString systemReason(const std::error_code& code) {
    return QString::fromLocal8Bit(code.message());
}

} // namespace

WorkBesideTarget::~WorkBesideTarget() {
    if (!committed_ && !work_.isEmpty())
        remove(work_);
}

void WorkBesideTarget::remove(const QString& path) const {
    std::error_code ignored;
    std::filesystem::remove_all(fsPath(path), ignored);
}

bool WorkBesideTarget::create(QString* error) {
    const QString folder = QFileInfo(target_).absolutePath();
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QString name = workName(target_);
        if (kind_ == Kind::File) {
            QFile file(name);
            if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
                work_ = name;
                return true;
            }
            if (!QFileInfo::exists(name)) { // not a name taken by another file: a real failure
                *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(folder), file.errorString());
                return false;
            }
        } else {
            std::error_code code;
            if (std::filesystem::create_directory(fsPath(name), code)) {
                work_ = name;
                return true;
            }
            if (code) {
                *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(folder), systemReason(code));
                return false;
            }
        }
    }
    *error = QStringLiteral("%1: no free working name").arg(QDir::toNativeSeparators(folder));
    return false;
}

bool WorkBesideTarget::commit(QString* error) {
    std::error_code code;
    const bool folderInPlace = kind_ == Kind::Folder && QFileInfo(target_).isDir();
    if (!folderInPlace) {
        // A rename replaces a file of the target's name in one step.
        std::filesystem::rename(fsPath(work_), fsPath(target_), code);
    } else {
        // A folder cannot be renamed over a folder: the earlier one steps aside first and goes
        // once the new one is in place, or comes back when it cannot be.
        const QString aside = workName(target_);
        std::filesystem::rename(fsPath(target_), fsPath(aside), code);
        if (!code) {
            std::filesystem::rename(fsPath(work_), fsPath(target_), code);
            std::error_code ignored;
            if (code)
                std::filesystem::rename(fsPath(aside), fsPath(target_), ignored);
            else
                remove(aside);
        }
    }
    if (code) {
        *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(target_), systemReason(code));
        return false;
    }
    committed_ = true;
    return true;
}

} // namespace sharing
