#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>

class QTreeWidget;

// What the selection list shows: the title, one caption and width (in twips,
// 0 hides the column) per column, and the rows.
struct ListRequest
{
    QString title;
    QStringList captions;
    QList<int> widths;
    QList<QStringList> rows;
};

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

private:
    QTreeWidget *m_list;
};
