#include "AppFolders.h"

#include <mutex>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "TessaryVersion.h"
#include "util/Paths.h"
#include "util/Text.h"

namespace tessary {

QString AppFolders::ProgramFolder()
{
    const QFileInfo exe(QStringLiteral("/proc/self/exe"));
    return WithTrailingSlash(QFileInfo(exe.canonicalFilePath()).absolutePath());
}

QString AppFolders::ProductName()
{
    return QStringLiteral(TESSARY_PRODUCT_NAME);
}

QString AppFolders::VendorSubPath()
{
    return FillPlaceholder(FillPlaceholder(QStringLiteral("/%1/%2"), QStringLiteral("Orvanne")), ProductName());
}

bool AppFolders::IsInstalledIn(const QString& programFolder, const QString& installedBinFolder)
{
    const QDir dir(programFolder);
    if (!dir.entryList({QStringLiteral("unins???.dat")}, QDir::Files).isEmpty())
        return true;
    if (!installedBinFolder.isEmpty() && SamePath(programFolder, installedBinFolder))
        return true;
    // The prefix compiled in is only where the build meant to go: a package built for /usr
    // from a /usr/local build, or an install into a staging folder, is known by its files.
    const QString folder = QDir::cleanPath(programFolder);
    if (QFileInfo(folder).fileName() != QLatin1String("bin"))
        return false;
    const QString entry = QStringLiteral("/../share/applications/%1.desktop").arg(QLatin1String(kDesktopId));
    return QFileInfo(folder + entry).isFile();
}

bool AppFolders::IsInstalled()
{
    return IsInstalledIn(ProgramFolder(), QStringLiteral(TESSARY_INSTALL_BINDIR));
}

QString AppFolders::AppDataFolder(bool create)
{
    QString folder;
    if (!IsInstalled()) {
        folder = ProgramFolder();
    } else {
        const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        folder = data.isEmpty() ? ProgramFolder() + QStringLiteral("Data/")
                                : WithTrailingSlash(data + VendorSubPath());
    }
    if (create)
        CreateFolder(folder);
    return folder;
}

QString AppFolders::TempBaseFolder()
{
    const QString temp = QDir::tempPath();
    if (temp.isEmpty())
        return ProgramFolder() + QStringLiteral("Temp");
    return temp + VendorSubPath();
}

QString AppFolders::FreeTempFolderName(const QString& base, uint32_t processValue)
{
    const QString prefix = WithTrailingSlash(base);
    for (int counter = 0;; ++counter) {
        const QString path = prefix + QString::asprintf("TMP_%08X_%d", processValue, counter);
        if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
            return path;
    }
}

QString AppFolders::TempFolder()
{
    static QString folder;
    static std::once_flag once;
    std::call_once(once, [] {
        const QString path = FreeTempFolderName(TempBaseFolder(), uint32_t(::getpid()));
        if (CreateFolder(path))
            folder = path;
    });
    return folder;
}

bool AppFolders::CreateFolder(const QString& path)
{
    if (path.isEmpty())
        return false;
    return QDir().mkpath(path);
}

FolderSetupResult SetUpFolders()
{
    FolderSetupResult r;
    if (AppFolders::IsInstalled() && !AppFolders::CreateFolder(AppFolders::AppDataFolder(false)))
        r.appDataFailed = true;
    r.tempFailed = AppFolders::TempFolder().isEmpty();
    return r;
}

} // namespace tessary
