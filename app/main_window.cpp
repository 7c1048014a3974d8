// SPDX-License-Identifier: MIT
#include "main_window.h"

#include "about_box.h"
#include "app_windows.h"
#include "appearance.h"
#include "confirm_dialog.h"
#include "document_lifecycle.h"
#include "drag_drop_files.h"
#include "editor_drags.h"
#include "file_list_box.h"
#include "help_viewer.h"
#include "image_browser.h"
#include "main_menus.h"
#include "named_widget.h"
#include "ovc_table.h"
#include "pref_dialog.h"
#include "print_commands.h"
#include "recent_shows_menu.h"
#include "screen_depth.h"
#include "settings_store.h"
#include "share_commands.h"
#include "shipped_files.h"
#include "show_editing.h"
#include "show_file.h"
#include "show_file_commands.h"
#include "show_form.h"
#include "show_grid.h"
#include "show_grid_view.h"
#include "show_name_field.h"
#include "show_slides.h"
#include "slide_badges.h"
#include "slide_properties.h"
#include "standalone_export.h"
#include "thumbnails.h"
#include "tphoto.h"
#include "window_growth.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFocusEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>

namespace {
// An existing file that names a show by its extension or, for one that has lost it on the desktop,
// by its header.
bool namesShow(const QString& path) {
    const bool show = path.toLower().contains(QLatin1String(".vrs")) || ShowFile::isShowFile(path);
    return show && QFileInfo(path).isFile();
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, int x, int y) {
    auto* label = named(new QLabel(caption, parent), name);
    label->move(x, y);
    label->adjustSize();
    return label;
}

QLineEdit* makeEdit(QWidget* parent, const char* name, QRect place) {
    auto* edit = named(new QLineEdit(parent), name, place);
    edit->setMaxLength(255);
    return edit;
}

QFrame* makePanel(QWidget* parent, const char* name, QRect place) {
    auto* panel = named(new QFrame(parent), name, place);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return panel;
}

// Focus that moves to a menu, a dialog or another program, or comes back from one, stays with the
// control as far as the show name is concerned.
bool movedBetweenControls(const QEvent* event) {
    switch (static_cast<const QFocusEvent*>(event)->reason()) {
    case Qt::ActiveWindowFocusReason:
    case Qt::PopupFocusReason:
    case Qt::MenuBarFocusReason:
    case Qt::NoFocusReason:
        return false;
    default:
        return true;
    }
}
} // namespace

TMainFormverasco::TMainFormverasco(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("MainFormverasco"));
    setWindowTitle(QStringLiteral("Morvant Verasco"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    createControls();
    const MainMenus menus = buildMainMenus(*this, show_.history());
    recentShows_ = std::make_unique<RecentShowsMenu>(
        *menus.file, settings_, [this](const QString& path) { lifecycle_->openShow(path); });
    FormCreate();
}

// The base class deletes the children after this part of the window is gone: what they send then (a
// table losing the focus) must not reach the window's handlers.
TMainFormverasco::~TMainFormverasco() {
    for (QObject* child : findChildren<QObject*>())
        disconnect(child, nullptr, this, nullptr);
}

void TMainFormverasco::createControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    setCentralWidget(client);

    Label3 = makeLabel(client, "Label3", tr("&Verasco:"), 40, 16);
    Edit2 = makeEdit(client, "Edit2", QRect(98, 12, 295, 21));
    BitBtn4 = named(new QPushButton(QStringLiteral("..."), client), "BitBtn4", QRect(394, 12, 25, 22));
    BitBtn4->setToolTip(tr("Open Slide Show file"));
    Label4 = makeLabel(client, "Label4", tr("&Images:"), 50, 44);
    Edit1 = makeEdit(client, "Edit1", QRect(98, 40, 295, 21));
    BitBtn5 = named(new QPushButton(QStringLiteral("..."), client), "BitBtn5", QRect(394, 40, 25, 22));
    BitBtn5->setToolTip(tr("Select Photos folder"));
    BitBtn2 = named(new QPushButton(tr("&Play Verasco"), client), "BitBtn2", QRect(440, 12, 135, 50));

    Label1 = makeLabel(client, "Label1", tr("&Select Images"), 20, 72);
    Label2 = makeLabel(client, "Label2", tr("Verasc&o"), 172, 72);

    Panel6 = makePanel(client, "Panel6", QRect(15, 88, 101, 302));
    OvcTable1 = new TOvcTable(Panel6);
    OvcTable1->setObjectName(QStringLiteral("OvcTable1"));
    OvcTable1->setGeometry(4, 4, 93, 293);
    OvcTable1->setColumnCount(1);
    OvcTable1->setColumnWidth(76);
    OvcTable1->setRowHeight(72);
    OvcTable1->setSelectionMode(TOvcTable::SelectionMode::WholeRows);

    BitBtn1 = named(new QPushButton(QStringLiteral(">"), client), "BitBtn1", QRect(132, 202, 27, 27));
    BitBtn3 = named(new QPushButton(QStringLiteral(">>"), client), "BitBtn3", QRect(132, 246, 27, 29));
    BitBtn1->setToolTip(tr("Add selected photo"));
    BitBtn3->setToolTip(tr("Add all photos"));
    QFont bold = font();
    bold.setBold(true);
    bold.setPixelSize(12);
    BitBtn1->setFont(bold);
    BitBtn3->setFont(bold);

    Panel7 = makePanel(client, "Panel7", QRect(170, 88, 405, 302));
    OvcTable2 = new TOvcTable(Panel7);
    OvcTable2->setObjectName(QStringLiteral("OvcTable2"));
    OvcTable2->setGeometry(4, 4, 397, 293);
    OvcTable2->setColumnCount(ShowGrid::Columns);
    OvcTable2->setColumnWidth(76);
    OvcTable2->setRowHeight(73);
    OvcTable2->setRowLimit(4);

    Label6 = makeLabel(client, "Label6", tr("Files: 0"), 20, 394);
    Label7 = makeLabel(client, "Label7", tr("Images: 0"), 174, 394);
    Label6->setFixedWidth(140);
    Label7->setFixedWidth(240);
    ShowTimeLabel = makeLabel(client, "ShowTimeLabel", QStringLiteral("0:00"), 520, 394);
    ShowTimeLabel->setFixedWidth(50);
    ShowTimeLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    Label3->setBuddy(Edit2);
    Label4->setBuddy(Edit1);
    Label1->setBuddy(OvcTable1);
    Label2->setBuddy(OvcTable2);
    nameControls();

    // The window starts at its design size and may grow: the grids grow with it.
    auto* growth = new WindowGrowth(*client, QSize(ClientWidth, ClientHeight));
    using Down = WindowGrowth::Down;
    for (QWidget* top : std::initializer_list<QWidget*>{Label3, Edit2, BitBtn4, Label4, Edit1, BitBtn5,
                                                        BitBtn2, Label1, Label2})
        growth->follow(top, Down::Stay);
    for (QWidget* panel : {Panel6, Panel7})
        growth->follow(panel, Down::Grow);
    for (QWidget* grid : {OvcTable1, OvcTable2})
        growth->follow(grid, Down::Grow, false);
    for (QWidget* button : {BitBtn1, BitBtn3})
        growth->follow(button, Down::Half);
    for (QWidget* counter : {Label6, Label7, ShowTimeLabel})
        growth->follow(counter, Down::Whole);
    growth->setAfterPlacing([this] { placeGrids(); });

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
    for (QPushButton* button : {BitBtn1, BitBtn2, BitBtn3})
        button->setEnabled(false);
    connect(BitBtn4, &QPushButton::clicked, this, &TMainFormverasco::FileOpen);
    connect(OvcTable2, &TOvcTable::cellDoubleClicked, this, &TMainFormverasco::OvcTable2DblClick);
    Edit2->installEventFilter(this);
}

void TMainFormverasco::FormCreate() {
    {
        const SettingsStore store;
        settings_ = Settings::read(store);
        storedSettings_ = settings_.storedValues();
    }
    applyAppearance(settings_.Appearance);
    // Whatever changed them (the preferences, a show opened or saved, a folder chosen) has been
    // done by the time the program waits again.
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
            &TMainFormverasco::storeChangedSettings);
    show_.setDefaultDelay(settings_.DefaultDelay);
    // A folder that cannot be entered falls back to the default one; the image folder ends up
    // as the current folder.
    settings_.checkFolders();
    Edit1->setText(settings_.ImageDirectory);
    FileListBox1 = new TFileListBox(this);

    ThumbnailWorkBitmap = QImage(ThumbnailWidth, ThumbnailHeight, QImage::Format_RGB32);
    ThumbnailWorkBitmap.fill(Qt::white);
    folder_.clear();

    const QString palette = shippedFilePath(QLatin1String(PaletteFileName));
    thumbnails_ = std::make_unique<ThumbnailBuilder>(
        *Photo1, ThumbnailWorkBitmap, [this] { return ScreenBitsPerPixel(this); }, palette,
        [this] { return devicePixelRatioF(); });
    Image2->setPixmap(QPixmap::fromImage(thumbnails_->audioIcon()));
    showView_ = new ShowGridView(show_, *OvcTable2, *Label7);
    new ShowLengthView(show_, *ShowTimeLabel);
    showSlides_ = std::make_unique<ShowSlides>(show_, *thumbnails_, *showView_, flags_);
    connectThumbnailSizes();
    // The rules that depend on the focus as well are applied when their menu opens.
    connect(&show_, &ShowDocument::changed, this, [this](const ShowChange& change) {
        if (change.countChanged())
            applyShowRules();
    });

    setAcceptDrops(true);
}

void TMainFormverasco::setWindows(AppWindows* windows) {
    windows_ = windows;
    showName_ = std::make_unique<ShowNameField>(*Edit2);
    showFiles_ = std::make_unique<ShowFileCommands>(show_, *showSlides_, *showName_, *windows->confirmfrm);
    showFiles_->setShowFileHandler([this](const QString& path) { recentShows_->remember(path); });
    lifecycle_ = std::make_unique<DocumentLifecycle>(show_, settings_, *showView_, *showFiles_,
                                                     *windows->confirmfrm, *showName_, this);
    connectPlayerWindows();
    connectPrintCommands();
    createEditor();
}

void TMainFormverasco::processCommandLine(const QStringList& arguments) {
    if (arguments.isEmpty())
        return;
    if (namesShow(arguments.front())) {
        showFiles_->ReadShowFile(arguments.front());
        return;
    }
    // The images of the command line are the show as it was opened.
    showSlides_->appendAcceptedImages(arguments.mid(0, 499));
    show_.markOpened();
}

void TMainFormverasco::openHandedOverShow(const QString& path) {
    if (viewerOpen())
        return;
    // A dialog, a menu or a long operation (under the hourglass) works on the open show: the other
    // show opens once it is done.
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget() ||
        QApplication::overrideCursor()) {
        QTimer::singleShot(250, this, [this, path] { openHandedOverShow(path); });
        return;
    }
    lifecycle_->openShow(path);
}

void TMainFormverasco::listRememberedFolder() {
    if (browser_ && browser_->ScanWithoutDialog && browser_->ScanImageFolder())
        browser_->ScanWithoutDialog = false;
}

void TMainFormverasco::FormActivate() {
    if (!browser_ || !browser_->ScanWithoutDialog)
        return;
    repaint();
    Button1Click();
    browser_->ScanWithoutDialog = false;
}

void TMainFormverasco::CopyDataReceived(const QString& received) {
    // A show opens as it would at start; an existing image is appended. An image added to the open
    // show changes it, so closing afterwards asks about saving it.
    const QString path = received.trimmed();
    if (path.isEmpty())
        return;
    if (namesShow(path)) {
        // Opened once the later start has had its answer, which a question about the open show's
        // changes would otherwise hold up. While the viewer plays, the show stays as it is.
        if (!viewerOpen())
            QMetaObject::invokeMethod(
                this, [this, path] { openHandedOverShow(path); }, Qt::QueuedConnection);
        return;
    }
    const ShowDocument::Step step(show_, tr("Add Image"));
    showSlides_->appendAcceptedImages({path});
}

void TMainFormverasco::DropFiles(const QStringList& paths) {
    const ShowDocument::Step step(show_, tr("Drop Files"));
    showSlides_->appendAcceptedImages(paths.mid(0, ShowDocument::MaxSlides));
}

void TMainFormverasco::RestoreAndRaise() {
    // While the viewer is open the editor stays hidden or disabled; the viewer comes to the front.
    QWidget* front = viewerOpen() ? static_cast<QWidget*>(windows_->showFrm) : this;
    if (front->isMinimized())
        front->showNormal();
    front->show();
    front->raise();
    front->activateWindow();
}

void TMainFormverasco::HelpContentsItemClick() {
    showHelpContext(9);
}

void TMainFormverasco::FileNew() {
    lifecycle_->FileNew();
}

void TMainFormverasco::FileOpen() {
    lifecycle_->FileOpen();
}

bool TMainFormverasco::FileSaveAs() {
    return lifecycle_->FileSaveAs();
}

bool TMainFormverasco::FileSave() {
    return lifecycle_->FileSave();
}

void TMainFormverasco::FileExit() {
    close();
}

void TMainFormverasco::FileMenuClick() {
    const bool imageChosen = (OvcTable1->hasFocus() && folder_.count() > 0) ||
                             (OvcTable2->hasFocus() && showView_->activeIndex() < show_.SlideCount);
    recentShows_->refresh();
    applyShowRules();
    applyMenuRules(*this, {{"PrintSlide1", imageChosen}});
}

void TMainFormverasco::applyShowRules() {
    const bool hasSlides = show_.SlideCount > 0;
    applyMenuRules(*this, {{"FileSaveAsItem", hasSlides},
                           {"FileSaveItem", hasSlides},
                           {"SaveStandaloneSlideShow1", hasSlides},
                           {"SaveVideo1", hasSlides},
                           {"SaveWebPage1", hasSlides},
                           {"FilePrintItem", hasSlides},
                           {"Slideshow1", hasSlides}});
}

void TMainFormverasco::Preferences1Click() {
    runPreferences(*windows_->prefFrm, settings_, show_, agreeToDefaults());
}

std::function<bool(const QString&)> TMainFormverasco::agreeToDefaults() const {
    Tconfirmfrm* confirm = windows_->confirmfrm;
    return
        [confirm](const QString& question) { return confirm->ask(question, {}, false) == Tconfirmfrm::Yes; };
}

void TMainFormverasco::placeAtStart() {
    // Qt moves a restored window that would lie off every screen, or reach past one, onto a screen.
    if (restoreGeometry(QByteArray::fromBase64(settings_.WindowGeometry.toLatin1())))
        return;
    // The design size is where the window starts and the least it may be made.
    resize(minimumSizeHint());
    if (const QScreen* place = screen())
        setGeometry(
            QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), place->availableGeometry()));
}

bool TMainFormverasco::FormCloseQuery() {
    return lifecycle_->FormCloseQuery();
}

void TMainFormverasco::FormClose() {
    if (closed_)
        return;
    closed_ = true;
    showSlides_->stopDrawing();
    closeViewer();
    OvcTable1->setAllowRedraw(false);
    OvcTable2->setAllowRedraw(false);
    if (browser_)
        settings_.ImageDirectory = FileListBox1->Directory();
    settings_.WindowGeometry = QString::fromLatin1(saveGeometry().toBase64());
    SettingsStore store;
    settings_.write(store);
    storedSettings_ = settings_.storedValues();
    // The help window goes with the main window, or the program would go on running without it.
    closeHelpWindow();
}

void TMainFormverasco::storeChangedSettings() {
    // A modal window is a question not yet answered (the preferences change the settings already
    // when their reset button is pressed, and put them back on Cancel).
    if (closed_ || QApplication::activeModalWidget())
        return;
    Settings now = settings_;
    if (browser_)
        now.ImageDirectory = FileListBox1->Directory();
    if (now.storedValues() == storedSettings_)
        return;
    SettingsStore store;
    // A store that cannot be written is tried again at the next change.
    if (now.write(store))
        storedSettings_ = now.storedValues();
}

void TMainFormverasco::closeEvent(QCloseEvent* event) {
    // The close box of an editor that the open viewer has disabled does nothing, as its menu does.
    if ((event->spontaneous() && viewerOpen()) || !FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

bool TMainFormverasco::eventFilter(QObject* watched, QEvent* event) {
    if (filterEditorEvent(watched, event))
        return true;
    if (watched == Edit2 && lifecycle_) {
        switch (event->type()) {
        case QEvent::FocusIn:
            if (movedBetweenControls(event))
                lifecycle_->Edit2Enter();
            break;
        case QEvent::FocusOut:
            if (movedBetweenControls(event))
                lifecycle_->Edit2Exit();
            break;
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                lifecycle_->Edit2KeyPress();
                return true;
            }
            break;
        }
        default:
            break;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainFormverasco::HelpAboutItemClick() {
    if (windows_ && windows_->AboutBox)
        windows_->AboutBox->exec();
}

bool TMainFormverasco::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    if (event->type() == QEvent::ShortcutOverride)
        prepareShortcut(*static_cast<QKeyEvent*>(event));
    if (event->type() == QEvent::PaletteChange)
        followThumbnailGround();
    return QMainWindow::event(event);
}

// While the viewer is open the editor takes no files: its show is being played.
void TMainFormverasco::dragEnterEvent(QDragEnterEvent* event) {
    if (!viewerOpen() && !TDragDropFiles::droppedPaths(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TMainFormverasco::dropEvent(QDropEvent* event) {
    const QStringList paths = TDragDropFiles::droppedPaths(event->mimeData());
    if (paths.isEmpty() || viewerOpen())
        return;
    event->acceptProposedAction();
    DropFiles(paths);
}
