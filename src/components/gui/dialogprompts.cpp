#include "dialogprompts.h"

#include "components/gui/selectionlist.h"
#include "field/gui/componentvalidator.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QToolTip>

namespace {

QString applicationTitle()
{
    return QString::fromUtf16(DialogPrompts::kApplicationTitle);
}

// A Yes/No box. When only its buttons may answer, Esc and the close box do
// nothing; QMessageBox would take No for them.
class QuestionBox final : public QMessageBox
{
public:
    QuestionBox(const YesNoQuestion &question, QWidget *parent)
        : QMessageBox(question.critical ? QMessageBox::Critical : QMessageBox::NoIcon,
                      applicationTitle(), question.text, QMessageBox::Yes | QMessageBox::No, parent)
        , m_buttonsOnly(!question.escapeAnswersNo)
    {
        setDefaultButton(question.yesIsDefault ? QMessageBox::Yes : QMessageBox::No);
        if (question.escapeAnswersNo)
            setEscapeButton(QMessageBox::No);
    }

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (m_buttonsOnly && event->matches(QKeySequence::Cancel)) {
            event->accept();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent *event) override
    {
        if (m_buttonsOnly && !clickedButton()) {
            event->ignore();
            return;
        }
        QMessageBox::closeEvent(event);
    }

private:
    bool m_buttonsOnly;
};

QMessageBox::Icon messageIcon(Notices::Icon icon)
{
    switch (icon) {
    case Notices::Icon::Information: return QMessageBox::Information;
    case Notices::Icon::Warning: return QMessageBox::Warning;
    case Notices::Icon::Critical: return QMessageBox::Critical;
    case Notices::Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

QString DialogPrompts::chooseToOpen(const QString &current)
{
    return choose(current, false);
}

QString DialogPrompts::chooseToSave(const QString &current)
{
    return choose(current, true);
}

QString DialogPrompts::choose(const QString &current, bool save)
{
    QFileDialog dialog(m_parent);
    dialog.setObjectName(save ? QStringLiteral("saveDialog") : QStringLiteral("openDialog"));
    // File names differ in case here; the lower-case spelling is offered too.
    dialog.setNameFilters({QStringLiteral("Pattern File (*.PAT *.pat)"), QStringLiteral("All Files (*)")});
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (save)
        dialog.setDefaultSuffix(QStringLiteral("PAT"));
    if (!current.isEmpty()) {
        const QFileInfo info(current);
        dialog.selectFile(info.isAbsolute() || info.exists() ? info.absoluteFilePath() : current);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString DialogPrompts::chooseLayoutExport(const QString &current)
{
    QFileDialog dialog(m_parent);
    dialog.setObjectName(QStringLiteral("exportDialog"));
    dialog.setWindowTitle(QStringLiteral("Export Layout"));
    const QStringList filters{QStringLiteral("PDF (*.pdf)"), QStringLiteral("HTML (*.html *.htm)"),
                              QStringLiteral("CSV (*.csv)")};
    const QStringList suffixes{QStringLiteral("pdf"), QStringLiteral("html"), QStringLiteral("csv")};
    dialog.setNameFilters(filters);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // A name typed without a suffix takes the chosen form's.
    dialog.setDefaultSuffix(suffixes.constFirst());
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, filters, suffixes](const QString &filter) {
        dialog.setDefaultSuffix(suffixes.value(filters.indexOf(filter), suffixes.constFirst()));
    });
    if (!current.isEmpty())
        dialog.selectFile(current);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString DialogPrompts::chooseToRead(const QString &title, const QStringList &filters, const QString &current)
{
    QFileDialog dialog(m_parent);
    dialog.setObjectName(QStringLiteral("readDialog"));
    dialog.setWindowTitle(title);
    dialog.setNameFilters(filters + QStringList{QStringLiteral("All Files (*)")});
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (!current.isEmpty())
        dialog.selectFile(current);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

bool DialogPrompts::choosePrinter(QPrinter &printer)
{
    QPrintDialog dialog(&printer, m_parent);
    dialog.setWindowTitle(QStringLiteral("Print Layout"));
    return dialog.exec() == QDialog::Accepted;
}

QString DialogPrompts::pickMode(const QList<WorkingMode> &modes)
{
    ListRequest request;
    request.title = QStringLiteral("เลือกโหมดการทำงาน");
    request.captions = {QStringLiteral("Mode"), QStringLiteral("ชื่อโหมด")};
    request.widths = {0, 4000};   // the code stays hidden
    for (const WorkingMode &mode : modes)
        request.rows.append({mode.code, mode.name});
    SelectionListDialog dialog(request, m_parent);
    dialog.exec();
    const int row = dialog.pickedRow();
    return row < 0 ? QString() : modes.at(row).code;
}

bool DialogPrompts::ask(const YesNoQuestion &question)
{
    QuestionBox box(question, m_parent);
    return box.exec() == QMessageBox::Yes;
}

void DialogPrompts::tell(const QString &text, Icon icon)
{
    QMessageBox box(messageIcon(icon), applicationTitle(), text, QMessageBox::Ok, m_parent);
    box.exec();
}

std::optional<Filler> DialogPrompts::askFiller(const Filler &proposed)
{
    QDialog dialog(m_parent);
    dialog.setObjectName(QStringLiteral("fillerDialog"));
    dialog.setWindowTitle(QStringLiteral("Insert Filler"));
    auto *length = new QSpinBox;
    length->setObjectName(QStringLiteral("fillerLength"));
    length->setRange(1, 32767);
    length->setValue(proposed.length);
    auto *character = new QLineEdit(QString(proposed.character));
    character->setObjectName(QStringLiteral("fillerCharacter"));
    character->setMaxLength(1);
    // A space cannot be seen in the box: a note names it.
    auto *note = new QLabel;
    note->setObjectName(QStringLiteral("fillerCharacterNote"));
    auto *validator = new ComponentValidator(character);
    character->setValidator(validator);
    QObject::connect(validator, &ComponentValidator::refused, character, [character](const QString &hint) {
        QToolTip::showText(character->mapToGlobal(QPoint(0, character->height())), hint, character);
    });
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    const auto characterChanged = [character, note, buttons] {
        const QString text = character->text();
        note->setText(text == u" " ? QStringLiteral("(a space)") : QString());
        character->setAccessibleDescription(note->text());
        buttons->button(QDialogButtonBox::Ok)->setEnabled(text.size() == 1);
    };
    QObject::connect(character, &QLineEdit::textChanged, &dialog, characterChanged);
    characterChanged();

    auto *characterRow = new QHBoxLayout;
    characterRow->addWidget(character);
    characterRow->addWidget(note, 1);
    auto *form = new QFormLayout(&dialog);
    form->addRow(QStringLiteral("&Length:"), length);
    form->addRow(QStringLiteral("&Character:"), characterRow);
    form->addRow(buttons);
    // The buddies name the boxes for screen readers, and Alt with the
    // underlined letter reaches them.
    if (auto *label = qobject_cast<QLabel *>(form->labelForField(characterRow)))
        label->setBuddy(character);
    character->setAccessibleName(QStringLiteral("Character"));
    length->selectAll();
    length->setFocus();
    if (dialog.exec() != QDialog::Accepted || character->text().size() != 1)
        return std::nullopt;
    return Filler{length->value(), character->text().front()};
}
