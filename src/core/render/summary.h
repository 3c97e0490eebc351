// The summary of the whole project: one block per sign in use (title, small drawing, area) and the
// total area below the last block.
#pragma once

#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

#include "core/number/real48.h"

class QPainter;

namespace tablix {

struct AppState;
struct EngineResults;

inline constexpr int kSummaryDrawingX = 5;
inline constexpr int kSummaryTextX = 210;
inline constexpr int kSummaryDrawingSize = 200;

// A report line begins with a language entry; an empty entry matches no line.
bool LineBeginsWith(const QString &line, const QString &entry);

// What follows the line's first tab, leading blanks removed, up to the first occurrence of `unit`
// (all of it when `unit` is empty or absent). Empty when the line has no tab.
QString ReportValueText(const QString &line, const QString &unit);

// The value text read as a decimal number; 0 when it is not one.
long double ReportValueNumber(const QString &valueText);

// One text of a block at x = kSummaryTextX; `row` 0, 1, 2 stands at y0, y0 + Round(1.4h),
// y0 + Round(2.8h).
struct SummaryBlockText {
    int row = 0;
    QString text;
};

// A copy of the state with sign k current and its own rows loaded, to compute and draw it;
// the state itself is not touched.
AppState SignState(const AppState &state, int k);
// Each sign in use in slot order, as such a copy (the current sign with its edits).
void ForEachSignInUse(const AppState &state, const std::function<void(AppState &sign, int slot)> &perSign);

// What the block of the current sign writes, read after ComputeSign and SplitViewText.
struct SummaryBlock {
    QString title; // a leading "!" dropped
    std::vector<SummaryBlockText> texts;
    std::vector<long double> additions; // added to the project total, in order
    bool piecesShown = false;           // rows 1 and 2 hold the pieces and their total
    QString pieceValue;                 // value texts of the sign's price and of its order, as the
    QString orderValue;                 // cost report writes them; empty when the report has none
    QString note;                       // the unpriced special profiles, or why the sign failed
    // Text rows the block holds: rows() of them make the block at least 1.4h each tall when
    // there are two or more.
    int rows() const;
};
// A note that the sign's special profiles are not priced follows the price texts.
SummaryBlock BuildSummaryBlock(const AppState &state);

// The block of a sign whose numbers overflowed while it was computed: its title and the message.
SummaryBlock OverflowSummaryBlock(const AppState &state, const QString &message);

// Entry 158 " = " total with 2 decimals, a blank, entry 10.
QString SummaryTotalLine(const AppState &state, long double total);

// Where the block of the current sign lies, read after ComputeSign. A sign whose width or height
// is not positive is not drawn and its drawing counts as 0 pixels tall.
struct SummaryBlockPlace {
    bool drawable = false;
    long double scale = 0;
    int y0 = 0;          // top of the drawing and of the first text row
    int nextCursorY = 0; // where the next block starts
};
SummaryBlockPlace PlaceSummaryBlock(const AppState &state, const EngineResults &results, int cursorY, int textHeight,
                                    int textRows);

// The texts the summary writes, block by block in slot order (title, then the block's texts), then
// the project total line. A sign that overflows is named with the message and adds nothing. Saves the current sign into its slot first; the current sign, its record
// and the working rows and marks are as before afterwards, while results, ViewText and ReportLines
// hold what the last sign left.
QStringList SummaryTexts(const AppState &state);

// The summary's walk over the signs in use: each sign's block, computed as the summary computes
// it (perSign gets the sign's own state and what the engine computed of it; results of nothing
// when its numbers overflow), and the project total they add up to.
Real48 WalkSummaryBlocks(const AppState &state,
                         const std::function<void(const AppState &sign, int slot, const SummaryBlock &,
                                                  const EngineResults &)> &perSign);

struct SummaryPass {
    int cursorY = 0;
    Real48 totalArea;
};

// Draws the block of the current sign at pass.cursorY and advances it; adds to pass.totalArea.
// `textHeight` is the absolute font height in pixels. A sign whose numbers overflow shows its
// title and the message instead of a drawing and prices.
void DrawSummarySign(QPainter &canvas, AppState &state, SummaryPass &pass, int textHeight);

// Clears the paint box of size `paintBox` and draws every block and the total line. After the
// k-th sign drawn its title goes into ReportLines entry k, so only the last title survives the
// later signs' report lines. The current sign and working state are as before.
SummaryPass DrawSummary(QPainter &canvas, QSize paintBox, AppState &state, int textHeight);

struct SummaryExtent {
    int width = 0;
    int height = 0;
};

// Size of the summary's content for a text-width function, including the room of a vertical bar
// of `verticalBarWidth` and a horizontal bar of `horizontalBarHeight`. Nothing when slot 1 holds
// no sign. Leaves the current sign and working state as before.
std::optional<SummaryExtent> MeasureSummary(const AppState &state, const std::function<int(const QString &)> &textWidth,
                                            int textHeight, int verticalBarWidth = 16,
                                            int horizontalBarHeight = 16);

} // namespace tablix
