// Working rows of the current sign and what each element code means.
#include <algorithm>

#include "core/number/number_format.h"
#include "core/project/app_state.h"

namespace tablix {

namespace {

// Language entry of the element word, or -1 when the code has none.
int elementWordEntry(int code)
{
    if (code >= 1 && code <= 8)
        return 45 + code;
    if (code >= 10 && code <= 17)
        return 36 + code;
    if (code == 9 || code == 18)
        return 45;
    if (code == 20 || code == 21)
        return 233;
    if (code >= 30 && code <= 35)
        return 181 + code;
    if (code >= 40 && code <= 45)
        return 171 + code;
    return -1;
}

bool isFamilyA(int code)
{
    return code <= 9 || code == 20 || (code >= 30 && code <= 35);
}

} // namespace

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
    if (code == 19)
        return LanguageEntry(74);
    const int word = elementWordEntry(code);
    if (word < 0)
        return QString();
    return LanguageEntry(word) + QLatin1Char(' ') + LanguageEntry(isFamilyA(code) ? 75 : 76);
}

long double AppState::StackHeight() const
{
    const auto &table = derived.ElementTypeTable;
    Real48Value sum;
    for (std::uint8_t code : workingRows) {
        long double contribution = 0;
        if (code >= 1 && code <= 8)
            contribution = table[code + 2].heightMm.get();
        else if (code >= 10 && code <= 17)
            contribution = table[code - 7].heightMm.get();
        else if (code == 19)
            contribution = currentSignRecord.infillHeight.get() * 10;
        else if (code == 20 || code == 21)
            contribution = table[13].heightMm.get();
        sum.set(sum.get() + contribution);
    }
    Real48Value centimetres;
    centimetres.set(sum.get() * 0.1L);
    return workingRows[0] == 0 ? 0.0L : centimetres.get();
}

QString AppState::AutoTitle() const
{
    const auto &r = currentSignRecord;
    long double height = StackHeight();
    if (r.layout == 1 || r.layout == 3) {
        if (r.signType == 1)
            height += 1.5L;
        else if (r.signType == 2)
            height += 2.5L;
    }
    const QString family = LanguageEntry(r.layout >= 3 ? 76 : 75).left(kTitleLength);
    const QString title = FormatFixed(r.width.get(), 0, 2).left(kTitleLength) + QLatin1Char('x')
                          + FormatFixed(height, 0, 2).left(kTitleLength) + family;
    return title.left(kTitleLength);
}

} // namespace tablix
