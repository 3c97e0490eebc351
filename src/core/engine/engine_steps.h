// Steps of ComputeSign shared between its source files.
#pragma once

#include <QString>

#include "core/engine/results.h"
#include "core/number/real48.h"
#include "core/params/language.h"
#include "core/params/parameters.h"
#include "core/project/row_rules.h"
#include "core/project/sign_record.h"

namespace tablix {

namespace engine {

// What one run reads, under the names the steps have always used, and what it writes.
struct EngineRun {
    SignRecord currentSignRecord; // a copy: the run puts the area surcharge it picks into it
    const RowCodes &workingRows;
    const RowCodes &workingRowMarks;
    const LowerMarks &workingLowerMarks;
    const ParameterRecord &parameters;
    const DerivedParameters &derived;
    const LanguageTable &language;
    EngineResults results;

    const QString &LanguageEntry(int n) const { return language.LanguageEntry(n); }
    long double StackHeight() const { return tablix::StackHeight(workingRows, currentSignRecord, derived); }
};

// Strip count and strip height (cm) of an element code; n = 0 for codes without strips.
struct Strips {
    int n = 0;
    long double height = 0;
};
Strips StripsOf(int code);

// Height in millimetres of the element of a code, from the element type table; 0 for codes
// without a table height.
long double ElementHeightMm(const EngineRun &state, int code);

// The two texts never hold more than their limit.
inline void Limit(QString &text)
{
    if (text.size() > kMaxTextLength)
        text.truncate(kMaxTextLength);
}

// Writes the priced lines, dimension lines, cutting list and totals of one run.
void WriteTexts(EngineRun &state);

} // namespace engine
} // namespace tablix
