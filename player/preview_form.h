#pragma once
// Shows one image fitted to the screen, modally.

#include <QDialog>

class Tpreviewfrm : public QDialog {
    Q_OBJECT
public:
    explicit Tpreviewfrm(QWidget* parent = nullptr);
};
