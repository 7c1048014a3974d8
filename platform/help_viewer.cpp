// SPDX-License-Identifier: MIT
#include "help_viewer.h"

#include "shipped_files.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPointer>
#include <QShortcut>
#include <QTextBrowser>
#include <QTextFrame>
#include <QUrl>

namespace {

QPointer<QTextBrowser>& viewer() {
    static QPointer<QTextBrowser> window;
    return window;
}

QTextBrowser* createViewer() {
    auto* browser = new QTextBrowser;
    browser->setObjectName(QStringLiteral("HelpViewer"));
    browser->setWindowTitle(QCoreApplication::translate("HelpViewer", "Verasco Help"));
    browser->setOpenExternalLinks(true);
    browser->resize(640, 480);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), browser);
    QObject::connect(escape, &QShortcut::activated, browser, &QWidget::close);
    // The window lives for the rest of the run; closing it only hides it.
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, browser, &QObject::deleteLater);
    return browser;
}

void loadHelpFile(QTextBrowser* browser) {
    const QString path = helpFilePath();
    if (QFileInfo(path).isFile()) {
        if (browser->source() != QUrl::fromLocalFile(path))
            browser->setSource(QUrl::fromLocalFile(path));
        return;
    }
    const QString folders = shippedFileFolders(QCoreApplication::applicationDirPath())
                                .join(QCoreApplication::translate("HelpViewer", " or "));
    browser->setHtml(QCoreApplication::translate(
                         "HelpViewer", "<h2>Verasco Help</h2><p>The help file %1 was not found in %2.</p>")
                         .arg(QLatin1String(HelpFileName), folders.toHtmlEscaped()));
}

} // namespace

QString helpFilePath() {
    const QString shipped = shippedFilePath(QLatin1String(HelpFileName));
    if (QFileInfo(shipped).isFile())
        return shipped;
    const QString fromEnvironment = qEnvironmentVariable("VERASCO_HELP_FILE");
    return fromEnvironment.isEmpty() ? shipped : fromEnvironment;
}

QString helpAnchor(int context) {
    return QStringLiteral("context-%1").arg(context);
}

void showHelpContext(int context) {
    QTextBrowser* browser = viewer();
    if (!browser) {
        browser = createViewer();
        viewer() = browser;
    }
    loadHelpFile(browser);
    browser->showNormal();
    browser->raise();
    browser->activateWindow();
    // Scrolling needs the laid-out document at the window's size, so it comes after show(). Room
    // of a window's height below the end lets the last sections, too, start at the top.
    QTextFrame* root = browser->document()->rootFrame();
    QTextFrameFormat format = root->frameFormat();
    format.setBottomMargin(browser->viewport()->height());
    root->setFrameFormat(format);
    browser->scrollToAnchor(helpAnchor(context));
}

void closeHelpWindow() {
    if (QTextBrowser* browser = viewer())
        browser->close();
}

QTextBrowser* helpViewerWindow() {
    return viewer();
}
