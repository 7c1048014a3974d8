// SPDX-License-Identifier: MIT
#include "pdf_support.h"

#include "dialogs.h"
#include "image_print_layout.h"
#include "logo_mark.h"
#include "show_document.h"
#include "test_shows.h"

#include <QAbstractButton>
#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>

#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest/QTest>
#include <algorithm>

namespace print_test {

namespace {

QByteArray runTool(const QString& program, const QStringList& args, int* exitCode = nullptr) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(120000);
    if (exitCode)
        *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return p.readAllStandardOutput();
}

bool near(QRgb pixel, QColor colour) {
    return qAbs(qRed(pixel) - colour.red()) < 40 && qAbs(qGreen(pixel) - colour.green()) < 40 &&
           qAbs(qBlue(pixel) - colour.blue()) < 40;
}

} // namespace

void clickMark(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

QString writeColourPicture(const QString& path, QSize size, QColor colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    image.save(path, "JPG", 95);
    return path;
}

void appendSlide(ShowDocument& show, const QString& path, const QString& comment) {
    test_shows::append(show,
                       {test_shows::slide(show, QFile::encodeName(path).toStdString(), [&](TSlideRecord& r) {
                           r.Text.assign(comment.toLocal8Bit().toStdString());
                       })});
}

void answerPrinterSetupWithPdf(const QString& pdfPath, const QPageSize& paper,
                               QPageLayout::Orientation orientation) {
    dialogSeams().printSetup = [pdfPath, paper, orientation](QPrinter* printer, QWidget*) {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdfPath);
        printer->setPageSize(paper);
        printer->setPageOrientation(orientation);
        return true;
    };
}

QString pdfInfoField(const QString& pdf, const QString& field) {
    int exit = 0;
    const QString info = QString::fromUtf8(runTool(QStringLiteral("pdfinfo"), {pdf}, &exit));
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("^%1:\\s+(.*)$").arg(field), QRegularExpression::MultilineOption)
            .match(info);
    return exit == 0 && m.hasMatch() ? m.captured(1).trimmed() : QString();
}

int pdfPageCount(const QString& pdf) {
    const QString pages = pdfInfoField(pdf, QStringLiteral("Pages"));
    return pages.isEmpty() ? -1 : pages.toInt();
}

QList<PdfWord> pdfWords(const QString& pdf) {
    QXmlStreamReader xml(
        runTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")}));
    QList<PdfWord> words;
    int page = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("page")) {
            ++page;
        } else if (xml.name() == QLatin1String("word")) {
            const auto a = xml.attributes();
            const QPointF topLeft(a.value(QLatin1String("xMin")).toDouble(),
                                  a.value(QLatin1String("yMin")).toDouble());
            const QPointF bottomRight(a.value(QLatin1String("xMax")).toDouble(),
                                      a.value(QLatin1String("yMax")).toDouble());
            words.append({page, xml.readElementText(), QRectF(topLeft, bottomRight)});
        }
    }
    return words;
}

QString pageText(const QList<PdfWord>& words, int page) {
    QStringList texts;
    for (const PdfWord& w : words)
        if (w.page == page)
            texts.append(w.text);
    return texts.join(QLatin1Char(' '));
}

QList<PdfLine> pageLines(const QList<PdfWord>& words, int page) {
    QList<PdfWord> onPage;
    for (const PdfWord& w : words)
        if (w.page == page)
            onPage.append(w);
    std::sort(onPage.begin(), onPage.end(), [](const PdfWord& a, const PdfWord& b) {
        return std::pair(qRound(a.box.top() * 4), a.box.left()) <
               std::pair(qRound(b.box.top() * 4), b.box.left());
    });
    // A blank of the 8-point printer font is about 2.2 points wide.
    constexpr double BlankWidth = 3.5;
    QList<PdfLine> lines;
    for (const PdfWord& w : onPage) {
        if (!lines.isEmpty() && qAbs(lines.back().box.top() - w.box.top()) < 0.5 &&
            w.box.left() - lines.back().box.right() < BlankWidth) {
            lines.back().text += QLatin1Char(' ') + w.text;
            lines.back().box |= w.box;
        } else {
            lines.append({w.text, w.box});
        }
    }
    return lines;
}

QImage renderPage(const QString& pdf, int page, int dpi) {
    QTemporaryDir dir;
    const QString stem = dir.filePath(QStringLiteral("page"));
    const QString n = QString::number(page);
    runTool(QStringLiteral("pdftoppm"),
            {QStringLiteral("-f"), n, QStringLiteral("-l"), n, QStringLiteral("-r"), QString::number(dpi),
             QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf, stem});
    return QImage(stem + QStringLiteral(".png"));
}

QPointF pixelsToPoints(const print::PageMeasures& m, QPoint pixels) {
    return {(m.offsetX + pixels.x()) * 72.0 / m.dpiX, (m.offsetY + pixels.y()) * 72.0 / m.dpiY};
}

QRect twipsToRendered(const print::PageMeasures& m, const QRect& twips, int dpi) {
    const auto x = [&](int t) { return qRound((double(m.offsetX) / m.dpiX + t / 1440.0) * dpi); };
    const auto y = [&](int t) { return qRound((double(m.offsetY) / m.dpiY + t / 1440.0) * dpi); };
    return QRect(QPoint(x(twips.left()), y(twips.top())),
                 QPoint(x(twips.left() + twips.width()) - 1, y(twips.top() + twips.height()) - 1));
}

QRectF twipsToPoints(const print::PageMeasures& m, const QRect& twips) {
    const QPointF corner(m.offsetX * 72.0 / m.dpiX, m.offsetY * 72.0 / m.dpiY);
    return QRectF(corner + QPointF(twips.left() / 20.0, twips.top() / 20.0),
                  QSizeF(twips.width() / 20.0, twips.height() / 20.0));
}

QRectF printableArea(const print::PageMeasures& m) {
    return QRectF(m.offsetX * 72.0 / m.dpiX, m.offsetY * 72.0 / m.dpiY, m.pageWidth * 72.0 / m.dpiX,
                  m.pageHeight * 72.0 / m.dpiY);
}

bool logoShown(const QImage& page, const print::PageMeasures& m, int dpi) {
    const QRect place = twipsToRendered(m, print::placeLogo(print::drawLogoMark().size()), dpi);
    const QRgb mount = page.pixel(place.left() + 1, place.center().y());
    return qRed(mount) < 90 && qGreen(mount) < 90 && qBlue(mount) > 60;
}

bool colourFillsExactly(const QImage& page, const QRect& rect, QColor colour) {
    const QRect inside = rect.adjusted(2, 2, -2, -2);
    const QRect outside = rect.adjusted(-3, -3, 3, 3);
    if (inside.isEmpty() || !page.rect().contains(outside))
        return false;
    qint64 in = 0, inTotal = 0;
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x, ++inTotal)
            in += near(page.pixel(x, y), colour);
    // The band just outside the rectangle: its four edges.
    for (int x = outside.left(); x <= outside.right(); ++x)
        if (near(page.pixel(x, outside.top()), colour) || near(page.pixel(x, outside.bottom()), colour))
            return false;
    for (int y = outside.top(); y <= outside.bottom(); ++y)
        if (near(page.pixel(outside.left(), y), colour) || near(page.pixel(outside.right(), y), colour))
            return false;
    return in * 100 >= inTotal * 99;
}

} // namespace print_test
