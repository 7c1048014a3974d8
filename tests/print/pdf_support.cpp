#include "pdf_support.h"

#include "dialogs.h"
#include "show_document.h"

#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

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

QString writeColourPicture(const QString& path, QSize size, QColor colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    image.save(path, "JPG", 95);
    return path;
}

void appendSlide(ShowDocument& show, const QString& path, const QString& comment) {
    const int index = show.SlideCount++;
    show.resetSlot(index);
    show.slide(index).ImageFile.assign(QFile::encodeName(path).toStdString());
    show.slide(index).Text.assign(comment.toLocal8Bit().toStdString());
}

void answerPrinterSetupWithPdf(const QString& pdfPath) {
    dialogSeams().printSetup = [pdfPath](QPrinter* printer, QWidget*) {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdfPath);
        printer->setPageSize(QPageSize(QPageSize::A4));
        printer->setPageOrientation(QPageLayout::Portrait);
        return true;
    };
}

int pdfPageCount(const QString& pdf) {
    int exit = 0;
    const QString info = QString::fromUtf8(runTool(QStringLiteral("pdfinfo"), {pdf}, &exit));
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption)
            .match(info);
    return exit == 0 && m.hasMatch() ? m.captured(1).toInt() : -1;
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
