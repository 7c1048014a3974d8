// SPDX-License-Identifier: MIT
#include "folder_replacement.h"

#include "work_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <filesystem>
#include <system_error>
#include <vector>

namespace sharing {

namespace {

namespace fs = std::filesystem;

fs::path fsPath(const QString& path) {
    return fs::path(QFile::encodeName(path).toStdString());
}

QString qtPath(const fs::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.generic_string()));
}

struct Kept {
    fs::path relative;
    bool folder;
};

// What stays of `from`, in the order a walk finds it (folders before what they hold); false with
// *error when it cannot be listed or a kept file is in the way of one of `into`.
bool keptEntries(const fs::path& from, const fs::path& into, const OwnFiles& own, std::vector<Kept>& kept,
                 QString* error) {
    std::error_code code;
    for (fs::recursive_directory_iterator it(from, code), end; !code && it != end; it.increment(code)) {
        const fs::path relative = it->path().lexically_relative(from);
        if (own(qtPath(relative)))
            continue;
        const bool folder = it->is_directory() && !it->is_symlink();
        std::error_code ignored;
        if (!folder && fs::symlink_status(into / relative, ignored).type() != fs::file_type::not_found) {
            *error = QCoreApplication::translate("ShareReasons",
                                                 "%1: a file of the folder is where the new one puts its own")
                         .arg(QDir::toNativeSeparators(qtPath(from / relative)));
            return false;
        }
        kept.push_back({relative, folder});
    }
    if (code)
        *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(qtPath(from)),
                                              QString::fromLocal8Bit(code.message()));
    return !code;
}

// Moves the kept entries from `from` into `into`; on failure moves back what it moved.
bool moveKept(const fs::path& from, const fs::path& into, const std::vector<Kept>& kept,
              std::error_code& code) {
    std::vector<const Kept*> moved;
    for (const Kept& entry : kept) {
        fs::create_directories(entry.folder ? into / entry.relative : (into / entry.relative).parent_path(),
                               code);
        if (!code && !entry.folder)
            fs::rename(from / entry.relative, into / entry.relative, code);
        if (code)
            break;
        if (!entry.folder)
            moved.push_back(&entry);
    }
    if (!code)
        return true;
    std::error_code ignored;
    for (auto it = moved.rbegin(); it != moved.rend(); ++it)
        fs::rename(into / (*it)->relative, from / (*it)->relative, ignored);
    return false;
}

} // namespace

bool replaceFolderKeepingOthers(const QString& work, const QString& target, const OwnFiles& earlierOwn,
                                QString* error) {
    const fs::path into = fsPath(work), place = fsPath(target);
    std::vector<Kept> kept;
    if (!keptEntries(place, into, earlierOwn, kept, error))
        return false;
    // The earlier folder steps aside, gives its kept entries to the new one, and goes once the new
    // one is in its place; or everything comes back as it was.
    const fs::path aside = fsPath(imaging::workNameBeside(target));
    std::error_code code, ignored;
    fs::rename(place, aside, code);
    if (!code && moveKept(aside, into, kept, code)) {
        fs::rename(into, place, code);
        if (code) {
            std::vector<Kept> back;
            for (const Kept& entry : kept)
                if (!entry.folder)
                    back.push_back(entry);
            moveKept(into, aside, back, ignored);
        }
    }
    if (code) {
        fs::rename(aside, place, ignored);
        *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(target),
                                              QString::fromLocal8Bit(code.message()));
        return false;
    }
    fs::remove_all(aside, ignored);
    return true;
}

} // namespace sharing
