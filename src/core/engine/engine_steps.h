// Steps of ComputeSign shared between its source files.
#pragma once

#include <QString>

#include "core/engine/results.h"
#include "core/number/real48.h"

namespace tablix {

struct AppState;

namespace engine {

// Strip count and strip height (cm) of an element code; n = 0 for codes without strips.
struct Strips {
    int n = 0;
    long double height = 0;
};
Strips StripsOf(int code);

// Height in millimetres of the element of a code, from the element type table; 0 for codes
// without a table height.
long double ElementHeightMm(const AppState &state, int code);

// The two texts never hold more than their limit.
inline void Limit(QString &text)
{
    if (text.size() > kMaxTextLength)
        text.truncate(kMaxTextLength);
}

// Writes the priced lines, dimension lines, cutting list and totals of one run.
void WriteTexts(AppState &state);

} // namespace engine
} // namespace tablix
