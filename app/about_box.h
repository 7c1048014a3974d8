#pragma once
// The about box: product name, maker lines, and a line that opens the maker's web page.

#include <QDialog>

class QLabel;

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    static constexpr const char* MakerWebPage = "https://www.morvantimaging.example/";
};
