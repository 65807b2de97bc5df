#pragma once

#include <QDialog>
#include <QString>

class AppContext;

// The field dialog: defines one field cell, either a data field of the
// working mode (fixed length, alignment, fill, prefix, suffix, multi-line)
// or a constant text. The caller creates one per edit, calls SetFormat, shows
// it modally and reads MDATA: OK puts the new descriptor there, Cancel and
// the close box leave what SetFormat gave it.
class frmField final : public QDialog
{
    Q_OBJECT

public:
    explicit frmField(AppContext &context, QWidget *parent = nullptr);
    ~frmField() override;

    // Prepares the dialog for one cell: the caption, the field list of the
    // mode (and of "ALL") from the design database, the defaults, then the
    // cell's descriptor, which also becomes MDATA when it is not empty.
    void SetFormat(const QString &Caption, const QString &PMODE, const QString &Data);
    // The descriptor for the dialog's current settings.
    QString GetFormat() const;
    // Lays the formatted sample out in the preview box.
    void FormatAdj();

    // The dialog's result, read and written by the caller.
    QString MDATA;

private:
    struct Controls;
    Controls *d;
};
