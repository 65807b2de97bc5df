// Any text loaded as a field descriptor, written again and loaded again must
// give the same settings; what is written has the shape of a descriptor, and
// a cell keeps its text through a pattern file written and read again.

#include "fuzzcheck.h"

#include "components/gridtablemodel.h"
#include "designer/gridlayout.h"
#include "designer/patternfile.h"
#include "field/fielddescriptor.h"

#include <QBuffer>
#include <QLocale>
#include <QStringList>

#include <cstddef>
#include <cstdint>

namespace {

// A grid of the type column and Field1 alone: laying out all hundred
// field columns for every input would slow the target tenfold.
void layOutTwoColumns(GridTableModel &grid)
{
    grid.ResetGrid();
    grid.DefineColumn(GridLayout::kTypeColumn, "H", "LABELLIST", 1, "Type", 2, {}, 0, {}, 0, 100, 1, 0, 1, 0,
                      1000, 0, 0, "LINE,GROUP,LOOP");
    grid.DefineColumn(GridLayout::kFirstFieldColumn, "Field1", "TEXT", 1, "Field1", 2, {}, 0, {}, 0, 100, 1, 0,
                      2, 0, 2500, 0, 0);
    grid.CompleteLayout({}, {}, {}, {}, {});
}

// The cell as it comes back from a pattern file holding it alone; nothing
// when the file cannot hold it (a character outside the code page).
std::optional<QString> throughFile(const QString &cell)
{
    GridTableModel grid;
    layOutTwoColumns(grid);
    grid.AddRow();
    grid.SetCellText(1, GridLayout::kFirstFieldColumn, cell);
    QBuffer file;
    file.open(QIODevice::ReadWrite);
    if (!PatternWriter().write(file, QStringLiteral("M"), grid))
        return std::nullopt;
    file.seek(0);
    PatternReader reader;
    FUZZ_CHECK(reader.read(file) && reader.mode() == u"M", cell);
    layOutTwoColumns(grid);
    PatternFile::loadRows(reader.takeLines(), grid);
    return grid.CellText(1, GridLayout::kFirstFieldColumn);
}

void roundTrip(const QString &text, const FieldSettings &reset)
{
    const FieldSettings loaded = loadDescriptor(text, reset);
    const QString written = formatDescriptor(loaded);
    const FieldSettings again = loadDescriptor(written, reset);
    FUZZ_CHECK(again == loaded, text + QStringLiteral(" -> ") + written);
    FUZZ_CHECK(formatDescriptor(again) == written, written);

    const qsizetype components = written.split(u':').size();
    if (loaded.kind == FieldSettings::Kind::Constant)
        FUZZ_CHECK(written.startsWith(QLatin1String("[C]:")) && components == 3, written);
    else
        FUZZ_CHECK(written.startsWith(QLatin1String("[F]:{")) && components == 8, written);
    // A line break or ";" splits the file's line; the field dialog refuses both.
    if (!written.contains(u';') && !written.contains(u'\n') && !written.contains(u'\r')) {
        const std::optional<QString> back = throughFile(written);
        FUZZ_CHECK(!back || *back == written, written + QStringLiteral(" -> ") + back.value_or(QString()));
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // Grouped lengths ("1,000") are part of what is loaded and written.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    // The dialog's reset state, and one where every box already holds text.
    roundTrip(text, FieldSettings{});
    FieldSettings filled;
    filled.constantText = QStringLiteral("เดิม");
    filled.fieldName = QStringLiteral("DOCNO");
    filled.length = QStringLiteral("1,000");
    filled.fill = QStringLiteral("0");
    filled.prefix = QStringLiteral("<");
    filled.suffix = QStringLiteral(">");
    filled.multiLine = 1;
    roundTrip(text, filled);
    return 0;
}
