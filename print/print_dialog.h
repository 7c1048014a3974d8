#pragma once
// The print dialog of a show: layout, header, footer and comments.

#include <QDialog>

class Tprintdlg : public QDialog {
    Q_OBJECT
public:
    explicit Tprintdlg(QWidget* parent = nullptr);
};
