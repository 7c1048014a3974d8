// SPDX-License-Identifier: MIT
#include "deferred_icon_style.h"

#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QWidget>

namespace {
// Stands in for a standard icon of the base style until the icon is first drawn or measured
// by its pictures.
class DeferredStandardIcon : public QIconEngine {
  public:
    DeferredStandardIcon(QStyle* style, QStyle::StandardPixmap which, const QWidget* widget)
        : style_(style), which_(which), widget_(const_cast<QWidget*>(widget)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().pixmap(size, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return icon().availableSizes(mode, state);
    }
    QIconEngine* clone() const override { return new DeferredStandardIcon(*this); }
    QString key() const override { return QStringLiteral("verasco.deferred"); }

  private:
    const QIcon& icon() {
        if (!fetched_) {
            fetched_ = true;
            if (style_)
                icon_ = style_->standardIcon(which_, nullptr, widget_);
        }
        return icon_;
    }

    QPointer<QStyle> style_;
    QStyle::StandardPixmap which_;
    QPointer<QWidget> widget_;
    bool fetched_ = false;
    QIcon icon_;
};
} // namespace

DeferredIconStyle::DeferredIconStyle(const QString& key) : QProxyStyle(key) {}

QIcon DeferredIconStyle::standardIcon(StandardPixmap which, const QStyleOption* option,
                                      const QWidget* widget) const {
    // An icon asked for with a style option depends on that option, which does not outlive the call.
    if (!option)
        return QIcon(new DeferredStandardIcon(baseStyle(), which, widget));
    return QProxyStyle::standardIcon(which, option, widget);
}
