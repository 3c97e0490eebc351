// The export command: the save dialog, the scale, the file name and the writing of either file.
#pragma once

namespace tablix {

struct AppState;
struct Windows;

} // namespace tablix
