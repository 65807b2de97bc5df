#include "workload.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringEncoder>
#include <QTemporaryDir>

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

QString shortLinesPath()
{
    static const QString path = [] {
        const QString target = runFolder().filePath(QStringLiteral("lines.PAT"));
        QFile file(target);
        const QByteArray bytes = "[T];BANK;\r\n" + QByteArray("[H];[C]:A\r\n").repeated(kShortLines);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? target : QString();
    }();
    return path;
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
