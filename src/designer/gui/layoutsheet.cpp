#include "layoutsheet.h"

#include <QFileInfo>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <QTextDocument>

namespace {

// The sheet as a document for pages, in a font with Thai glyphs of its own.
void layOut(QTextDocument &document, const QString &html)
{
    document.setDefaultFont(QFont(QStringLiteral("Garuda"), 8));
    document.setHtml(html);
}

} // namespace

LayoutSheet::LayoutSheet(PatternLayout::SheetHeading heading, const PatternGrid &grid,
                         const PatternPreview::Samples &samples)
    : m_heading(std::move(heading))
    , m_grid(grid)
    , m_samples(samples)
{
}

bool LayoutSheet::save(const QString &fileName)
{
    m_error.clear();
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix != u"csv" && suffix != u"html" && suffix != u"htm" && suffix != u"pdf") {
        m_error = QStringLiteral("The file name must end in .csv, .html or .pdf.");
        return false;
    }
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        m_error = file.errorString();
        return false;
    }
    bool written = true;
    if (suffix == u"csv") {
        written = PatternLayout::write(file, PatternLayout::Format::Csv, m_grid, m_samples, &m_error);
    } else if (suffix == u"pdf") {
        QPdfWriter writer(&file);
        writer.setPageOrientation(QPageLayout::Landscape);
        writer.setTitle(QStringLiteral("Layout of %1").arg(m_heading.fileName));
        writer.setCreator(QStringLiteral("zn7tedsr"));
        QTextDocument document;
        layOut(document, PatternLayout::sheetHtml(m_heading, m_grid, m_samples));
        document.print(&writer);
    } else {
        const QByteArray bytes = PatternLayout::sheetHtml(m_heading, m_grid, m_samples).toUtf8();
        written = file.write(bytes) == bytes.size();
    }
    if (!written || !file.commit()) {
        if (m_error.isEmpty())
            m_error = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}

bool LayoutSheet::print(QPrinter &printer)
{
    m_error.clear();
    QTextDocument document;
    layOut(document, PatternLayout::sheetHtml(m_heading, m_grid, m_samples));
    document.print(&printer);
    if (printer.printerState() == QPrinter::Error) {
        m_error = QStringLiteral("The printer reported an error.");
        return false;
    }
    return true;
}
