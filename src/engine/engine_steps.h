// Steps of ComputeSign shared between its source files.
#pragma once

#include <QString>

#include "params/real48.h"

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

// The two texts: a line is never written past the text's limit.
void Append(QString &text, const QString &part);

// Writes the priced lines, dimension lines, cutting list and totals of one run.
void WriteTexts(AppState &state);

} // namespace engine
} // namespace tablix
