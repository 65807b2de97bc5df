#pragma once

#include <QString>
#include <QStringList>

class IniReader;
class Library;

// Where the installation's files are and whether it is complete.
namespace StartupSequence {

inline constexpr char kPassword[] = "qp71958";
inline constexpr char kIniFile[] = "ZN7ConfigPath.ini";
inline constexpr char kIniKey[] = "CONFIGPATH";

// Folder and file joined with the native separator, unchanged otherwise:
// "/data/" and "a.dat" give "/data//a.dat".
QString joinPath(const QString &folder, const QString &fileName);

// The program folder from the folder of the executable: a trailing separator
// (the root folder "/") is removed, so the root gives "".
QString programFolder(const QString &executableDir);

// The data folder the INI file's CONFIGPATH names: none (empty) gives the
// program folder; an absolute path is taken unchanged, a trailing separator
// and all; a relative one is taken from the program folder, not from the
// working folder, so that an installation works wherever it is unpacked.
QString dataFolder(const QString &programFolder, const QString &configured);

// The files that must exist in the data folder, in the order they are tested.
QStringList requiredFiles();

// The data folder of a program folder from the INI file beside the program
// (read only when it is a regular file): its CONFIGPATH as dataFolder takes
// it, or the program folder without the file.
QString dataFolder(const QString &programFolder, const IniReader &iniReader);

// The design database's file in a data folder.
inline constexpr char kDesignFile[] = "ZN7Desktop.dat";

// The program folder of an executable: the folder of the executable's own
// file, a symbolic link to it followed (bin/zn7tedsr), a trailing separator
// removed.
QString programFolderOf(const QString &executablePath);

// Steps of start-up before any window: program folder (programFolderOf),
// data folder from the
// INI file, the test of the required files, connection texts, INI paths and
// the program name, each recorded in the library objects, which are created
// as each step first needs them. Returns false, having recorded nothing past
// the data folder, when a required file is missing. `configConnection`
// receives the connection text of config.dat.
bool prepare(const QString &executablePath, Library &library, QString &configConnection);

} // namespace StartupSequence
