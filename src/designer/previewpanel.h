#pragma once

#include "designer/patternpreview.h"

#include <QAbstractScrollArea>
#include <QTabWidget>

#include <vector>

class QComboBox;
class QLabel;
class QListWidget;
class QScrollArea;

// The sizes both output views draw with: a cell per file position in a
// fixed-pitch font, a line tall enough for marks above and below, the
// ruler's height.
struct PositionMetrics
{
    int cell = 10;
    int lineHeight = 16;
    int rulerHeight = 24;

    static PositionMetrics of(const QFont &font);
};

// Draws one pattern row's output position by position under a ruler: each
// character of the file in a cell of its own, in a fixed-pitch font, a
// Thai mark on a dotted circle so that the ruler and the file always agree.
// The span of the current cell is highlighted, a click names the cell that
// writes the position, and a tooltip tells what a span is.
class LineView final : public QWidget
{
    Q_OBJECT

public:
    explicit LineView(QWidget *parent = nullptr);

    void setRow(const PatternPreview::RenderedRow &row, const PatternPreview::Samples &samples,
                int currentColumn, const QList<int> &checkedColumns);
    // What a span is: the cell, the field or "Constant", the field's name,
    // and the positions it writes, "21–35 (15)".
    QString describe(const PatternPreview::Span &span) const;
    QSize sizeHint() const override;
    // Natural: each output line drawn as one run of shaped text, a Thai mark
    // over or under its letter, so cells and ruler count display columns,
    // where a mark takes none; else a cell for every character of the file.
    void setNatural(bool natural);
    bool isNatural() const { return m_natural; }

Q_SIGNALS:
    void columnClicked(int column);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    bool event(QEvent *event) override;

private:
    // Where a text offset is drawn: its line and position, from 0.
    struct Place
    {
        int line = 0;
        int position = 0;
    };
    Place placeOf(qsizetype offset) const { return m_places.value(offset); }
    int spanAt(const QPoint &point) const;
    QRect cellRect(Place place) const;
    // Where each character of the row goes, once per row and mode.
    void placeCharacters();
    void drawNatural(QPainter &painter, const QRect &exposed);

    PatternPreview::RenderedRow m_row;
    QList<Place> m_places;   // where each character of the row's text is drawn
    PatternPreview::Samples m_samples;
    QList<int> m_checked;
    int m_current = 0;
    PositionMetrics m_metrics;
    bool m_natural = false;
};

// Every row of the pattern in order under the same ruler, one output line
// each (more where a constant breaks the line), labelled with its row
// number, type and length. Only the rows in view are laid out, so a
// pattern of ten thousand rows costs what a screenful does.
class PatternView final : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit PatternView(QWidget *parent = nullptr);
    // The pattern to show; the view keeps the pointer until the next call.
    void setPattern(const PatternGrid *grid, const PatternPreview::Samples &samples);

Q_SIGNALS:
    void cellClicked(int row, int column);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void updateScrollBars();
    // The index in m_rows of the row drawn on a line of the view.
    qsizetype rowOnLine(int line) const;

    const PatternGrid *m_grid = nullptr;
    PatternPreview::Samples m_samples;
    std::vector<int> m_rows;       // the grid rows shown, in order
    std::vector<int> m_firstLine;  // each one's first line, then the total
    PositionMetrics m_metrics;
    int m_labelWidth = 100;
};

// The output preview: the current row as the exporting program writes it
// from the mode's samples, with a ruler and a summary, and a list of the
// layout checks of the whole pattern.
class PreviewPanel final : public QTabWidget
{
    Q_OBJECT

public:
    explicit PreviewPanel(QWidget *parent = nullptr);

    // The row under the cursor; `type` is its type's name, row 0 none.
    void showRow(int row, const QString &type, const PatternPreview::RenderedRow &rendered,
                 const PatternPreview::Samples &samples, int currentColumn);
    void showChecks(const QList<PatternPreview::Check> &checks);
    void showPattern(const PatternGrid *grid, const PatternPreview::Samples &samples);

Q_SIGNALS:
    // The user chose the cell that writes a position, or a check's cell.
    void cellChosen(int row, int column);

private:
    // Position by position or natural, as the user left it last time.
    void showNatural(bool natural);

    LineView *m_line;
    PatternView *m_pattern;
    QLabel *m_summary;
    QComboBox *m_lineMode;
    QLabel *m_note;
    QListWidget *m_checks;
    QList<PatternPreview::Check> m_shownChecks;
    int m_row = 0;
};
