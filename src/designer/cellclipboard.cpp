#include "cellclipboard.h"

#include "components/codepage.h"
#include "components/gridtablemodel.h"
#include "components/texttools.h"

namespace CellClipboard {

QString copy(const GridTableModel &grid, const QList<int> &rows, int firstCol, int lastCol)
{
    QString text;
    for (const int row : rows) {
        bool first = true;
        for (int col = firstCol; col <= lastCol; ++col) {
            if (grid.sectionOfColumn(col) < 0)
                continue;
            if (!first)
                text += u'\t';
            first = false;
            text += grid.CellText(row, col);
        }
        text += u'\n';
    }
    return text;
}

namespace {

// Why a cell cannot go into a text column; "" when it can.
QString refusalOfText(QStringView cell)
{
    if (cell.contains(u';'))
        return QStringLiteral("';' separates the cells of a pattern line and cannot be part of one");
    for (const QChar c : cell) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return QStringLiteral("it holds a control character (U+%1)")
                .arg(c.unicode(), 4, 16, QLatin1Char('0'));
    }
    if (!CodePage::canStore(cell))
        return QStringLiteral("it holds characters the Thai code page (windows-874) cannot store");
    return {};
}

} // namespace

Paste parse(const GridTableModel &grid, QStringView text, int firstCol)
{
    Paste paste;
    const int firstSection = grid.sectionOfColumn(firstCol);
    if (text.isEmpty() || firstSection < 0)
        return paste;
    if (text.endsWith(QLatin1String("\r\n")))
        text.chop(2);
    else if (text.endsWith(u'\n') || text.endsWith(u'\r'))
        text.chop(1);

    qsizetype lines = 1;
    for (const QChar c : text)
        lines += c == u'\n';
    if (lines > kMaxLines) {
        paste.error = QStringLiteral("วางข้อมูลไม่ได้\nThe clipboard holds %1 lines; a paste takes at most %2.")
                          .arg(lines)
                          .arg(kMaxLines);
        return paste;
    }

    const int columns = grid.columnCount();
    QList<QStringList> rows;
    rows.reserve(lines);
    qsizetype lineNumber = 0;
    for (QStringView line : text.tokenize(u'\n')) {
        ++lineNumber;
        if (line.endsWith(u'\r'))
            line.chop(1);
        QStringList cells;
        int section = firstSection;
        for (const QStringView cell : line.tokenize(u'\t')) {
            QString why;
            const int col = grid.columnOfSection(section);
            if (section >= columns) {
                why = QStringLiteral("the line has more cells than there are columns from %1 on")
                          .arg(grid.CellText(0, firstCol));
            } else if (grid.isListColumn(col)) {
                const QStringView word = TextTools::trimSpaces(cell);
                const QStringList items = grid.listItems(col);
                qsizetype item = -1;
                for (qsizetype i = 0; i < items.size() && item < 0; ++i) {
                    if (word.compare(items.at(i), Qt::CaseInsensitive) == 0)
                        item = i;
                }
                if (item >= 0)
                    cells.append(QString::number(item));
                else if (word.isEmpty())
                    cells.append(QString());
                else
                    why = QStringLiteral("\"%1\" is not one of %2").arg(word, items.join(QStringLiteral(", ")));
            } else {
                why = refusalOfText(cell);
                if (why.isEmpty())
                    cells.append(cell.toString());
            }
            if (!why.isEmpty()) {
                const QString where = section < columns
                                          ? grid.CellText(0, col)
                                          : QStringLiteral("cell %1").arg(section - firstSection + 1);
                paste.error = QStringLiteral("วางข้อมูลไม่ได้\nNothing was pasted: line %1 of the "
                                             "clipboard, %2: %3.")
                                  .arg(lineNumber)
                                  .arg(where, why);
                return paste;
            }
            ++section;
        }
        rows.append(std::move(cells));
    }
    paste.rows = std::move(rows);
    return paste;
}

} // namespace CellClipboard
