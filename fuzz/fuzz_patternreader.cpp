// Any bytes as a pattern file, read into a grid the way Open does (and from
// its decoded lines, which must give the same rows), then saved and read
// again. A file the reader accepts must save (the Thai code page
// gives every byte a character and takes it back), and saving is stable: the
// second save of a file writes exactly the bytes of the first.

#include "fuzzcheck.h"

#include "components/gridtablemodel.h"
#include "designer/gridlayout.h"
#include "designer/patternfile.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>

namespace {

struct Loaded
{
    bool accepted = false;
    QString mode;
    QByteArray saved;
};

Loaded openAndSave(const QByteArray &bytes)
{
    Loaded result;
    QBuffer file;
    file.setData(bytes);
    FUZZ_CHECK(file.open(QIODevice::ReadOnly), "buffer");
    PatternReader reader;
    FUZZ_CHECK(reader.read(file), reader.errorString());
    result.mode = reader.mode();
    if (result.mode.isEmpty())
        return result;
    result.accepted = true;

    const QStringList lines = reader.lines();
    GridTableModel grid, streamed;
    GridLayout::layOut(grid);
    GridLayout::layOut(streamed);
    PatternFile::loadRows(lines, grid);
    // Open loads from the bytes, a line decoded at a time: the same rows.
    PatternFile::loadRows(reader, streamed);

    // At most one row per line after the first; every row has a known type.
    FUZZ_CHECK(grid.RowCount() <= qMax<qsizetype>(lines.size() - 1, 0),
               QString::number(grid.RowCount()));
    for (int r = 1; r <= grid.RowCount(); ++r) {
        const int type = grid.CellListIndex(r, GridLayout::kTypeColumn);
        FUZZ_CHECK(type >= 0 && type <= 2, QString::number(type));
    }

    QBuffer out;
    PatternWriter writer;
    FUZZ_CHECK(writer.write(out, result.mode, grid), writer.errorString());
    result.saved = out.data();
    FUZZ_CHECK(result.saved.endsWith("\r\n"), "a saved file ends with CR LF");
    QBuffer streamedOut;
    FUZZ_CHECK(writer.write(streamedOut, result.mode, streamed), writer.errorString());
    FUZZ_CHECK(streamedOut.data() == result.saved, "the two loaders agree");
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const Loaded first = openAndSave(bytes);
    if (!first.accepted)
        return 0;
    const Loaded second = openAndSave(first.saved);
    FUZZ_CHECK(second.accepted, "a saved file opens again");
    FUZZ_CHECK(second.mode == first.mode, first.mode + QStringLiteral(" / ") + second.mode);
    FUZZ_CHECK(second.saved == first.saved,
               QString::fromLatin1(first.saved.toHex()) + QStringLiteral(" / ")
                   + QString::fromLatin1(second.saved.toHex()));
    return 0;
}
