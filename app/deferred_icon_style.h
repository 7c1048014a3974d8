#pragma once
// The program's style: the platform's own, except that the two arrows of toolbar and menu bar
// extension buttons are fetched when first drawn instead of when a menu bar is built. Fetching
// them reads a picture file, and the first picture file the program reads makes Qt load every
// image format plug-in it has; deferring it keeps that cost out of the program's start.

#include <QProxyStyle>

class DeferredIconStyle : public QProxyStyle {
public:
    DeferredIconStyle();
    QIcon standardIcon(StandardPixmap which, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};
