#pragma once

#include <QWidget>

#include "components/designdatabase.h"

class FieldFilterModel;
class FieldListModel;
class QLabel;
class QLineEdit;
class QTableView;

// The field palette: the working mode's fields in a list with a filter box
// above it. A double-click or Enter on a field, or Enter in the filter box
// (for the field the list has current, else its first), chooses it; a field
// is dragged as FieldListModel::kMimeType. Each time the filter changes,
// the first field that matches becomes current.
class FieldPalette final : public QWidget
{
    Q_OBJECT

public:
    explicit FieldPalette(QWidget *parent = nullptr);

    void setFields(const QList<DesignField> &fields);
    const FieldListModel &list() const { return *m_list; }

Q_SIGNALS:
    void fieldChosen(const QString &identifier);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void filterChanged(const QString &text);
    void chooseCurrent();

    QLabel *m_filterLabel;
    QLineEdit *m_filter;
    QTableView *m_view;
    FieldListModel *m_list;
    FieldFilterModel *m_filtered;
};
