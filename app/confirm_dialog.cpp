// SPDX-License-Identifier: MIT
#include "confirm_dialog.h"

#include "named_widget.h"
#include "shorten_middle.h"
#include "show_file.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

const char* const Tconfirmfrm::DefaultCaption = QT_TR_NOOP("Confirm");

namespace {

// Positions of the two layouts, in pixels: up to 96 pixels per inch, and above.
struct Metrics {
    int iconLeft, textLeft, line1Top, line2Top, line2Width;
    int buttonTop, buttonWidth, buttonHeight, buttonGap, height;
    int widthWithCancel, widthWithoutCancel, okLeftQuestion, okLeftMessage;
};
constexpr Metrics Normal{16, 64, 16, 38, 250, 76, 75, 25, 8, 116, 406, 326, 168, 132};
constexpr Metrics Large{20, 76, 20, 47, 300, 94, 90, 30, 10, 142, 498, 386, 207, 146};

} // namespace

Tconfirmfrm::Tconfirmfrm(QWidget* parent, ContentsTiming timing) : DeferredWindow(parent) {
    setObjectName(QStringLiteral("confirmfrm"));
    setWindowTitle(tr(DefaultCaption));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    buildContentsIfNow(timing);
}

void Tconfirmfrm::build() {
    Image1 = named(new QLabel(this), "Image1");
    Label1 = named(new QLabel(this), "Label1");
    Label2 = named(new QLabel(this), "Label2");
    Button3 = named(new QPushButton(tr("&Yes"), this), "Button3");
    Button1 = named(new QPushButton(tr("&No"), this), "Button1");
    Button2 = named(new QPushButton(tr("&Cancel"), this), "Button2");
    Button1->setDefault(true);
    setTabOrder(Button3, Button1);
    setTabOrder(Button1, Button2);
    connect(Button3, &QPushButton::clicked, this, [this] { done(Yes); });
    connect(Button1, &QPushButton::clicked, this, [this] { done(No); });
    connect(Button2, &QPushButton::clicked, this, [this] { done(Cancel); });
    setMode(QuestionWithCancel);
    layoutFor(96);
}

void Tconfirmfrm::setMode(Mode mode) {
    buildContents();
    mode_ = mode;
    Button1->setText(mode == Message ? tr("&OK") : tr("&No"));
    Button3->setVisible(mode != Message);
    Button2->setVisible(mode == QuestionWithCancel);
}

void Tconfirmfrm::layoutFor(int pixelsPerInch) {
    buildContents();
    const Metrics& m = pixelsPerInch > 96 ? Large : Normal;
    const int width = mode_ == QuestionWithCancel ? m.widthWithCancel : m.widthWithoutCancel;
    const int okLeft = mode_ == Message ? m.okLeftMessage : m.okLeftQuestion;
    const int iconSize = m.textLeft - m.iconLeft - 16;
    Image1->setGeometry(m.iconLeft, m.line1Top, iconSize, iconSize);
    Image1->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(iconSize, iconSize));
    // A message without a second line whose text is too long for the first wraps it at blanks
    // into the room of both lines.
    const int line1Width = width - m.textLeft - m.iconLeft;
    const bool wraps = Label2->text().isEmpty() &&
                       QFontMetrics(Label1->font()).horizontalAdvance(Label1->text()) > line1Width;
    Label1->setWordWrap(wraps);
    Label1->setAlignment(Qt::AlignLeft | (wraps ? Qt::AlignTop : Qt::AlignVCenter));
    Label1->setGeometry(m.textLeft, m.line1Top, line1Width,
                        wraps ? m.buttonTop - m.buttonGap - m.line1Top : m.line2Top - m.line1Top);
    Label2->setGeometry(m.textLeft, m.line2Top, m.line2Width, m.line2Top - m.line1Top);
    const int step = m.buttonWidth + m.buttonGap;
    Button3->setGeometry(okLeft - step, m.buttonTop, m.buttonWidth, m.buttonHeight);
    Button1->setGeometry(okLeft, m.buttonTop, m.buttonWidth, m.buttonHeight);
    Button2->setGeometry(okLeft + step, m.buttonTop, m.buttonWidth, m.buttonHeight);
    setFixedSize(width, m.height);
}

QString Tconfirmfrm::fitToLine2(const QString& text) const {
    buildContents();
    const QFontMetrics metrics(Label2->font());
    const int room = Label2->width();
    return shortenMiddle(text, [&](const QString& t) { return metrics.horizontalAdvance(t) <= room; });
}

int Tconfirmfrm::ask(const QString& text, const QString& line2, bool withCancel) {
    return askWithDefault(text, line2, withCancel, Button1);
}

int Tconfirmfrm::askWithDefault(const QString& text, const QString& line2, bool withCancel,
                                QPushButton* defaultButton) {
    buildContents();
    QApplication::beep();
    Label1->setText(text);
    Label2->setText(line2);
    setMode(withCancel ? QuestionWithCancel : Question);
    return runModal(defaultButton);
}

int Tconfirmfrm::message(const QString& caption, const QString& text, const QString& line2) {
    buildContents();
    QApplication::beep();
    Label1->setText(text);
    Label2->setText(line2);
    setWindowTitle(caption);
    setMode(Message);
    const int result = runModal(Button1);
    setWindowTitle(tr(DefaultCaption));
    return result;
}

int Tconfirmfrm::askSaveChanges(const QString& showName) {
    buildContents();
    // Enter keeps the changes: a key pressed out of habit must not throw away the user's work.
    if (showName.trimmed().isEmpty() || ShowFile::nameExtension(showName.trimmed()) != QLatin1String(".vrs"))
        return askWithDefault(tr("Do you want to save the changes you made?"), {}, true, Button3);
    // The second line's width is fixed by the layout, so lay out before measuring.
    setMode(QuestionWithCancel);
    layoutFor(screen() ? qRound(screen()->logicalDotsPerInch()) : 96);
    return askWithDefault(tr("Do you want to save the changes you made to"),
                          fitToLine2(QLatin1Char('"') + showName + QStringLiteral("\"?")), true, Button3);
}

int Tconfirmfrm::runModal(QPushButton* defaultButton) {
    defaultButton->setDefault(true);
    defaultButton->setFocus();
    const int result = exec();
    Button1->setDefault(true);
    return result;
}

void Tconfirmfrm::showEvent(QShowEvent* event) {
    layoutFor(screen() ? qRound(screen()->logicalDotsPerInch()) : 96);
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
    QDialog::showEvent(event);
}

void Tconfirmfrm::reject() {
    // Esc and the close box: Cancel where there is a Cancel button, otherwise No (OK for a message),
    // so that a question about replacing something is never answered Yes by closing it.
    done(mode_ == QuestionWithCancel ? Cancel : No);
}
