// SPDX-License-Identifier: MIT
#include "file_list_box.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {
// Whether the whole name matches the pattern: "*" stands for any run of characters, "?" for any
// one character, everything else for itself without regard to case. Matched by hand rather than
// through regular expressions, whose compiling would weigh on the program's start.
bool matchesWildcard(QStringView name, QStringView pattern) {
    qsizetype n = 0;
    qsizetype p = 0;
    qsizetype starAt = -1; // the pattern position after the last "*", and the name position it took
    qsizetype starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == QLatin1Char('*')) {
            starAt = ++p;
            starName = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == QLatin1Char('?') || pattern[p].toCaseFolded() == name[n].toCaseFolded())) {
            ++p;
            ++n;
        } else if (starAt >= 0) {
            p = starAt;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == QLatin1Char('*'))
        ++p;
    return p == pattern.size();
}
} // namespace

TFileListBox::TFileListBox(QObject* parent) : QObject(parent) {
    setObjectName(QStringLiteral("FileListBox1"));
}

void TFileListBox::setMask(const QString& mask) {
    mask_ = mask.split(QLatin1Char(';'), Qt::SkipEmptyParts);
}

void TFileListBox::setDirectory(const QString& folder) {
    directory_ = folder.isEmpty() ? folder : QFileInfo(folder).absoluteFilePath();
}

bool TFileListBox::Update() {
    items_.clear();
    const QDir dir(directory_);
    if (directory_.isEmpty() || !dir.exists() || !dir.isReadable())
        return false;
    const QFileInfoList files = dir.entryInfoList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& file : files) {
        const QString name = file.fileName();
        // A link counts as the file it names: one to a device or a FIFO is no picture.
        if (std::any_of(mask_.begin(), mask_.end(),
                        [&name](const QString& pattern) { return matchesWildcard(name, pattern); }) &&
            file.isFile())
            items_.append(name);
    }
    return true;
}

QString joinFolderPath(const QString& folder, const QString& name) {
    if (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QDir::separator()))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}
