#pragma once

#include "designer/exportmatch.h"

#include <QAbstractTableModel>
#include <QWidget>

class QComboBox;
class QLabel;
class QTableView;

// The lines of an inspected export file as a table: the file line, the row
// that wrote it, one column per field of the pattern's rows with the
// field's text (its cell, identifier and positions as the column's
// tooltip), and a note for a line of no row or of several. A filter shows
// the lines of no row, all lines, or the lines of one row; only the shown
// lines are counted, so a file of any length is held once and read once.
class ExportLinesModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    // What the filter shows: lines of no row, all, or a shape's lines.
    static constexpr int kUnmatched = -1;
    static constexpr int kAll = -2;

    ExportLinesModel(QList<RecordShape::Row> shapes, ExportMatch::ExportText text,
                    ExportMatch::Result result, QObject *parent = nullptr);

    const QList<RecordShape::Row> &shapes() const { return m_shapes; }
    const ExportMatch::ExportText &text() const { return m_text; }
    const ExportMatch::Result &result() const { return m_result; }

    void setFilter(int filter);
    int filter() const { return m_filter; }
    // The file line (from 0) a table row shows.
    qsizetype lineAt(int tableRow) const;
    // Whether a column is a field of the shape `shape` (the filter hides the others).
    bool isFieldOf(int column, int shape) const;
    // The characters a field column's field takes; 0 for another column.
    int fieldLength(int column) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    struct FieldColumn
    {
        int shape = 0;
        int part = 0;
        const RecordShape::Piece *piece = nullptr;
        QString title;
        QString tip;
    };
    QString note(qsizetype line) const;

    QList<RecordShape::Row> m_shapes;
    ExportMatch::ExportText m_text;
    ExportMatch::Result m_result;
    QList<FieldColumn> m_fields;
    int m_filter = kAll;
    QList<qsizetype> m_shown;   // the lines the filter shows, unless it shows all
};

// File > Inspect Export File: a window of its own over an ExportLinesModel,
// the summary above. Choosing a line tells the designer, which selects the
// line's row and shows the line under the preview's ruler.
class ExportWindow final : public QWidget
{
    Q_OBJECT

public:
    ExportWindow(const QString &fileName, QList<RecordShape::Row> shapes, ExportMatch::ExportText text,
                  ExportMatch::Result result, QWidget *parent = nullptr);

    ExportLinesModel *model() const { return m_model; }
    QTableView *view() const { return m_view; }

Q_SIGNALS:
    // A line was chosen: the grid row it belongs to (or comes nearest to, 0
    // for none) and its record as the preview draws it.
    void recordChosen(int row, const PatternPreview::RenderedRow &record);

private:
    void applyFilter(int index);
    void lineChosen();

    ExportLinesModel *m_model;
    QLabel *m_summary;
    QComboBox *m_filter;
    QTableView *m_view;
};
