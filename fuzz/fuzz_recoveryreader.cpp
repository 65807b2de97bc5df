// Any bytes as a recovery file; or, when the first byte is odd, the bytes
// after it as the content of a file whose length and hash are right, so that
// the content's own reading is reached past the hash. A refused file gives
// nothing; an accepted one loads into a grid as Open loads a pattern, and
// its copy kept again reads back with the same name, mode, file state and
// rows.

#include "fuzzcheck.h"

#include "components/gridtablemodel.h"
#include "designer/gridlayout.h"
#include "designer/recoveryfile.h"

#include <QBuffer>
#include <QCryptographicHash>

#include <cstddef>
#include <cstdint>

namespace {

KeptPattern read(const QByteArray &bytes, bool *accepted)
{
    QBuffer file;
    file.setData(bytes);
    RecoveryReader reader;
    *accepted = reader.read(file);
    FUZZ_CHECK(*accepted != !reader.errorString().isEmpty(), reader.errorString());
    return reader.pattern();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    if (size > 0 && (data[0] & 1)) {
        const QByteArray content = bytes.sliced(1);
        bytes = "ZN7TEDSR-RECOVERY 1\n" + QByteArray::number(content.size()) + ' '
                + QCryptographicHash::hash(content, QCryptographicHash::Sha1).toHex() + '\n' + content;
    }
    bool accepted = false;
    const KeptPattern first = read(bytes, &accepted);
    if (!accepted) {
        FUZZ_CHECK(first.fileName.isEmpty() && first.mode.isEmpty() && first.rows.isEmpty() && first.onDisk.isNull(),
                   "a refused file gives nothing");
        return 0;
    }
    FUZZ_CHECK(!first.mode.isEmpty(), "an accepted copy has a mode");

    GridTableModel grid;
    GridLayout::layOut(grid);
    first.loadRows(grid);
    FUZZ_CHECK(grid.RowCount() <= first.rows.size(), QString::number(grid.RowCount()));
    for (int r = 1; r <= grid.RowCount(); ++r) {
        const int type = grid.CellListIndex(r, GridLayout::kTypeColumn);
        FUZZ_CHECK(type >= 0 && type <= 2, QString::number(type));
    }

    const KeptPattern kept{first.fileName, first.mode, first.onDisk, KeptPattern::rowsOf(grid)};
    QBuffer out;
    RecoveryWriter writer;
    FUZZ_CHECK(writer.write(out, kept), writer.errorString());
    const KeptPattern second = read(out.data(), &accepted);
    FUZZ_CHECK(accepted, "a kept copy reads back");
    FUZZ_CHECK(second.fileName == first.fileName, first.fileName + QStringLiteral(" / ") + second.fileName);
    FUZZ_CHECK(second.mode == first.mode, first.mode + QStringLiteral(" / ") + second.mode);
    FUZZ_CHECK(second.onDisk == first.onDisk, first.onDisk.toText() + QStringLiteral(" / ") + second.onDisk.toText());
    QStringList rows = kept.rows;
    rows.removeAll(QString());
    FUZZ_CHECK(second.rows == rows, rows.join(u'|') + QStringLiteral(" / ") + second.rows.join(u'|'));
    return 0;
}
