#pragma once

#include "designer/patternpreview.h"

#include <QAbstractScrollArea>
#include <QTabWidget>

#include <vector>

class QComboBox;
class QLabel;
class QListWidget;
class QScrollArea;
class QSpinBox;

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
// Thai mark on a dotted circle so that the ruler and the file always agree,
// a space that a fill or a constant writes as a faint middle dot. The span
// of the current cell is highlighted, a click names the cell that writes
// the position, and a tooltip tells what a span is. Its size is that of
// the whole line, for a scroll area to show.
class LineView final : public QWidget
{
    Q_OBJECT

public:
    explicit LineView(QWidget *parent = nullptr);

    void setRow(const PatternPreview::RenderedRow &row, const PatternPreview::Samples &samples,
                int currentColumn, const QList<int> &checkedColumns);
    // The position after which the ruler marks the record's end; 0 none.
    void setRecordLength(int length);
    // What a span is: the cell, the field or "Constant", the field's name,
    // and the positions it writes, "21–35 (15)".
    QString describe(const PatternPreview::Span &span) const;
    // Where the current cell's span begins and ends; null when it writes
    // nothing.
    QRect currentStart() const;
    QRect currentEnd() const;
    QSize sizeHint() const override { return m_size; }
    QSize minimumSizeHint() const override { return m_size; }
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
    void changeEvent(QEvent *event) override;

private:
    // Where a text offset is drawn: its line and position, from 0.
    struct Place
    {
        int line = 0;
        int position = 0;
    };
    Place placeOf(qsizetype offset) const { return m_places.value(offset); }
    void updateSize();
    int spanAt(const QPoint &point) const;
    QRect cellRect(Place place) const;
    // Where each character of the row goes, once per row and mode.
    void placeCharacters();
    void drawNatural(QPainter &painter, const QRect &exposed, const QList<bool> &written);
    // The column after which the record ends, as the line is shown.
    int recordEndColumn() const;

    PatternPreview::RenderedRow m_row;
    QList<Place> m_places;   // where each character of the row's text is drawn
    PatternPreview::Samples m_samples;
    QList<int> m_checked;
    int m_current = 0;
    int m_recordLength = 0;
    PositionMetrics m_metrics;
    QSize m_size;
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
    void setRecordLength(int length);

Q_SIGNALS:
    void cellClicked(int row, int column);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void updateScrollBars();
    // The index in m_rows of the row drawn on a line of the view.
    qsizetype rowOnLine(int line) const;

    const PatternGrid *m_grid = nullptr;
    PatternPreview::Samples m_samples;
    std::vector<int> m_rows;       // the grid rows shown, in order
    std::vector<int> m_firstLine{0};   // each one's first line, then the total
    PositionMetrics m_metrics;
    int m_labelWidth = 100;
    int m_recordLength = 0;
    int m_widest = 0;              // the most positions a row drawn so far has
};

// The output preview: the current row as the exporting program writes it
// from the mode's samples, with a ruler and a summary, scrolled so that the
// current cell's span is in view, and a list of the layout checks of the
// whole pattern under the record length the user states. Ctrl with the
// wheel, Ctrl++ and Ctrl+- (while the preview has the focus, where they
// are no grid command) and Ctrl+0 zoom the characters, from the
// application's font size on; the zoom is kept in the settings.
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
    // The record length the box shows and the rulers mark, 0 for none;
    // setting it says nothing back.
    void setRecordLength(int length);
    int recordLength() const;
    // The characters' size in percent of the application's font.
    int zoom() const { return m_zoom; }

Q_SIGNALS:
    // The user chose the cell that writes a position, or a check's cell.
    void cellChosen(int row, int column);
    // The user stated another record length.
    void recordLengthChanged(int length);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setZoom(int percent);
    // The line view as large as its line, scrolled to the current span.
    void fitLine();
    // Position by position or natural, as the user left it last time.
    void showNatural(bool natural);

    LineView *m_line;
    QScrollArea *m_lineScroll;
    PatternView *m_pattern;
    QLabel *m_summary;
    QComboBox *m_lineMode;
    QLabel *m_note;
    QListWidget *m_checks;
    QSpinBox *m_recordLength;
    QList<PatternPreview::Check> m_shownChecks;
    int m_row = 0;
    // The summary's figures of the line shown; a cursor move within the line
    // keeps its text, so they are not counted again.
    QString m_measuredText;
    PatternPreview::Measure m_measure;
    int m_zoom = 100;
};
