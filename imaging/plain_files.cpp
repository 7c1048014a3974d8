#include "plain_files.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace imaging {

namespace {

const char* const NotRegular = "not a regular file (a folder, a device, a pipe or a socket)";

bool refuse(QString* error, const QString& text) {
    if (error)
        *error = text;
    return false;
}

} // namespace

#ifdef Q_OS_UNIX

namespace {

QString systemReason(int code) {
    return QString::fromLocal8Bit(std::strerror(code));
}

} // namespace

bool openRegularFile(QFile& file, const QString& path, QString* error) {
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    // A first look by name spares a device the open itself.
    if (::stat(name.constData(), &info) != 0)
        return refuse(error, systemReason(errno));
    if (!S_ISREG(info.st_mode))
        return refuse(error, QLatin1String(NotRegular));
    int fd;
    do
        fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return refuse(error, systemReason(errno));
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return refuse(error, QLatin1String(NotRegular));
    }
    // Reading a regular file never waits; the flag was only for the open.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    file.setFileName(path);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return refuse(error, file.errorString());
    }
    return true;
}

#else

bool openRegularFile(QFile& file, const QString& path, QString* error) {
    file.setFileName(path);
    if (!QFileInfo(path).isFile())
        return refuse(error, QLatin1String(NotRegular));
    return file.open(QIODevice::ReadOnly) || refuse(error, file.errorString());
}

#endif

} // namespace imaging
