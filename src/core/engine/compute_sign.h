// The construction engine: everything about one sign, computed from scratch.
#pragma once

#include "core/engine/results.h"
#include "core/params/language.h"
#include "core/params/parameters.h"
#include "core/project/row_rules.h"
#include "core/project/sign_record.h"

namespace tablix {

struct AppState;

// The rows the engine reads: the sign's own, or the construction dialog's working copy.
struct SignRows {
    RowCodes rows{};
    RowCodes rowMarks{};
    LowerMarks lowerMarks{};
};
SignRows StoredRows(const SignRecord &sign);

// Reads the sign, its rows and marks, the parameters and the language table, and returns
// everything computed, the area surcharge the sign's area picks included; changes nothing.
// Throws FloatingPointOverflow when a value does not fit the 6-byte format.
EngineResults ComputeSign(const SignRecord &sign, const SignRows &rows, const ParameterRecord &parameters,
                          const DerivedParameters &derived, const LanguageTable &language);

// The current sign with the working rows.
EngineResults ComputeSign(const AppState &state);

} // namespace tablix
