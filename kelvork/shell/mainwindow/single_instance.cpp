#include "single_instance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace kelvork::shell {

QString SingleInstanceLock::runtimeFolder()
{
    const QString xdg = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!xdg.isEmpty() && QFileInfo(xdg).isDir())
        return xdg;
    return QDir::tempPath();
}

SingleInstanceLock::SingleInstanceLock(const QString& name)
{
    QString file = name + QStringLiteral(".lock");
    if (!qEnvironmentVariableIsSet("XDG_RUNTIME_DIR"))   // a shared temporary folder: one per user
        file = name + u'-' + QString::number(getuid()) + QStringLiteral(".lock");
    path_ = runtimeFolder() + u'/' + file;
    fd_ = ::open(QFile::encodeName(path_).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) {
        acquired_ = true;
        return;
    }
    acquired_ = ::flock(fd_, LOCK_EX | LOCK_NB) == 0;
}

SingleInstanceLock::~SingleInstanceLock()
{
    if (fd_ >= 0)
        ::close(fd_);   // closing drops the lock; the file stays for the next start
}

} // namespace kelvork::shell
