// Real boards for the drawing tests: signs the engine computes from the shipped parameters.
#pragma once

#include "core/engine/compute_sign.h"
#include "core/project/app_state.h"
#include "support/fixtures.h"

namespace boards {

// A 150 x 60 cm board in a mitred frame: four yellow panels of 11 cm, the first and the fourth
// with strip bands, around a silver infill of 14.5 cm.
inline void ShopBoard(fixtures::ComputedState &s)
{
    s.parameters = fixtures::ShippedParameters();
    s.language = fixtures::ShippedLanguage();
    s.RefreshParameters();
    tablix::SignRecord sign = fixtures::SignWith(7, QStringLiteral("Shop board"));
    sign.layout = tablix::Layout::ClosedFrameA;
    sign.signType = tablix::SignType::NarrowFrame;
    const std::uint8_t rows[] = {7, 7, 19, 7, 7};
    for (size_t k = 0; k < std::size(rows); ++k)
        sign.rowElements[k] = rows[k];
    sign.rowMarks[0] = sign.rowMarks[3] = 1;
    sign.infillHeight.set(14.5);
    sign.width.set(150);
    s.slot(1) = sign;
    s.currentSign = 1;
    s.currentSignRecord = sign;
    s.LoadWorkingState();
    s.exportScale.set(100);
    fixtures::Compute(s);
}

} // namespace boards
