// SPDX-License-Identifier: MIT
#include "form_open_dialog.h"

#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>

TFormOpenDialog::TFormOpenDialog(QWidget* parent) : QWidget(parent) {
    folderList_ = new QTreeView(this);
    folderList_->setObjectName(QStringLiteral("FolderList"));
    folderList_->setHeaderHidden(true);
    folderList_->setUniformRowHeights(true);
    folderList_->setAccessibleName(tr("Folders"));
    typeLabel_ = new QLabel(tr("List files of &type:"), this);
    typeLabel_->setObjectName(QStringLiteral("FileTypeLabel"));
    typeList_ = new QComboBox(this);
    typeList_->setObjectName(QStringLiteral("FileTypeList"));
    typeLabel_->setBuddy(typeList_);
    cancelButton_ = new QPushButton(tr("Cancel"), this);
    cancelButton_->setObjectName(QStringLiteral("CancelButton"));

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(folderList_, 0, 0, 1, 2);
    layout->addWidget(typeLabel_, 1, 0, 1, 2);
    layout->addWidget(typeList_, 2, 0);
    layout->addWidget(cancelButton_, 2, 1);
    layout->setColumnStretch(0, 1);

    connect(cancelButton_, &QPushButton::clicked, this, &TFormOpenDialog::cancelClicked);
    connect(folderList_, &QTreeView::activated, this, &TFormOpenDialog::activated);
    connect(typeList_, &QComboBox::currentIndexChanged, this, &TFormOpenDialog::typeChosen);
}

void TFormOpenDialog::setFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    typeList_->clear();
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        typeList_->addItem(parts[i], parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts));
}

void TFormOpenDialog::setCancelCaption(const QString& caption) {
    cancelButton_->setText(caption);
}

QStringList TFormOpenDialog::currentPatterns() const {
    return typeList_->currentData().toStringList();
}

void TFormOpenDialog::ensureModel() {
    if (model_)
        return;
    model_ = new QFileSystemModel(this);
    model_->setFilter(QDir::AllDirs | QDir::Files | QDir::NoDotAndDotDot);
    model_->setNameFilterDisables(false);
    model_->setNameFilters(currentPatterns());
    model_->setRootPath(QString());
    folderList_->setModel(model_);
    for (int column = 1; column < model_->columnCount(); ++column)
        folderList_->hideColumn(column);
    connect(folderList_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { currentChanged(current); });
}

void TFormOpenDialog::showInitialDir() {
    ensureModel();
    const QString folder = QFileInfo(initialDir_).isDir() ? initialDir_ : QDir::rootPath();
    setCurrentFolder(folder);
}

void TFormOpenDialog::setCurrentFolder(const QString& folder) {
    ensureModel();
    const QModelIndex index = model_->index(QFileInfo(folder).absoluteFilePath());
    if (!index.isValid())
        return;
    folderList_->setCurrentIndex(index);
    folderList_->expand(index);
    folderList_->scrollTo(index, QAbstractItemView::PositionAtCenter);
    // Moving to the folder already current reports it again, as a fresh start of the panel does.
    currentChanged(index);
}

void TFormOpenDialog::currentChanged(const QModelIndex& index) {
    if (!index.isValid())
        return;
    const QFileInfo info = model_->fileInfo(index);
    const QString folder = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
    if (folder == currentFolder_ && fileName_ == folder)
        return;
    currentFolder_ = folder;
    fileName_ = folder;
    emit FolderChange();
}

void TFormOpenDialog::activated(const QModelIndex& index) {
    const QFileInfo info = model_->fileInfo(index);
    if (!info.isFile())
        return;
    fileName_ = info.absoluteFilePath();
    emit fileChosen(fileName_);
}

void TFormOpenDialog::typeChosen(int) {
    if (model_)
        model_->setNameFilters(currentPatterns());
}
