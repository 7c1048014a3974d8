#pragma once
// Settings of a stand-alone show export: image quality and package options.

#include <QDialog>

class Tsaveexedlg : public QDialog {
    Q_OBJECT
public:
    explicit Tsaveexedlg(QWidget* parent = nullptr);
};
