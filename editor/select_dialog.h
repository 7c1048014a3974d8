#pragma once
// Chooses the folder whose images the browser lists.

#include <QDialog>

class TselectDlg : public QDialog {
    Q_OBJECT
public:
    explicit TselectDlg(QWidget* parent = nullptr);
};
