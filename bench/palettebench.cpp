// Designing faster: the field palette filtered on each key of a search
// against a bare filter proxy over the same strings, and the grid scrolled
// a page with readable cells against the raw view.

#include "benchcontext.h"
#include "workload.h"

#include "components/designdatabase.h"
#include "designer/fieldlist.h"
#include "designer/gui/fieldpalette.h"

#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>

#include <benchmark/benchmark.h>

namespace {

// A search typed key by key, in identifiers and in Thai names, then the
// filter cleared: every key refilters the whole list.
const QStringList kKeys = {QStringLiteral("f"), QStringLiteral("fl"), QStringLiteral("fld"), QStringLiteral("fld1"),
                           QStringLiteral("fld19"), QStringLiteral("fld199"), QString(),
                           QStringLiteral("ลำ"), QStringLiteral("ลำดับ"), QStringLiteral("ลำดับที่ 1"),
                           QStringLiteral("ลำดับที่ 19"), QString()};

std::optional<QList<DesignField>> bigMode()
{
    const QString database = Workload::fieldDatabasePath();
    if (database.isEmpty())
        return std::nullopt;
    return DesignDatabase(BenchContext(database).settings.DesignConnection()).fields(QLatin1String(Workload::kBigMode));
}

// Figure 19: the palette as the window has it, its list in view, each key
// typed into its filter box.
void BM_PaletteFilter(benchmark::State &state)
{
    const auto fields = bigMode();
    if (!fields || fields->size() != Workload::kFieldCount + 7) {
        state.SkipWithError("the field database could not be made");
        return;
    }
    FieldPalette palette;
    palette.resize(400, 600);
    palette.show();
    palette.setFields(*fields);
    QApplication::processEvents();
    auto *box = palette.findChild<QLineEdit *>(QStringLiteral("fieldFilter"));
    auto *list = palette.findChild<QTableView *>(QStringLiteral("fieldList"));
    int shown = 0;
    for (auto _ : state) {
        for (const QString &key : kKeys) {
            box->setText(key);
            shown += list->model()->rowCount();
        }
    }
    benchmark::DoNotOptimize(shown);
    box->setText(QStringLiteral("fld199"));
    if (list->model()->rowCount() != 10)
        state.SkipWithError("the filter does not find the ten fields FLD1990 to FLD1999");
}

// The bare filter: a QSortFilterProxyModel over the identifiers and names
// of the same fields, fixed strings in any case, no view.
void BM_PaletteFilterBaseline(benchmark::State &state)
{
    const auto fields = bigMode();
    if (!fields) {
        state.SkipWithError("the field database could not be made");
        return;
    }
    QStandardItemModel model(int(fields->size()), 2);
    for (int row = 0; row < fields->size(); ++row) {
        model.setItem(row, 0, new QStandardItem(fields->at(row).field));
        model.setItem(row, 1, new QStandardItem(fields->at(row).name));
    }
    QSortFilterProxyModel proxy;
    proxy.setSourceModel(&model);
    proxy.setFilterKeyColumn(-1);
    proxy.setFilterCaseSensitivity(Qt::CaseInsensitive);
    int shown = 0;
    for (auto _ : state) {
        for (const QString &key : kKeys) {
            proxy.setFilterFixedString(key);
            shown += proxy.rowCount();
        }
    }
    benchmark::DoNotOptimize(shown);
}

// Figure 20: the 10,000-row pattern in the designer window, its grid
// scrolled down a page and painted, the cells raw (0) or readable (1).
void BM_ScrollPage(benchmark::State &state)
{
    BenchContext context(QStringLiteral(ZN7_SAMPLE_DESKTOP));
    frmCreatePattern window(context);
    window.resize(1200, 800);
    window.show();
    QApplication::processEvents();
    window.FileName = Workload::patternPath(10000);
    window.DoOpen();
    GridTableModel &grid = gridOf(window);
    grid.setReadable(state.range(0) != 0);
    auto *view = window.findChild<QTableView *>(QStringLiteral("gridView"));
    QApplication::processEvents();
    QScrollBar *bar = view->verticalScrollBar();
    for (auto _ : state) {
        bar->setValue(bar->value() + bar->pageStep() > bar->maximum() ? 0 : bar->value() + bar->pageStep());
        view->viewport()->repaint();
    }
    if (grid.RowCount() != 10000 || bar->pageStep() < 10)
        state.SkipWithError("the pattern did not open, or the grid shows less than a page of ten rows");
}

} // namespace

BENCHMARK(BM_PaletteFilter)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaletteFilterBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScrollPage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
