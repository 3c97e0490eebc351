// What the basic data dialog's OK and the construction dialog's OK make of a sign.
#include "core/project/sign_rules.h"

#include <algorithm>

#include "core/project/element_codes.h"

namespace tablix {

bool NamedByHand(const SignRecord &sign)
{
    return sign.titleText().startsWith(QLatin1Char('!'));
}

SignDraft SwitchedFamilyDraft(const SignDraft &draft)
{
    SignDraft out = draft;
    out.sign.layout = OtherFamilyLayout(draft.sign.layout);
    out.rows = SwitchedFamily(draft.rows);
    // An edit undone later returns to rows of the new family.
    out.undoRows = SwitchedFamily(draft.undoRows);
    return out;
}

BasicDataResult ApplyBasicData(const SignDraft &draft, const BasicData &data, const DerivedParameters &derived,
                               const LanguageTable &language)
{
    BasicDataResult result{draft, derived.FixedPricePercent};
    SignRecord &sign = result.draft.sign;
    sign.width.set(data.width);
    result.pricePercent.set(data.percent);
    sign.priceLevel = result.pricePercent;
    sign.auxDimension.set(data.auxDimension);
    sign.quantity.set(data.quantity);
    if (IsKnown(data.layout))
        sign.layout = data.layout;
    if (IsKnown(data.signType))
        sign.signType = data.signType;
    // Only the narrow and wide frames stand on posts.
    if (IsKnown(sign.signType) && sign.signType != SignType::NarrowFrame && sign.signType != SignType::WideFrame)
        sign.auxDimension = Real48{};

    // The other family's layout takes the rows with it, as the construction dialog's switch does.
    const Layout before = draft.sign.layout;
    if (IsKnown(before) && IsFamilyA(before) != IsFamilyA(sign.layout)) {
        RowCodes stored{};
        std::copy(std::begin(sign.rowElements), std::end(sign.rowElements), stored.begin());
        stored = SwitchedFamily(stored);
        std::copy(stored.begin(), stored.end(), sign.rowElements);
        result.draft.rows = SwitchedFamily(draft.rows);
        result.draft.undoRows = SwitchedFamily(draft.undoRows);
    }
    if (result.draft.rows[0] != 0 && !NamedByHand(sign))
        sign.setTitle(AutoTitle(result.draft.rows, sign, derived, language));
    return result;
}

SignRecord CommittedConstruction(const SignDraft &draft, const DerivedParameters &derived, const LanguageTable &language)
{
    SignRecord sign = draft.sign;
    std::copy(draft.lowerMarks.begin(), draft.lowerMarks.end(), sign.lowerMarks);
    std::copy(draft.rowMarks.begin(), draft.rowMarks.end(), sign.rowMarks);
    std::copy(draft.rows.begin(), draft.rows.end(), sign.rowElements);
    if (!NamedByHand(sign))
        sign.setTitle(AutoTitle(draft.rows, sign, derived, language));
    return sign;
}

} // namespace tablix
