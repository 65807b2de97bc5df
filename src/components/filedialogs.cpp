#include "filedialogs.h"

#include <QFileDialog>
#include <QFileInfo>

FileDialogs::~FileDialogs() = default;

QString FileDialogs::ChooseFile(const QString &, const QString &initialFile, const QString &filter,
                                bool &, bool &saveMode, int, int)
{
    // "Pattern File (*.PAT)|*.PAT": the part before "|" is what the user reads.
    const QString description = filter.section(u'|', 0, 0);
    const QString pattern = filter.section(u'|', 1, 1);
    const QString suffix = pattern.startsWith(QLatin1String("*.")) ? pattern.mid(2) : QString();
    QString nameFilter = description;
    // File names differ in case here; offer the lower-case spelling too.
    if (!suffix.isEmpty() && suffix != suffix.toLower())
        nameFilter = QStringLiteral("%1 (%2 *.%3)").arg(description.section(u'(', 0, 0).trimmed(),
                                                          pattern, suffix.toLower());

    QFileDialog dialog(m_parent);
    dialog.setNameFilters({nameFilter, QStringLiteral("All Files (*)")});
    dialog.setAcceptMode(saveMode ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(saveMode ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (saveMode && !suffix.isEmpty())
        dialog.setDefaultSuffix(suffix);
    if (!initialFile.isEmpty()) {
        const QFileInfo info(initialFile);
        if (info.isAbsolute() || info.exists())
            dialog.selectFile(info.absoluteFilePath());
        else
            dialog.selectFile(initialFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}
