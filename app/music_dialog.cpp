// SPDX-License-Identifier: MIT
#include "music_dialog.h"

#include "music_level.h"
#include "named_widget.h"
#include "show_document.h"
#include "show_extension.h"
#include "slide_badges.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

namespace {

QPushButton* button(QWidget* parent, const QString& caption, const char* name) {
    return named(new QPushButton(caption, parent), name);
}

} // namespace

MusicDialog::MusicDialog(ShowDocument& show, FileChooser choose, Lengths lengths, QWidget* parent)
    : QDialog(parent), show_(show), choose_(std::move(choose)), lengths_(std::move(lengths)) {
    setObjectName(QStringLiteral("MusicDialog"));
    setWindowTitle(tr("Music"));
    list_ = named(new QListWidget(this), "MusicList");
    list_->setAccessibleName(tr("Music files"));
    total_ = named(new QLabel(this), "MusicTotalLabel");
    level_ = named(new QSlider(Qt::Horizontal, this), "MusicLevelSlider");
    level_->setRange(0, MusicLevel::FullLevel);
    level_->setTracking(false); // one step when the slider is let go, not one for every pixel
    levelText_ = new QLabel(this);
    auto* levelLabel = new QLabel(tr("&Level:"), this);
    levelLabel->setBuddy(level_);
    QPushButton* add = button(this, tr("&Add..."), "AddMusicButton");
    remove_ = button(this, tr("&Remove"), "RemoveMusicButton");
    up_ = button(this, tr("Move &Up"), "MusicUpButton");
    down_ = button(this, tr("Move &Down"), "MusicDownButton");
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);

    auto* grid = new QGridLayout;
    grid->addWidget(list_, 0, 0, 5, 1);
    grid->addWidget(add, 0, 1);
    grid->addWidget(remove_, 1, 1);
    grid->addWidget(up_, 2, 1);
    grid->addWidget(down_, 3, 1);
    auto* levelRow = new QHBoxLayout;
    levelRow->addWidget(levelLabel);
    levelRow->addWidget(level_, 1);
    levelRow->addWidget(levelText_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(total_);
    layout->addLayout(levelRow);
    layout->addWidget(close);

    connect(add, &QPushButton::clicked, this, &MusicDialog::add);
    connect(remove_, &QPushButton::clicked, this, &MusicDialog::remove);
    connect(up_, &QPushButton::clicked, this, [this] { moveBy(-1); });
    connect(down_, &QPushButton::clicked, this, [this] { moveBy(1); });
    connect(level_, &QSlider::valueChanged, this, &MusicDialog::setLevel);
    connect(level_, &QSlider::sliderMoved, this,
            [this](int v) { levelText_->setText(QStringLiteral("%1 %").arg(v)); });
    connect(list_, &QListWidget::currentRowChanged, this, [this] { showMusic(); });
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
    showMusic();
}

// The list, its total and the level as the show has them now.
void MusicDialog::showMusic() {
    const QStringList paths = ShowExtension::musicPaths(show_.showData());
    QStringList unknown;
    for (const QString& path : paths)
        if (!known_.contains(path))
            unknown.append(path);
    if (!unknown.isEmpty())
        known_.merge(lengths_(unknown));
    const int row = list_->currentRow();
    const QSignalBlocker quiet(list_);
    list_->clear();
    std::int64_t totalMs = 0;
    for (const QString& path : paths) {
        const std::int64_t ms = known_[path];
        totalMs += std::max<std::int64_t>(ms, 0);
        list_->addItem(QStringLiteral("%1 (%2)").arg(
            QFileInfo(path).fileName(), ms < 0 ? tr("cannot be played") : SlideBadges::lengthText(ms)));
    }
    list_->setCurrentRow(std::min(row, int(paths.size()) - 1));
    total_->setText(tr("Music %1, show %2")
                        .arg(SlideBadges::lengthText(totalMs),
                             SlideBadges::lengthText(SlideBadges::showLengthMs(show_))));
    const int current = list_->currentRow();
    remove_->setEnabled(current >= 0);
    up_->setEnabled(current > 0);
    down_->setEnabled(current >= 0 && current + 1 < paths.size());
    const QSignalBlocker still(level_);
    level_->setValue(ShowExtension::musicLevel(show_.showData()));
    levelText_->setText(QStringLiteral("%1 %").arg(level_->value()));
}

void MusicDialog::setMusic(const QStringList& paths) {
    const ShowDocument::Step step(show_, tr("Music"));
    show_.setShowData(ShowExtension::withMusic(show_.showData(), paths));
}

void MusicDialog::add() {
    const QStringList added = choose_();
    if (added.isEmpty())
        return;
    setMusic(ShowExtension::musicPaths(show_.showData()) + added);
    showMusic();
    list_->setCurrentRow(list_->count() - 1);
}

void MusicDialog::remove() {
    QStringList paths = ShowExtension::musicPaths(show_.showData());
    const int row = list_->currentRow();
    if (row < 0 || row >= paths.size())
        return;
    paths.removeAt(row);
    setMusic(paths);
    showMusic();
}

void MusicDialog::moveBy(int step) {
    QStringList paths = ShowExtension::musicPaths(show_.showData());
    const int row = list_->currentRow(), to = row + step;
    if (row < 0 || to < 0 || to >= paths.size())
        return;
    paths.move(row, to);
    setMusic(paths);
    list_->setCurrentRow(to);
    showMusic();
}

void MusicDialog::setLevel(int percent) {
    const ShowDocument::Step step(show_, tr("Music"));
    show_.setShowData(ShowExtension::withMusicLevel(show_.showData(), percent));
    levelText_->setText(QStringLiteral("%1 %").arg(percent));
}
