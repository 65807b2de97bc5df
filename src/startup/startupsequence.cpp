#include "startupsequence.h"

#include "components/datatools.h"
#include "components/inireader.h"
#include "components/library.h"
#include "components/systemsettings.h"
#include "components/texttools.h"

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

QStringList requiredFiles()
{
    return {QStringLiteral("ZN7Command.dat"), QStringLiteral("ZN7Center.dat"),
            QStringLiteral("ZN7Desktop.dat"), QStringLiteral("config.dat")};
}

QString dataFolder(const QString &programFolder, const IniReader &iniReader)
{
    const QString ini = joinPath(programFolder, QLatin1String(kIniFile));
    if (!QFileInfo::exists(ini))
        return programFolder;
    const QString configured = iniReader.ReadKey(ini, QLatin1String(kIniKey));
    return configured.isEmpty() ? programFolder : configured;
}

bool prepare(const QString &executablePath, Library &library, QString &configConnection)
{
    const QFileInfo executable(executablePath);

    const QString applicationPath = programFolder(executable.absolutePath());
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

    library.textTools().setProgramName(executable.completeBaseName().toUpper());
    return true;
}

} // namespace StartupSequence
