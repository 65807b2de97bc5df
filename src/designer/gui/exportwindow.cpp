#include "exportwindow.h"

#include "designer/gridlayout.h"

#include <QBrush>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLocale>
#include <QPalette>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

using ExportMatch::LineMatch;

namespace {

enum FixedColumn { kLine, kRow, kText, kFirstField };

QString cellName(int column)
{
    return QStringLiteral("Field%1").arg(column - GridLayout::kFirstFieldColumn + 1);
}

} // namespace

ExportLinesModel::ExportLinesModel(QList<RecordShape::Row> shapes, ExportMatch::ExportText text,
                                 ExportMatch::Result result, QObject *parent)
    : QAbstractTableModel(parent)
    , m_shapes(std::move(shapes))
    , m_text(std::move(text))
    , m_result(std::move(result))
{
    for (int s = 0; s < m_shapes.size(); ++s) {
        const RecordShape::Row &shape = m_shapes.at(s);
        for (int part = 0; part < shape.lines.size(); ++part) {
            for (const RecordShape::Piece &piece : shape.lines.at(part).pieces) {
                if (piece.kind != PatternPreview::Span::Kind::Field)
                    continue;
                QString where = QStringLiteral("row %1 (%2)").arg(shape.row).arg(shape.type);
                if (shape.lines.size() > 1)
                    where += QStringLiteral(", line %1").arg(part + 1);
                m_fields.append({s, part, &piece, QStringLiteral("%1 %2").arg(shape.row).arg(piece.field),
                                 QStringLiteral("%1, %2: %3, positions %4-%5 (%6)")
                                     .arg(where, cellName(piece.column), piece.field)
                                     .arg(piece.start)
                                     .arg(piece.end)
                                     .arg(piece.length())});
            }
        }
    }
}

void ExportLinesModel::setFilter(int filter)
{
    beginResetModel();
    m_filter = filter;
    m_shown.clear();
    if (filter != kAll) {
        for (qsizetype i = 0; i < m_text.size(); ++i) {
            const LineMatch &match = m_result.lines.at(i);
            if (filter == kUnmatched ? match.shape < 0 : match.shape == filter)
                m_shown.append(i);
        }
    }
    endResetModel();
}

qsizetype ExportLinesModel::lineAt(int tableRow) const
{
    return m_filter == kAll ? tableRow : m_shown.value(tableRow, -1);
}

bool ExportLinesModel::isFieldOf(int column, int shape) const
{
    const qsizetype field = column - kFirstField;
    return field >= 0 && field < m_fields.size() && m_fields.at(field).shape == shape;
}

int ExportLinesModel::fieldLength(int column) const
{
    const qsizetype field = column - kFirstField;
    return field >= 0 && field < m_fields.size() ? m_fields.at(field).piece->length() : 0;
}

int ExportLinesModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return int(m_filter == kAll ? m_text.size() : m_shown.size());
}

int ExportLinesModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(kFirstField + m_fields.size() + 1);
}

QString ExportLinesModel::note(qsizetype line) const
{
    const LineMatch &match = m_result.lines.at(line);
    if (match.shape < 0)
        return ExportMatch::describeMiss(m_shapes, match);
    const auto tie = m_result.ties.constFind(int(line));
    if (tie == m_result.ties.cend())
        return {};
    QStringList rows;
    for (const int s : *tie)
        rows << QStringLiteral("row %1").arg(m_shapes.at(s).row);
    return tr("%1 fits as well").arg(rows.join(QStringLiteral(", ")));
}

QVariant ExportLinesModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const qsizetype line = lineAt(index.row());
    if (line < 0)
        return {};
    const LineMatch &match = m_result.lines.at(line);
    const int column = index.column();
    if (role == Qt::BackgroundRole)
        return match.shape < 0 ? QVariant(QBrush(QColor(255, 224, 224))) : QVariant();
    if (role == Qt::ForegroundRole)
        return match.shape < 0 ? QVariant(QBrush(Qt::black)) : QVariant();
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    if (column == kLine)
        return role == Qt::DisplayRole ? QVariant(qlonglong(line + 1)) : QVariant(m_text.line(line).toString());
    if (column == kText)
        return m_text.line(line).toString();
    if (column == kRow) {
        if (match.shape < 0)
            return tr("no row");
        const RecordShape::Row &shape = m_shapes.at(match.shape);
        return shape.lines.size() > 1 ? tr("%1 %2, line %3").arg(shape.row).arg(shape.type).arg(match.part + 1)
                                      : QStringLiteral("%1 %2").arg(shape.row).arg(shape.type);
    }
    const qsizetype field = column - kFirstField;
    if (field == m_fields.size())
        return note(line);
    const FieldColumn &f = m_fields.at(field);
    if (match.shape != f.shape || match.part != f.part)
        return {};
    return role == Qt::ToolTipRole ? QVariant(f.tip)
                                   : QVariant(ExportMatch::textOf(m_text.line(line), *f.piece).toString());
}

QVariant ExportLinesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return QAbstractTableModel::headerData(section, orientation, role);
    if (section == kLine)
        return role == Qt::DisplayRole ? tr("Line") : tr("The line of the file; its tooltip is the whole line");
    if (section == kRow)
        return role == Qt::DisplayRole ? tr("Row") : tr("The pattern row that wrote the line");
    if (section == kText)
        return role == Qt::DisplayRole ? tr("Text") : tr("The whole line as the file has it");
    const qsizetype field = section - kFirstField;
    if (field == m_fields.size())
        return tr("Note");
    if (field < 0 || field > m_fields.size())
        return {};
    return role == Qt::DisplayRole ? m_fields.at(field).title : m_fields.at(field).tip;
}

ExportWindow::ExportWindow(const QString &fileName, QList<RecordShape::Row> shapes,
                             ExportMatch::ExportText text, ExportMatch::Result result, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_summary(new QLabel)
    , m_filter(new QComboBox)
    , m_view(new QTableView)
{
    setObjectName(QStringLiteral("inspectWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Inspect %1").arg(fileName));
    const QString summary = ExportMatch::summary(shapes, text, result);
    m_model = new ExportLinesModel(std::move(shapes), std::move(text), std::move(result), this);

    m_summary->setObjectName(QStringLiteral("inspectSummary"));
    m_summary->setText(QStringLiteral("%1: %2").arg(fileName, summary));
    m_summary->setWordWrap(true);
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_summary->setAccessibleName(tr("Summary"));
    m_summary->setAccessibleDescription(m_summary->text());

    auto *showLabel = new QLabel(tr("&Show:"));
    showLabel->setBuddy(m_filter);
    m_filter->setObjectName(QStringLiteral("inspectFilter"));
    m_filter->setAccessibleName(tr("Show"));
    const ExportMatch::Result &r = m_model->result();
    const QLocale locale;
    if (r.unmatched > 0)
        m_filter->addItem(tr("Lines of no row (%1)").arg(locale.toString(r.unmatched)), ExportLinesModel::kUnmatched);
    m_filter->addItem(tr("All lines (%1)").arg(locale.toString(m_model->text().size())), ExportLinesModel::kAll);
    for (int s = 0; s < m_model->shapes().size(); ++s) {
        const RecordShape::Row &shape = m_model->shapes().at(s);
        const qsizetype records = r.records.at(s);
        m_filter->addItem(tr("Row %1 (%2): %3 %4")
                              .arg(shape.row)
                              .arg(shape.type, locale.toString(records), records == 1 ? tr("record") : tr("records")),
                          s);
    }

    m_view->setObjectName(QStringLiteral("inspectTable"));
    m_view->setAccessibleName(tr("Lines of the export file"));
    m_view->setModel(m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setWordWrap(false);
    // Fixed row heights and widths from the positions, so that no row of a
    // long file is measured.
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->verticalHeader()->hide();
    const int character = m_view->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    m_view->setColumnWidth(kLine, 7 * character);
    m_view->setColumnWidth(kRow, 12 * character);
    m_view->setColumnWidth(kText, 40 * character);
    for (int c = kFirstField; c < m_model->columnCount() - 1; ++c) {
        const int title = int(m_model->headerData(c, Qt::Horizontal).toString().size());
        m_view->setColumnWidth(c, (std::max(m_model->fieldLength(c), title) + 2) * character);
    }
    m_view->horizontalHeader()->setStretchLastSection(true);

    auto *top = new QHBoxLayout;
    top->addWidget(showLabel);
    top->addWidget(m_filter, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addLayout(top);
    layout->addWidget(m_view, 1);

    connect(m_filter, &QComboBox::currentIndexChanged, this, &ExportWindow::applyFilter);
    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &ExportWindow::lineChosen);
    auto *close = new QShortcut(QKeySequence::Close, this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
    applyFilter(0);
    resize(900, 500);
}

void ExportWindow::applyFilter(int index)
{
    const int filter = m_filter->itemData(index).toInt();
    m_model->setFilter(filter);
    // Lines of no row have no fields, one row's lines no other row's; the
    // whole line is what a line of no row shows.
    m_view->setColumnHidden(kText, filter >= 0);
    for (int c = kFirstField; c < m_model->columnCount() - 1; ++c)
        m_view->setColumnHidden(c, filter == ExportLinesModel::kUnmatched || (filter >= 0 && !m_model->isFieldOf(c, filter)));
}

void ExportWindow::lineChosen()
{
    const qsizetype line = m_model->lineAt(m_view->currentIndex().row());
    if (line < 0)
        return;
    int row = 0;
    const PatternPreview::RenderedRow record =
        ExportMatch::recordAt(m_model->shapes(), m_model->text(), m_model->result(), line, &row);
    Q_EMIT recordChosen(row, record);
}
