// SPDX-License-Identifier: MIT
#pragma once
// The main window: the image browser on the left, the show grid on the right, the show name
// field and the main menu. It owns the show document and hands each command to the class of its
// subsystem; its handlers keep the names of the window design.

#include "folder_images.h"
#include "settings.h"
#include "shared_flags.h"
#include "show_document.h"

#include <QColor>
#include <QImage>
#include <QMainWindow>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

class QAction;
class QFrame;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class TFileListBox;
class TOvcTable;
class TPhoto;
class ImageBrowser;
class ShowEditing;
class EditorDrags;
class TDragDropFiles;
class SlideProperties;
class ThumbnailBuilder;
class ShowSlides;
class ShowGridView;
class ShowFileCommands;
class ShowNameField;
class DocumentLifecycle;
class PrintCommands;
class RecentShowsMenu;
class StandaloneExport;
struct AppWindows;
namespace print {
struct ImageSource;
}
namespace sharing {
class ShareCommands;
}

class TMainFormverasco : public QMainWindow {
    Q_OBJECT
  public:
    explicit TMainFormverasco(QWidget* parent = nullptr);
    ~TMainFormverasco() override;

    // The other windows, once they all exist (they are created after this one).
    void setWindows(AppWindows* windows);
    // The command line of a first start: a show file as first argument, or images to append.
    void processCommandLine(const QStringList& arguments);
    // Lists the remembered picture folder at start, before the window is first activated (which some
    // window systems do only once the user clicks into it). A folder that cannot be listed is left
    // to the activation, which says so.
    void listRememberedFolder();
    // Places the window for its first showing: where and as large as it was when it last closed,
    // made to fit a screen that is there; at the first start (or from a place that cannot be read)
    // at its design size in the middle of its screen.
    void placeAtStart();

    ShowDocument& document() { return show_; }
    SharedFlags& flags() { return flags_; }
    Settings& settings() { return settings_; }
    ImageBrowser& browser() { return *browser_; }
    ShowSlides& slides() { return *showSlides_; }
    EditorDrags& drags() { return *drags_; }

    // Both grids' thumbnails `width` pixels wide (kept between the start size and 256 pixels), the
    // grids laid out anew for them and the size remembered.
    void setThumbnailSize(int width);

    static constexpr int ClientWidth = 588;
    static constexpr int ClientHeight = 414;

  public slots:
    void FormCreate();
    void FormActivate();
    // A path handed over by a second start.
    void CopyDataReceived(const QString& path);
    // Files dropped from the shell on the main window, in drop order.
    void DropFiles(const QStringList& paths);
    // Restores the window and brings it to the front, for a second start.
    void RestoreAndRaise();
    void HelpContentsItemClick();
    void HelpAboutItemClick();
    void FileNew();
    void FileOpen();
    bool FileSaveAs();
    // File > "Sav&e": to the show's own file without asking.
    bool FileSave();
    void FileExit();
    void FileMenuClick();
    void Preferences1Click();
    // File > "Sa&ve Stand-alone Verasco...".
    void SaveStandaloneSlideShow1Click();
    // File > "Save as Vi&deo..." and "Save as &Web Page...".
    void SaveVideo1Click();
    void SaveWebPage1Click();
    // View > "&Image": the preview of the active cell of whichever grid has the focus.
    void SingleSlide1Click();
    void OvcTable2DblClick(int row, int col);
    void FilePrint();
    void FilePrintSetup();
    void PrintSlide1Click();
    // "&Play Verasco" opens the viewer and plays; View > "Ver&asco" opens it on the first slide.
    void BitBtn2Click();
    void Slideshow1Click();
    // View > "&Resume Verasco": plays on from the slide the viewer was closed on.
    void ResumeSlideshow1Click();
    bool FormCloseQuery();
    void FormClose();

    // The image browser.
    void Button1Click();
    void Edit1Enter();
    void Edit1Exit();
    void Edit1KeyPress();
    void OvcTable1KeyUp(int key, Qt::KeyboardModifiers modifiers);
    void OvcTable1MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, const QPoint& pos,
                            bool doubleClick);
    void OvcTable1Enter();
    void OvcTable1Exit();

    // Show list editing.
    void BitBtn1Click();
    void BitBtn3Click();
    void Clear1Click();
    void EditCut();
    void EditCopy();
    void EditPaste();
    // Edit > "&Undo" and "Re&do": the typing in the focused text field, or else the show's history.
    void Undo1Click();
    void Redo1Click();
    void SelectAll1Click();
    void EditMenuClick();
    void View1Click();
    // View > "&Larger Thumbnails" and "&Smaller Thumbnails" (also Ctrl with the wheel over a grid):
    // one step larger or smaller, between the start size and 256 pixels.
    void LargerThumbnails1Click();
    void SmallerThumbnails1Click();
    void OvcTable2Enter();
    void OvcTable2Exit();
    void OvcTable2MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, const QPoint& pos,
                            bool doubleClick);
    void SlideProperties1Click();
    void InsertTitle1Click();
    // Edit > "&Music..." and "&Fit Slides to Music".
    void Music1Click();
    void FitToMusic1Click();
    void TapTimes1Click();
    void RefreshCaptions1Click();
    // Edit > "&Sort Slides": the slides selected when several are, else the whole show.
    void SortMenuClick();
    void SortByDate1Click();
    void SortByName1Click();
    void SortReverse1Click();

    // The drags, Find Image and the shell drop on the show grid.
    void OvcTable1MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, const QPoint& pos);
    void OvcTable1MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, const QPoint& pos);
    void OvcTable2MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, const QPoint& pos);
    void OvcTable2MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, const QPoint& pos);
    void FindImage1Click();
    void DragDropFiles1Drop(const QStringList& paths);

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void createControls();
    // Names for the screen reader and the tab order.
    void nameControls();
    void connectGridKeys();
    void moveSlideByKey(int fromRow, int fromCol, int toRow, int toCol);
    void createEditor();
    bool filterEditorEvent(QObject* watched, QEvent* event);
    void createDrags();
    // Before the shortcut of a File or Edit item acts, that menu's items are enabled as on opening.
    void prepareShortcut(const QKeyEvent& key);
    // The menus' rules that depend on the show alone: applied when the number of slides changed
    // and when the File menu opens.
    void applyShowRules();
    // Fit Slides to Music needs slides and music.
    void applyMusicRules();
    void connectPlayerWindows();
    void repaintGrids();
    // The grids across the window's width, their cells as large as the thumbnails, and as many of
    // the show grid's columns as fit (five at the start size).
    void placeGrids();
    void connectThumbnailSizes();
    // After a change of appearance: the folder's thumbnails drawn anew on the new ground; the
    // slides' are drawn anew as their cells are painted.
    void followThumbnailGround();
    void connectPrintCommands();
    sharing::ShareCommands& shareCommands();
    // The name the exports propose: the show file's without folder and extension, empty without one.
    QString exportName() const;
    print::ImageSource imageToPrint() const;
    // The question before the preferences' defaults replace the slides' own values.
    std::function<bool(const QString&)> agreeToDefaults() const;
    void startShow(bool autoPlay);
    // The viewer is on screen: the main window then takes no drops and no close, and a later start
    // brings the viewer to the front.
    bool viewerOpen() const;
    // A show handed over by a later start: opened as File > Open would, asking about the open show's
    // changes first.
    void openHandedOverShow(const QString& path);
    void setEditorUsable(bool usable);
    void closeViewer();
    // Writes the settings when they differ from what was last written, so that a program that
    // ends without closing its window keeps them.
    void storeChangedSettings();

    ShowDocument show_;
    SharedFlags flags_;
    AppWindows* windows_ = nullptr;

    // Settings in memory; read when the window is created, written whenever the program waits for
    // events after a change, and when the window closes.
    Settings settings_;
    std::vector<std::pair<QString, QString>> storedSettings_;

    // Drawing resources: the work bitmaps; the listed folder with its thumbnails and their flags.
    QImage ThumbnailWorkBitmap;
    FolderImages folder_;
    TFileListBox* FileListBox1 = nullptr;

    // Controls, named as in the window design.
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* ShowTimeLabel = nullptr; // the show's running time, beside Label7
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QPushButton* BitBtn3 = nullptr;
    QPushButton* BitBtn4 = nullptr;
    QPushButton* BitBtn5 = nullptr;
    QFrame* Panel6 = nullptr;
    QFrame* Panel7 = nullptr;
    TOvcTable* OvcTable1 = nullptr;
    TOvcTable* OvcTable2 = nullptr;
    TPhoto* Photo1 = nullptr;
    TPhoto* Photo2 = nullptr;
    QLabel* Image2 = nullptr;

    std::unique_ptr<ThumbnailBuilder> thumbnails_;
    QColor thumbnailGround_;           // the ground the folder's thumbnails were drawn on
    ShowGridView* showView_ = nullptr; // owned by the show grid
    std::unique_ptr<ShowSlides> showSlides_;
    std::unique_ptr<ShowNameField> showName_;
    std::unique_ptr<ShowFileCommands> showFiles_;
    std::unique_ptr<DocumentLifecycle> lifecycle_;
    std::unique_ptr<PrintCommands> print_;
    std::unique_ptr<ImageBrowser> browser_;
    std::unique_ptr<ShowEditing> editing_;
    std::unique_ptr<StandaloneExport> standaloneExport_;
    std::unique_ptr<sharing::ShareCommands> share_;
    std::unique_ptr<SlideProperties> properties_;
    std::unique_ptr<EditorDrags> drags_;
    std::unique_ptr<RecentShowsMenu> recentShows_;
    QMenu* PopupMenu1 = nullptr;
    TDragDropFiles* DragDropFiles1 = nullptr;
    bool closed_ = false;
};
