// SPDX-License-Identifier: MIT
#pragma once
// TOvcSearchList: a list of text items that the user searches by typing. Each typed character extends
// the search text, and the first item that begins with it (without regard to case) becomes the
// selected item; Backspace takes the last character back, and a pause longer than the platform's
// keyboard input interval starts a new search. Every change of the selected item is reported.

#include <QElapsedTimer>
#include <QListWidget>

class TOvcSearchList : public QListWidget {
    Q_OBJECT
  public:
    explicit TOvcSearchList(QWidget* parent = nullptr);

    // Items are this many pixels high.
    int RowHeight() const { return m_rowHeight; }
    void setRowHeight(int height);
    // The text typed so far.
    QString searchText() const { return m_searchText; }

    // Selects the first item that begins with text; false, with the selection unchanged, when none does.
    bool selectFirstStartingWith(const QString& text);

  signals:
    // The selected item changed (to row, or -1 when nothing is selected).
    void Change(int row);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void showSelection(bool shown);

    int m_rowHeight = 13;
    QString m_searchText;
    QElapsedTimer m_lastKey;
};
