// SPDX-License-Identifier: MIT
#include "recently_used.h"

#include <QDateTime>
#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>

namespace {

const QString AppName = QStringLiteral("Verasco");
// The command a file chooser may use to open the file again, quoted as other programs store it.
const QString AppExec = QStringLiteral("'verasco %u'");
// Lists grow with every program's entries; one far larger than any real list is no such list.
constexpr qint64 MaxListBytes = 32 * 1024 * 1024;

QString timeStamp() {
    return QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs);
}

QDomDocument emptyList() {
    QDomDocument doc;
    doc.appendChild(doc.createProcessingInstruction(QStringLiteral("xml"),
                                                    QStringLiteral("version=\"1.0\" encoding=\"UTF-8\"")));
    QDomElement root = doc.createElement(QStringLiteral("xbel"));
    root.setAttribute(QStringLiteral("version"), QStringLiteral("1.0"));
    root.setAttribute(QStringLiteral("xmlns:bookmark"),
                      QStringLiteral("http://www.freedesktop.org/standards/desktop-bookmarks"));
    root.setAttribute(QStringLiteral("xmlns:mime"),
                      QStringLiteral("http://www.freedesktop.org/standards/shared-mime-info"));
    doc.appendChild(root);
    return doc;
}

// The list as it is, an empty one when there is none yet; false for a file that is no list.
bool readList(const QString& path, QDomDocument& doc) {
    QFile file(path);
    if (!file.exists()) {
        doc = emptyList();
        return true;
    }
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > MaxListBytes || !file.open(QIODevice::ReadOnly))
        return false;
    // Other programs write the list; whatever size it reports, no more than the limit is read.
    const QByteArray bytes = file.read(MaxListBytes + 1);
    if (bytes.size() > MaxListBytes)
        return false;
    // Qualified names are kept as they stand ("bookmark:application"), as other programs wrote them.
    return doc.setContent(bytes, false) && doc.documentElement().tagName() == QLatin1String("xbel");
}

QDomElement child(QDomElement parent, const QString& name, QDomDocument& doc) {
    QDomElement found = parent.firstChildElement(name);
    if (found.isNull())
        found = parent.appendChild(doc.createElement(name)).toElement();
    return found;
}

QDomElement findBookmark(const QDomElement& root, const QString& href) {
    for (QDomElement e = root.firstChildElement(QStringLiteral("bookmark")); !e.isNull();
         e = e.nextSiblingElement(QStringLiteral("bookmark")))
        if (e.attribute(QStringLiteral("href")) == href)
            return e;
    return {};
}

void noteApplication(QDomElement bookmark, const QString& mimeType, const QString& now, QDomDocument& doc) {
    QDomElement metadata =
        child(child(bookmark, QStringLiteral("info"), doc), QStringLiteral("metadata"), doc);
    metadata.setAttribute(QStringLiteral("owner"), QStringLiteral("http://freedesktop.org"));
    child(metadata, QStringLiteral("mime:mime-type"), doc).setAttribute(QStringLiteral("type"), mimeType);
    QDomElement apps = child(metadata, QStringLiteral("bookmark:applications"), doc);
    QDomElement app;
    for (QDomElement e = apps.firstChildElement(QStringLiteral("bookmark:application")); !e.isNull();
         e = e.nextSiblingElement(QStringLiteral("bookmark:application")))
        if (e.attribute(QStringLiteral("name")) == AppName)
            app = e;
    if (app.isNull()) {
        app = apps.appendChild(doc.createElement(QStringLiteral("bookmark:application"))).toElement();
        app.setAttribute(QStringLiteral("name"), AppName);
        app.setAttribute(QStringLiteral("exec"), AppExec);
    }
    app.setAttribute(QStringLiteral("modified"), now);
    app.setAttribute(QStringLiteral("count"), app.attribute(QStringLiteral("count")).toInt() + 1);
}

bool writeList(const QString& path, const QDomDocument& doc) {
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = doc.toByteArray(2);
    return file.write(bytes) == bytes.size() && file.commit();
}

} // namespace

QString recentlyUsedListPath() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("recently-used.xbel"));
}

bool addRecentlyUsedFile(const QString& path, const QString& mimeType) {
    const QString listPath = recentlyUsedListPath();
    QDomDocument doc;
    if (!readList(listPath, doc))
        return false;
    const QString href =
        QString::fromLatin1(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toEncoded());
    const QString now = timeStamp();
    QDomElement root = doc.documentElement();
    QDomElement bookmark = findBookmark(root, href);
    if (bookmark.isNull()) {
        bookmark = root.appendChild(doc.createElement(QStringLiteral("bookmark"))).toElement();
        bookmark.setAttribute(QStringLiteral("href"), href);
        bookmark.setAttribute(QStringLiteral("added"), now);
    }
    bookmark.setAttribute(QStringLiteral("modified"), now);
    bookmark.setAttribute(QStringLiteral("visited"), now);
    noteApplication(bookmark, mimeType, now, doc);
    return writeList(listPath, doc);
}
