// SPDX-License-Identifier: MIT
#include "export_rig.h"

#include "show_extension.h"

#include <QFile>

QString buildProgramsFolder() {
    return QStringLiteral(VERASCO_BINARY_DIR "/app");
}

ExportRig::ExportRig(sharing::CodecBackend* codec)
    : status_(new QLabel(QStringLiteral("Images: 0"), &window_)) {
    ExportParts parts;
    parts.show = &show_;
    parts.slideDirectory = &slideDirectory_;
    parts.playerOptions = [] { return PlayerOptions(); };
    parts.window = &window_;
    parts.status = status_;
    parts.flags = &flags_;
    parts.dialog = &dialog_;
    parts.photo = &photo_;
    parts.prompts.overwrite = [] { return true; };
    parts.prompts.message = [](const QString&, const QString&, const QString&) {};
    parts.programsFolder = buildProgramsFolder();
    parts.codec = codec;
    exporter_ = std::make_unique<StandaloneExport>(std::move(parts));
}

void ExportRig::setSlides(const QString& image, int count, const QString& music) {
    show_.clear();
    ShowSlide slide{show_.freshRecord(), {}};
    slide.record.ImageFile.assign(QFile::encodeName(image).toStdString());
    show_.insert(0, QList<ShowSlide>(count, slide));
    show_.setShowData(music.isEmpty() ? QJsonObject() : ShowExtension::withMusic({}, {music}));
}

QString ExportRig::write(const QString& target, PackagePlatform platform) {
    const auto error = exporter_->write(target, qualityPreset(11), platform);
    return error ? error->text + QLatin1Char(' ') + error->line2 : QString();
}
