// SPDX-License-Identifier: MIT
#pragma once
// The program's style: the platform's own, except that standard icons (toolbar and menu bar
// extension arrows, the buttons' pictures of the dialogs) are fetched when first drawn instead of
// when their window is built. Fetching one reads a picture file, and the first picture file the
// program reads makes Qt load every image format plug-in it has; deferring it keeps that cost
// out of the program's start.

#include <QProxyStyle>

class DeferredIconStyle : public QProxyStyle {
  public:
    // Wraps a new instance of the style named key, normally the name of the style Qt chose for the
    // application (the platform's own, or the one asked for with -style or QT_STYLE_OVERRIDE).
    explicit DeferredIconStyle(const QString& key);
    QIcon standardIcon(StandardPixmap which, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};
