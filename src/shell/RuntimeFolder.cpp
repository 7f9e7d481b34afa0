#include "shell/RuntimeFolder.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>

namespace RuntimeFolder {
namespace {

// A folder itself (not a link to one), owned by this user, closed to others.
bool isPrivate(const QString &path)
{
    struct stat info { };
    if (lstat(QFile::encodeName(path).constData(), &info) != 0)
        return false;
    return S_ISDIR(info.st_mode) && info.st_uid == getuid() && (info.st_mode & 077) == 0;
}

std::optional<QString> ownFolder()
{
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (cache.isEmpty() || !QDir().mkpath(cache + QStringLiteral("/quillfen")))
        return std::nullopt;
    const QString path = cache + QStringLiteral("/quillfen/run");
    mkdir(QFile::encodeName(path).constData(), 0700);
    return isPrivate(path) ? std::optional(path) : std::nullopt;
}

} // namespace

std::optional<QString> find()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && isPrivate(runtime))
        return runtime;
    return ownFolder();
}

} // namespace RuntimeFolder
