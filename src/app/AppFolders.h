#pragma once
// The folders the program writes to: the per-user application-data folder (Settings.xml)
// and the per-run temporary folder (thumbnail cache files). UI thread, except TempFolder(),
// which is safe from any thread once created.

#include <cstdint>
#include <QString>

namespace tessary {

// The desktop id: the name of the desktop entry (with ".desktop"), of the icon in the icon
// theme and of the AppStream component.
inline constexpr char kDesktopId[] = "com.orvanne.Tessary";

class AppFolders {
public:
    // Folder of the running executable, with a trailing "/".
    static QString ProgramFolder();
    // "Tessary", from the build's version data.
    static QString ProductName();
    // "/Orvanne/" + product name.
    static QString VendorSubPath();

    // Installed when an uninstaller data file "unins???.dat" lies beside the executable, the
    // executable sits in the configured install prefix's bin folder, or it sits in a folder
    // named "bin" whose prefix holds the desktop entry "share/applications/<desktop id>.desktop"
    // (an install into another prefix, such as a package's /usr); otherwise portable.
    static bool IsInstalled();
    static bool IsInstalledIn(const QString& programFolder, const QString& installedBinFolder);

    // Installed: the per-user data folder + vendor sub-path (or program folder + "Data/" when
    // that cannot be found). Portable: the program folder. With a trailing "/".
    static QString AppDataFolder(bool create = false);
    // The system temporary folder + vendor sub-path.
    static QString TempBaseFolder();
    // The per-run folder "TMP_%08X_%d" under the base, made on first call; empty on failure.
    static QString TempFolder();

    // The first "TMP_%08X_%d" under `base` (counter from 0) that does not exist yet.
    static QString FreeTempFolderName(const QString& base, uint32_t processValue);
    // Creates the folder with all missing parents; an existing folder counts as success.
    static bool CreateFolder(const QString& path);
};

// Result of the start-up folder set-up: which of the two folders could not be made.
struct FolderSetupResult {
    bool appDataFailed = false;
    bool tempFailed = false;
};

// Creates AppDataFolder (installed use only) and TempFolder.
FolderSetupResult SetUpFolders();

} // namespace tessary
