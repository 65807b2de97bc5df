#include "workload.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <functional>

namespace {

QTemporaryDir &runFolder()
{
    static QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/zn7bench-XXXXXX"));
    return folder;
}

// Cells as a designer saves them: data fields of the BANK mode and of ALL,
// and constants in Thai and ASCII, some with line-break markers.
const QString kDescriptors[] = {
    QStringLiteral("[F]:{DOCNO}:10:R:0:::0"),
    QStringLiteral("[F]:{PAYEENAME}:40:L: :::1"),
    QStringLiteral("[F]:{PAYAMT}:15:R:0:::0"),
    QStringLiteral("[F]:{EFFDATE}:8:L::::0"),
    QStringLiteral("[F]:{PAYEEACC}:10:L:0:\":\":0"),
    QStringLiteral("[F]:{BANKCODE}:3:C:::|:0"),
};
const QString kConstants[] = {
    QStringLiteral("[C]:บริษัท สยามเทรดดิ้ง จำกัด"),
    QStringLiteral("[C]:H"),
    QStringLiteral("[C]:ยอดรวม{NL}"),
    QStringLiteral("[C]:โอนเงินผ่านธนาคาร"),
    QStringLiteral("[C]:,"),
};
const QString kTags[] = {QStringLiteral("[H]"), QStringLiteral("[D]"), QStringLiteral("[G]")};

} // namespace

namespace Workload {

QByteArray patternBytes(int rows)
{
    QString text = QStringLiteral("[T];BANK;\r\n");
    for (int r = 0; r < rows; ++r) {
        text += kTags[r % 3];
        for (int c = 0; c < kCellsPerRow; ++c) {
            text += u';';
            // Two data fields to one constant, shifted per row so that no two
            // neighbouring rows are alike.
            const int k = r + c;
            text += k % 3 == 2 ? kConstants[k % 5] : kDescriptors[k % 6];
        }
        text += QLatin1String("\r\n");
    }
    return QStringEncoder("windows-874").encode(text);
}

QString patternPath(int rows)
{
    static QHash<int, QString> written;
    const auto known = written.constFind(rows);
    if (known != written.cend())
        return *known;
    const QString path = runFolder().filePath(QStringLiteral("rows%1.PAT").arg(rows));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(patternBytes(rows)) < 0)
        return {};
    written.insert(rows, path);
    return path;
}

namespace {

QString writtenOnce(const QString &name, const std::function<QByteArray()> &bytes)
{
    static QHash<QString, QString> written;
    const auto known = written.constFind(name);
    if (known != written.cend())
        return *known;
    const QString path = runFolder().filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes()) < 0)
        return {};
    written.insert(name, path);
    return path;
}

} // namespace

QString exportPatternPath()
{
    return writtenOnce(QStringLiteral("export.PAT"), [] {
        const QString text = QStringLiteral("[T];BANK;\r\n[H];[C]:H;[F]:{COMPACCNO}:10:L: :::0;[F]:{EFFDATE}:8:L: :::0;[C]:")
                           + QString(27, u' ')
                           + QStringLiteral("\r\n[D];[C]:D;[F]:{PAYEEACC}:10:L: :::0;[F]:{PAYAMT}:15:R:0:::0;"
                                            "[F]:{PAYEENAME}:20:L: :::0\r\n"
                                            "[H];[C]:T;[F]:{RECCOUNT}:5:R:0:::0;[F]:{TOTALAMT}:15:R:0:::0;[C]:")
                           + QString(25, u' ') + QStringLiteral("\r\n");
        return QByteArray(QStringEncoder("windows-874").encode(text));
    });
}

QString exportFilePath(int lines)
{
    return writtenOnce(QStringLiteral("export%1.txt").arg(lines), [lines] {
        QString text = QStringLiteral("H1234567890") + QStringLiteral("10122026") + QString(27, u' ') + QStringLiteral("\r\n");
        for (int i = 0; i < lines - 2; ++i)
            text += QStringLiteral("D%1%2%3\r\n").arg(i, 10, 10, QLatin1Char('0')).arg(qint64(i) * 7, 15, 10, QLatin1Char('0'))
                        .arg(QStringLiteral("นายสมชาย %1").arg(i % 1000), -20);
        text += QStringLiteral("T%1%2").arg(lines - 2, 5, 10, QLatin1Char('0')).arg(0, 15, 10, QLatin1Char('0'))
              + QString(25, u' ') + QStringLiteral("\r\n");
        return QByteArray(QStringEncoder("windows-874").encode(text));
    });
}

QString changedPatternPath()
{
    return writtenOnce(QStringLiteral("changed10000.PAT"), [] {
        QByteArray bytes = patternBytes(10000);
        qsizetype line = 0;
        for (int n = 0; n < 5000; ++n)
            line = bytes.indexOf('\n', line) + 1;
        const qsizetype at = bytes.indexOf(":40:", line);
        return bytes.replace(at, 4, ":45:");
    });
}

QString layoutTablePath()
{
    return writtenOnce(QStringLiteral("table.csv"), [] {
        return QByteArray("record,field,start,length,value\r\nH,DOCNO,1,10,\r\nH,PAYEENAME,11,40,\r\n"
                          "D,type,1,1,H\r\nD,PAYAMT,2,15,\r\nT,EFFDATE,1,8,\r\n");
    });
}

QString shortLinesPath()
{
    return writtenOnce(QStringLiteral("lines.PAT"),
                       [] { return "[T];BANK;\r\n" + QByteArray("[H];[C]:A\r\n").repeated(kShortLines); });
}

QString fieldDatabasePath()
{
    static const QString path = [] {
        const QString target = runFolder().filePath(QStringLiteral("ZN7Desktop.dat"));
        if (!QFile::copy(QStringLiteral(ZN7_SAMPLE_DESKTOP), target))
            return QString();
        bool ok = false;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"),
                                                        QStringLiteral("zn7bench-fill"));
            db.setDatabaseName(target);
            if (db.open() && db.transaction()) {
                QSqlQuery query(db);
                ok = query.exec(QStringLiteral("INSERT INTO ZN7TTextExportMode VALUES ('%1', 'ทดสอบ %2 ฟิลด์')")
                                    .arg(QLatin1String(kBigMode)).arg(kFieldCount));
                ok = ok && query.prepare(QStringLiteral("INSERT INTO ZN7TTextExportField VALUES (?, ?, ?, ?, ?)"));
                for (int i = 0; ok && i < kFieldCount; ++i) {
                    const QString n = QString::number(i).rightJustified(4, u'0');
                    query.addBindValue(QLatin1String(kBigMode));
                    query.addBindValue(QStringLiteral("{FLD%1}").arg(n));
                    query.addBindValue(QStringLiteral("ฟิลด์ทดสอบลำดับที่ %1").arg(n));
                    query.addBindValue(QStringLiteral("ตัวอย่าง %1").arg(n));
                    query.addBindValue(QStringLiteral("SAMPLE%1").arg(n));
                    ok = query.exec();
                }
                ok = ok && db.commit();
            }
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("zn7bench-fill"));
        return ok ? target : QString();
    }();
    return path;
}

QString scratchPath(const QString &name)
{
    return runFolder().filePath(name);
}

} // namespace Workload
