#pragma once

#include "components/designdatabase.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The small interfaces through which the program asks the user something
// or tells the user something. The program's own are modal dialogs
// (dialogprompts.h); tests and benchmarks put scripted ones in their place.

class QPrinter;

// Chooses pattern files, and where a pattern's layout sheet goes. The
// file choosers return "" when the user cancels.
class PatternFileChooser
{
public:
    virtual ~PatternFileChooser();
    // An existing pattern file to open, starting at `current`.
    virtual QString chooseToOpen(const QString &current) = 0;
    // Where to save, starting at `current`. It does not ask about
    // overwriting an existing file: the caller asks.
    virtual QString chooseToSave(const QString &current) = 0;
    // Where to export the layout sheet, starting at `current`: a file whose
    // suffix gives the form (.csv, .html, .pdf). The chooser asks about
    // overwriting an existing file itself.
    virtual QString chooseLayoutExport(const QString &current) = 0;
    // Another existing file to read, of the kinds `filters` name ("Export
    // files (*.txt *.dat)"), under the dialog title `title`.
    virtual QString chooseToRead(const QString &title, const QStringList &filters, const QString &current) = 0;
    // Sets `printer` up for printing the layout sheet; false when the user
    // cancels.
    virtual bool choosePrinter(QPrinter &printer) = 0;
};

// Lets the user pick the working mode of a new pattern.
class ModePicker
{
public:
    virtual ~ModePicker();
    // The code of the mode picked from `modes`; "" when none was picked.
    virtual QString pickMode(const QList<WorkingMode> &modes) = 0;
};

// A question answered Yes or No.
struct YesNoQuestion
{
    QString text;
    bool critical = false;     // the critical icon, else none
    bool yesIsDefault = false;
    // Whether Esc and the close box answer No. Where No drops the user's
    // work they do nothing: only a button answers.
    bool escapeAnswersNo = true;
};

// A filler: `length` times `character`, put into a cell as a constant.
struct Filler
{
    int length = 1;
    QChar character = u' ';

    friend bool operator==(const Filler &, const Filler &) = default;
};

class Questions
{
public:
    virtual ~Questions();
    // True for Yes.
    virtual bool ask(const YesNoQuestion &question) = 0;
    // The length (1 to 32767) and the character of a filler, starting from
    // `proposed`; nothing when the user cancels. A character that a
    // descriptor cannot hold (firstRefusedCharacter) is never given.
    virtual std::optional<Filler> askFiller(const Filler &proposed) = 0;
};

// Tells the user something, with an OK button.
class Notices
{
public:
    enum class Icon { None, Information, Warning, Critical };
    virtual ~Notices();
    virtual void tell(const QString &text, Icon icon = Icon::None) = 0;
};
