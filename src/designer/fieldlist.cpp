#include "fieldlist.h"

#include "field/fielddescriptor.h"

#include <QMimeData>

#include <algorithm>

namespace {

int sampleLength(const DesignField &field)
{
    return int(std::max<qsizetype>(field.formattedSample.size(), 1));
}

} // namespace

void FieldListModel::setFields(const QList<DesignField> &fields)
{
    beginResetModel();
    m_fields.clear();
    std::copy_if(fields.begin(), fields.end(), std::back_inserter(m_fields),
                 [](const DesignField &field) { return canStoreFieldName(field.field); });
    endResetModel();
}

std::optional<QString> FieldListModel::descriptorFor(const QString &identifier) const
{
    const auto found = std::find_if(m_fields.cbegin(), m_fields.cend(),
                                    [&identifier](const DesignField &field) { return field.field == identifier; });
    if (found == m_fields.cend())
        return std::nullopt;
    return formatDescriptor(suggestedSettings(*found, sampleLength(*found)));
}

QString FieldListModel::identifierOf(const QMimeData *data)
{
    return data && data->hasFormat(QLatin1String(kMimeType)) ? QString::fromUtf8(data->data(QLatin1String(kMimeType)))
                                                             : QString();
}

int FieldListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_fields.size());
}

int FieldListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant FieldListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_fields.size())
        return {};
    const DesignField &field = m_fields.at(index.row());
    if (role == Qt::TextAlignmentRole && index.column() == Length)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    switch (index.column()) {
    case Identifier: return field.field;
    case Name: return field.name;
    case Sample: return field.formattedSample;
    case Length: return sampleLength(field);
    default: return {};
    }
}

QVariant FieldListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case Identifier: return tr("Field");
    case Name: return tr("Name");
    case Sample: return tr("Sample");
    case Length: return tr("Length");
    default: return {};
    }
}

Qt::ItemFlags FieldListModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled : Qt::NoItemFlags;
}

QStringList FieldListModel::mimeTypes() const
{
    return {QLatin1String(kMimeType)};
}

QMimeData *FieldListModel::mimeData(const QModelIndexList &indexes) const
{
    if (indexes.isEmpty() || !indexes.front().isValid())
        return nullptr;
    auto *data = new QMimeData;
    data->setData(QLatin1String(kMimeType), m_fields.at(indexes.front().row()).field.toUtf8());
    return data;
}

FieldFilterModel::FieldFilterModel(FieldListModel *list, QObject *parent)
    : QSortFilterProxyModel(parent)
    , m_list(list)
{
    setSourceModel(list);
}

void FieldFilterModel::setFilterText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    invalidateRowsFilter();
}

bool FieldFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex &) const
{
    if (m_text.isEmpty())
        return true;
    // The list's own fields, not their display texts: filtering runs on
    // every key over thousands of them.
    const DesignField &field = m_list->fields().at(sourceRow);
    return field.field.contains(m_text, Qt::CaseInsensitive) || field.name.contains(m_text, Qt::CaseInsensitive);
}
