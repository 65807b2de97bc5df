#pragma once

#include "components/datatools.h"

#include <QDialog>

class QTreeWidget;
class QTreeWidgetItem;

// The modal selection list: one line per row, columns with the request's
// captions, a width of 0 hiding the column. A double-click or OK picks the
// current line; closing the list picks nothing.
class SelectionListDialog final : public QDialog
{
    Q_OBJECT

public:
    explicit SelectionListDialog(const ListRequest &request, QWidget *parent = nullptr);
    // The picked row's index, or -1.
    int pickedRow() const;
    QTreeWidget *list() const { return m_list; }

private:
    QTreeWidget *m_list;
};

// DataTools whose selection list is SelectionListDialog.
class DialogDataTools final : public DataTools
{
public:
    void setParentWidget(QWidget *parent) { m_parent = parent; }

protected:
    int pickRow(const ListRequest &request) override;

private:
    QWidget *m_parent = nullptr;
};
