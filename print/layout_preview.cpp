// SPDX-License-Identifier: MIT
#include "layout_preview.h"

#include "show_print_layout.h"

#include <QPainter>

namespace print {

namespace {

// A Letter page at 100 dots per inch with a quarter inch it cannot print on.
PageMeasures previewPage() {
    PageMeasures m;
    m.dpiX = m.dpiY = 100;
    m.paperWidth = 850;
    m.paperHeight = 1100;
    m.offsetX = m.offsetY = 25;
    m.pageWidth = 800;
    m.pageHeight = 1050;
    return m;
}

// Every cell of the preview holds a picture of these proportions, with a caption this wide.
constexpr QSize SamplePicture(4, 3);
constexpr int SampleCaptionWidth = 70;

void drawCell(QPainter& p, const PageMeasures& m, const CellPlan& plan) {
    const QRect twips = plan.picture;
    const QRect picture(m.xPixels(twips.left()), m.yPixels(twips.top()), m.xPixels(twips.width()),
                        m.yPixels(twips.height()));
    p.setPen(QPen(Qt::black, 0));
    p.setBrush(QBrush(Qt::black, Qt::Dense5Pattern));
    p.drawRect(picture);
    p.setBrush(Qt::NoBrush);
    p.fillRect(QRect(plan.caption.at, QSize(SampleCaptionWidth, 10)), Qt::black);
    for (const QLine& rule : plan.rules)
        p.drawLine(rule);
}

} // namespace

QImage drawLayoutPreview(int layout) {
    PrintOptions options;
    options.layout = layout;
    const PageMeasures m = previewPage();
    const ShowPrintLayout page(options, m);

    QImage preview(PreviewWidth, PreviewHeight, QImage::Format_RGB32);
    preview.fill(Qt::white);
    QPainter p(&preview);
    const double scale =
        qMin(double(PreviewWidth - 4) / m.paperWidth, double(PreviewHeight - 4) / m.paperHeight);
    const QSizeF paper(m.paperWidth * scale, m.paperHeight * scale);
    p.translate((PreviewWidth - paper.width()) / 2, (PreviewHeight - paper.height()) / 2);
    p.setPen(QPen(Qt::black, 0));
    p.drawRect(QRectF(QPointF(0, 0), paper));
    p.scale(scale, scale);
    p.translate(m.offsetX, m.offsetY);
    const auto captionWidth = [](const QString&) { return SampleCaptionWidth; };
    for (int cell = 0; cell < page.slidesPerPage(); ++cell)
        drawCell(p, m,
                 page.cell(cell, CellPicture{SamplePicture, QString(), QString(), cell + 1}, captionWidth));
    p.end();
    return preview.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither | Qt::MonoOnly);
}

} // namespace print
