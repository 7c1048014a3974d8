// SPDX-License-Identifier: MIT
#include "drag_drop_files.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QCursor>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

namespace {
const char* const AbortCaption = QT_TRANSLATE_NOOP("TDragDropFiles", "&Abort");
}

TDragDropFiles::TDragDropFiles(QWidget* target) : QObject(target), m_target(target) {
    if (auto* scrolling = qobject_cast<QAbstractScrollArea*>(target))
        m_target = scrolling->viewport();
    m_target->setAcceptDrops(true);
    m_target->installEventFilter(this);
    m_menu = new QMenu(target);
    m_menu->setObjectName(QStringLiteral("DropMenu"));
    for (const char* caption :
         {QT_TR_NOOP("&Copy Here"), QT_TR_NOOP("&Move Here"), QT_TR_NOOP("&Shortcut(s) Create Here")})
        m_menu->addAction(tr(caption));
    m_menu->addSeparator();
    m_menu->addAction(tr(AbortCaption));
}

QStringList TDragDropFiles::droppedPaths(const QMimeData* data) {
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    }
    return paths;
}

// Only files, only from other programs, and only to be copied.
bool TDragDropFiles::accepts(const QDropEvent& event) const {
    return event.source() == nullptr && (event.possibleActions() & Qt::CopyAction) &&
           !droppedPaths(event.mimeData()).isEmpty();
}

bool TDragDropFiles::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_target)
        return false;
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        if (!accepts(*drag))
            return false;
        drag->setDropAction(Qt::CopyAction);
        drag->accept();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        if (!accepts(*drop))
            return false;
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        const QStringList paths = droppedPaths(drop->mimeData());
        const bool ask = drop->buttons() & Qt::RightButton;
        QTimer::singleShot(0, this, [this, paths, ask] { deliver(paths, ask); });
        return true;
    }
    default:
        return false;
    }
}

void TDragDropFiles::deliver(const QStringList& paths, bool ask) {
    if (ask) {
        const QAction* chosen = m_menu->exec(QCursor::pos());
        if (!chosen || chosen->text() == tr(AbortCaption))
            return;
    }
    emit Drop(paths);
}
