// Hand-made engine results for the export tests.
#pragma once

#include "support/fixtures.h"
#include "core/project/app_state.h"

namespace export_geometry {

inline void Set(fixtures::ComputedState &s, int n, long double x1, long double y1, long double x2, long double y2,
                std::uint8_t colourClass)
{
    tablix::GeometryRecord &r = s.results.record(n);
    r.x1.set(x1);
    r.y1.set(y1);
    r.x2.set(x2);
    r.y2.set(y2);
    r.colourClass = tablix::ColourClass(colourClass);
}

// Element row k is 10*(k+1) mm high, so that stripes land on round numbers.
inline void PrepareStepped(fixtures::ComputedState &s)
{
    fixtures::Prepare(s);
    fixtures::StepElementRows(s.parameters);
    s.RefreshParameters();
}

// Width 12, height 6: two rows between side posts (record 64 empty), no stripes.
inline void PostSign(fixtures::ComputedState &s)
{
    PrepareStepped(s);
    s.currentSignRecord = fixtures::SignWith(1, QStringLiteral("Post sign"));
    s.currentSignRecord.width.set(12);
    s.currentSignRecord.auxDimension.set(0);
    s.LoadWorkingRows();
    s.results = tablix::EngineResults{};
    s.results.geometryHeight.set(6);
    Set(s, 1, 1, 1, 11, 3, 1);
    Set(s, 2, 1, 3, 11, 5, 0);
    Set(s, 61, 0, 0, 1, 6, 2);
    Set(s, 62, 11, 0, 12, 6, 2);
}

// Width 20, height 10: a closed frame of bars 1 wide (family A) around two rows.
inline void FramedSign(fixtures::ComputedState &s)
{
    PrepareStepped(s);
    s.currentSignRecord = fixtures::SignWith(1, QStringLiteral("Framed"));
    s.currentSignRecord.layout = tablix::Layout::ClosedFrameA;
    s.currentSignRecord.width.set(20);
    s.currentSignRecord.auxDimension.set(0);
    s.LoadWorkingRows();
    s.results = tablix::EngineResults{};
    s.results.geometryHeight.set(10);
    Set(s, 1, 2, 2, 18, 5, 1);
    Set(s, 2, 2, 5, 18, 8, 1);
    Set(s, 61, 0, 0, 1, 10, 1);
    Set(s, 62, 19, 0, 20, 10, 1);
    Set(s, 63, 0, 0, 20, 1, 1);
    Set(s, 64, 0, 9, 20, 10, 1);
}

} // namespace export_geometry
