#include "file_list_box.h"

#include <QDir>
#include <QFileInfo>

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
    items_ = dir.entryList(mask_, QDir::Files, QDir::Name | QDir::IgnoreCase);
    return true;
}

QString joinFolderPath(const QString& folder, const QString& name) {
    if (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QDir::separator()))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}
