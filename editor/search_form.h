#pragma once
// Finds a folder image by name in the image browser.

#include <QDialog>

class Tsrchform : public QDialog {
    Q_OBJECT
public:
    explicit Tsrchform(QWidget* parent = nullptr);
};
