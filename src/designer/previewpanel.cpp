#include "previewpanel.h"

#include "components/patterngrid.h"
#include "designer/gridlayout.h"
#include "field/fielddescriptor.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QHelpEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QScrollArea>
#include <QSettings>
#include <QToolTip>
#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace PatternPreview;

namespace {

constexpr int kMargin = 4;
const QChar kDottedCircle(0x25CC);
const QChar kReturnMark(0x21B5);

QFont fixedPitchFont()
{
    // A fixed-pitch font with Thai glyphs of its own, else the system's.
    QFont font(QStringLiteral("Tlwg Mono"));
    if (!QFontInfo(font).fixedPitch())
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    return font;
}

// The ruler over positions 1..count from x0: a tick for every position, a
// longer one every 5, the number every 10, counting from 1 as the file does.
void drawRuler(QPainter &painter, int x0, int count, int cell, int base)
{
    for (int p = 1; p <= count; ++p) {
        const int x = x0 + (p - 1) * cell + cell / 2;
        const int tick = p % 10 == 0 ? 8 : p % 5 == 0 ? 5 : 2;
        painter.drawLine(x, base, x, base - tick);
        if (p % 10 == 0)
            painter.drawText(QRect(x - 3 * cell, 0, 6 * cell, base - 8), Qt::AlignCenter, QString::number(p));
    }
}

// One character in its cell: a mark on a dotted circle, a line break as a
// return mark.
void drawCharacter(QPainter &painter, const QRect &cell, QChar c, const QPalette &palette)
{
    if (c == u'\n') {
        painter.setPen(palette.color(QPalette::PlaceholderText));
        painter.drawText(cell, Qt::AlignCenter, QString(kReturnMark));
        return;
    }
    painter.setPen(palette.color(QPalette::Text));
    painter.drawText(cell, Qt::AlignCenter, isMark(c) ? QString(kDottedCircle) + c : QString(c));
}

QString positions(qsizetype first, qsizetype last)
{
    return QStringLiteral("%1–%2 (%3)").arg(first).arg(last).arg(last - first + 1);
}

} // namespace

PositionMetrics PositionMetrics::of(const QFont &font)
{
    const QFontMetrics metrics(font);
    return {metrics.horizontalAdvance(QLatin1Char('0')) + 2, metrics.height() * 3 / 2, metrics.height() + 10};
}

LineView::LineView(QWidget *parent)
    : QWidget(parent)
{
    setFont(fixedPitchFont());
    m_metrics = PositionMetrics::of(font());
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(tr("Output line"));
}

void LineView::setRow(const RenderedRow &row, const Samples &samples, int currentColumn,
                      const QList<int> &checkedColumns)
{
    // A cursor move within the line changes only the highlight.
    const bool sameText = row.text == m_row.text;
    m_row = row;
    m_samples = samples;
    m_current = currentColumn;
    m_checked = checkedColumns;
    if (!sameText) {
        placeCharacters();
        // Screen readers read the line as it is written, a line break as such.
        setAccessibleDescription(row.text);
        updateGeometry();
    }
    update();
}

void LineView::placeCharacters()
{
    // Painting, hit tests and tooltips look the places up. Shown naturally,
    // a mark stands in its letter's cell.
    m_places.clear();
    m_places.reserve(m_row.text.size());
    Place place;
    for (const QChar c : std::as_const(m_row.text)) {
        if (m_natural && isMark(c)) {
            m_places.append({place.line, qMax(0, place.position - 1)});
            continue;
        }
        m_places.append(place);
        if (c == u'\n')
            place = {place.line + 1, 0};
        else
            ++place.position;
    }
}

void LineView::setNatural(bool natural)
{
    if (natural == m_natural)
        return;
    m_natural = natural;
    placeCharacters();
    update();
}

void LineView::drawNatural(QPainter &painter, const QRect &exposed)
{
    // A fixed-pitch font spaced out to the cells, so that each letter, with
    // its marks, stands in a cell of the ruler; the spacing goes only
    // between letters, never before a mark.
    // Tlwg Mono places Thai marks after their letter when a run is shaped;
    // Tlwg Typo, of the same family and pitch, over it.
    QFont spaced(QStringLiteral("Tlwg Typo"));
    if (font().pixelSize() > 0)
        spaced.setPixelSize(font().pixelSize());
    else
        spaced.setPointSizeF(font().pointSizeF());
    if (!QFontInfo(spaced).fixedPitch())
        spaced = font();
    const int advance = QFontMetrics(spaced).horizontalAdvance(u'0');
    spaced.setLetterSpacing(QFont::AbsoluteSpacing, m_metrics.cell - advance);
    const int inset = (m_metrics.cell - advance) / 2;
    qsizetype start = 0;
    while (start <= m_row.text.size()) {
        qsizetype end = m_row.text.indexOf(u'\n', start);
        if (end < 0)
            end = m_row.text.size();
        const int line = start < m_row.text.size() ? placeOf(start).line : (m_places.isEmpty() ? 0 : m_places.constLast().line);
        const QRect band(kMargin + inset, m_metrics.rulerHeight + line * m_metrics.lineHeight, width(), m_metrics.lineHeight);
        if (band.intersects(exposed) && end > start) {
            painter.setFont(spaced);
            painter.setPen(palette().color(QPalette::Text));
            painter.drawText(band, Qt::AlignLeft | Qt::AlignVCenter, m_row.text.sliced(start, end - start));
            painter.setFont(font());
        }
        if (end < m_row.text.size())
            drawCharacter(painter, cellRect(placeOf(end)), u'\n', palette());
        start = end + 1;
    }
}

QSize LineView::sizeHint() const
{
    int longest = 0;
    int lines = 0;
    for (const QStringView line : QStringView(m_row.text).split(u'\n')) {
        longest = qMax(longest, int(line.size()));
        ++lines;
    }
    return {2 * kMargin + (qMax(longest, 40) + 2) * m_metrics.cell, m_metrics.rulerHeight + qMax(lines, 2) * m_metrics.lineHeight + kMargin};
}

QRect LineView::cellRect(Place place) const
{
    return {kMargin + place.position * m_metrics.cell, m_metrics.rulerHeight + place.line * m_metrics.lineHeight, m_metrics.cell, m_metrics.lineHeight};
}

int LineView::spanAt(const QPoint &point) const
{
    for (int i = 0; i < m_row.spans.size(); ++i) {
        const Span &span = m_row.spans.at(i);
        for (qsizetype offset = span.begin; offset < span.end; ++offset) {
            if (m_row.text.at(offset) != u'\n' && cellRect(placeOf(offset)).contains(point))
                return i;
        }
    }
    return -1;
}

QString LineView::describe(const Span &span) const
{
    QStringList parts{QStringLiteral("Field%1").arg(span.column - GridLayout::kFirstFieldColumn + 1)};
    if (span.kind == Span::Kind::Field) {
        parts << span.field;
        if (const QString name = m_samples.fields.value(span.field).name; !name.isEmpty())
            parts << name;
    } else {
        parts << (span.kind == Span::Kind::Constant ? tr("Constant") : tr("kept as written, counted as 0"));
    }
    if (span.end > span.begin) {
        const Place first = placeOf(span.begin);
        const Place last = placeOf(span.end - 1);
        const qsizetype count = QStringView(m_row.text).sliced(span.begin, span.end - span.begin).count(u'\n');
        parts << (first.line == last.line
                      ? positions(first.position + 1, last.position + 1)
                      : tr("%1 to %2 of line %3 (%4)")
                            .arg(first.position + 1)
                            .arg(last.position + 1)
                            .arg(last.line + 1)
                            .arg(span.end - span.begin - count));
    }
    return parts.join(QStringLiteral(" — "));
}

void LineView::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const QRect exposed = event->rect();
    painter.fillRect(exposed, palette().base());
    // Only the positions the scroll area shows are drawn: a field may be
    // thousands of characters long.
    const int width = (qMin(this->width(), exposed.right() + 1) - kMargin) / m_metrics.cell + 1;

    painter.setPen(palette().color(QPalette::Text));
    drawRuler(painter, kMargin, width, m_metrics.cell, m_metrics.rulerHeight - 2);

    // Spans: the current cell's highlighted, those with a check underlined.
    for (const Span &span : std::as_const(m_row.spans)) {
        for (qsizetype offset = span.begin; offset < span.end; ++offset) {
            if (m_row.text.at(offset) == u'\n')
                continue;
            const QRect cell = cellRect(placeOf(offset));
            if (!cell.intersects(exposed))
                continue;
            if (span.column == m_current)
                painter.fillRect(cell, palette().highlight().color().lighter(160));
            if (m_checked.contains(span.column))
                painter.fillRect(QRect(cell.left(), cell.bottom() - 1, cell.width(), 2), Qt::red);
        }
    }

    if (m_natural) {
        drawNatural(painter, exposed);
        return;
    }
    // The characters, each in its cell; a mark on a dotted circle, a line
    // break as a return mark after the line.
    for (qsizetype offset = 0; offset < m_row.text.size(); ++offset) {
        const QRect cell = cellRect(placeOf(offset));
        if (cell.intersects(exposed))
            drawCharacter(painter, cell, m_row.text.at(offset), palette());
    }
}

void LineView::mousePressEvent(QMouseEvent *event)
{
    const int at = spanAt(event->position().toPoint());
    if (at >= 0)
        Q_EMIT columnClicked(m_row.spans.at(at).column);
    QWidget::mousePressEvent(event);
}

bool LineView::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const int at = spanAt(help->pos());
        if (at >= 0)
            QToolTip::showText(help->globalPos(), describe(m_row.spans.at(at)), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

PatternView::PatternView(QWidget *parent)
    : QAbstractScrollArea(parent)
{
    viewport()->setFont(fixedPitchFont());
    setFont(viewport()->font());
    m_metrics = PositionMetrics::of(font());
    m_labelWidth = QFontMetrics(font()).horizontalAdvance(QStringLiteral("00000 GROUP 00000")) + 2 * kMargin;
    setAccessibleName(tr("Whole pattern output"));
}

void PatternView::setPattern(const PatternGrid *grid, const Samples &samples)
{
    m_grid = grid;
    m_samples = samples;
    m_rows.clear();
    m_firstLine.assign(1, 0);
    for (int row = 1; grid && row <= grid->RowCount(); ++row) {
        if (grid->IsRowRemoved(row))
            continue;
        // A constant's {NL} starts another line of the row.
        int lines = 1;
        for (int c = GridLayout::kFirstFieldColumn; c <= GridLayout::kLastFieldColumn; ++c) {
            const QString cell = grid->CellText(row, c);
            if (cell.startsWith(QLatin1String("[C]")))
                lines += int(loadDescriptor(cell, FieldSettings()).constantText.count(QLatin1String("{NL}")));
        }
        m_rows.push_back(row);
        m_firstLine.push_back(m_firstLine.back() + lines);
    }
    updateScrollBars();
    viewport()->update();
}

void PatternView::updateScrollBars()
{
    const int visible = qMax(0, (viewport()->height() - m_metrics.rulerHeight) / m_metrics.lineHeight);
    verticalScrollBar()->setRange(0, qMax(0, m_firstLine.back() - visible));
    verticalScrollBar()->setPageStep(qMax(1, visible));
    horizontalScrollBar()->setRange(0, qMax(0, m_labelWidth + 200 * m_metrics.cell - viewport()->width()));
    horizontalScrollBar()->setSingleStep(m_metrics.cell);
    horizontalScrollBar()->setPageStep(viewport()->width());
}

void PatternView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

qsizetype PatternView::rowOnLine(int line) const
{
    const auto after = std::upper_bound(m_firstLine.begin(), m_firstLine.end(), line);
    return after - m_firstLine.begin() - 1;
}

void PatternView::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().base());
    const int dx = horizontalScrollBar()->value();
    const int x0 = m_labelWidth - dx;
    painter.setPen(palette().color(QPalette::Text));
    drawRuler(painter, x0, (viewport()->width() - x0) / m_metrics.cell + 1, m_metrics.cell, m_metrics.rulerHeight - 2);
    if (!m_grid)
        return;
    const int first = verticalScrollBar()->value();
    const int lines = (viewport()->height() - m_metrics.rulerHeight) / m_metrics.lineHeight + 1;
    for (qsizetype i = rowOnLine(first); i >= 0 && i < qsizetype(m_rows.size()) && m_firstLine[i] < first + lines; ++i) {
        const int row = m_rows[i];
        const RenderedRow rendered = renderRow(*m_grid, row, m_samples);
        int line = m_firstLine[i] - first;
        int position = 0;
        painter.setClipRect(QRect(m_labelWidth, m_metrics.rulerHeight, viewport()->width(), viewport()->height()));
        for (const QChar c : rendered.text) {
            if (line >= 0)
                drawCharacter(painter, QRect(x0 + position * m_metrics.cell, m_metrics.rulerHeight + line * m_metrics.lineHeight, m_metrics.cell, m_metrics.lineHeight), c, palette());
            if (c == u'\n') {
                ++line;
                position = 0;
            } else {
                ++position;
            }
        }
        painter.setClipping(false);
        const int labelLine = m_firstLine[i] - first;
        if (labelLine >= 0) {
            painter.setPen(palette().color(QPalette::PlaceholderText));
            painter.drawText(QRect(kMargin, m_metrics.rulerHeight + labelLine * m_metrics.lineHeight, m_labelWidth - 2 * kMargin, m_metrics.lineHeight),
                             Qt::AlignLeft | Qt::AlignVCenter,
                             QStringLiteral("%1 %2 %3").arg(row).arg(typeName(*m_grid, row)).arg(rendered.length()));
        }
    }
}

void PatternView::mousePressEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    const int line = verticalScrollBar()->value() + (at.y() - m_metrics.rulerHeight) / m_metrics.lineHeight;
    const qsizetype i = at.y() < m_metrics.rulerHeight ? -1 : rowOnLine(line);
    if (!m_grid || i < 0 || i >= qsizetype(m_rows.size()))
        return;
    const RenderedRow rendered = renderRow(*m_grid, m_rows[i], m_samples);
    // The offset of the clicked position in the row's text.
    const int wanted = (at.x() - m_labelWidth + horizontalScrollBar()->value()) / m_metrics.cell;
    int current = m_firstLine[i];
    int position = 0;
    for (qsizetype offset = 0; offset < rendered.text.size(); ++offset) {
        if (rendered.text.at(offset) == u'\n') {
            ++current;
            position = 0;
            continue;
        }
        if (current == line && position == wanted) {
            for (const Span &span : rendered.spans) {
                if (offset >= span.begin && offset < span.end)
                    Q_EMIT cellClicked(m_rows[i], span.column);
            }
            return;
        }
        ++position;
    }
    Q_EMIT cellClicked(m_rows[i], 0);
}

PreviewPanel::PreviewPanel(QWidget *parent)
    : QTabWidget(parent)
    , m_line(new LineView)
    , m_pattern(new PatternView)
    , m_summary(new QLabel)
    , m_lineMode(new QComboBox)
    , m_note(new QLabel)
    , m_checks(new QListWidget)
{
    setObjectName(QStringLiteral("previewPanel"));
    m_line->setObjectName(QStringLiteral("lineView"));
    m_summary->setObjectName(QStringLiteral("previewSummary"));
    m_checks->setObjectName(QStringLiteral("checkList"));
    m_checks->setAccessibleName(tr("Layout checks"));
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    auto *scroll = new QScrollArea;
    scroll->setWidget(m_line);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    // How the line is shown, and what its ruler counts then.
    auto *modeLabel = new QLabel(tr("&Show:"));
    modeLabel->setBuddy(m_lineMode);
    m_lineMode->setObjectName(QStringLiteral("lineMode"));
    m_lineMode->addItems({tr("Position by position"), tr("Natural")});
    m_note->setObjectName(QStringLiteral("lineModeNote"));
    m_note->setEnabled(false);
    m_note->setWordWrap(true);
    auto *head = new QHBoxLayout;
    head->addWidget(modeLabel);
    head->addWidget(m_lineMode);
    head->addWidget(m_note, 1);
    layout->addLayout(head);
    layout->addWidget(scroll, 1);
    auto *foot = new QHBoxLayout;
    foot->addWidget(m_summary, 1);
    layout->addLayout(foot);
    showNatural(QSettings().value(QStringLiteral("preview/natural"), false).toBool());
    connect(m_lineMode, &QComboBox::activated, this, [this](int index) {
        showNatural(index == 1);
        QSettings().setValue(QStringLiteral("preview/natural"), index == 1);
    });
    m_pattern->setObjectName(QStringLiteral("patternView"));
    addTab(page, tr("Line"));
    addTab(m_pattern, tr("Pattern"));
    addTab(m_checks, tr("Checks"));
    connect(m_pattern, &PatternView::cellClicked, this, &PreviewPanel::cellChosen);

    connect(m_line, &LineView::columnClicked, this, [this](int column) { Q_EMIT cellChosen(m_row, column); });
    connect(m_checks, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) {
        const Check &check = m_shownChecks.at(m_checks->row(item));
        Q_EMIT cellChosen(check.row, check.column);
    });
}

void PreviewPanel::showNatural(bool natural)
{
    m_lineMode->setCurrentIndex(natural ? 1 : 0);
    m_line->setNatural(natural);
    m_note->setText(natural ? tr("Thai shaped as text: the ruler counts display columns, where a mark above or "
                                 "below a letter takes none, not the file's positions.")
                            : tr("Shown position by position: a Thai mark takes a cell of its own."));
}

void PreviewPanel::showRow(int row, const QString &type, const RenderedRow &rendered, const Samples &samples,
                           int currentColumn)
{
    m_row = row;
    QList<int> checked;
    for (const Check &check : std::as_const(m_shownChecks)) {
        if (check.row == row)
            checked.append(check.column);
    }
    m_line->setRow(rendered, samples, currentColumn, checked);
    if (row < 1) {
        m_summary->setText(QString());
        return;
    }
    const Measure m = measure(rendered);
    QString summary = tr("Line %1 (%2): %3 characters, %4 bytes in windows-874, %5 display columns")
                          .arg(QString::number(row), type, QString::number(m.characters),
                               QString::number(m.bytes), QString::number(m.columns));
    if (!samples.available)
        summary += tr(". The samples are unavailable: fields show their names.");
    if (m_summary->text() != summary)
        m_summary->setText(summary);
}

void PreviewPanel::showChecks(const QList<Check> &checks)
{
    m_shownChecks = checks;
    m_checks->clear();
    for (const Check &check : checks) {
        // A row's check names its row itself.
        m_checks->addItem(check.column == 0 ? check.message
                                            : tr("row %1, Field%2: %3")
                                                  .arg(check.row)
                                                  .arg(check.column - GridLayout::kFirstFieldColumn + 1)
                                                  .arg(check.message));
    }
    setTabText(indexOf(m_checks), checks.isEmpty() ? tr("Checks") : tr("Checks (%1)").arg(checks.size()));
}

void PreviewPanel::showPattern(const PatternGrid *grid, const Samples &samples)
{
    m_pattern->setPattern(grid, samples);
}
