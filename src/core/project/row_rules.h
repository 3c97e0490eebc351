// The rules that keep a sign's rows one block: what an edit asks before it applies, and what it leaves.
#pragma once

#include <QString>
#include <array>
#include <cstdint>

#include "core/params/language.h"
#include "core/params/parameters.h"
#include "core/project/sign_record.h"

namespace tablix {

using RowCodes = std::array<std::uint8_t, kMaxRows>;       // workingRows, undoRows, workingRowMarks
using LowerMarks = std::array<std::uint8_t, kLowerMarks>; // workingLowerMarks

// A yes/no question for the notice; entry 0 asks nothing.
struct RowQuestion {
    int entry = 0;  // 80 remove the rows below, 78 (79 after) fill the gap above, 200 move the closing element
    int number = 0; // the rows the gap filling fills, or the row of the closing element
    explicit operator bool() const { return entry != 0; }
    bool operator==(const RowQuestion &) const = default;
};

// The outcome of one rule: without a question `agreed` applies at once; with one, `agreed` or `refused`
// by the answer.
struct RowChange {
    RowQuestion question;
    RowCodes agreed{};
    RowCodes refused{};
};

// The text the notice shows; the gap question names the chosen element by `elementText`.
QString QuestionText(const LanguageTable &language, const RowQuestion &question, const QString &elementText);

// Row `row` (1..60) gets `chosen`. 0 removes the row, or with occupied rows below it every row from it
// down (asking first); an element after empty rows fills them with it too (asking first). Rows out of
// range change nothing.
RowChange EditRowChange(const RowCodes &rows, int row, std::uint8_t chosen);

// A closing element in row `row` (1..59) with an occupied row after it moves to the end of its block
// (asking first); refused, the whole edit goes back to `undoRows`. Any other row changes nothing.
RowChange ClosingElementChange(const RowCodes &rows, const RowCodes &undoRows, int row);

// A closed frame and sign type 3 take no closing element.
bool ClosingElementsAllowed(Layout layout, SignType signType);

// Every code exchanged for the same element in the other family.
RowCodes SwitchedFamily(const RowCodes &rows);

// Row marks stay only on rows that carry strips.
RowCodes KeptRowMarks(const RowCodes &marks, const RowCodes &rows);

// Lower marks run from row 1 up to the highest one set, and stop before the first row without
// strips: they stay one block from row 1, which the posts' price and drawing both assume.
LowerMarks KeptLowerMarks(const LowerMarks &marks, const RowCodes &rows);

// Lower mark `mark` (1..10) set or cleared by the user; clearing one clears those below it.
LowerMarks ClickedLowerMarks(const LowerMarks &marks, const RowCodes &rows, int mark, bool set);

// Height in cm of the stack of rows; 0 when row 1 is empty.
long double StackHeight(const RowCodes &rows, const SignRecord &sign, const DerivedParameters &derived);

// "<width>x<height><family word>", cut to 20 characters: the title of a sign its maker did not name.
QString AutoTitle(const RowCodes &rows, const SignRecord &sign, const DerivedParameters &derived,
                  const LanguageTable &language);

} // namespace tablix
