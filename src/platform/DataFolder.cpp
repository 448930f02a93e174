#include "platform/DataFolder.h"

#include <QDir>
#include <QFileInfo>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace xr::platform {

namespace {

QString withTrailingSeparator(QString folder)
{
    if (!folder.endsWith(QDir::separator()))
        folder += QDir::separator();
    return folder;
}

QString groupName(gid_t gid)
{
    if (const group* entry = ::getgrgid(gid))
        return QString::fromLocal8Bit(entry->gr_name);
    return QString::number(gid);
}

} // namespace

QString dataFolder(const QString& programFolder)
{
    if (QFileInfo(QDir(programFolder).filePath(QStringLiteral("XRDB.mdb"))).isFile())
        return withTrailingSeparator(programFolder);
    const QString chosen = qEnvironmentVariable("XARVANE_DATA");
    return withTrailingSeparator(QDir::toNativeSeparators(chosen.isEmpty() ? kInstalledDataFolder : chosen));
}

void shareNewFilesWithFolderGroup(const QString& folder)
{
    struct stat info {};
    if (::stat(QFile::encodeName(folder).constData(), &info) != 0 || !(info.st_mode & S_ISGID))
        return;
    const mode_t current = ::umask(0);
    ::umask(current & ~S_IRWXG);
}

std::optional<QString> dataFolderRefusal(const QString& folder)
{
    const QByteArray path = QFile::encodeName(folder);
    struct stat info {};
    // A folder that is missing is the database's failure, told as such when it is opened.
    if (::stat(path.constData(), &info) != 0 || ::access(path.constData(), R_OK | W_OK | X_OK) == 0)
        return std::nullopt;
    return QStringLiteral("您的账户无权使用数据文件夹 %1。\r\r请系统管理员把您加入 %2 组"
                          "（sudo adduser 您的用户名 %2），然后注销并重新登录，再启动本程序。")
        .arg(folder, groupName(info.st_gid));
}

} // namespace xr::platform
