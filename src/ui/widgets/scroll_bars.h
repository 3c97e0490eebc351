// Scroll bars whose thumb reads as the thumb, whatever the colour of the page behind them.
#pragma once

class QAbstractScrollArea;

namespace tablix {

// The area's bars draw a dark thumb on a light track, with no arrow buttons, and its corner widget
// takes the track's colour: the platform style draws a large thumb lighter than its track, so the
// track's short rest passes for the thumb.
void MarkScrollThumbs(QAbstractScrollArea *area);

} // namespace tablix
