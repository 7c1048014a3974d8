// SPDX-License-Identifier: MIT
#include "export_test_support.h"

#include <QDir>
#include <QFile>
#include <QImage>

ExportSetup::ExportSetup() : oldTmpDir_(qgetenv("TMPDIR")) {
    QDir(root.path()).mkpath(QStringLiteral("tmp"));
    QDir(root.path()).mkpath(QStringLiteral("pictures"));
    pictures = root.filePath(QStringLiteral("pictures"));
    programs = root.filePath(QStringLiteral("programs"));
    QDir().mkpath(programs);
    QFile::copy(QStringLiteral(VERASCO_BINARY_DIR "/app/verasco1.dat"), programs + "/verasco1.dat");
    QFile::copy(QStringLiteral(HEAD_TEST_PLAYER), programs + "/verasco2.dat");
    QFile::copy(QStringLiteral(VERASCO_BINARY_DIR "/app/verasco3.dat"), programs + "/verasco3.dat");
    slideDirectory = root.path();
    qputenv("TMPDIR", QFile::encodeName(root.filePath(QStringLiteral("tmp"))));
    status = new QLabel(QStringLiteral("Images: 3"), &window);
}

ExportSetup::~ExportSetup() {
    if (oldTmpDir_.isEmpty())
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", oldTmpDir_);
}

QString ExportSetup::picture(const QString& name, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb(4 * x % 256, 5 * y % 256, (x * y) % 256));
    const QString path = QDir(pictures).filePath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QString format = QFileInfo(name).suffix().toLower() == QLatin1String("dib")
                               ? QStringLiteral("bmp")
                               : QFileInfo(name).suffix();
    EXPECT_TRUE(image.save(path, format.toLatin1().constData())) << path.toStdString();
    return path;
}

QString ExportSetup::photo(const QString& name) {
    const QString path = QDir(pictures).filePath(name);
    QFile::copy(QStringLiteral(VERASCO_SOURCE_DIR "/packaging/samples/sunrise.jpg"), path);
    return path;
}

QString ExportSetup::file(const QString& name, const QByteArray& bytes) {
    const QString path = QDir(pictures).filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
    return path;
}

void ExportSetup::addSlide(const QString& image, const QString& audio, const test_shows::Edit& edit) {
    test_shows::append(show,
                       {test_shows::slide(show, QFile::encodeName(image).toStdString(), [&](TSlideRecord& r) {
                           r.AudioFile.assign(QFile::encodeName(audio).toStdString());
                           if (edit)
                               edit(r);
                       })});
}

StandaloneExport& ExportSetup::exporter() {
    if (!exporter_) {
        ExportParts parts;
        parts.show = &show;
        parts.slideDirectory = &slideDirectory;
        parts.playerOptions = [this] { return options; };
        parts.window = &window;
        parts.status = status;
        parts.flags = &flags;
        parts.dialog = &dialog;
        parts.photo = &photoControl;
        parts.prompts.overwrite = [this] {
            ++overwriteQuestions;
            const bool yes = overwriteAnswers.empty() || overwriteAnswers.front();
            if (!overwriteAnswers.empty())
                overwriteAnswers.pop_front();
            return yes;
        };
        parts.prompts.ask = [this](const QString& text, const QString& line2) {
            questions << text + QLatin1Char('|') + line2;
            return blankAnswer;
        };
        parts.prompts.message = [this](const QString& caption, const QString& text, const QString& line2) {
            messages << caption + QLatin1Char('|') + text + QLatin1Char('|') + line2;
            enabledAtMessage = window.isEnabled();
            statusAtMessage = status->text();
        };
        parts.programsFolder = programs;
        parts.packagePlatform = &packagePlatform;
        parts.showPath = [this] { return showPath; };
        parts.codec = codec;
        exporter_ = std::make_unique<StandaloneExport>(std::move(parts));
    }
    return *exporter_;
}

QStringList ExportSetup::temporaryEntries() const {
    return QDir(root.filePath(QStringLiteral("tmp")))
        .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}
