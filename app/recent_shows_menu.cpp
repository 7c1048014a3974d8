// SPDX-License-Identifier: MIT
#include "recent_shows_menu.h"

#include "recently_used.h"
#include "settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QMenu>

namespace {
const QString ShowMimeType = QStringLiteral("application/x-verasco-show");
// Paths longer than this are shortened in their middle in the menu.
constexpr int MaxItemWidth = 480;
} // namespace

RecentShowsMenu::RecentShowsMenu(QMenu& fileMenu, Settings& settings,
                                 std::function<void(const QString&)> open)
    : menu_(fileMenu.addMenu(QCoreApplication::translate("RecentShowsMenu", "Recent Verascos"))),
      settings_(settings), open_(std::move(open)) {
    menu_->setObjectName(QStringLiteral("RecentVerascos1"));
    refresh();
}

void RecentShowsMenu::refresh() {
    settings_.RecentShows.removeIf([](const QString& path) { return !QFileInfo(path).isFile(); });
    menu_->clear();
    const QFontMetrics metrics(menu_->font());
    for (int i = 0; i < settings_.RecentShows.size(); ++i) {
        const QString path = settings_.RecentShows.at(i);
        const QString shown =
            metrics.elidedText(QDir::toNativeSeparators(path), Qt::ElideMiddle, MaxItemWidth);
        // "&1" to "&8": the number chooses the show from the keyboard; an "&" in a path stays one.
        QString text =
            QStringLiteral("&%1 %2").arg(i + 1).arg(QString(shown).replace(QLatin1Char('&'), "&&"));
        QAction* item = menu_->addAction(text);
        item->setObjectName(QStringLiteral("RecentVerasco%1").arg(i + 1));
        QObject::connect(item, &QAction::triggered, menu_, [this, path] { open_(path); });
    }
    menu_->menuAction()->setEnabled(!settings_.RecentShows.isEmpty());
}

void RecentShowsMenu::remember(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    settings_.rememberRecentShow(absolute);
    addRecentlyUsedFile(absolute, ShowMimeType);
    refresh();
}
