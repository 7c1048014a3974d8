// SPDX-License-Identifier: MIT
#include "package_assembly.h"

#include "comp_lha.h"
#include "lha_errors.h"
#include "plain_files.h"
#include "shipped_files.h"
#include "work_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>
#include <ostream>
#include <streambuf>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

QString writeFailed() {
    return QCoreApplication::translate("StandaloneExport", "The stand-alone show could not be written.");
}

ExportError failure(const QString& path, const QString& reason) {
    return {writeFailed(), QDir::toNativeSeparators(path) + QStringLiteral(": ") + reason};
}

// Why the packing stopped: a message of the archive engine made from a form in the program's language.
QString packingReason(const std::exception& e) {
    const auto* message = dynamic_cast<const verasco::archive::LhaMessage*>(&e);
    if (!message || !message->form())
        return QString::fromLocal8Bit(e.what());
    const QString form = QCoreApplication::translate("ArchiveEngine", message->form());
    return std::strstr(message->form(), "%1") ? form.arg(QString::fromLocal8Bit(message->subject())) : form;
}

// A program of the package copied into its folder: what cannot be read is named by the program,
// what cannot be written by the copy.
std::optional<ExportError> copyProgram(const QString& from, const QString& to) {
    QFile in(from), out(to);
    if (!in.open(QIODevice::ReadOnly))
        return failure(from, in.errorString());
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError)
        return failure(from, in.errorString());
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered) ||
        !out.setPermissions(in.permissions()) || !imaging::writeAll(out, bytes.constData(), bytes.size()))
        return failure(to, out.errorString());
    return std::nullopt;
}

// Writes into an open QFile, so that the package is written through the descriptor of the file
// made for it, never through a name that could be made to point elsewhere meanwhile.
class FileWriteBuffer : public std::streambuf {
  public:
    explicit FileWriteBuffer(QFile& file) : file_(file), buffer_(1 << 16) { resetBuffer(); }

  protected:
    int overflow(int c) override {
        if (sync() != 0)
            return traits_type::eof();
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    int sync() override {
        const char* bytes = pbase();
        const qint64 n = pptr() - pbase();
        resetBuffer();
        return n == 0 || imaging::writeAll(file_, bytes, n) ? 0 : -1;
    }
    pos_type seekoff(off_type offset, std::ios_base::seekdir from, std::ios_base::openmode) override {
        if (sync() != 0)
            return pos_type(off_type(-1));
        const qint64 base = from == std::ios_base::beg   ? 0
                            : from == std::ios_base::cur ? file_.pos()
                                                         : file_.size();
        return file_.seek(base + offset) ? pos_type(file_.pos()) : pos_type(off_type(-1));
    }
    pos_type seekpos(pos_type position, std::ios_base::openmode which) override {
        return seekoff(off_type(position), std::ios_base::beg, which);
    }

  private:
    void resetBuffer() { setp(buffer_.data(), buffer_.data() + buffer_.size()); }

    QFile& file_;
    std::vector<char> buffer_;
};

// The package file while it is written beside its target: a new work file (never through a link or
// over another file), its names given to `partialFile` before it is made; removed when it goes
// unless it was kept.
class PartialPackage : public QFile {
  public:
    // Empty, or why the file could not be made.
    QString create(const AssemblyJob& job) {
        QByteArray name;
        std::function<void(const QByteArray&, const QByteArray&)> announce;
        if (job.partialFile)
            announce = [&job](const QByteArray& path, const QByteArray& madeAs) {
                job.partialFile(QFile::decodeName(path), QFile::decodeName(madeAs));
            };
        const int fd = imaging::createWorkFile(QFile::encodeName(job.target), 0666, name, lock_, announce);
        if (fd < 0)
            return QString::fromLocal8Bit(std::strerror(errno));
        path_ = QFile::decodeName(name);
        // Unbuffered (the package is written through a buffer of its own), so that a failed write
        // says why.
        if (open(fd, QIODevice::ReadWrite | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle))
            return {};
        ::close(fd);
        ::unlink(name.constData());
        return errorString();
    }
    // A file opened on its descriptor has no name of its own.
    QString path() const { return path_; }
    void keep() { kept_ = true; }
    ~PartialPackage() override {
        if (isOpen() && !kept_) {
            close();
            QFile::remove(path_);
        }
    }

  private:
    QString path_;
    imaging::WorkLock lock_;
    bool kept_ = false;
};

// Read and execute for everybody, write for the owner, as far as the user's file mask allows.
void makeExecutable(QFile& file) {
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(file.handle(), 0755 & ~mask);
}

// The head's bytes, then the members: each file the export put into the package folder under its
// member name. A file that could not be packed fails the package.
void writePackage(std::ostream& out, const AssemblyJob& job, const std::vector<PackageFile>& members) {
    QFile head(QDir(job.programsFolder).filePath(QLatin1String(PackagePrograms::names(job.platform).head)));
    if (!head.open(QIODevice::ReadOnly))
        throw std::runtime_error((head.fileName() + QStringLiteral(": ") + head.errorString()).toStdString());
    const QByteArray headBytes = head.readAll();
    out.write(headBytes.constData(), headBytes.size());
    std::map<std::string, std::string> names;
    std::vector<std::string> files;
    for (const PackageFile& f : members) {
        if (!QFileInfo(f.path).isFile())
            throw std::runtime_error(
                QCoreApplication::translate("StandaloneExport", "%1: it could not be packed")
                    .arg(f.member)
                    .toStdString());
        files.push_back(QFile::encodeName(f.path).toStdString());
        names[files.back()] = QFile::encodeName(f.member).toStdString();
    }
    verasco::archive::TCompLHA lha;
    lha.StorePath = false;
    lha.ExceptionOnFileError = true;
    lha.OnCheckFile = [&names](const std::string& path, std::string& name, uint32_t,
                               verasco::archive::TCompLHAProcessMode) { name = names.at(path); };
    lha.CompressToStream(out, files, verasco::archive::TCompLHAMethod::colh5);
    if (files.size() != members.size())
        throw std::runtime_error(
            QCoreApplication::translate("StandaloneExport", "a file of the package could not be packed")
                .toStdString());
    out.flush();
    if (!out)
        throw std::runtime_error(
            QCoreApplication::translate("StandaloneExport", "write error").toStdString());
}

} // namespace

std::optional<ExportError> assemblePackage(const AssemblyJob& job) {
    const QDir programs(job.programsFolder), folder(job.packageFolder);
    std::vector<PackageFile> members = {
        {folder.filePath(QStringLiteral("player")), QFileInfo(job.target).fileName()},
        {folder.filePath(QStringLiteral("runtime")), QLatin1String(RuntimeMemberName)}};
    const PackagePrograms::Names names = PackagePrograms::names(job.platform);
    if (auto error = copyProgram(programs.filePath(QLatin1String(names.player)), members[0].path))
        return error;
    if (auto error = copyProgram(programs.filePath(QLatin1String(names.runtime)), members[1].path))
        return error;
    members.insert(members.end(), job.files.begin(), job.files.end());

    PartialPackage work;
    if (const QString why = work.create(job); !why.isEmpty())
        return failure(job.target, why);
    try {
        FileWriteBuffer buffer(work);
        std::ostream out(&buffer);
        writePackage(out, job, members);
        if (!work.flush())
            throw std::runtime_error(work.errorString().toStdString());
    } catch (const std::exception& e) {
        return failure(job.target,
                       work.error() != QFileDevice::NoError ? work.errorString() : packingReason(e));
    }
    makeExecutable(work);
    std::error_code ec;
    std::filesystem::rename(QFile::encodeName(work.path()).toStdString(),
                            QFile::encodeName(job.target).toStdString(), ec);
    if (ec)
        return failure(job.target, QString::fromLocal8Bit(ec.message().c_str()));
    work.keep();
    return std::nullopt;
}
