#include "main_window.h"

#include "app_windows.h"
#include "about_box.h"
#include "help_viewer.h"
#include "ovc_table.h"
#include "screen_depth.h"
#include "show_slides.h"
#include "thumbnails.h"
#include "tphoto.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>

namespace {
QString defaultFolder() {
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!pictures.isEmpty() && QFileInfo(pictures).isDir())
        return pictures;
    return QDir::homePath();
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, int x, int y) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    label->move(x, y);
    label->adjustSize();
    return label;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, QRect place) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(place);
    return button;
}

QLineEdit* makeEdit(QWidget* parent, const char* name, QRect place) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setGeometry(place);
    edit->setMaxLength(255);
    return edit;
}

QFrame* makePanel(QWidget* parent, const char* name, QRect place) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(QLatin1String(name));
    panel->setGeometry(place);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return panel;
}

// Window paths of the shell arrive as URLs; only local files can become slides.
QStringList localPaths(const QMimeData* data) {
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    }
    return paths;
}
} // namespace

TMainFormverasco::TMainFormverasco(QWidget* parent)
    : QMainWindow(parent), FolderThumbnails(std::make_unique<std::array<QImage, ShowDocument::SlotCount>>()) {
    setObjectName(QStringLiteral("MainFormverasco"));
    setWindowTitle(QStringLiteral("Morvant Verasco"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSize(8);
    font.setStyleHint(QFont::SansSerif);
    setFont(font);
    createControls();
    createMenus();
    FormCreate();
}

TMainFormverasco::~TMainFormverasco() = default;

void TMainFormverasco::createControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    client->setFixedSize(ClientWidth, ClientHeight);
    setCentralWidget(client);

    Label3 = makeLabel(client, "Label3", QStringLiteral("&Verasco:"), 40, 16);
    Edit2 = makeEdit(client, "Edit2", QRect(98, 12, 295, 21));
    BitBtn4 = makeButton(client, "BitBtn4", QStringLiteral("..."), QRect(394, 12, 25, 22));
    BitBtn4->setToolTip(QStringLiteral("Open Slide Show file"));
    Label4 = makeLabel(client, "Label4", QStringLiteral("&Images:"), 50, 44);
    Edit1 = makeEdit(client, "Edit1", QRect(98, 40, 295, 21));
    BitBtn5 = makeButton(client, "BitBtn5", QStringLiteral("..."), QRect(394, 40, 25, 22));
    BitBtn5->setToolTip(QStringLiteral("Select Photos folder"));
    BitBtn2 = makeButton(client, "BitBtn2", QStringLiteral("&Play Verasco"), QRect(440, 12, 135, 50));

    Label1 = makeLabel(client, "Label1", QStringLiteral("&Select Images"), 20, 72);
    Label2 = makeLabel(client, "Label2", QStringLiteral("Verasc&o"), 172, 72);

    Panel6 = makePanel(client, "Panel6", QRect(15, 88, 101, 302));
    OvcTable1 = new TOvcTable(Panel6);
    OvcTable1->setObjectName(QStringLiteral("OvcTable1"));
    OvcTable1->setGeometry(4, 4, 93, 293);
    OvcTable1->setColumnCount(1);
    OvcTable1->setColumnWidth(76);
    OvcTable1->setRowHeight(72);
    OvcTable1->setCellBitmapSupplier([this](int row, int) -> const QImage* {
        if (row < 0 || row >= FolderImagePaths.size() || !FolderThumbnailReady[row])
            return nullptr;
        return &(*FolderThumbnails)[row];
    });

    BitBtn1 = makeButton(client, "BitBtn1", QStringLiteral(">"), QRect(132, 202, 27, 27));
    BitBtn3 = makeButton(client, "BitBtn3", QStringLiteral(">>"), QRect(132, 246, 27, 29));
    QFont bold = font();
    bold.setBold(true);
    bold.setPixelSize(12);
    BitBtn1->setFont(bold);
    BitBtn3->setFont(bold);

    Panel7 = makePanel(client, "Panel7", QRect(170, 88, 405, 302));
    OvcTable2 = new TOvcTable(Panel7);
    OvcTable2->setObjectName(QStringLiteral("OvcTable2"));
    OvcTable2->setGeometry(4, 4, 397, 293);
    OvcTable2->setColumnCount(5);
    OvcTable2->setColumnWidth(76);
    OvcTable2->setRowHeight(73);
    OvcTable2->setRowLimit(4);
    OvcTable2->setCellBitmapSupplier([this](int row, int col) -> const QImage* {
        const int index = row * 5 + col;
        if (index < 0 || index >= show_.SlideCount)
            return nullptr;
        return &show_.thumbnail(index);
    });

    Label6 = makeLabel(client, "Label6", QStringLiteral("Files: 0"), 20, 394);
    Label7 = makeLabel(client, "Label7", QStringLiteral("Images: 0"), 174, 394);
    Label6->setFixedWidth(140);
    Label7->setFixedWidth(240);

    Label3->setBuddy(Edit2);
    Label4->setBuddy(Edit1);
    Label1->setBuddy(OvcTable1);
    Label2->setBuddy(OvcTable2);

    // The hidden imaging controls and the audio mark, as stored with the window design.
    Photo1 = new TPhoto(client);
    Photo1->setObjectName(QStringLiteral("Photo1"));
    Photo1->hide();
    Photo2 = new TPhoto(client);
    Photo2->setObjectName(QStringLiteral("Photo2"));
    Photo2->hide();
    Image2 = new QLabel(client);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->hide();

    // Commands whose windows are not built yet stay unavailable.
    for (QPushButton* button : {BitBtn1, BitBtn2, BitBtn3, BitBtn4, BitBtn5})
        button->setEnabled(false);
}

QAction* TMainFormverasco::addItem(QMenu* menu, const char* name, const QString& caption,
                                   const QKeySequence& shortcut) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    action->setEnabled(false);
    return action;
}

void TMainFormverasco::createMenus() {
    QMenuBar* bar = menuBar();
    auto menu = [bar](const char* name, const QString& caption) {
        QMenu* m = bar->addMenu(caption);
        m->setObjectName(QLatin1String(name));
        return m;
    };
    QMenu* file = menu("FileMenu", QStringLiteral("&File"));
    addItem(file, "FileNewItem", QStringLiteral("Create &New Verasco"));
    addItem(file, "FileOpenItem", QStringLiteral("&Open Existing Verasco..."));
    addItem(file, "FileSaveAsItem", QStringLiteral("&Save Verasco..."));
    addItem(file, "SaveStandaloneSlideShow1", QStringLiteral("Sa&ve Stand-alone Verasco..."));
    file->addSeparator();
    addItem(file, "PrintSlide1", QStringLiteral("Print &Image..."));
    addItem(file, "FilePrintItem", QStringLiteral("Print Ver&asco..."));
    addItem(file, "FilePrintSetupItem", QStringLiteral("P&rint Setup..."));
    file->addSeparator();
    addItem(file, "FileExitItem", QStringLiteral("E&xit"));

    QMenu* edit = menu("EditMenu", QStringLiteral("&Edit"));
    addItem(edit, "EditCutItem", QStringLiteral("Cu&t"), QKeySequence(Qt::CTRL | Qt::Key_X));
    addItem(edit, "EditCopyItem", QStringLiteral("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C));
    addItem(edit, "EditPasteItem", QStringLiteral("&Paste"), QKeySequence(Qt::CTRL | Qt::Key_V));
    addItem(edit, "Clear1", QStringLiteral("Cle&ar"), QKeySequence(Qt::Key_Delete));
    addItem(edit, "ClearAll1", QStringLiteral("Cl&ear All"));
    addItem(edit, "SelectAll1", QStringLiteral("Select A&ll"));
    edit->addSeparator();
    addItem(edit, "SlideProperties1", QStringLiteral("Image Pr&operties..."));
    addItem(edit, "Preferences1", QStringLiteral("Verasco P&references..."));

    QMenu* view = menu("View1", QStringLiteral("&View"));
    addItem(view, "SingleSlide1", QStringLiteral("&Image"));
    addItem(view, "Slideshow1", QStringLiteral("Ver&asco"));

    QMenu* help = menu("HelpMenu", QStringLiteral("&Help"));
    QAction* topics = addItem(help, "HelpContentsItem", QStringLiteral("&Help Topics"), QKeySequence(Qt::Key_F1));
    QAction* about = addItem(help, "HelpAboutItem", QStringLiteral("&About Verasco..."));
    topics->setEnabled(true);
    about->setEnabled(true);
    connect(topics, &QAction::triggered, this, &TMainFormverasco::HelpContentsItemClick);
    connect(about, &QAction::triggered, this, &TMainFormverasco::HelpAboutItemClick);
}

void TMainFormverasco::FormCreate() {
    ImageDirectory = defaultFolder();
    SlideDirectory = defaultFolder();
    show_.setDefaultDelay(DefaultDelay);
    show_.ShowModified = false;
    FullClear = true;

    // A folder that cannot be entered falls back to the default one; the image folder ends up
    // as the current folder.
    for (QString* folder : {&SlideDirectory, &ImageDirectory}) {
        if (!QDir::setCurrent(*folder)) {
            *folder = defaultFolder();
            QDir::setCurrent(*folder);
        }
    }
    Edit1->setText(ImageDirectory);

    ThumbnailWorkBitmap = QImage(ThumbnailWidth, ThumbnailHeight, QImage::Format_RGB32);
    ThumbnailWorkBitmap.fill(Qt::white);
    ClipboardThumbnail = ThumbnailWorkBitmap;
    show_.resetAll();
    show_.SlideCount = 0;
    FolderImagePaths.clear();
    ScanWithoutDialog = true;
    FolderThumbnailReady.fill(false);

    const QString palette = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("verasco.pal"));
    thumbnails_ = std::make_unique<ThumbnailBuilder>(
        *Photo1, ThumbnailWorkBitmap, [this] { return ScreenBitsPerPixel(this); }, palette);
    Image2->setPixmap(QPixmap::fromImage(thumbnails_->audioIcon()));
    showSlides_ = std::make_unique<ShowSlides>(show_, *thumbnails_, *OvcTable2, *Label7, flags_);

    setAcceptDrops(true);
}

void TMainFormverasco::processCommandLine(const QStringList& arguments) {
    if (arguments.isEmpty())
        return;
    // Show files come with the document commands; until then every argument is tried as an image.
    for (qsizetype i = 0; i < arguments.size() && i < 499; ++i) {
        if (show_.SlideCount >= ShowDocument::MaxSlides)
            break;
        appendAcceptedImage(arguments[i]);
    }
    showSlides_->UpdateShowGrid();
}

bool TMainFormverasco::appendAcceptedImage(const QString& path) {
    if (!IsAcceptedImagePath(path))
        return false;
    return showSlides_->AppendImageSlide(QFileInfo(path).absoluteFilePath());
}

void TMainFormverasco::FormActivate() {
    if (!ScanWithoutDialog)
        return;
    repaint();
    ScanWithoutDialog = false;
}

void TMainFormverasco::CopyDataReceived(const QString& received) {
    const QString path = received.trimmed();
    if (path.isEmpty() || show_.SlideCount >= ShowDocument::MaxSlides || !QFileInfo::exists(path))
        return;
    // A show file handed over only brings this window to the front.
    if (!IsAcceptedImagePath(path))
        return;
    appendAcceptedImage(path);
    showSlides_->UpdateShowGrid();
}

void TMainFormverasco::DropFiles(const QStringList& paths) {
    for (qsizetype i = 0; i < paths.size() && i < ShowDocument::MaxSlides; ++i) {
        if (show_.SlideCount >= ShowDocument::MaxSlides)
            break;
        appendAcceptedImage(paths[i].left(255));
    }
    showSlides_->UpdateShowGrid();
}

void TMainFormverasco::RestoreAndRaise() {
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

void TMainFormverasco::HelpContentsItemClick() {
    showHelpContext(9);
}

void TMainFormverasco::HelpAboutItemClick() {
    if (windows_ && windows_->AboutBox)
        windows_->AboutBox->exec();
}

bool TMainFormverasco::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return QMainWindow::event(event);
}

void TMainFormverasco::dragEnterEvent(QDragEnterEvent* event) {
    if (!localPaths(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TMainFormverasco::dropEvent(QDropEvent* event) {
    const QStringList paths = localPaths(event->mimeData());
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    DropFiles(paths);
}
