// The cutting plan drawn for the workshop: per profile a header, its bars to scale and their saw order with the signs.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QDate>
#include <QFont>
#include <QRectF>
#include <QString>
#include <optional>
#include <utility>
#include <vector>

#include "core/workshop/cutting_plan.h"

class QPainter;

namespace tablix {

struct LanguageTable;

// One drawing for the plan window, its printout and the PDF. It is laid out once in units of its
// own, kWidth wide (a unit is a screen pixel at 100 %); a painter scales it to the page or zoom.
class PlanDrawing {
public:
    static constexpr double kWidth = 1000;
    static constexpr double kStripLeft = 130; // the bars' numbers stand left of it
    static constexpr double kStripHeight = 26;

    struct Row {
        enum Kind { Title, Note, Header, Stats, Strip, SawLine, Gap } kind = Gap;
        int profile = -1; // -1: the plan's title and notes
        int bar = 0;      // Strip: its first bar; SawLine: its bar (from 0)
        int bars = 1;     // Strip: bars cut alike that it stands for
        double top = 0, height = 0;
        double lane = 0; // Strip: the height of the line of lengths above it (0 when none is needed)
        QString text;
    };

    // `title` heads the drawing (the project's name, say); empty: no title row.
    PlanDrawing(const CuttingPlan &plan, const LanguageTable &language, const QString &title = QString());

    double height() const { return height_; }
    const std::vector<Row> &rows() const { return rows_; }
    const CuttingPlan &plan() const { return plan_; }

    // Rows that meet [top, bottom), painted at their place.
    void paint(QPainter &painter, double top, double bottom) const;
    // Rows [begin, end) painted with the first at y = 0.
    void paintRows(QPainter &painter, size_t begin, size_t end) const;

    // Where the cut's box of a bar stands (the strip of its bars cut alike); empty when there is none.
    QRectF pieceRect(int profile, int bar, int cut) const;
    // The colour of pieces of `length` in a profile.
    QColor pieceColour(int profile, CutLength length) const;

    // Rows per page of `pageHeight` units: a profile's block starts a new page when it does not fit
    // below, and is split only when it does not fit a page of its own. [begin, end) of each page.
    std::vector<std::pair<size_t, size_t>> paginate(double pageHeight) const;

private:
    const Row *stripOf(int profile, int bar) const;
    double x(const ProfilePlan &p, CutLength at) const;
    void paintRow(QPainter &painter, const Row &row, double y) const;
    void paintStrip(QPainter &painter, const Row &row, double y) const;
    QString length(CutLength units) const;

    CuttingPlan plan_;
    std::vector<Row> rows_;
    std::vector<std::vector<CutLength>> lengths_; // per profile, the lengths of its pieces, longest first
    double height_ = 0;
    QChar separator_;
    QString cm_, offcut_, bar_;
    QFont title_, bold_, text_, small_;
};

// The plan as an A4 landscape PDF: the drawing scaled to the page's width, a footer with `date`
// and the page number as the other printouts have; nothing when the PDF engine could not start.
std::optional<QByteArray> CuttingPlanPdf(const PlanDrawing &drawing, const LanguageTable &language, QDate date);

// The footer's date and "page of pages" as the printouts write them.
QString PrintedDate(const LanguageTable &language, QDate date);
QString PrintedPageNumber(const LanguageTable &language, int page, int pages);

} // namespace tablix
