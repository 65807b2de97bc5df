#include "patterndiff.h"

#include "components/patterngrid.h"
#include "components/texttools.h"
#include "designer/patternrows.h"
#include "designer/gridlayout.h"
#include "designer/patternfile.h"
#include "designer/patternlayout.h"

#include <algorithm>
#include <vector>

namespace PatternDiff {

namespace {

using PatternLayout::CellLayout;
using PatternLayout::RowLayout;
using Kind = PatternPreview::Span::Kind;

// Middle parts larger than this are paired row by row instead of by their
// longest common run (which takes their product in time and memory).
constexpr qsizetype kMaxPairing = 4'000'000;

// What a cell is, for pairing: a field by its identifier, a constant by
// its text.
QString identity(const CellLayout &c)
{
    return c.kind == Kind::Field ? u'F' + c.field : u'C' + c.sample;
}

// Everything of a cell that decides what it writes.
QString outputKey(const CellLayout &c)
{
    if (c.kind == Kind::Constant)
        return identity(c);
    return QStringList{identity(c), QString::number(c.length), c.alignment, c.fill, c.prefix, c.suffix,
                       QString::number(c.multiLine)}
        .join(u'\x1f');
}

// The cells that write something: one that is neither field nor constant
// writes nothing and changes no line.
QList<CellLayout> written(const RowLayout &row)
{
    QList<CellLayout> cells;
    for (const CellLayout &c : row.cells) {
        if (c.kind != Kind::Other)
            cells.append(c);
    }
    return cells;
}

QString shownText(const QString &text)
{
    return u'\'' + QString(text).replace(u'\n', QChar(0x21B5)) + u'\'';
}

QString whatItIs(const CellLayout &c)
{
    return c.kind == Kind::Field ? c.field : QStringLiteral("constant ") + shownText(c.sample);
}

bool singleLine(const RowLayout &row)
{
    return std::all_of(row.cells.cbegin(), row.cells.cend(), [](const CellLayout &c) { return c.endLine <= 1; });
}

QString positions(const CellLayout &c)
{
    if (!c.writes())
        return QStringLiteral("no position");
    if (c.line == 1 && c.endLine == 1)
        return c.start == c.end ? QString::number(c.start) : QStringLiteral("%1-%2").arg(c.start).arg(c.end);
    return QStringLiteral("line %1 position %2 to line %3 position %4").arg(c.line).arg(c.start).arg(c.endLine).arg(c.end);
}

QString signedNumber(qsizetype n)
{
    return n > 0 ? u'+' + QString::number(n) : QString::number(n);
}

// "positions 55-94 move by +5": what follows `from` on a line of `length`.
QString shift(int from, qsizetype length, qsizetype by)
{
    if (by == 0)
        return {};
    if (from > length)
        return QStringLiteral(": nothing follows it");
    return QStringLiteral(": positions %1-%2 move by %3").arg(from).arg(length).arg(signedNumber(by));
}

QString attributeChanges(const CellLayout &a, const CellLayout &b)
{
    QStringList parts;
    const auto changed = [&parts](const char *what, const QString &from, const QString &to) {
        if (from != to)
            parts << QStringLiteral("%1 %2 -> %3").arg(QLatin1String(what), from, to);
    };
    const auto quoted = [](const QString &t) { return u'\'' + t + u'\''; };
    if (a.kind != b.kind || identity(a) != identity(b)) {
        parts << QStringLiteral("%1 -> %2").arg(whatItIs(a), whatItIs(b));
    }
    changed("length", QString::number(a.length), QString::number(b.length));
    if (a.kind == Kind::Field && b.kind == Kind::Field) {
        changed("alignment", a.alignment, b.alignment);
        changed("fill", quoted(a.fill), quoted(b.fill));
        changed("prefix", quoted(a.prefix), quoted(b.prefix));
        changed("suffix", quoted(a.suffix), quoted(b.suffix));
        changed("multi-line", QString::number(a.multiLine), QString::number(b.multiLine));
    }
    return parts.join(QStringLiteral(", "));
}

// "Field4 PAYEENAME: length 25 -> 30", or where the cell is another one
// now, "Field1 constant 'D' -> constant 'E'"; then the shift it causes.
QString changed(const CellLayout &from, const CellLayout &to, const QString &shifted)
{
    const QString head = identity(from) == identity(to) ? to.cell + u' ' + whatItIs(from) + QStringLiteral(": ") : to.cell + u' ';
    return head + attributeChanges(from, to) + shifted;
}

struct Change
{
    qsizetype order = 0;   // where on the old line it stands
    QString text;
};

// The changes between two rows that both write something.
QStringList rowChanges(const RowLayout &before, const RowLayout &after)
{
    const QList<CellLayout> a = written(before);
    const QList<CellLayout> b = written(after);
    const qsizetype n = a.size();
    const qsizetype m = b.size();
    // The longest common run of cells by what they are.
    std::vector<std::vector<int>> common(size_t(n) + 1, std::vector<int>(size_t(m) + 1, 0));
    for (qsizetype i = n - 1; i >= 0; --i) {
        for (qsizetype j = m - 1; j >= 0; --j)
            common[i][j] = identity(a[i]) == identity(b[j]) ? common[i + 1][j + 1] + 1
                                                            : std::max(common[i + 1][j], common[i][j + 1]);
    }
    QList<std::pair<qsizetype, qsizetype>> pairs;
    // The cells in between the common ones: runs of removed and added
    // cells, paired in order as changed cells where both sides have some.
    QList<std::pair<QList<qsizetype>, QList<qsizetype>>> gaps(1);
    for (qsizetype i = 0, j = 0; i < n || j < m;) {
        if (i < n && j < m && identity(a[i]) == identity(b[j])) {
            pairs.append({i++, j++});
            gaps.append(std::pair<QList<qsizetype>, QList<qsizetype>>());
        } else if (j >= m || (i < n && common[i + 1][j] >= common[i][j + 1])) {
            gaps.last().first.append(i++);
        } else {
            gaps.last().second.append(j++);
        }
    }
    // A cell taken out in one place and put in another, unchanged, moved.
    QList<Change> changes;
    const bool positioned = singleLine(before) && singleLine(after);
    const qsizetype oldLength = before.length;
    for (auto &[out, in] : gaps) {
        for (qsizetype o = 0; o < out.size();) {
            bool moved = false;
            for (auto &[out2, in2] : gaps) {
                for (qsizetype k = 0; k < in2.size() && !moved; ++k) {
                    if (outputKey(a[out[o]]) != outputKey(b[in2[k]]))
                        continue;
                    const CellLayout &from = a[out[o]];
                    const CellLayout &to = b[in2[k]];
                    changes.append({out[o], QStringLiteral("%1 %2 moved to %3: %4 -> %5")
                                                .arg(from.cell, whatItIs(from), to.cell, positions(from), positions(to))});
                    in2.removeAt(k);
                    moved = true;
                }
                if (moved)
                    break;
            }
            if (moved)
                out.removeAt(o);
            else
                ++o;
        }
    }
    const auto insertionPoint = [&](qsizetype oldIndex) {
        return oldIndex < n ? a[oldIndex].start : int(oldLength) + 1;
    };
    for (qsizetype g = 0; g < gaps.size(); ++g) {
        const auto &[out, in] = gaps[g];
        const qsizetype paired = std::min(out.size(), in.size());
        for (qsizetype k = 0; k < paired; ++k) {
            const CellLayout &from = a[out[k]];
            const CellLayout &to = b[in[k]];
            changes.append({out[k], changed(from, to, positioned ? shift(from.end + 1, oldLength, to.length - from.length) : QString())});
        }
        for (qsizetype k = paired; k < out.size(); ++k) {
            const CellLayout &from = a[out[k]];
            changes.append({out[k], QStringLiteral("%1 %2 removed from %3%4").arg(from.cell, whatItIs(from), positions(from),
                                                                                  positioned ? shift(from.end + 1, oldLength, -from.length) : QString())});
        }
        // Added cells stand before the next common cell of the old row.
        const qsizetype before = g < pairs.size() ? pairs[g].first : n;
        for (qsizetype k = paired; k < in.size(); ++k) {
            const CellLayout &to = b[in[k]];
            const int at = insertionPoint(before);
            changes.append({before, QStringLiteral("%1 %2 added at %3 (%4)%5").arg(to.cell, whatItIs(to)).arg(at).arg(TextTools::counted(to.length, "character", "characters"))
                                        .arg(positioned ? shift(at, oldLength, to.length) : QString())});
        }
        if (g < pairs.size()) {
            const auto [i, j] = pairs[g];
            if (outputKey(a[i]) != outputKey(b[j]))
                changes.append({i, changed(a[i], b[j], positioned ? shift(a[i].end + 1, oldLength, b[j].length - a[i].length) : QString())});
        }
    }
    std::stable_sort(changes.begin(), changes.end(), [](const Change &x, const Change &y) { return x.order < y.order; });
    QStringList lines;
    for (const Change &c : std::as_const(changes))
        lines << c.text;
    if (before.type != after.type)
        lines.prepend(QStringLiteral("type %1 -> %2").arg(before.type, after.type));
    if (!lines.isEmpty() && before.length != after.length)
        lines.last() += QStringLiteral("; line %1 -> %2").arg(before.length).arg(after.length);
    return lines;
}

QString rowName(const RowLayout &row)
{
    return QStringLiteral("row %1 (%2)").arg(row.row).arg(row.type);
}

struct Side
{
    const Version &version;
    QList<int> rows;

    explicit Side(const Version &v)
        : version(v)
        , rows(PatternRows::writtenRows(*v.grid))
    {
    }
    // The i-th written row as the file holds it, after its type's word.
    QString text(qsizetype i) const
    {
        return PatternRows::word(*version.grid, rows[i]) + PatternFile::rowLine(*version.grid, rows[i]);
    }
    RowLayout layout(qsizetype i) const { return PatternLayout::layOutRow(*version.grid, rows[i], version.samples); }
};

// Whether row i of `a` writes what row j of `b` does. Two versions share
// most of their rows, and equal cells say so without making the rows' lines;
// unlike cells are held against each other as the file writes them, which
// may write them alike (a constant's count, say).
bool sameRow(const Side &a, qsizetype i, const Side &b, qsizetype j)
{
    const PatternGrid &ga = *a.version.grid;
    const PatternGrid &gb = *b.version.grid;
    const int ra = a.rows[i];
    const int rb = b.rows[j];
    bool cells = ga.CellListIndex(ra, GridLayout::kTypeColumn) == gb.CellListIndex(rb, GridLayout::kTypeColumn);
    for (int c = GridLayout::kFirstFieldColumn; cells && c <= GridLayout::kLastFieldColumn; ++c)
        cells = ga.CellText(ra, c) == gb.CellText(rb, c);
    return cells || a.text(i) == b.text(j);
}

} // namespace

QStringList diff(const Version &before, const Version &after)
{
    QStringList out;
    if (before.mode != after.mode)
        out << QStringLiteral("mode %1 -> %2").arg(before.mode, after.mode);
    const Side a(before);
    const Side b(after);
    const qsizetype n = a.rows.size();
    const qsizetype m = b.rows.size();
    // Rows the same at the start and at the end are left alone.
    qsizetype head = 0;
    while (head < n && head < m && sameRow(a, head, b, head))
        ++head;
    qsizetype tail = 0;
    while (tail < n - head && tail < m - head && sameRow(a, n - 1 - tail, b, m - 1 - tail))
        ++tail;
    const qsizetype an = n - head - tail;
    const qsizetype bn = m - head - tail;

    // Pairs of rows of the middle: the same text, or changed.
    QList<std::pair<qsizetype, qsizetype>> same;
    if (an > 0 && bn > 0 && an * bn <= kMaxPairing) {
        // The middle rows' lines, made once for the pairing.
        QStringList at(an);
        QStringList bt(bn);
        for (qsizetype i = 0; i < an; ++i)
            at[i] = a.text(head + i);
        for (qsizetype j = 0; j < bn; ++j)
            bt[j] = b.text(head + j);
        std::vector<std::vector<int>> common(size_t(an) + 1, std::vector<int>(size_t(bn) + 1, 0));
        for (qsizetype i = an - 1; i >= 0; --i) {
            for (qsizetype j = bn - 1; j >= 0; --j)
                common[i][j] = at[i] == bt[j] ? common[i + 1][j + 1] + 1
                                              : std::max(common[i + 1][j], common[i][j + 1]);
        }
        for (qsizetype i = 0, j = 0; i < an && j < bn;) {
            if (at[i] == bt[j])
                same.append({head + i++, head + j++});
            else if (common[i + 1][j] >= common[i][j + 1])
                ++i;
            else
                ++j;
        }
    }
    same.append({head + an, head + bn});   // the common end closes the last gap
    qsizetype i = head;
    qsizetype j = head;
    for (const auto &[si, sj] : same) {
        // The rows in between, paired in order.
        for (; i < si || j < sj; ) {
            if (i < si && j < sj) {
                const RowLayout ra = a.layout(i++);
                const RowLayout rb = b.layout(j++);
                const QString name = ra.row == rb.row ? rowName(ra) : rowName(ra) + QStringLiteral(" -> row %1").arg(rb.row);
                for (const QString &change : rowChanges(ra, rb))
                    out << name + QStringLiteral(": ") + change;
            } else if (i < si) {
                const RowLayout ra = a.layout(i++);
                out << QStringLiteral("%1 removed: %2").arg(rowName(ra), TextTools::counted(ra.length, "character", "characters"));
            } else {
                const RowLayout rb = b.layout(j++);
                out << QStringLiteral("%1 added: %2").arg(rowName(rb), TextTools::counted(rb.length, "character", "characters"));
            }
        }
        i = si + 1;
        j = sj + 1;
    }
    return out;
}

} // namespace PatternDiff
