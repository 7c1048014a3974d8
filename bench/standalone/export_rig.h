// SPDX-License-Identifier: MIT
#pragma once
// A stand-alone export with the parts it works with, for the benchmarks: a show, a window with its
// status line, the settings dialog, an imaging control, and the head, player and run-time of the
// build.

#include "save_exe_dialog.h"
#include "shared_flags.h"
#include "show_document.h"
#include "standalone_export.h"
#include "tphoto.h"

#include <QLabel>
#include <QWidget>

#include <memory>

// The folder of the build's verasco1.dat, verasco2.dat and verasco3.dat.
QString buildProgramsFolder();

class ExportRig {
  public:
    // `codec` converts the music; unset, the codec module does.
    explicit ExportRig(sharing::CodecBackend* codec = nullptr);
    // The show becomes `count` slides of the same picture, with `music` as its music (none if empty).
    void setSlides(const QString& image, int count, const QString& music = {});
    // Writes the package at the opening quality; the failure's texts, or empty.
    QString write(const QString& target, PackagePlatform platform = PackagePlatform::Linux);

  private:
    ShowDocument show_;
    QString slideDirectory_;
    QWidget window_;
    QLabel* status_;
    SharedFlags flags_;
    Tsaveexedlg dialog_;
    TPhoto photo_;
    std::unique_ptr<StandaloneExport> exporter_;
};
