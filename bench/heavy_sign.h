// The heaviest sign a user can build: sixty marked rows, posts, lower marks and both texts.
#pragma once

#include "core/params/language.h"
#include "core/project/app_state.h"

namespace tablix::bench {

inline AppState HeavySign()
{
    AppState state;
    if (auto language = LoadLanguageFile(QStringLiteral(TABLIX_DATA_DIR "/tablix_lng.eng")); language.table)
        state.language = *language.table;
    ParameterRecord &p = state.parameters;
    for (int k = 0; k < 23; ++k) {
        p.elementRows[k].priceA.set(10 + k);
        p.elementRows[k].priceB.set(11 + k);
        p.elementRows[k].heightMm.set(20 + 4 * k);
    }
    p.elementRows[0].heightMm.set(12.5);
    p.markupPercent1.set(20);
    p.costItem1.set(1.5);
    p.areaBandLimit1.set(0.5);
    p.areaBandLimit2.set(1);
    p.areaBandLimit3.set(2);
    state.RefreshParameters();

    SignRecord &sign = state.currentSignRecord;
    sign.layout = Layout::ClosedFrameA;
    sign.signType = SignType::NarrowFrame;
    sign.width.set(350);
    sign.quantity.set(3);
    sign.priceLevel.set(100);
    sign.auxDimension.set(2);
    sign.extraCost.set(25);
    for (int i = 0; i < kMaxRows; ++i) {
        sign.rowElements[i] = std::uint8_t(1 + i % 8 + (i % 3 == 0 ? 9 : 0));
        sign.rowMarks[i] = 1;
    }
    for (int i = 0; i < kLowerMarks; ++i)
        sign.lowerMarks[i] = 1;
    state.LoadWorkingState();
    return state;
}

} // namespace tablix::bench
