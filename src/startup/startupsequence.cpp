#include "startupsequence.h"

#include "components/datatools.h"
#include "components/inireader.h"
#include "components/library.h"
#include "components/systemsettings.h"
#include "components/texttools.h"

#include <QDir>
#include <QFileInfo>

namespace StartupSequence {

QString joinPath(const QString &folder, const QString &fileName)
{
    return folder + u'/' + fileName;
}

QString programFolder(const QString &executableDir)
{
    QString folder = executableDir;
    if (folder.endsWith(u'/'))
        folder.chop(1);
    return folder;
}

QString dataFolder(const QString &programFolder, const QString &configured)
{
    if (configured.isEmpty())
        return programFolder;
    if (QDir::isAbsolutePath(configured))
        return configured;
    return QDir::cleanPath(joinPath(programFolder, configured));
}

QStringList requiredFiles()
{
    return {QStringLiteral("ZN7Command.dat"), QStringLiteral("ZN7Center.dat"),
            QStringLiteral("ZN7Desktop.dat"), QStringLiteral("config.dat")};
}

QString dataFolder(const QString &programFolder, const IniReader &iniReader)
{
    // A FIFO or a folder of that name is no INI file: reading it could hang.
    const QString ini = joinPath(programFolder, QLatin1String(kIniFile));
    const QString configured =
        QFileInfo(ini).isFile() ? iniReader.ReadKey(ini, QLatin1String(kIniKey)) : QString();
    return dataFolder(programFolder, configured);
}

QString programFolderOf(const QString &executablePath)
{
    // Started through a link (bin/zn7tedsr), the program still belongs to the
    // folder of its own file, where its INI file is.
    const QFileInfo executable(executablePath);
    const QString resolved = executable.canonicalFilePath();
    return programFolder(resolved.isEmpty() ? executable.absolutePath() : QFileInfo(resolved).path());
}

bool prepare(const QString &executablePath, Library &library, QString &configConnection)
{
    const QString applicationPath = programFolderOf(executablePath);
    library.systemSettings().setAppPath(applicationPath);

    library.systemSettings().setDataPath(dataFolder(applicationPath, library.iniReader()));

    // Every file is tested before the result is looked at. A folder of the
    // same name is no data file.
    bool complete = true;
    for (const QString &file : requiredFiles()) {
        if (!QFileInfo(joinPath(library.systemSettings().DataPath(), file)).isFile())
            complete = false;
    }
    if (!complete)
        return false;

    const QString password = QLatin1String(kPassword);
    const QString access = QStringLiteral("ACCESS");
    auto connectionOf = [&](const QString &file) {
        return library.dataTools().BuildConnection(access, library.systemSettings().DataPath(),
                                                   file, password, {}, {}, {});
    };
    SystemSettings &settings = library.systemSettings();
    settings.setCommandConnection(connectionOf(QStringLiteral("ZN7Command.dat")));
    settings.setCenterConnection(connectionOf(QStringLiteral("ZN7Center.dat")));
    settings.setDesktopConnection(connectionOf(QLatin1String(kDesignFile)));
    settings.setDatabaseConnection(connectionOf(QStringLiteral("ZN7Database.mdb")));

    settings.setExchangeLogIni(joinPath(settings.DataPath(), QStringLiteral("ZN7ExchangeLog.ini")));
    settings.setPrinterIni(joinPath(settings.DataPath(), QStringLiteral("ZN7Printer.ini")));

    configConnection = connectionOf(QStringLiteral("config.dat"));

    library.textTools().setProgramName(QFileInfo(executablePath).completeBaseName().toUpper());
    return true;
}

} // namespace StartupSequence
