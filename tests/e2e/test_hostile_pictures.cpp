// SPDX-License-Identifier: MIT
// A folder of honest large pictures (a 600-dpi A4 scan, a 36 MP WebP, a 100 MP JPEG) among small files
// made to cost a decoder minutes and gigabytes, taken through what a person does with the real main
// window: the folder browsed, all of it added with ">>", the show played in the viewer slide by slide
// and printed as a contact sheet to PDF, the pictures dropped on an empty show and exported as a
// stand-alone package, and each file previewed. The honest pictures are slides, shown, printed and
// packed; the others are refused with their reasons and make no slide when dropped; nothing is
// decoded on the window thread; and the process stays within its memory while the hostile files are
// handled. The window thread's longest wait in each phase is measured by a timer on it and reported,
// never asserted.

#include "app_windows.h"
#include "condition_wait.h"
#include "confirm_dialog.h"
#include "dialogs.h"
#include "file_bytes.h"
#include "gui_test_support.h"
#include "heif_reader.h"
#include "image_browser.h"
#include "image_loader.h"
#include "made_streams.h"
#include "main_window.h"
#include "ovc_table.h"
#include "package_inspection.h"
#include "package_programs.h"
#include "pdf_support.h"
#include "preview_form.h"
#include "print_dialog.h"
#include "sanitizers.h"
#include "save_exe_dialog.h"
#include "show_document.h"
#include "show_form.h"
#include "show_slides.h"
#include "test_pictures.h"
#include "tphoto.h"

#include <QAction>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QStandardPaths>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <iostream>

namespace {
testing::Environment* const environment = testing::AddGlobalTestEnvironment(new PlayerTestEnvironment);

using namespace imaging_test;

[[maybe_unused]] constexpr qint64 MemoryCeilingKb = 700 * 1024;

struct Picture {
    QString name;
    QColor colour;         // of an honest picture; invalid for a file that is no picture to show
    bool tooLarge = false; // refused as larger than the largest picture, not as damaged
};

// The largest gap between the ticks of a timer on the window thread: how long it waited at the most.
class WindowWaits {
  public:
    WindowWaits() {
        ticks_.setInterval(4);
        QObject::connect(&ticks_, &QTimer::timeout,
                         [this] { longest_ = std::max(longest_, since_.restart()); });
    }
    void start() {
        longest_ = 0;
        since_.start();
        ticks_.start();
    }
    qint64 stop() {
        ticks_.stop();
        return std::max(longest_, since_.elapsed());
    }

  private:
    QTimer ticks_;
    QElapsedTimer since_;
    qint64 longest_ = 0;
};

// The peak of the process's resident memory, in kB, since it was last reset.
qint64 peakMemoryKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}
void resetPeakMemory() {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

bool haveTool(const char* name) {
    return !QStandardPaths::findExecutable(QLatin1String(name)).isEmpty();
}

class HostilePictures : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        folder_ = new QTemporaryDir;
        pictures_ = new QList<Picture>;
        makeHonestPictures();
        makeHostilePictures();
    }
    static void TearDownTestSuite() {
        delete folder_;
        delete pictures_;
    }

    void SetUp() override {
        windows.reset(createAppWindows());
        main().settings().LoopSlideShow = false;
        main().settings().SlideDirectory = out.path();
        main().settings().PackagePlatform = QStringLiteral("Linux"); // the programs of this build
    }
    void TearDown() override {
        resetDialogSeams();
        if (windows->showFrm->isVisible())
            windows->showFrm->close();
        windows.reset();
    }

    static void add(const QString& name, QColor colour = {}, bool tooLarge = false) {
        pictures_->append({name, colour, tooLarge});
    }
    static QString path(const QString& name) { return folder_->filePath(name); }
    static void makeHonestPictures();
    static void makeHostilePictures();

    TMainFormverasco& main() { return *windows->MainFormverasco; }
    ShowDocument& show() { return main().document(); }
    TOvcTable& folderGrid() { return *main().findChild<TOvcTable*>("OvcTable1"); }
    TOvcTable& showGrid() { return *main().findChild<TOvcTable*>("OvcTable2"); }

    // Runs a phase with the window thread's waits measured; reports the longest.
    void phase(const char* name, const std::function<void()>& steps) {
        QElapsedTimer took;
        took.start();
        waits.start();
        steps();
        const qint64 longest = waits.stop();
        std::cout << "[ phase    ] " << name << " (" << took.elapsed() << " ms): the window thread waited "
                  << longest << " ms at the most; peak memory so far " << peakMemoryKb() / 1024 << " MB"
                  << std::endl;
        RecordProperty(std::string(name) + "_longest_wait_ms", int(longest));
    }

    // Paints every row of a grid, waiting for `ready` of the rows in view before going on.
    void paintEveryRow(TOvcTable& grid, int count, const std::function<bool(int)>& ready) {
        const int columns = std::max(1, grid.ColumnCount());
        for (int first = 0; first < count; first += columns) {
            grid.setTopRow(first / columns);
            grid.viewport()->grab();
            EXPECT_TRUE(QTest::qWaitFor(
                [&] {
                    for (int i = first; i < std::min(first + columns, count); ++i)
                        if (!ready(i))
                            return false;
                    return true;
                },
                ConditionWaitMs))
                << "row from " << first;
        }
    }

    QString slideName(int i) { return QFileInfo(show().imagePath(i)).fileName(); }
    QStringList slideNames() {
        QStringList names;
        for (int i = 0; i < show().SlideCount; ++i)
            names.append(slideName(i));
        return names;
    }
    static QStringList honestNames() {
        QStringList names;
        for (const Picture& p : *pictures_)
            if (p.colour.isValid())
                names.append(p.name);
        names.sort(Qt::CaseInsensitive);
        return names;
    }
    static bool honest(const QString& name) { return honestNames().contains(name); }

    void browse();
    void viewEverySlide();
    void printContactSheets(const QString& pdf);
    void exportPackage(const QString& package);
    QString preview(int row);
    void previewEveryFile();
    void expectEveryHonestPicturePrinted(const QString& pdf);
    void expectEverySlidePacked(const QString& package, const QStringList& slides);

    static QTemporaryDir* folder_;
    static QList<Picture>* pictures_;
    QTemporaryDir out;
    std::unique_ptr<AppWindows> windows;
    WindowWaits waits;
};

QTemporaryDir* HostilePictures::folder_ = nullptr;
QList<Picture>* HostilePictures::pictures_ = nullptr;

// Flat pictures, which encode fast, each of its own colour to be found on the printed page.
void HostilePictures::makeHonestPictures() {
    QImage scan(4960, 7016, QImage::Format_RGB888);
    scan.fill(QColor(200, 30, 30));
    ASSERT_TRUE(scan.save(path("a4 scan.png")));
    add("a4 scan.png", QColor(200, 30, 30));
    scan = QImage(6000, 6000, QImage::Format_RGB888);
    scan.fill(QColor(30, 170, 30));
    ASSERT_TRUE(QImageWriter(path("36 mp.webp"), "WEBP").write(scan));
    add("36 mp.webp", QColor(30, 170, 30));
    scan = QImage();
    ASSERT_TRUE(writeFlatJpeg(path("100 mp.jpg"), {10000, 10000}, QColor(30, 30, 200)));
    add("100 mp.jpg", QColor(30, 30, 200));
    ASSERT_TRUE(writeFlatJpeg(path("small.jpg"), {64, 48}, QColor(230, 210, 30), 95));
    add("small.jpg", QColor(230, 210, 30));
}

void HostilePictures::makeHostilePictures() {
    // 98 cheap scans over a declared 16384 x 16384; and a stream of 43 scans with the largest size a
    // JPEG reader allows (a real one of that size would take this test 0.5 GB to write).
    ASSERT_FALSE(
        test_pictures::makeFile(folder_->path(), "98 scans.jpg", withFrameSize(scanByScan(48), 16384, 16384))
            .isEmpty());
    add("98 scans.jpg", {}, true);
    std::vector<jpeg_scan_info> scans{{1, {0}, 0, 0, 0, 1}, {1, {0}, 0, 0, 1, 0}};
    for (int k = 1; k <= 20; ++k) {
        scans.push_back({1, {0}, k, k, 0, 1});
        scans.push_back({1, {0}, k, k, 1, 0});
    }
    scans.push_back({1, {0}, 21, 63, 0, 0});
    ASSERT_FALSE(
        test_pictures::makeFile(folder_->path(), "43 scans.jpg",
                                withFrameSize(progressiveStream(64, 1, JCS_GRAYSCALE, scans), 16384, 16384))
            .isEmpty());
    add("43 scans.jpg", {}, true);
    // A HEIC whose container declares 64 x 64 over its 1024 x 768 coded picture.
    if (haveTool("heif-enc") && imaging::heifDecodesHevc()) {
        const QString source = test_pictures::make(folder_->path(), "source.png", {1024, 768});
        QTemporaryDir work;
        const QString heic = work.filePath("photo.heic");
        QProcess encode;
        encode.start("heif-enc", {source, "-o", heic});
        ASSERT_TRUE(encode.waitForFinished(60000) && encode.exitCode() == 0);
        QFile::remove(source);
        ASSERT_FALSE(test_pictures::makeFile(folder_->path(), "lying.heic",
                                             withDeclaredHeifSize(fileBytes(heic), 64, 64))
                         .isEmpty());
        add("lying.heic");
        // A grid of 32 x 32 references to one 512 x 512 tile: 16384 x 16384 in a few kilobytes.
        const QString tile = test_pictures::make(work.path(), "tile.png", {512, 512});
        const QString tileHeic = work.filePath("tile.heic");
        encode.start("heif-enc", {tile, "-o", tileHeic});
        ASSERT_TRUE(encode.waitForFinished(60000) && encode.exitCode() == 0);
        ASSERT_FALSE(test_pictures::makeFile(folder_->path(), "grid.heic",
                                             heifGridOfOneTile(fileBytes(tileHeic), 32, 512))
                         .isEmpty());
        add("grid.heic", {}, true);
    } else {
        std::cout << "[ skipped  ] the HEIC files: heif-enc or an HEVC decoder is missing" << std::endl;
    }
    if (!haveTool("exiftool")) {
        std::cout << "[ skipped  ] the EXIF pictures: exiftool is missing" << std::endl;
        return;
    }
    // A photo whose EXIF picture is 4000 x 4000 in 31 kB: one grey, in one bit a block.
    ASSERT_TRUE(writeFlatJpeg(path("exif bomb.jpg"), {1600, 1200}, QColor(200, 40, 200)));
    const QByteArray bomb =
        progressiveStream(4000, 1, JCS_GRAYSCALE, {{1, {0}, 0, 0, 0, 0}, {1, {0}, 1, 63, 0, 0}}, true);
    ASSERT_LT(bomb.size(), 60000);
    QTemporaryDir work;
    const QString bombFile = test_pictures::makeFile(work.path(), "bomb.jpg", bomb);
    ASSERT_TRUE(test_pictures::tagExif(path("exif bomb.jpg"), {"-ThumbnailImage<=" + bombFile}));
    add("exif bomb.jpg", QColor(200, 40, 200));
    // A camera photo cut short in copying, whose EXIF picture at its start is whole.
    const QString camera = path("cut short.jpg");
    ASSERT_TRUE(test_pictures::write(camera, test_pictures::picture({1600, 1200})));
    const QString small = test_pictures::make(work.path(), "small.jpg", {160, 120});
    ASSERT_TRUE(test_pictures::tagExif(camera, {"-ThumbnailImage<=" + small}));
    QFile cut(camera);
    ASSERT_TRUE(cut.resize(cut.size() / 2));
    add("cut short.jpg");
}

// Types the folder into the images field; every row of the folder grid is drawn, its picture from
// the background or its name alone.
void HostilePictures::browse() {
    auto* field = main().findChild<QLineEdit*>("Edit1");
    field->setText(folder_->path());
    QTest::keyClick(field, Qt::Key_Return);
    ImageBrowser& browser = main().browser();
    ASSERT_EQ(browser.folder().count(), pictures_->size());
    paintEveryRow(folderGrid(), browser.folder().count(),
                  [&](int row) { return browser.folder().FolderThumbnailReady[std::size_t(row)]; });
}

// Opens the viewer and steps through every slide, each picture on screen before the next step: the
// honest pictures are shown, the others leave their slides without a picture.
void HostilePictures::viewEverySlide() {
    TshowFrm* viewer = windows->showFrm;
    main().Slideshow1Click();
    ASSERT_TRUE(viewer->isVisible());
    auto* photo = viewer->findChild<TPhoto*>("Photo10");
    for (int i = 0; i < show().SlideCount; ++i) {
        if (i > 0)
            QTest::keyClick(viewer, Qt::Key_Right);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !viewer->pictureOnItsWay(); }, ConditionWaitMs)) << i;
        const bool shown = photo->isVisible() && photo->FXError() == 0 && photo->IWidth() > 0;
        EXPECT_EQ(shown, honest(slideName(i))) << slideName(i).toStdString();
    }
    viewer->close();
}

// File > Print with the print dialog's choices as they are, into a PDF file.
void HostilePictures::printContactSheets(const QString& pdf) {
    dialogSeams().printSetup = [pdf](QPrinter* printer, QWidget*) {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdf);
        return true;
    };
    whenModal(windows->printdlg, [this] {
        QTest::mouseClick(windows->printdlg->findChild<QPushButton*>("Button1"), Qt::LeftButton);
    });
    main().findChild<QAction*>("FilePrintItem")->trigger();
}

// File > "Sa&ve Stand-alone Verasco..." with the settings as they are; the closing message answered.
void HostilePictures::exportPackage(const QString& package) {
    dialogSeams().getSaveFileName = [package](QWidget*, const QString&, const QString&, const QString&) {
        return package;
    };
    whenModal(windows->saveexedlg, [this] {
        auto* save = windows->saveexedlg->findChild<QPushButton*>("Button1");
        EXPECT_TRUE(save->isEnabled()) << "the package's programs are there";
        (save->isEnabled() ? save : windows->saveexedlg->findChild<QPushButton*>("Button2"))->click();
    });
    QString said;
    Tconfirmfrm* confirm = windows->confirmfrm;
    whenModal(confirm, [confirm, &said] {
        said = confirm->findChild<QLabel*>("Label1")->text();
        QTest::mouseClick(confirm->findChild<QPushButton*>("Button1"), Qt::LeftButton);
    });
    main().SaveStandaloneSlideShow1Click();
    EXPECT_EQ(said, QStringLiteral("Stand-alone Verasco created."));
}

// Double-clicks a row of the folder grid: the preview's caption, or what the message in its place said.
QString HostilePictures::preview(int row) {
    QString said;
    Tconfirmfrm* confirm = windows->confirmfrm;
    QTimer* message = whenModal(confirm, [confirm, &said] {
        said = confirm->findChild<QLabel*>("Label1")->text() + " " +
               confirm->findChild<QLabel*>("Label2")->text();
        QTest::mouseClick(confirm->findChild<QPushButton*>("Button1"), Qt::LeftButton);
    });
    QTimer* shown = whenModal(windows->previewfrm, [this, &said] {
        said = windows->previewfrm->windowTitle();
        QTest::keyClick(windows->previewfrm, Qt::Key_Escape);
    });
    folderGrid().setTopRow(row);
    QTest::mouseDClick(folderGrid().viewport(), Qt::LeftButton, {}, folderGrid().cellRect(row, 0).center());
    delete message;
    delete shown;
    return said;
}

// The pixels of the rendered pages in each honest picture's colour.
int pixelsOfColour(const QList<QImage>& pages, QColor colour) {
    int n = 0;
    for (const QImage& page : pages)
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x) {
                const QColor c = page.pixelColor(x, y);
                n += std::abs(c.red() - colour.red()) < 30 && std::abs(c.green() - colour.green()) < 30 &&
                     std::abs(c.blue() - colour.blue()) < 30;
            }
    return n;
}

// Every honest picture has its colour on the rendered pages.
void HostilePictures::expectEveryHonestPicturePrinted(const QString& pdf) {
    QList<QImage> pages;
    for (int page = 1; page <= print_test::pdfPageCount(pdf); ++page)
        pages.append(print_test::renderPage(pdf, page, 24));
    ASSERT_FALSE(pages.isEmpty());
    for (const Picture& p : *pictures_) {
        if (p.colour.isValid()) {
            EXPECT_GT(pixelsOfColour(pages, p.colour), 40) << "printed: " << p.name.toStdString();
        }
    }
}

// Each slide's picture is in the package's image data, as JPEG (QPX) bytes.
void HostilePictures::expectEverySlidePacked(const QString& package, const QStringList& slides) {
    const QByteArray bytes = fileBytes(package);
    const QByteArray head = fileBytes(QDir(PackagePrograms::folder()).filePath("verasco1.dat"));
    ASSERT_TRUE(bytes.startsWith(head));
    QTemporaryDir unpacked;
    const QString archive = out.filePath("show.lzh");
    QFile lzh(archive);
    ASSERT_TRUE(lzh.open(QIODevice::WriteOnly) && lzh.write(bytes.mid(head.size())) > 0);
    lzh.close();
    ASSERT_EQ(package_inspection::lhasa({"-xqw=" + unpacked.path(), archive}).exitCode, 0);
    const auto list = package_inspection::readSlideList(fileBytes(unpacked.filePath("images.sld")));
    const QByteArray data = fileBytes(unpacked.filePath("images.dat"));
    ASSERT_EQ(list.count, slides.size());
    for (int i = 0; i < list.count; ++i)
        EXPECT_TRUE(package_inspection::slideData(list, data, i).startsWith("\xFF\xD8\xFF"))
            << slides[i].toStdString();
}

// The preview of each file of the folder: the picture, or the reason it cannot be shown.
void HostilePictures::previewEveryFile() {
    for (const Picture& p : *pictures_) {
        const int row = int(main().browser().folder().FolderImagePaths.indexOf(path(p.name)));
        const QString reason =
            p.tooLarge ? QStringLiteral("The picture is larger than the largest this program shows.")
                       : QStringLiteral("The file is damaged or no picture.");
        EXPECT_EQ(preview(row), p.colour.isValid() ? p.name : "This image cannot be opened. " + reason)
            << p.name.toStdString();
    }
}

TEST_F(HostilePictures, AreBrowsedAddedPlayedPrintedAndExportedWithoutHoldingTheWindow) {
    const quint64 windowDecodes = imaging::decodedOnThisThreadCount();
    main().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main()));
    resetPeakMemory();
    phase("browse", [this] { browse(); });
    // Every file of the folder is added; the honest pictures' thumbnails arrive.
    phase("add all", [this] {
        main().BitBtn3Click();
        paintEveryRow(showGrid(), show().SlideCount,
                      [this](int i) { return !awaitsPicture(show().thumbnail(i)); });
    });
    for (const QString& name : honestNames())
        EXPECT_TRUE(slideNames().contains(name)) << name.toStdString();
    phase("view", [this] { viewEverySlide(); });
    const QString pdf = out.filePath("sheets.pdf");
    phase("print", [&] { printContactSheets(pdf); });
    expectEveryHonestPicturePrinted(pdf);

    // Dropped on an empty show, only the pictures that can be read become slides.
    show().clear();
    QStringList dropped;
    for (const Picture& p : *pictures_)
        dropped.append(path(p.name));
    phase("drop", [&] { main().DropFiles(dropped); });
    QStringList expected;
    for (const Picture& p : *pictures_)
        if (p.colour.isValid())
            expected.append(p.name);
    EXPECT_EQ(slideNames(), expected);
    const qint64 hostilePeakKb = peakMemoryKb();
    // The honest pictures are in the same folder, so the figure counts them too.
    std::cout << "[ memory   ] peak while the hostile files were handled: " << hostilePeakKb / 1024 << " MB"
              << std::endl;
    RecordProperty("hostile_peak_memory_mb", int(hostilePeakKb / 1024));
#ifndef VERASCO_TEST_SANITIZED // the sanitizers' shadow memory and quarantine inflate the figure
    EXPECT_LT(hostilePeakKb, MemoryCeilingKb);
#endif

    const QString package = out.filePath("show");
    phase("export", [&] { exportPackage(package); });
    expectEverySlidePacked(package, expected);

    phase("preview", [this] { previewEveryFile(); });
    EXPECT_EQ(imaging::decodedOnThisThreadCount(), windowDecodes);
}

} // namespace
