#pragma once

#include <QString>

// Folders, connection texts and INI paths of the shared installation. Start-up
// fills it once; everything else only reads it.
class SystemSettings final
{
public:
    QString AppPath() const { return m_appPath; }
    void setAppPath(const QString &path) { m_appPath = path; }
    QString DataPath() const { return m_dataPath; }
    void setDataPath(const QString &path) { m_dataPath = path; }

    QString CommandConnection() const { return m_commandConnection; }
    void setCommandConnection(const QString &text) { m_commandConnection = text; }
    QString CenterConnection() const { return m_centerConnection; }
    void setCenterConnection(const QString &text) { m_centerConnection = text; }
    QString DesktopConnection() const { return m_desktopConnection; }
    void setDesktopConnection(const QString &text) { m_desktopConnection = text; }
    QString DatabaseConnection() const { return m_databaseConnection; }
    void setDatabaseConnection(const QString &text) { m_databaseConnection = text; }
    QString ExchangeLogIni() const { return m_exchangeLogIni; }
    void setExchangeLogIni(const QString &path) { m_exchangeLogIni = path; }
    QString PrinterIni() const { return m_printerIni; }
    void setPrinterIni(const QString &path) { m_printerIni = path; }

    // The database that holds the working modes and the exportable fields:
    // the desktop database of the installation.
    QString DesignConnection() const { return m_desktopConnection; }

private:
    QString m_appPath;
    QString m_dataPath;
    QString m_commandConnection;
    QString m_centerConnection;
    QString m_desktopConnection;
    QString m_databaseConnection;
    QString m_exchangeLogIni;
    QString m_printerIni;
};
