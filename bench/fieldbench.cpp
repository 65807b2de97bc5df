// The field dialog's SetFormat for a mode of 2,000 fields against the bare
// query that reads the same rows.

#include "benchcontext.h"
#include "workload.h"

#include "field/gui/frmfield.h"

#include <QComboBox>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <benchmark/benchmark.h>
#include <memory>

namespace {

// F2 on a cell that holds one of the mode's last fields: the list, the
// defaults and the loaded descriptor. A fresh dialog per edit, as the
// designer makes one; making and unloading it is not timed.
void BM_SetFormat(benchmark::State &state)
{
    const QString database = Workload::fieldDatabasePath();
    if (database.isEmpty()) {
        state.SkipWithError("the field database could not be made");
        return;
    }
    BenchContext context(database);
    const QString data = QStringLiteral("[F]:{FLD1990}:12:R:0:::0");
    int listed = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto dialog = std::make_unique<frmField>(context);
        state.ResumeTiming();
        dialog->SetFormat(QStringLiteral("Field7"), QLatin1String(Workload::kBigMode), data);
        state.PauseTiming();
        listed = dialog->findChild<QComboBox *>(QStringLiteral("Combo1"))->count();
        if (dialog->findChild<QComboBox *>(QStringLiteral("Combo1"))->currentText() != QLatin1String("FLD1990"))
            listed = -1;
        dialog.reset();
        state.ResumeTiming();
    }
    // The mode's fields and the seven of ALL.
    if (listed != Workload::kFieldCount + 7)
        state.SkipWithError("the dialog did not list the mode's fields or load the cell");
}

// The bare query: open the database, read the field of every row the
// dialog lists, close it again.
void BM_FieldQuery(benchmark::State &state)
{
    const QString database = Workload::fieldDatabasePath();
    const QString sql = QStringLiteral("SELECT * FROM ZN7VTextExport WHERE (TTxMMode='ALL' or TTxMMode='%1') "
                                       "ORDER BY TTxPField").arg(QLatin1String(Workload::kBigMode));
    int rows = 0;
    for (auto _ : state) {
        rows = 0;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("zn7bench-query"));
            db.setDatabaseName(database);
            db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
            if (db.open()) {
                QSqlQuery query(db);
                query.setForwardOnly(true);
                if (query.exec(sql)) {
                    while (query.next()) {
                        const QString field = query.value(1).toString();
                        benchmark::DoNotOptimize(field.constData());
                        ++rows;
                    }
                }
            }
        }
        QSqlDatabase::removeDatabase(QStringLiteral("zn7bench-query"));
    }
    if (rows != Workload::kFieldCount + 7)
        state.SkipWithError("the query did not read the mode's fields");
}

} // namespace

BENCHMARK(BM_SetFormat)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FieldQuery)->Unit(benchmark::kMillisecond);
