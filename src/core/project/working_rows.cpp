// Working rows of the current sign and what each element code means.
#include <algorithm>

#include "core/number/number_format.h"
#include "core/project/app_state.h"
#include "core/project/row_rules.h"
#include "core/project/element_codes.h"
#include "core/params/language_entries.h"

namespace tablix {

void AppState::LoadWorkingRows()
{
    std::copy(std::begin(currentSignRecord.rowElements), std::end(currentSignRecord.rowElements),
              workingRows.begin());
}

void AppState::LoadWorkingState()
{
    LoadWorkingRows();
    std::copy(std::begin(currentSignRecord.rowMarks), std::end(currentSignRecord.rowMarks), workingRowMarks.begin());
    std::copy(std::begin(currentSignRecord.lowerMarks), std::end(currentSignRecord.lowerMarks),
              workingLowerMarks.begin());
}

QString AppState::ElementDescription(int code) const
{
    if (code == kOtherInfillCode)
        return LanguageEntry(text::kOtherInfill);
    const int word = ElementWordEntry(code);
    if (word < 0)
        return QString();
    return LanguageEntry(word) + QLatin1Char(' ') + LanguageEntry(FamilyWordEntry(code));
}

long double StackHeight(const RowCodes &rows, const SignRecord &sign, const DerivedParameters &derived)
{
    const auto &table = derived.ElementTypeTable;
    Real48Value sum;
    for (std::uint8_t code : rows) {
        long double contribution = 0;
        if (code == kOtherInfillCode)
            contribution = sign.infillHeight.get() * 10;
        else if (const int row = ElementTableRow(code); row >= 0)
            contribution = table[size_t(row)].heightMm.get();
        sum.set(sum.get() + contribution);
    }
    Real48Value centimetres;
    centimetres.set(sum.get() * 0.1L);
    return rows[0] == 0 ? 0.0L : centimetres.get();
}

QString AutoTitle(const RowCodes &rows, const SignRecord &sign, const DerivedParameters &derived,
                  const LanguageTable &language)
{
    const long double height = StackHeight(rows, sign, derived) + FrameAllowanceCm(sign.layout, sign.signType);
    const QString family = language.LanguageEntry(LayoutFamilyWordEntry(sign.layout)).left(kTitleLength);
    const QString title = FormatFixed(sign.width.get(), 0, 2).left(kTitleLength) + QLatin1Char('x')
                          + FormatFixed(height, 0, 2).left(kTitleLength) + family;
    return title.left(kTitleLength);
}

long double AppState::StackHeight() const
{
    return tablix::StackHeight(workingRows, currentSignRecord, derived);
}

QString AppState::AutoTitle() const
{
    return tablix::AutoTitle(workingRows, currentSignRecord, derived, language);
}

} // namespace tablix
