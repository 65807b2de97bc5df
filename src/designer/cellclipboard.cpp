#include "cellclipboard.h"

#include "components/gridtablemodel.h"
#include "components/texttools.h"
#include "field/fielddescriptor.h"

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

// Why a text cannot go into a field cell, by the rule of the field dialog's
// boxes, applied to each ":"-separated component; "" when it can.
QString refusalOfText(const QString &cell)
{
    for (const QStringView component : QStringView(cell).tokenize(u':')) {
        const qsizetype at = firstRefusedCharacter(component);
        if (at < 0)
            continue;
        const QChar c = component.at(at);
        if (c == u';')
            return QStringLiteral("';' separates the cells of a pattern line and cannot be part of one");
        if (c.category() == QChar::Other_Control)
            return QStringLiteral("it holds a control character (U+%1)").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        return QStringLiteral("it holds characters the Thai code page (windows-874) cannot store");
    }
    return {};
}

// A constant of `text` as the field dialog writes it, or why it cannot be.
QString constantOf(const QString &text, QString *why)
{
    const int count = constantLength(text);
    if (text.isEmpty())
        *why = QStringLiteral("a constant needs a text");
    else if (count > kLongestLength)
        *why = QStringLiteral("a constant of %1 characters is longer than the %2 a length can count")
                   .arg(count)
                   .arg(kLongestLength);
    FieldSettings constant;
    constant.kind = FieldSettings::Kind::Constant;
    constant.constantText = text;
    return formatDescriptor(constant);
}

// The cell a pasted text gives, or why it gives none.
QString fieldCell(const QString &text, Paste &paste, QString *why)
{
    if (text.isEmpty())
        return text;
    *why = refusalOfText(text);
    if (!why->isEmpty())
        return {};
    switch (descriptorForm(text)) {
    case DescriptorForm::Field:
        return text;
    case DescriptorForm::Constant: {
        const QString cell = constantOf(loadDescriptor(text, FieldSettings()).constantText, why);
        paste.countsMadeRight += cell != text;
        return cell;
    }
    case DescriptorForm::Other:
        break;
    }
    if (text.contains(u':')) {
        *why = QStringLiteral("it is no field descriptor, and a constant cannot hold ':'");
        return {};
    }
    ++paste.madeConstants;
    return constantOf(text, why);
}

QString cellsTaken(int count, const char *one, const char *many)
{
    return count == 1 ? QLatin1String(one) : QString::fromLatin1(many).arg(count);
}

} // namespace

QString Paste::notice() const
{
    if (madeConstants == 0 && countsMadeRight == 0)
        return {};
    QStringList parts;
    if (madeConstants > 0)
        parts << cellsTaken(madeConstants, "1 cell was no field descriptor and became a constant of its text",
                            "%1 cells were no field descriptor and became constants of their text");
    if (countsMadeRight > 0)
        parts << cellsTaken(countsMadeRight, "1 constant had its count made right",
                            "%1 constants had their count made right");
    return QStringLiteral("วางข้อมูลแล้ว โดยปรับข้อมูลบางช่อง\nPasted: ") + parts.join(QStringLiteral("; "))
        + u'.';
}

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
                const QString taken = fieldCell(cell.toString(), paste, &why);
                if (why.isEmpty())
                    cells.append(taken);
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
