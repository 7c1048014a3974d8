#pragma once
// The image properties dialog: one slide's time, audio, caption and caption font.

#include <QDialog>

class Ttextdlg : public QDialog {
    Q_OBJECT
public:
    explicit Ttextdlg(QWidget* parent = nullptr);
};
