// Labels to stick on the cut pieces, one per piece in saw order, on A4 sheets of self-adhesive labels.
#pragma once

#include <QByteArray>
#include <QRectF>
#include <QString>
#include <optional>
#include <vector>

#include "core/workshop/cutting_plan.h"

namespace tablix {

struct LanguageTable;

// A sheet of labels, in millimetres from the page's top left corner.
struct LabelSheet {
    QString name; // "3x8"
    int columns = 3, rows = 8;
    double labelWidth = 70, labelHeight = 36;
    double left = 0, top = 4.5;    // the first label's corner
    double gapX = 0, gapY = 0;     // between neighbouring labels
    int perSheet() const { return columns * rows; }
    // The label `index` (from 0, counting across then down, sheet after sheet) on its page.
    QRectF labelRect(int index) const;
};

// The sheets offered: "3x8" (70 × 36 mm) and "2x7" (99.1 × 38.1 mm).
const std::vector<LabelSheet> &LabelSheets();
// Nothing when `name` is none of them.
std::optional<LabelSheet> LabelSheetNamed(const QString &name);

struct PieceLabel {
    QString sign; // "N Title"; empty when not known
    QString profile;
    CutLength length = 0;
    int bar = 0, cut = 0; // from 1, as the plan numbers them
};

// Every cut of the plan in saw order: profile after profile, bar after bar, cut after cut.
std::vector<PieceLabel> PieceLabelsOf(const CuttingPlan &plan);

// The labels on as many A4 sheets as they need; nothing when the PDF engine could not start.
std::optional<QByteArray> PieceLabelsPdf(const std::vector<PieceLabel> &labels, const LabelSheet &sheet, const QString &project,
                                         const LanguageTable &language);

} // namespace tablix
