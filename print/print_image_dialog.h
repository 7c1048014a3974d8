#pragma once
// The print dialog of a single image.

#include <QDialog>

class Tprint1Dlg : public QDialog {
    Q_OBJECT
public:
    explicit Tprint1Dlg(QWidget* parent = nullptr);
};
