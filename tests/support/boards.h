// Real boards for the drawing tests: signs the engine computes from the shipped parameters.
#pragma once

#include "core/engine/compute_sign.h"
#include "core/project/app_state.h"
#include "support/fixtures.h"

namespace boards {

// A 150 x 60 cm board: three 20 cm panels in a mitred frame, the middle one with a strip band.
inline void ShopBoard(tablix::AppState &s)
{
    s.parameters = fixtures::ShippedParameters();
    s.language = fixtures::ShippedLanguage();
    s.RefreshParameters();
    tablix::SignRecord sign = fixtures::SignWith(21, QStringLiteral("Shop board"));
    sign.layout = 1;
    sign.signType = 1;
    sign.rowElements[1] = 21;
    sign.rowElements[2] = 21;
    sign.width.set(150);
    s.slot(1) = sign;
    s.currentSign = 1;
    s.currentSignRecord = sign;
    s.LoadWorkingState();
    s.exportScale.set(100);
    tablix::ComputeSign(s);
}

} // namespace boards
