#include "recoveryfile.h"

#include "components/patterngrid.h"
#include "designer/patternfile.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringEncoder>
#include <QUrl>

namespace {

const QByteArray kMagic = QByteArrayLiteral("ZN7TEDSR-RECOVERY ");
// Change detection only; the fastest of Qt's hashes (see filefingerprint.cpp).
constexpr auto kHash = QCryptographicHash::Sha1;
constexpr int kHeaderLineMax = 80;

QString tr(const char *text)
{
    return QCoreApplication::translate("RecoveryFile", text);
}

// The payload and its hash, taken a row at a time while the row's bytes are
// still in the cache: a copy of 10,000 rows of 100 cells is near 30 MB.
QByteArray payloadOf(const KeptPattern &pattern, QCryptographicHash &hash)
{
    const bool onDisk = !pattern.onDisk.isNull() && pattern.onDisk.path() == pattern.fileName;
    QByteArray out = "file " + QUrl::toPercentEncoding(pattern.fileName, "/") + "\nmode "
                     + QUrl::toPercentEncoding(pattern.mode) + "\ndisk "
                     + (onDisk ? pattern.onDisk.toText().toLatin1() : QByteArray("none")) + "\n\n";
    hash.addData(out);
    QStringEncoder encoder(QStringEncoder::Utf8);
    for (const QString &row : pattern.rows) {
        if (row.isEmpty())
            continue;
        const qsizetype start = out.size();
        const qsizetype needed = start + encoder.requiredSpace(row.size()) + 2;
        if (needed > out.capacity())
            out.reserve(qMax(needed, 2 * out.capacity()));
        out.resize(needed);
        char *end = encoder.appendToBuffer(out.data() + start, row);
        *end++ = '\r';
        *end++ = '\n';
        out.resize(end - out.constData());
        hash.addData(QByteArrayView(out.constData() + start, out.size() - start));
    }
    return out;
}

// The value of the header line `key`, which must come next; nothing else.
std::optional<QByteArrayView> take(QByteArrayView &rest, const char *key)
{
    const qsizetype end = rest.indexOf('\n');
    const QByteArrayView prefix(key);
    if (end < 0 || !rest.first(end).startsWith(prefix))
        return std::nullopt;
    const QByteArrayView value = rest.sliced(prefix.size(), end - prefix.size());
    rest = rest.sliced(end + 1);
    return value;
}

} // namespace

QStringList KeptPattern::rowsOf(const PatternGrid &grid)
{
    QStringList rows;
    rows.reserve(grid.RowCount());
    for (int r = 1; r <= grid.RowCount(); ++r)
        rows.append(PatternFile::rowLine(grid, r));
    return rows;
}

void KeptPattern::loadRows(PatternGrid &grid) const
{
    // loadRows skips a pattern file's first line, its mode line.
    PatternFile::loadRows(QStringList{QString()} + rows, grid);
}

bool RecoveryWriter::write(QIODevice &device, const KeptPattern &pattern)
{
    m_error.clear();
    QCryptographicHash hash(kHash);
    const QByteArray payload = payloadOf(pattern, hash);
    const QByteArray header = kMagic + QByteArray::number(RecoveryFile::kVersion) + '\n'
                              + QByteArray::number(payload.size()) + ' ' + hash.result().toHex() + '\n';
    if (!device.isOpen() && !device.open(QIODevice::WriteOnly)) {
        m_error = device.errorString();
        return false;
    }
    if (device.write(header) != header.size() || device.write(payload) != payload.size()) {
        m_error = device.errorString();
        return false;
    }
    return true;
}

bool RecoveryWriter::save(const QString &fileName, const KeptPattern &pattern)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        m_error = file.errorString();
        return false;
    }
    if (!write(file, pattern)) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        m_error = file.errorString();
        return false;
    }
    return true;
}

bool RecoveryReader::fail(const QString &error)
{
    m_pattern = {};
    m_error = error;
    return false;
}

bool RecoveryReader::read(QIODevice &device)
{
    m_pattern = {};
    m_error.clear();
    if (!device.isOpen() && !device.open(QIODevice::ReadOnly))
        return fail(device.errorString());
    // Both header lines are short; a longer one is no header.
    const QByteArray first = device.readLine(kHeaderLineMax);
    if (!first.startsWith(kMagic) || !first.endsWith('\n'))
        return fail(tr("It is not a recovery file."));
    bool ok = false;
    const int version = first.sliced(kMagic.size()).chopped(1).toInt(&ok);
    if (!ok || version != RecoveryFile::kVersion)
        return fail(tr("It was written by another version of the designer."));
    const QByteArray second = device.readLine(kHeaderLineMax);
    const QList<QByteArray> sizeAndHash = second.chopped(second.endsWith('\n') ? 1 : 0).split(' ');
    const qint64 size = sizeAndHash.value(0).toLongLong(&ok);
    const QByteArray hash = QByteArray::fromHex(sizeAndHash.value(1));
    if (!second.endsWith('\n') || sizeAndHash.size() != 2 || !ok || size < 0 || size > RecoveryFile::kMaxPayload
        || hash.toHex() != sizeAndHash[1] || hash.size() != QCryptographicHash::hashLength(kHash))
        return fail(tr("Its header is damaged."));
    // A file shorter than it says is cut short: nothing is taken for it.
    if (!device.isSequential() && device.size() - device.pos() != size)
        return fail(tr("It is cut short or longer than it says (%1 bytes, not %2).")
                        .arg(device.size() - device.pos()).arg(size));
    const QByteArray payload = device.read(size);
    if (payload.size() != size || !device.atEnd())
        return fail(tr("It is cut short or longer than it says."));
    if (QCryptographicHash::hash(payload, kHash) != hash)
        return fail(tr("Its content is damaged."));

    QByteArrayView rest(payload);
    const auto file = take(rest, "file ");
    const auto mode = file ? take(rest, "mode ") : std::nullopt;
    const auto disk = mode ? take(rest, "disk ") : std::nullopt;
    const auto end = disk ? take(rest, "") : std::nullopt;
    if (!end || !end->isEmpty())
        return fail(tr("Its content is damaged."));
    m_pattern.fileName = QUrl::fromPercentEncoding(file->toByteArray());
    m_pattern.mode = QUrl::fromPercentEncoding(mode->toByteArray());
    if (m_pattern.mode.isEmpty())   // no pattern: it could not be saved
        return fail(tr("Its content is damaged."));
    if (*disk != "none") {
        const auto onDisk = FileFingerprint::fromText(m_pattern.fileName, QString::fromLatin1(*disk));
        if (!onDisk)
            return fail(tr("Its content is damaged."));
        m_pattern.onDisk = *onDisk;
    }
    // The rows split as the pattern reader splits a file.
    for (qsizetype from = 0; from < rest.size();)
        m_pattern.rows.append(QString::fromUtf8(PatternFile::nextLine(rest, from)));
    return true;
}

bool RecoveryReader::readFile(const QString &fileName)
{
    // Only a regular file has an end (see PatternReader::readFile).
    if (!QFileInfo(fileName).isFile())
        return fail(tr("It is not a regular file."));
    QFile file(fileName);
    return read(file);
}
