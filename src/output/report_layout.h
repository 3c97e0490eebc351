// The report page: its measuring, screen drawing and printout, on any canvas.
#pragma once

namespace tablix {

struct AppState;

} // namespace tablix
