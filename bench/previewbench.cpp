// The output preview: a row of 100 filled cells rebuilt as after a cursor
// move or an edit, against laying out the same samples with the bare layout
// function; and the layout checks of a whole pattern.

#include "benchcontext.h"
#include "workload.h"

#include "components/designdatabase.h"
#include "designer/gridlayout.h"
#include "designer/patternfile.h"
#include "designer/patternpreview.h"
#include "designer/patternrows.h"
#include "designer/gui/previewpanel.h"
#include "field/fielddescriptor.h"
#include "field/fieldpreview.h"

#include <benchmark/benchmark.h>

namespace {

// A pattern of `rows` rows read into a grid, and the sample mode's fields.
struct Loaded
{
    explicit Loaded(int rows)
    {
        PatternReader reader;
        if (reader.readFile(Workload::patternPath(rows))) {
            GridLayout::layOut(grid);
            PatternFile::loadRows(reader.takeLines(), grid);
        }
        samples = PatternPreview::Samples::of(
            DesignDatabase(BenchContext(QStringLiteral(ZN7_SAMPLE_DESKTOP)).settings.DesignConnection())
                .fields(QStringLiteral("BANK")));
    }
    GridTableModel grid;
    PatternPreview::Samples samples;
};

// Figure 8: what the window does for the preview when the cursor moves
// within a row of 100 cells: render the row and show it in the panel with
// the other cell highlighted (painting follows later, as for any widget).
void BM_PreviewRow(benchmark::State &state)
{
    Loaded loaded(1000);
    const int row = 500;
    PreviewPanel panel;
    int column = GridLayout::kFirstFieldColumn;
    for (auto _ : state) {
        column = column == GridLayout::kFirstFieldColumn ? GridLayout::kLastFieldColumn : GridLayout::kFirstFieldColumn;
        panel.showRow(row, PatternRows::word(loaded.grid, row),
                      PatternPreview::renderRow(loaded.grid, row, loaded.samples), loaded.samples, column);
    }
    if (!loaded.samples.available || PatternPreview::renderRow(loaded.grid, row, loaded.samples).spans.size() != 100)
        state.SkipWithError("no samples, or the row has not 100 cells");
}

// The bare layout of the same row: each data field's sample laid out by the
// layout function, each constant's text appended.
void BM_PreviewRowBaseline(benchmark::State &state)
{
    Loaded loaded(1000);
    const int row = 500;
    struct Cell
    {
        QString sample, fill, constant;
        int width = 0;
        int alignment = 0;
    };
    QList<Cell> cells;
    for (int c = GridLayout::kFirstFieldColumn; c <= GridLayout::kLastFieldColumn; ++c) {
        const FieldSettings s = loadDescriptor(loaded.grid.CellText(row, c), FieldSettings());
        cells.append({loaded.samples.fields.value(s.fieldName).formattedSample, s.fill, s.constantText,
                      s.kind == FieldSettings::Kind::Field ? s.length.toInt() : 0, s.alignment});
    }
    for (auto _ : state) {
        QString text;
        for (const Cell &cell : std::as_const(cells))
            text += cell.width > 0 ? FieldPreview::adjust(cell.sample, cell.fill, cell.width, cell.alignment) : cell.constant;
        benchmark::DoNotOptimize(text);
    }
}

// Figure 9: every check over the whole pattern, against opening it.
void BM_Checks(benchmark::State &state)
{
    Loaded loaded(int(state.range(0)));
    qsizetype found = 0;
    for (auto _ : state)
        found = PatternPreview::check(loaded.grid, loaded.samples).size();
    benchmark::DoNotOptimize(found);
    if (loaded.grid.RowCount() != state.range(0))
        state.SkipWithError("the pattern did not load");
}

} // namespace

BENCHMARK(BM_PreviewRow)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PreviewRowBaseline)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Checks)->Arg(10000)->Unit(benchmark::kMillisecond);
