// SPDX-License-Identifier: MIT
#pragma once
// "Print &Image...": one picture on one page, as large as the page allows, with the logo.

#include "show_print.h"

#include <QImage>
#include <QString>

class Tprint1Dlg;

namespace print {

// The picture to print, as the grid with the focus gives it: its path and its thumbnail.
struct ImageSource {
    QString path;
    QImage thumbnail;
};

class ImagePrint {
  public:
    ImagePrint(const PrintContext& context, Tprint1Dlg& dialog);

    // The printer setup dialog; then "Blank picture!" for a blank or empty source, "Paper too small!"
    // for a page with less than an inch left each way, a message naming the file when its picture
    // cannot be loaded, or else the confirmation and the page.
    void PrintSlide1Click(const ImageSource& source);

  private:
    bool loadPicture(const QString& path);
    void printPage(const QString& name);

    PrintContext context_;
    Tprint1Dlg& dialog_;
};

} // namespace print
