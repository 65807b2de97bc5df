#include "gridlayout.h"

#include "designer/patternrows.h"

#include "components/patterngrid.h"

namespace GridLayout {

void layOut(PatternGrid &grid)
{
    const QString text = QStringLiteral("TEXT");
    grid.ResetGrid();
    grid.setEditMode(true);
    grid.DefineColumn(1, QStringLiteral("H"), QStringLiteral("LABELLIST"), 1, QStringLiteral("Type"),
                      2, QString(), 0.0, QString(), 0.0, 100, 1, 0, 1, 0, 1000, 0, 0,
                      PatternRows::listItems());
    const QString first = QStringLiteral("Field1");
    grid.DefineColumn(kFirstFieldColumn, first, text, 1, first, 2, QString(), 0.0, QString(), 0.0,
                      100, 1, 0, 2, 0, 2500, 0, 0);
    for (int c = kFirstFieldColumn + 1; c <= kLastFieldColumn; ++c) {
        const QString name = QStringLiteral("Field") + QString::number(c - 10);
        grid.DefineColumn(qint16(c), name, text, 1, name, 2, QString(), 0.0, QString(), 0.0, 100, 1,
                          1, 2, 0, 2500, 0, 0);
    }
    grid.CompleteLayout(QString(), QString(), QString(), QString(), QString());
}

} // namespace GridLayout
