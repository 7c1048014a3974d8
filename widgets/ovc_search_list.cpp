// SPDX-License-Identifier: MIT
#include "ovc_search_list.h"

#include <QApplication>
#include <QKeyEvent>
#include <QStyledItemDelegate>

namespace {
// Draws the items as usual, each the list's row height high.
class FixedHeightDelegate : public QStyledItemDelegate {
  public:
    explicit FixedHeightDelegate(TOvcSearchList* list) : QStyledItemDelegate(list), list_(list) {}
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return QSize(QStyledItemDelegate::sizeHint(option, index).width(), list_->RowHeight());
    }

  private:
    TOvcSearchList* list_;
};
} // namespace

TOvcSearchList::TOvcSearchList(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setItemDelegate(new FixedHeightDelegate(this));
    showSelection(false);
    connect(this, &QListWidget::currentRowChanged, this, &TOvcSearchList::Change);
}

void TOvcSearchList::setRowHeight(int height) {
    m_rowHeight = qMax(1, height);
    doItemsLayout();
}

bool TOvcSearchList::selectFirstStartingWith(const QString& text) {
    for (int row = 0; row < count(); ++row) {
        if (item(row)->text().startsWith(text, Qt::CaseInsensitive)) {
            setCurrentRow(row);
            scrollToItem(item(row), QAbstractItemView::PositionAtTop);
            return true;
        }
    }
    return false;
}

void TOvcSearchList::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Backspace && !m_searchText.isEmpty()) {
        m_searchText.chop(1);
        if (!m_searchText.isEmpty())
            selectFirstStartingWith(m_searchText);
        event->accept();
        return;
    }
    const QString typed = event->text();
    const bool printable = !typed.isEmpty() && typed.at(0).isPrint() &&
                           !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (!printable) {
        QListWidget::keyPressEvent(event); // arrows, Home, End and the others move as in any list
        return;
    }
    if (!m_lastKey.isValid() || m_lastKey.hasExpired(QApplication::keyboardInputInterval()))
        m_searchText.clear();
    m_lastKey.start();
    // A character that no item continues with is not taken into the search text.
    if (selectFirstStartingWith(m_searchText + typed))
        m_searchText += typed;
    event->accept();
}

void TOvcSearchList::focusInEvent(QFocusEvent* event) {
    QListWidget::focusInEvent(event);
    m_searchText.clear(); // coming back to the list starts a new search
    showSelection(true);
}

void TOvcSearchList::focusOutEvent(QFocusEvent* event) {
    QListWidget::focusOutEvent(event);
    showSelection(false);
}

// Without the focus the selected item looks like any other.
void TOvcSearchList::showSelection(bool shown) {
    QPalette colours = palette();
    const QPalette standard = QApplication::palette(this);
    colours.setColor(QPalette::Highlight,
                     shown ? standard.color(QPalette::Highlight) : standard.color(QPalette::Base));
    colours.setColor(QPalette::HighlightedText,
                     shown ? standard.color(QPalette::HighlightedText) : standard.color(QPalette::Text));
    setPalette(colours);
}
