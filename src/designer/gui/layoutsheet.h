#pragma once

#include "designer/patternlayout.h"

class QPrinter;

// The layout sheet of a pattern, where each of its cells lands in the
// exported lines: the heading and one table per row (PatternLayout), put on
// paper or into a file. Holds references to the grid and the samples, which
// must outlive it.
class LayoutSheet final
{
public:
    LayoutSheet(PatternLayout::SheetHeading heading, const PatternGrid &grid, const PatternPreview::Samples &samples);

    // Writes the sheet to `fileName` in the form its suffix names: .csv the
    // records as zn7pat's layout writes them, .html or .htm the sheet as a
    // page, .pdf the sheet in pages. The file is replaced only once complete.
    // False, with errorString() set, on another suffix or a failed write.
    bool save(const QString &fileName);
    // Prints the sheet on a printer already set up; false when the printer
    // reports an error.
    bool print(QPrinter &printer);
    QString errorString() const { return m_error; }

private:
    PatternLayout::SheetHeading m_heading;
    const PatternGrid &m_grid;
    const PatternPreview::Samples &m_samples;
    QString m_error;
};
