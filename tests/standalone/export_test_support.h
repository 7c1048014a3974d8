// SPDX-License-Identifier: MIT
#pragma once
// A stand-alone export with everything it works with made for a test: a show of pictures and sounds
// written into a folder of the test's own, the window, status line, dialog and imaging control, a
// temporary folder of its own (so that a test sees everything the export leaves there), and the
// program's questions and messages answered and recorded.

#include "file_bytes.h"
#include "save_exe_dialog.h"
#include "shared_flags.h"
#include "show_document.h"
#include "standalone_export.h"
#include "test_shows.h"
#include "tphoto.h"

#include <QLabel>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

#include <deque>
#include <memory>

class ExportSetup {
  public:
    ExportSetup();
    ~ExportSetup();
    ExportSetup(const ExportSetup&) = delete;
    ExportSetup& operator=(const ExportSetup&) = delete;

    // A picture written into the pictures folder (the format follows the name's extension).
    QString picture(const QString& name, QSize size = {64, 48});
    // The sample photograph of the project, copied into the pictures folder under `name`.
    QString photo(const QString& name);
    // A file of the given bytes in the pictures folder.
    QString file(const QString& name, const QByteArray& bytes);
    // Appends a slide, its paths stored as the program stores them, changed further by `edit`.
    void addSlide(const QString& image, const QString& audio = {}, const test_shows::Edit& edit = {});

    StandaloneExport& exporter();
    // Entries of the temporary folder the export used.
    QStringList temporaryEntries() const;
    QString target(const QString& name) const { return root.filePath(name); }

    QTemporaryDir root;
    QString pictures;
    // The head and run-time of the build, and a stand-in player that reports what it finds.
    QString programs;
    ShowDocument show;
    QString slideDirectory;
    PlayerOptions options;
    // The setting the settings dialog starts from and keeps its choice in: packages that run here.
    QString packagePlatform = QStringLiteral("Linux");
    QString showPath;                       // the show file's path; empty for a show never saved
    sharing::CodecBackend* codec = nullptr; // converts the music; unset, the codec module does
    QWidget window;
    QLabel* status = nullptr;
    SharedFlags flags;
    Tsaveexedlg dialog;
    TPhoto photoControl;
    std::deque<bool> overwriteAnswers; // answers to the overwrite question, in turn
    int overwriteQuestions = 0;
    bool blankAnswer = false; // the answer to every other question
    QStringList questions;    // "text|line2" of each other question asked
    QStringList messages;     // "caption|text|line2" of each message shown
    // The window and its status line as the last message found them.
    bool enabledAtMessage = false;
    QString statusAtMessage;

  private:
    QByteArray oldTmpDir_;
    std::unique_ptr<StandaloneExport> exporter_;
};

class ExportTest : public ::testing::Test, public ExportSetup {};
