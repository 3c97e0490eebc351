// The rules that keep a sign's rows one block: what an edit asks before it applies, and what it leaves.
#include "core/project/row_rules.h"

#include <algorithm>

#include "core/project/element_codes.h"
#include "core/params/language_entries.h"

namespace tablix {

QString QuestionText(const LanguageTable &language, const RowQuestion &question, const QString &elementText)
{
    switch (question.entry) {
    case 0:
        return QString();
    case 78:
        return language.LanguageEntry(text::kFillRowsNotice) + QLatin1Char(' ') + elementText + QLatin1Char(' ')
               + QString::number(question.number) + QLatin1Char(' ') + language.LanguageEntry(text::kFillRowsNoticeEnd);
    case 200:
        return language.LanguageEntry(text::kClosingNotLastNotice) + QString::number(question.number);
    default:
        return language.LanguageEntry(question.entry);
    }
}

RowChange EditRowChange(const RowCodes &rows, int row, std::uint8_t chosen)
{
    RowChange change{{}, rows, rows};
    if (row < 1 || row > kMaxRows)
        return change;
    const size_t n = size_t(row - 1);
    RowCodes &after = change.agreed;
    if (chosen == 0) {
        int following = 0;
        for (size_t i = n + 1; i < rows.size() && rows[i] != 0; ++i)
            ++following;
        if (following == 0) {
            after[n] = 0;
        } else {
            change.question = {80, 0};
            std::fill(after.begin() + std::ptrdiff_t(n), after.end(), std::uint8_t(0));
        }
        return change;
    }
    int gap = 0;
    for (size_t i = n; i > 0 && rows[i - 1] == 0; --i)
        ++gap;
    if (gap > 0)
        change.question = {78, gap + 1};
    std::fill(after.begin() + std::ptrdiff_t(n) - gap, after.begin() + std::ptrdiff_t(n) + 1, chosen);
    return change;
}

RowChange ClosingElementChange(const RowCodes &rows, const RowCodes &undoRows, int row)
{
    RowChange change{{}, rows, rows};
    if (row < 1 || row >= kMaxRows)
        return change;
    const size_t at = size_t(row - 1);
    if (!IsClosing(rows[at]) || rows[at + 1] == 0)
        return change;
    change.question = {200, row};
    change.refused = undoRows;
    size_t end = at + 1; // the first empty row after it, or the end
    while (end < rows.size() && rows[end] != 0)
        ++end;
    RowCodes &after = change.agreed;
    std::copy(rows.begin() + std::ptrdiff_t(at) + 1, rows.begin() + std::ptrdiff_t(end),
              after.begin() + std::ptrdiff_t(at));
    after[end - 1] = rows[at];
    return change;
}

bool ClosingElementsAllowed(Layout layout, SignType signType)
{
    return !HasClosedFrame(layout) && signType != SignType::ClosingProfile;
}

RowCodes SwitchedFamily(const RowCodes &rows)
{
    RowCodes switched{};
    std::transform(rows.begin(), rows.end(), switched.begin(),
                   [](std::uint8_t code) { return std::uint8_t(OtherFamily(code)); });
    return switched;
}

RowCodes KeptRowMarks(const RowCodes &marks, const RowCodes &rows)
{
    RowCodes kept = marks;
    for (size_t i = 0; i < kept.size(); ++i)
        if (!IsPanel(rows[i]))
            kept[i] = 0;
    return kept;
}

LowerMarks KeptLowerMarks(const LowerMarks &marks, const RowCodes &rows)
{
    size_t highest = 0;
    for (size_t k = 0; k < marks.size(); ++k)
        if (marks[k] != 0)
            highest = k + 1;
    // The posts are priced below the marked rows and drawn below the highest one: with a gap at
    // a row without strips the two would differ.
    LowerMarks kept{};
    for (size_t k = 0; k < highest && IsPanel(rows[k]); ++k)
        kept[k] = 1;
    return kept;
}

LowerMarks ClickedLowerMarks(const LowerMarks &marks, const RowCodes &rows, int mark, bool set)
{
    if (mark < 1 || mark > kLowerMarks)
        return KeptLowerMarks(marks, rows);
    LowerMarks clicked = marks;
    clicked[size_t(mark - 1)] = set ? 1 : 0;
    if (!set)
        std::fill(clicked.begin() + mark, clicked.end(), std::uint8_t(0));
    return KeptLowerMarks(clicked, rows);
}

} // namespace tablix
