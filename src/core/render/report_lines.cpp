// The lines of a report text as the report view, its printout and the summary read them.
#include "core/render/report_lines.h"

#include "core/project/app_state.h"

namespace tablix {

QString UnusedReportLine()
{
    return QString(QChar(0));
}

bool IsUnusedLine(const QString &line)
{
    return line.size() == 1 && line.at(0).unicode() == 0;
}

void SplitViewText(AppState &state)
{
    auto &lines = state.ReportLines;
    lines.fill(UnusedReportLine());
    const QString &text = state.ViewText;
    qsizetype end = text.indexOf(QChar(0));
    if (end < 0)
        end = text.size();

    qsizetype pos = 0;
    size_t count = 0;
    while (pos < end && count < lines.size()) {
        qsizetype cr = text.indexOf(QLatin1Char('\r'), pos);
        if (cr < 0 || cr > end)
            cr = end;
        lines[count++] = text.mid(pos, cr - pos);
        pos = cr + 1;
    }
}

int ReportLineCount(const AppState &state)
{
    int n = 0;
    for (const QString &line : state.ReportLines) {
        if (IsUnusedLine(line))
            break;
        ++n;
    }
    return n;
}

ReportColumns SplitReportColumns(const QString &line)
{
    const qsizetype tab = line.indexOf(QLatin1Char('\t'));
    if (tab < 0)
        return {line, QString(), false};
    return {line.left(tab), line.mid(tab + 1), true};
}

} // namespace tablix
