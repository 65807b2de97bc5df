#pragma once

#include "components/prompts.h"

class QWidget;

// The program's own prompts: modal file dialogs, the mode selection list and
// message boxes under the application's title, each over the parent widget.
class DialogPrompts final : public PatternFileChooser,
                            public ModePicker,
                            public Questions,
                            public Notices
{
public:
    static constexpr char16_t kApplicationTitle[] = u"Text Export Pattern Designer";

    void setParentWidget(QWidget *parent) { m_parent = parent; }

    QString chooseToOpen(const QString &current) override;
    QString chooseToSave(const QString &current) override;
    QString chooseLayoutExport(const QString &current) override;
    QString chooseToRead(const QString &title, const QStringList &filters, const QString &current) override;
    bool choosePrinter(QPrinter &printer) override;
    QString pickMode(const QList<WorkingMode> &modes) override;
    bool ask(const YesNoQuestion &question) override;
    std::optional<Filler> askFiller(const Filler &proposed) override;
    void tell(const QString &text, Icon icon) override;

private:
    QString choose(const QString &current, bool save);

    QWidget *m_parent = nullptr;
};
