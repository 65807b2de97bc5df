#pragma once

#include "components/designdatabase.h"

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>

#include <optional>

// The fields a pattern of a working mode can use, as the field palette
// lists them: identifier, descriptive name, formatted sample and its
// length, one row each. A field whose identifier no descriptor can hold
// (canStoreFieldName) is left out. A field is dragged as its identifier
// under kMimeType.
class FieldListModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Identifier, Name, Sample, Length, ColumnCount };
    static constexpr char kMimeType[] = "application/x-zn7-field";

    using QAbstractTableModel::QAbstractTableModel;

    void setFields(const QList<DesignField> &fields);
    const QList<DesignField> &fields() const { return m_fields; }
    // The descriptor a field of the list gets when it is put into a cell
    // (suggestedSettings at its sample's length, at least 1); nothing for a
    // field the list does not hold.
    std::optional<QString> descriptorFor(const QString &identifier) const;
    // The identifier a drag of the list carries; "" for other data.
    static QString identifierOf(const QMimeData *data);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;

private:
    QList<DesignField> m_fields;
};

// The fields whose identifier or name holds the filter text, in any case
// (Thai, which has none, as it is).
class FieldFilterModel final : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit FieldFilterModel(FieldListModel *list, QObject *parent = nullptr);

    void setFilterText(const QString &text);
    QString filterText() const { return m_text; }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    const FieldListModel *m_list;
    QString m_text;
};
