#pragma once

// The context of tests and benchmarks: the real library objects, and
// prompts that answer from scripts and record what was asked and told.

#include "components/appcontext.h"
#include "components/datatools.h"
#include "components/inireader.h"
#include "components/prompts.h"
#include "components/systemsettings.h"
#include "components/texttools.h"

#include <QFileInfo>
#include <QQueue>
#include <QStringList>
#ifdef QT_PRINTSUPPORT_LIB
#include <QPrinter>
#endif

#include <algorithm>

class ScriptedPrompts final : public PatternFileChooser, public ModePicker, public Questions, public Notices
{
public:
    struct FileCall { QString current; bool save = false; };

    // Answers. A file chooser with no answer left is cancelled; a question
    // with none gets its default button.
    QQueue<QString> files;
    QString mode;   // the code picked when the list offers it
    QQueue<bool> answers;
    QString printTo;   // the PDF file a print goes to; "" cancels the print dialog
    QQueue<std::optional<Filler>> fillers;   // none left: cancelled

    // What was asked and told, in order.
    QList<FileCall> fileCalls;
    int printDialogs = 0;
    QList<QList<WorkingMode>> modeLists;
    QList<YesNoQuestion> questions;
    QList<Filler> fillersProposed;
    QStringList told;
    QList<Icon> icons;

    int count() const
    {
        return int(fileCalls.size() + modeLists.size() + questions.size() + fillersProposed.size() + told.size())
            + printDialogs;
    }

    QString chooseToOpen(const QString &current) override { return choose(current, false); }
    QString chooseToSave(const QString &current) override { return choose(current, true); }
    QString chooseLayoutExport(const QString &current) override { return choose(current, true); }
    QString chooseToRead(const QString &, const QStringList &, const QString &current) override { return choose(current, false); }
    bool choosePrinter([[maybe_unused]] QPrinter &printer) override
    {
        ++printDialogs;
#ifdef QT_PRINTSUPPORT_LIB
        printer.setOutputFileName(printTo);
#endif
        return !printTo.isEmpty();
    }
    QString pickMode(const QList<WorkingMode> &modes) override
    {
        modeLists.append(modes);
        const bool offered = std::any_of(modes.cbegin(), modes.cend(), [this](const WorkingMode &m) { return m.code == mode; });
        return offered ? mode : QString();
    }
    bool ask(const YesNoQuestion &question) override
    {
        questions.append(question);
        return answers.isEmpty() ? question.yesIsDefault : answers.dequeue();
    }
    std::optional<Filler> askFiller(const Filler &proposed) override
    {
        fillersProposed.append(proposed);
        return fillers.isEmpty() ? std::nullopt : fillers.dequeue();
    }
    void tell(const QString &text, Icon icon) override
    {
        told.append(text);
        icons.append(icon);
    }

private:
    QString choose(const QString &current, bool save)
    {
        fileCalls.append({current, save});
        return files.isEmpty() ? QString() : files.dequeue();
    }
};

class ScriptedContext final : public AppContext
{
public:
    // With a database file, DesignConnection points at it.
    explicit ScriptedContext(const QString &designDatabase = QString())
    {
        const QFileInfo info(designDatabase);
        if (designDatabase.isEmpty())
            return;
        settings.setDataPath(info.absolutePath());
        settings.setDesktopConnection(data.BuildConnection(QStringLiteral("ACCESS"), info.absolutePath(), info.fileName(),
                                                           QStringLiteral("qp71958"), {}, {}, {}));
    }

    SystemSettings &systemSettings() override { return settings; }
    DataTools &dataTools() override { return data; }
    IniReader &iniReader() override { return ini; }
    TextTools &textTools() override { return text; }
    PatternFileChooser &fileChooser() override { return prompts; }
    ModePicker &modePicker() override { return prompts; }
    Questions &questions() override { return prompts; }
    Notices &notices() override { return prompts; }

    SystemSettings settings;
    DataTools data;
    IniReader ini;
    TextTools text;
    ScriptedPrompts prompts;
};
