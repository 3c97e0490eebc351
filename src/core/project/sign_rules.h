// What the basic data dialog's OK and the construction dialog's OK make of a sign.
#pragma once

#include "core/number/real48.h"
#include "core/params/language.h"
#include "core/params/parameters.h"
#include "core/project/row_rules.h"
#include "core/project/sign_record.h"

namespace tablix {

// A sign as its dialogs hold it: the record and the working copy of its rows.
struct SignDraft {
    SignRecord sign{};
    RowCodes rows{};     // workingRows
    RowCodes undoRows{}; // what the last row edit started from
    RowCodes rowMarks{};
    LowerMarks lowerMarks{};
};

// The values of the basic data dialog.
struct BasicData {
    long double width = 0;
    long double quantity = 0;
    long double percent = 0;
    long double auxDimension = 0;
    Layout layout = Layout::SidePostsB;
    SignType signType = SignType::NarrowFrame;
};

struct BasicDataResult {
    SignDraft draft;
    Real48 pricePercent; // the project's price percentage from now on
};

// Stores the values (throws FloatingPointOverflow when one does not fit, nothing changed), drops
// the auxiliary dimension of sign types 3..6, takes the rows into the other family when the
// layout changes family, and gives a sign with rows its automatic title unless it was named by hand.
BasicDataResult ApplyBasicData(const SignDraft &draft, const BasicData &data, const DerivedParameters &derived,
                               const LanguageTable &language);

// The working rows and marks written into the sign, with its automatic title unless it was named by hand.
SignRecord CommittedConstruction(const SignDraft &draft, const DerivedParameters &derived, const LanguageTable &language);

// The layout of the other profile family and the rows converted with it.
SignDraft SwitchedFamilyDraft(const SignDraft &draft);

bool NamedByHand(const SignRecord &sign);

} // namespace tablix
