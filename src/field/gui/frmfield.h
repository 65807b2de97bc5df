#pragma once

#include <QDialog>
#include <QString>

#include "components/designdatabase.h"
#include "field/fielddescriptor.h"

class AppContext;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The field dialog: defines one field cell, either a data field of the
// working mode (fixed length, alignment, fill, prefix, suffix, multi-line)
// or a constant text. The caller creates one per edit, calls SetFormat, shows
// it modally and reads MDATA: OK puts the new descriptor there, Cancel and
// the close box leave what SetFormat gave it. Enter and Esc press no button.
// Each control carries its name as its object name.
class frmField final : public QDialog
{
    Q_OBJECT

public:
    explicit frmField(AppContext &context, QWidget *parent = nullptr);
    ~frmField() override;

    // Prepares the dialog for one cell: the caption, the field list of the
    // mode (and of "ALL") from the design database, the defaults, then the
    // cell's descriptor, which also becomes MDATA when it is not empty. A
    // database that cannot be read leaves the list empty.
    void SetFormat(const QString &Caption, const QString &PMODE, const QString &Data);
    // The descriptor for the dialog's current settings.
    QString GetFormat() const;
    // Lays the formatted sample out in the preview box.
    void FormatAdj();

    // The dialog's result, read and written by the caller.
    QString MDATA;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // The controls. Option1[0] is the constant option, Option1[1] the field
    // option; Text2, Text5, Text6 and Text7 are display boxes the program fills.
    QRadioButton *Option1[2];
    QFrame *Frame1;
    QLineEdit *Text1;
    QFrame *Frame2;
    QLabel *Label9;
    QComboBox *Combo1;
    QLineEdit *Text6;
    QLabel *Label3;
    QLineEdit *Text4;
    QLabel *Label1;
    QComboBox *Combo2;
    QLabel *Label2;
    QLineEdit *Text3;
    QLabel *Label4;
    QLineEdit *Text2;
    QLabel *Label5;
    QLineEdit *Text5;
    QLabel *Label6;
    QLineEdit *Text7;
    QLabel *Label7;
    QLineEdit *Text8;
    QLabel *Label8;
    QLineEdit *Text9;
    QCheckBox *Check1;
    QPushButton *Command1;
    QPushButton *Command2;

    void createControls();
    // The settings the controls show, as GetFormat writes them.
    FieldSettings settings() const;
    // Puts a loaded descriptor into the controls; `tag` decides what loads.
    void applyLoaded(const QString &tag, const FieldSettings &loaded);
    void loadFieldList(const QString &mode);
    // Puts a loaded component into a box that refuses characters: what it
    // brings along stays, as long as the user leaves it alone.
    static void setLoadedText(QLineEdit *box, const QString &text);
    void selectField(int index);
    void selectAlignment(int index);
    void showConstantCount();
    void showRefusal(QLineEdit *box, const QString &hint);

    void Combo1_Click();
    void Combo2_Click();
    void Text1_Change();
    void Text3_Change();
    void Text4_KeyDown(int keyCode, int shift);
    // The length confirmation of Enter and OK: false, having said why, for
    // a number beyond the largest length, which is left as typed.
    bool confirmLength();
    void Form_Activate();
    void Command1_Click();
    void Command2_Click();

    AppContext &m_context;
    QList<DesignField> m_fields;   // Combo1's entries, in order
};
