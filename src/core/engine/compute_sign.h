// The construction engine: everything about the current sign, computed from scratch.
#pragma once

namespace tablix {

struct AppState;

// Reads the current sign, workingRows, workingRowMarks, workingLowerMarks, the parameters and the
// language table; writes state.results and the sign's areaSurcharge. Throws FloatingPointOverflow
// when a stored value does not fit the 6-byte format.
void ComputeSign(AppState &state);

} // namespace tablix
