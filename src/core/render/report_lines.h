// The lines of a report text as the report view, its printout and the summary read them.
#pragma once

#include <QString>

namespace tablix {

struct AppState;

// One character of code 0: the line is unused and ends the list.
QString UnusedReportLine();
bool IsUnusedLine(const QString &line);

// Rebuilds state.ReportLines from state.ViewText: a carriage return ends a line and is dropped,
// a line feed stays in the line; splitting stops at a NUL, at the end of the text or after the
// last line; the lines left over are marked unused.
void SplitViewText(AppState &state);

// Number of lines before the first unused one.
int ReportLineCount(const AppState &state);

// A line with a tab has two columns split at the first tab; without one it is a single label.
struct ReportColumns {
    QString label;
    QString value;
    bool hasValue = false;
};
ReportColumns SplitReportColumns(const QString &line);

} // namespace tablix
