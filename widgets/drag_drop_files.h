// SPDX-License-Identifier: MIT
#pragma once
// TDragDropFiles: makes a control a target for files dropped from other programs. It offers only the
// copy effect, leaves the window where it is, and hands over the dropped files' paths in the order the
// other program gave them. A drop made with the right mouse button first asks, in the drop menu, what
// to do; every answer but "&Abort" hands the paths over.

#include <QObject>
#include <QStringList>

class QDropEvent;
class QMenu;
class QMimeData;
class QWidget;

class TDragDropFiles : public QObject {
    Q_OBJECT
  public:
    // Attaches to target (to its viewport when it scrolls) and lives as long as it does.
    explicit TDragDropFiles(QWidget* target);

    // The local files among the dropped URLs, in their order.
    static QStringList droppedPaths(const QMimeData* data);
    QMenu& dropMenu() { return *m_menu; }

  signals:
    // Files were dropped, and the drop menu (for a right-button drop) was not aborted.
    void Drop(const QStringList& paths);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool accepts(const QDropEvent& event) const;
    // After the drop has been answered, so that the other program is not kept waiting.
    void deliver(const QStringList& paths, bool ask);

    QWidget* m_target;
    QMenu* m_menu;
};
