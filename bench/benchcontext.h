#pragma once

// The context of a benchmark run: the tests' scripted context, with the
// real data access. Nothing a benchmark does should ask the user anything;
// should it happen, every question gets its default answer at once and is
// counted, so the benchmark can report it instead of timing a dialog.

#include "scriptedcontext.h"

#include "components/gui/grideditor.h"
#include "components/gridtablemodel.h"
#include "designer/gui/frmcreatepattern.h"

#include <QLabel>

using BenchContext = ScriptedContext;

// The pattern a designer window holds, and its status text.
inline GridTableModel &gridOf(const frmCreatePattern &window)
{
    return *window.findChild<GridEditor *>(QStringLiteral("GridEditor1"))->model();
}

inline QString statusOf(const frmCreatePattern &window)
{
    return window.findChild<QLabel *>(QStringLiteral("textPanel"))->text();
}
