// ReadKey on any bytes as an INI file. The value found is trimmed and one
// line long; a key written after the content is found with its value exactly,
// unless the content already holds that key.

#include "fuzzcheck.h"

#include "components/inireader.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cstddef>
#include <cstdint>

namespace {

// In memory where the system offers it: rewriting a file on disk hundreds of
// times a second waits on the disk and would starve the fuzzer.
QString tempTemplate()
{
    const QFileInfo shm(QStringLiteral("/dev/shm"));
    const QString dir = shm.isDir() && shm.isWritable() ? shm.filePath() : QDir::tempPath();
    return dir + QStringLiteral("/zn7-fuzz-ini-XXXXXX");
}

QTemporaryFile &iniFile()
{
    static QTemporaryFile file(tempTemplate());
    static const bool opened = file.open();
    FUZZ_CHECK(opened, file.errorString());
    return file;
}

QString readKey(const QByteArray &content, const QString &key)
{
    QTemporaryFile &file = iniFile();
    FUZZ_CHECK(file.resize(0) && file.seek(0), file.errorString());
    FUZZ_CHECK(file.write(content) == content.size() && file.flush(), file.errorString());
    const QString value = IniReader().ReadKey(file.fileName(), key);
    FUZZ_CHECK(value == IniReader::findKey(content, key), key);
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray content(reinterpret_cast<const char *>(data), qsizetype(size));

    const QString path = readKey(content, QStringLiteral("CONFIGPATH"));
    FUZZ_CHECK(path == path.trimmed() && !path.contains(u'\n'), path);

    const QString appended = QStringLiteral("D:\\ข้อมูล กลาง\\ZN7");
    const QByteArray withKey = content + "\r\n  zzFuzzKey =  " + appended.toUtf8() + " \r\n";
    const QString found = readKey(withKey, QStringLiteral("ZZFUZZKEY"));
    if (!QString::fromUtf8(content).contains(QLatin1String("zzfuzzkey"), Qt::CaseInsensitive))
        FUZZ_CHECK(found == appended, found);
    return 0;
}
