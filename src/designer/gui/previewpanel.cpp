#include "previewpanel.h"

#include "components/patterngrid.h"
#include "designer/patternrows.h"
#include "designer/gridlayout.h"
#include "field/fielddescriptor.h"

#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QSpinBox>
#include <QToolTip>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>

using namespace PatternPreview;

namespace {

constexpr int kMargin = 4;
const QChar kDottedCircle(0x25CC);
const QChar kReturnMark(0x21B5);
const QChar kMiddleDot(0x00B7);
const QString kZoomKey = QStringLiteral("preview/zoom");
constexpr int kZoomStep = 10;
constexpr int kLeastZoom = 100;   // the application's font size
constexpr int kMostZoom = 400;

// A fixed-pitch font with Thai glyphs of its own, else the system's, its
// letters `percent` of the height of the application font's: a font of
// the same size may draw them smaller (Tlwg Mono does, by a third).
QFont fixedPitchFont(int percent)
{
    QFont font(QStringLiteral("Tlwg Mono"));
    if (!QFontInfo(font).fixedPitch())
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const QFont application = QApplication::font();
    const bool points = application.pointSizeF() > 0;
    const qreal size = points ? application.pointSizeF() : application.pixelSize();
    points ? font.setPointSizeF(size) : font.setPixelSize(qMax(1, qRound(size)));
    const qreal own = QFontMetricsF(font).capHeight();
    const qreal wanted = QFontMetricsF(application).capHeight();
    const qreal scaled = size * (own > 0 && wanted > own ? wanted / own : 1) * percent / 100;
    points ? font.setPointSizeF(scaled) : font.setPixelSize(qMax(1, qRound(scaled)));
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

// The record's end: a coloured line after position `length` from x0, from
// the ruler down.
void drawRecordEnd(QPainter &painter, int x0, int length, int cell, int bottom, const QPalette &palette)
{
    if (length < 1)
        return;
    const int x = x0 + length * cell;
    painter.fillRect(QRect(x - 1, 0, 2, bottom), palette.color(QPalette::Link));
}

// One character in its cell: a mark on a dotted circle, a line break as a
// return mark, a space that a fill or a constant writes (`written`) as a
// faint middle dot.
void drawCharacter(QPainter &painter, const QRect &cell, QChar c, const QPalette &palette, bool written = false)
{
    if (c == u'\n' || (c == u' ' && written)) {
        painter.setPen(palette.color(QPalette::PlaceholderText));
        painter.drawText(cell, Qt::AlignCenter, QString(c == u' ' ? kMiddleDot : kReturnMark));
        return;
    }
    painter.setPen(palette.color(QPalette::Text));
    painter.drawText(cell, Qt::AlignCenter, isMark(c) ? QString(kDottedCircle) + c : QString(c));
}

// Whether each character of a rendered row is a space that a fill or a
// constant writes, rather than one of a field's sample.
QList<bool> writtenSpaces(const RenderedRow &row)
{
    QList<bool> written(row.text.size(), false);
    for (const Span &span : row.spans) {
        for (qsizetype offset = span.begin; offset < span.end; ++offset) {
            const bool sample = span.kind == Span::Kind::Field && offset >= span.sampleBegin && offset < span.sampleEnd;
            written[offset] = row.text.at(offset) == u' ' && !sample;
        }
    }
    return written;
}

// A one-line label that never widens what holds it: a text longer than its
// room ends in "…", and the whole text is its tooltip and, for a screen
// reader, its description.
class ElidedLabel final : public QLabel
{
public:
    explicit ElidedLabel(QWidget *parent = nullptr)
        : QLabel(parent)
    {
        setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    }
    void setFullText(const QString &text)
    {
        if (text == m_full)
            return;
        m_full = text;
        setToolTip(text);
        setAccessibleDescription(text);
        elide();
    }
    QSize minimumSizeHint() const override { return {0, QLabel::minimumSizeHint().height()}; }

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QLabel::resizeEvent(event);
        elide();
    }

private:
    void elide() { setText(fontMetrics().elidedText(m_full, Qt::ElideRight, qMax(0, contentsRect().width()))); }

    QString m_full;
};

// The text with each SARA AM as the NIKHAHIT and SARA AA it is drawn as,
// the NIKHAHIT before the tone marks over the same letter, as the shaper
// orders them. Shaped whole, a letter and its SARA AM are one cluster, which
// the letter spacing widens once for two columns; apart, the SARA AA is a
// cluster of its own and gets its column's share.
QString spacedSaraAm(QString text)
{
    constexpr char16_t kSaraAm = 0x0E33, kNikhahit = 0x0E4D, kSaraAa = 0x0E32;
    for (qsizetype i = text.indexOf(QChar(kSaraAm)); i >= 0; i = text.indexOf(QChar(kSaraAm), i + 2)) {
        qsizetype at = i;
        while (at > 0 && text.at(at - 1).unicode() >= 0x0E48 && text.at(at - 1).unicode() <= 0x0E4B)
            --at;
        text[i] = QChar(kSaraAa);
        text.insert(at, QChar(kNikhahit));
    }
    return text;
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
    setFont(fixedPitchFont(kLeastZoom));
    m_metrics = PositionMetrics::of(font());
    updateSize();
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
        updateSize();
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

int LineView::recordEndColumn() const
{
    if (!m_natural || m_recordLength < 1)
        return m_recordLength;
    // Shown naturally, the record ends where the file's position does on
    // the first output line, after as many columns as its letters take.
    qsizetype firstLine = m_row.text.indexOf(u'\n');
    if (firstLine < 0)
        firstLine = m_row.text.size();
    const QStringView counted = QStringView(m_row.text).first(qMin<qsizetype>(firstLine, m_recordLength));
    return m_recordLength - int(std::count_if(counted.begin(), counted.end(), isMark));
}

void LineView::drawNatural(QPainter &painter, const QRect &exposed, const QList<bool> &written)
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
    // A letter's advance is fractional in a shaped run: the spacing makes up
    // the rest of the cell exactly.
    const qreal advance = QFontMetricsF(spaced).horizontalAdvance(u'0');
    spaced.setLetterSpacing(QFont::AbsoluteSpacing, m_metrics.cell - advance);
    const int inset = int((m_metrics.cell - advance) / 2);
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
            painter.drawText(band, Qt::AlignLeft | Qt::AlignVCenter, spacedSaraAm(m_row.text.sliced(start, end - start)));
            painter.setFont(font());
        }
        if (end < m_row.text.size())
            drawCharacter(painter, cellRect(placeOf(end)), u'\n', palette());
        start = end + 1;
    }
    // The spaces a fill or a constant writes, faintly dotted in their cells.
    for (qsizetype offset = 0; offset < m_row.text.size(); ++offset) {
        if (written.at(offset) && cellRect(placeOf(offset)).intersects(exposed))
            drawCharacter(painter, cellRect(placeOf(offset)), u' ', palette(), true);
    }
}

void LineView::setRecordLength(int length)
{
    if (length == m_recordLength)
        return;
    m_recordLength = length;
    updateSize();
    update();
}

void LineView::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange) {
        m_metrics = PositionMetrics::of(font());
        updateSize();
    }
    QWidget::changeEvent(event);
}

void LineView::updateSize()
{
    // The longest line, the record's end and 40 positions, and two more.
    int longest = m_recordLength;
    for (const Place &place : std::as_const(m_places))
        longest = qMax(longest, place.position + 1);
    const int lines = int(m_row.text.count(u'\n')) + 1;
    m_size = {2 * kMargin + (qMax(longest, 40) + 2) * m_metrics.cell, m_metrics.rulerHeight + lines * m_metrics.lineHeight + kMargin};
    updateGeometry();
}

QRect LineView::currentStart() const
{
    for (const Span &span : m_row.spans) {
        if (span.column == m_current && span.end > span.begin)
            return cellRect(placeOf(span.begin));
    }
    return {};
}

QRect LineView::currentEnd() const
{
    for (const Span &span : m_row.spans) {
        if (span.column == m_current && span.end > span.begin)
            return cellRect(placeOf(span.end - 1));
    }
    return {};
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

    // The characters, each in its cell; a mark on a dotted circle, a line
    // break as a return mark after the line.
    const QList<bool> written = writtenSpaces(m_row);
    if (m_natural) {
        drawNatural(painter, exposed, written);
    } else {
        for (qsizetype offset = 0; offset < m_row.text.size(); ++offset) {
            const QRect cell = cellRect(placeOf(offset));
            if (cell.intersects(exposed))
                drawCharacter(painter, cell, m_row.text.at(offset), palette(), written.at(offset));
        }
    }
    // The record's end over all, the highlight included.
    drawRecordEnd(painter, kMargin, recordEndColumn(), m_metrics.cell, height(), palette());
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
    setFont(fixedPitchFont(kLeastZoom));
    viewport()->setFont(font());
    m_metrics = PositionMetrics::of(font());
    m_labelWidth = QFontMetrics(font()).horizontalAdvance(QStringLiteral("00000 GROUP 00000")) + 2 * kMargin;
    setAccessibleName(tr("Whole pattern output"));
}

void PatternView::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange) {
        viewport()->setFont(font());
        m_metrics = PositionMetrics::of(font());
        m_labelWidth = QFontMetrics(font()).horizontalAdvance(QStringLiteral("00000 GROUP 00000")) + 2 * kMargin;
        updateScrollBars();
    }
    QAbstractScrollArea::changeEvent(event);
}

void PatternView::setRecordLength(int length)
{
    m_recordLength = length;
    updateScrollBars();
    viewport()->update();
}

void PatternView::setPattern(const PatternGrid *grid, const Samples &samples)
{
    m_grid = grid;
    m_samples = samples;
    m_rows.clear();
    m_firstLine.assign(1, 0);
    // The rows the file holds, each as many lines as its constants' breaks make.
    for (const int row : grid ? PatternRows::writtenRows(*grid) : QList<int>()) {
        qsizetype lines = 1;
        for (int c = GridLayout::kFirstFieldColumn; c <= GridLayout::kLastFieldColumn; ++c)
            lines += DescriptorView(grid->CellText(row, c)).lineBreaks();
        m_rows.push_back(row);
        m_firstLine.push_back(m_firstLine.back() + int(lines));
    }
    updateScrollBars();
    viewport()->update();
}

void PatternView::updateScrollBars()
{
    const int visible = qMax(0, (viewport()->height() - m_metrics.rulerHeight) / m_metrics.lineHeight);
    verticalScrollBar()->setRange(0, qMax(0, m_firstLine.back() - visible));
    verticalScrollBar()->setPageStep(qMax(1, visible));
    // As wide as the widest row drawn so far, the record and 200 positions.
    const int positions = qMax(qMax(200, m_widest), m_recordLength) + 2;
    horizontalScrollBar()->setRange(0, qMax(0, m_labelWidth + positions * m_metrics.cell - viewport()->width()));
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
    painter.setClipRect(QRect(m_labelWidth, 0, viewport()->width(), viewport()->height()));
    drawRecordEnd(painter, x0, m_recordLength, m_metrics.cell, viewport()->height(), palette());
    painter.setClipping(false);
    if (!m_grid)
        return;
    const int widest = m_widest;
    const int first = verticalScrollBar()->value();
    const int lines = (viewport()->height() - m_metrics.rulerHeight) / m_metrics.lineHeight + 1;
    for (qsizetype i = rowOnLine(first); i >= 0 && i < qsizetype(m_rows.size()) && m_firstLine[i] < first + lines; ++i) {
        const int row = m_rows[i];
        const RenderedRow rendered = renderRow(*m_grid, row, m_samples);
        int line = m_firstLine[i] - first;
        int position = 0;
        painter.setClipRect(QRect(m_labelWidth, m_metrics.rulerHeight, viewport()->width(), viewport()->height()));
        const QList<bool> written = writtenSpaces(rendered);
        for (qsizetype offset = 0; offset < rendered.text.size(); ++offset) {
            const QChar c = rendered.text.at(offset);
            if (line >= 0)
                drawCharacter(painter, QRect(x0 + position * m_metrics.cell, m_metrics.rulerHeight + line * m_metrics.lineHeight, m_metrics.cell, m_metrics.lineHeight),
                              c, palette(), written.at(offset));
            if (c == u'\n') {
                ++line;
                position = 0;
            } else {
                m_widest = qMax(m_widest, ++position);
            }
        }
        painter.setClipping(false);
        const int labelLine = m_firstLine[i] - first;
        if (labelLine >= 0) {
            painter.setPen(palette().color(QPalette::PlaceholderText));
            painter.drawText(QRect(kMargin, m_metrics.rulerHeight + labelLine * m_metrics.lineHeight, m_labelWidth - 2 * kMargin, m_metrics.lineHeight),
                             Qt::AlignLeft | Qt::AlignVCenter,
                             QStringLiteral("%1 %2 %3").arg(row).arg(PatternRows::word(*m_grid, row)).arg(rendered.length()));
        }
    }
    if (m_widest > widest)
        updateScrollBars();
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
    , m_lineScroll(new QScrollArea)
    , m_pattern(new PatternView)
    , m_summary(new ElidedLabel)
    , m_lineMode(new QComboBox)
    , m_note(new ElidedLabel)
    , m_checks(new QListWidget)
    , m_recordLength(new QSpinBox)
{
    setObjectName(QStringLiteral("previewPanel"));
    m_line->setObjectName(QStringLiteral("lineView"));
    m_lineScroll->setObjectName(QStringLiteral("lineScroll"));
    m_summary->setObjectName(QStringLiteral("previewSummary"));
    m_checks->setObjectName(QStringLiteral("checkList"));
    m_checks->setAccessibleName(tr("Layout checks"));
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    // The line and its ruler scroll together; the view is sized to the
    // line here, so the scroll bars are right at once for keepInView.
    m_lineScroll->setWidget(m_line);
    m_lineScroll->setWidgetResizable(false);
    m_lineScroll->setFrameShape(QFrame::NoFrame);
    m_lineScroll->viewport()->installEventFilter(this);
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(m_lineScroll, 1);
    auto *foot = new QHBoxLayout;
    foot->addWidget(m_summary, 3);
    m_note->setObjectName(QStringLiteral("lineModeNote"));
    m_note->setEnabled(false);
    foot->addWidget(m_note, 2);
    // How the line is shown, beside the tabs while the Line tab is up, so
    // that it takes none of the line's height.
    auto *mode = new QWidget;
    auto *modeRow = new QHBoxLayout(mode);
    modeRow->setContentsMargins(0, 0, 2, 0);
    auto *modeLabel = new QLabel(tr("&Show:"));
    modeLabel->setBuddy(m_lineMode);
    m_lineMode->setObjectName(QStringLiteral("lineMode"));
    m_lineMode->addItems({tr("Position by position"), tr("Natural")});
    modeRow->addWidget(modeLabel);
    modeRow->addWidget(m_lineMode);
    setCornerWidget(mode, Qt::TopRightCorner);
    connect(this, &QTabWidget::currentChanged, mode, [this, mode, page] { mode->setVisible(currentWidget() == page); });
    layout->addLayout(foot);
    showNatural(QSettings().value(QStringLiteral("preview/natural"), false).toBool());
    connect(m_lineMode, &QComboBox::activated, this, [this](int index) {
        showNatural(index == 1);
        QSettings().setValue(QStringLiteral("preview/natural"), index == 1);
    });
    m_pattern->setObjectName(QStringLiteral("patternView"));

    // The checks under the record length the bank requires, if the user
    // states one.
    m_recordLength->setObjectName(QStringLiteral("recordLength"));
    m_recordLength->setRange(0, 999999);
    m_recordLength->setSpecialValueText(tr("none"));
    m_recordLength->setAccessibleName(tr("Record length"));
    auto *recordLabel = new QLabel(tr("Record &length:"));
    recordLabel->setBuddy(m_recordLength);
    auto *checksPage = new QWidget;
    auto *checksLayout = new QVBoxLayout(checksPage);
    checksLayout->setContentsMargins(2, 2, 2, 2);
    auto *recordRow = new QHBoxLayout;
    recordRow->addWidget(recordLabel);
    recordRow->addWidget(m_recordLength);
    recordRow->addStretch(1);
    checksLayout->addLayout(recordRow);
    checksLayout->addWidget(m_checks, 1);
    connect(m_recordLength, &QSpinBox::valueChanged, this, [this](int length) {
        m_line->setRecordLength(length);
        m_pattern->setRecordLength(length);
        fitLine();
        Q_EMIT recordLengthChanged(length);
    });

    addTab(page, tr("Line"));
    addTab(m_pattern, tr("Pattern"));
    addTab(checksPage, tr("Checks"));
    connect(m_pattern, &PatternView::cellClicked, this, &PreviewPanel::cellChosen);

    connect(m_line, &LineView::columnClicked, this, [this](int column) { Q_EMIT cellChosen(m_row, column); });
    connect(m_checks, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) {
        const Check &check = m_shownChecks.at(m_checks->row(item));
        Q_EMIT cellChosen(check.row, check.column);
    });

    // The zoom: the keys and the wheel where the characters are.
    for (QWidget *view : {static_cast<QWidget *>(m_line), static_cast<QWidget *>(m_lineScroll), static_cast<QWidget *>(m_pattern),
                          m_pattern->viewport()})
        view->installEventFilter(this);
    setZoom(QSettings().value(kZoomKey, kLeastZoom).toInt());
}

int PreviewPanel::recordLength() const
{
    return m_recordLength->value();
}

void PreviewPanel::setRecordLength(int length)
{
    const QSignalBlocker blocker(m_recordLength);
    m_recordLength->setValue(length);
    m_line->setRecordLength(m_recordLength->value());
    m_pattern->setRecordLength(m_recordLength->value());
    fitLine();
}

void PreviewPanel::setZoom(int percent)
{
    const int zoom = qBound(kLeastZoom, percent, kMostZoom);
    const QFont font = fixedPitchFont(zoom);
    if (m_line->font() != font) {
        m_line->setFont(font);
        m_pattern->setFont(font);
    }
    if (zoom != m_zoom) {
        m_zoom = zoom;
        QSettings().setValue(kZoomKey, zoom);
    }
    fitLine();
}

void PreviewPanel::fitLine()
{
    const QSize room = m_lineScroll->viewport()->size();
    const QSize line = m_line->sizeHint();
    m_line->resize(qMax(room.width(), line.width()), qMax(room.height(), line.height()));
    // The whole span if it fits, else its beginning.
    const QRect start = m_line->currentStart();
    if (start.isNull())
        return;
    const QRect end = m_line->currentEnd();
    m_lineScroll->ensureVisible(end.right(), end.center().y(), 2 * start.width(), 0);
    m_lineScroll->ensureVisible(start.left(), start.center().y(), 2 * start.width(), 0);
}

bool PreviewPanel::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Resize:
    case QEvent::Show:
        if (watched == m_lineScroll->viewport())
            fitLine();
        break;
    case QEvent::Wheel: {
        auto *wheel = static_cast<QWheelEvent *>(event);
        if (wheel->modifiers() & Qt::ControlModifier) {
            if (const int steps = wheel->angleDelta().y() / 120)
                setZoom(m_zoom + steps * kZoomStep);
            return true;
        }
        break;
    }
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress: {
        // Ctrl++ and Ctrl+- are Insert and Remove Column in the grid; here
        // they are taken before any shortcut sees them.
        auto *key = static_cast<QKeyEvent *>(event);
        if (!(key->modifiers() & Qt::ControlModifier) || (key->modifiers() & (Qt::AltModifier | Qt::MetaModifier)))
            break;
        int step = 0;
        if (key->key() == Qt::Key_Plus || key->key() == Qt::Key_Equal)
            step = kZoomStep;
        else if (key->key() == Qt::Key_Minus)
            step = -kZoomStep;
        else if (key->key() != Qt::Key_0)
            break;
        if (event->type() == QEvent::KeyPress)
            setZoom(step == 0 ? kLeastZoom : m_zoom + step);
        event->accept();
        return true;
    }
    default:
        break;
    }
    return QTabWidget::eventFilter(watched, event);
}

void PreviewPanel::showNatural(bool natural)
{
    m_lineMode->setCurrentIndex(natural ? 1 : 0);
    m_line->setNatural(natural);
    static_cast<ElidedLabel *>(m_note)->setFullText(
        natural ? tr("Thai shaped as text: the ruler counts display columns, where a mark above or below a letter "
                     "takes none, not the file's positions.")
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
    fitLine();
    if (row < 1) {
        static_cast<ElidedLabel *>(m_summary)->setFullText(QString());
        return;
    }
    if (rendered.text != m_measuredText) {
        m_measuredText = rendered.text;
        m_measure = measure(rendered);
    }
    const Measure &m = m_measure;
    QString summary = tr("Line %1 (%2): %3 characters, %4 bytes in windows-874, %5 display columns")
                          .arg(QString::number(row), type, QString::number(m.characters),
                               QString::number(m.bytes), QString::number(m.columns));
    if (!samples.available)
        summary += tr(". The samples are unavailable: fields show their names.");
    static_cast<ElidedLabel *>(m_summary)->setFullText(summary);
}

void PreviewPanel::showChecks(const QList<Check> &checks)
{
    m_shownChecks = checks;
    m_checks->clear();
    for (const Check &check : checks) {
        // A row's check names its row itself; the pattern's, its mode.
        m_checks->addItem(check.column == 0 ? check.message
                                            : tr("row %1, Field%2: %3")
                                                  .arg(check.row)
                                                  .arg(check.column - GridLayout::kFirstFieldColumn + 1)
                                                  .arg(check.message));
    }
    setTabText(indexOf(m_checks->parentWidget()), checks.isEmpty() ? tr("Checks") : tr("Checks (%1)").arg(checks.size()));
}

void PreviewPanel::showPattern(const PatternGrid *grid, const Samples &samples)
{
    m_pattern->setPattern(grid, samples);
}
