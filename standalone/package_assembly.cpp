#include "package_assembly.h"

#include "comp_lha.h"
#include "shipped_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace {

QString writeFailed() {
    return QStringLiteral("The stand-alone show could not be written.");
}

ExportError failure(const QString& path, const QString& reason) {
    return {writeFailed(), QDir::toNativeSeparators(path) + QStringLiteral(": ") + reason};
}

std::optional<ExportError> copyProgram(const QString& from, const QString& to) {
    QFile in(from);
    if (QFile::exists(to))
        QFile::remove(to);
    if (!in.copy(to))
        return failure(from, in.errorString());
    return std::nullopt;
}

// Read and execute for everybody, write for the owner, as far as the user's file mask allows.
void makeExecutable(const QString& path) {
    const mode_t mask = umask(0);
    umask(mask);
    chmod(QFile::encodeName(path).constData(), 0755 & ~mask);
}

// The head's bytes, then the members.
void writePackage(std::ostream& out, const AssemblyJob& job) {
    QFile head(QDir(job.programsFolder).filePath(QLatin1String(ExportHeadFileName)));
    if (!head.open(QIODevice::ReadOnly))
        throw std::runtime_error((head.fileName() + QStringLiteral(": ") + head.errorString()).toStdString());
    const QByteArray headBytes = head.readAll();
    out.write(headBytes.constData(), headBytes.size());
    verasco::archive::TCompLHA lha;
    lha.StorePath = false;
    lha.ExceptionOnFileError = true;
    std::vector<std::string> files;
    lha.FindFiles(files, QFile::encodeName(job.packageFolder).toStdString(), false, "*.*");
    lha.CompressToStream(out, files, verasco::archive::TCompLHAMethod::colh5);
    out.flush();
    if (!out)
        throw std::runtime_error("write error");
}

} // namespace

std::optional<ExportError> assemblePackage(const AssemblyJob& job) {
    const QDir programs(job.programsFolder), folder(job.packageFolder);
    if (auto error = copyProgram(programs.filePath(QLatin1String(ExportPlayerFileName)),
                                 folder.filePath(QFileInfo(job.target).fileName())))
        return error;
    if (auto error = copyProgram(programs.filePath(QLatin1String(ExportRuntimeFileName)),
                                 folder.filePath(QLatin1String(RuntimeMemberName))))
        return error;

    QTemporaryFile work(job.target + QStringLiteral(".XXXXXX"));
    if (!work.open())
        return failure(job.target, work.errorString());
    work.close();
    const std::string workName = QFile::encodeName(work.fileName()).toStdString();
    try {
        std::fstream out(workName, std::ios::in | std::ios::out | std::ios::binary | std::ios::trunc);
        if (!out)
            throw std::runtime_error("cannot open the file");
        writePackage(out, job);
        out.close();
        if (!out)
            throw std::runtime_error("write error");
    } catch (const std::exception& e) {
        return failure(job.target, QString::fromLocal8Bit(e.what()));
    }
    makeExecutable(work.fileName());
    std::error_code ec;
    std::filesystem::rename(workName, QFile::encodeName(job.target).toStdString(), ec);
    if (ec)
        return failure(job.target, QString::fromLocal8Bit(ec.message().c_str()));
    work.setAutoRemove(false);
    return std::nullopt;
}
