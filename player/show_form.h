#pragma once
// The viewer window that plays a show.

#include <QDialog>

class TshowFrm : public QDialog {
    Q_OBJECT
public:
    explicit TshowFrm(QWidget* parent = nullptr);
};
