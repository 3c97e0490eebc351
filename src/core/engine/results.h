// What one run of ComputeSign leaves for the drawings, reports and exports.
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

#include "core/number/real48.h"

namespace tablix {

inline constexpr int kGeometryRecords = 64;
inline constexpr int kElementKinds = 21;
inline constexpr int kMaxTextLength = 14000;

// Every value is held with the precision of the stored format.
// Records 1..60 are the rows, 61 the left bar or post, 62 the right one, 63 the top bar and 64 the
// bottom bar. Centimetres, x from the left edge, y from the top edge growing downwards.
// How an element is filled: by its profile family, or as other infill.
enum class ColourClass : std::uint8_t {
    None = 0,
    FamilyA = 1,
    FamilyB = 2,
    OtherInfill = 3,
};

struct GeometryRecord {
    Real48Value x1, y1, x2, y2;
    Real48Value strips[8];     // first 1, second 1, ..., first 4, second 4
    ColourClass colourClass = ColourClass::None;

    bool empty() const { return x1 == x2; }
    Real48Value first(int k) const { return strips[2 * (k - 1)]; } // k = 1..4
    Real48Value second(int k) const { return strips[2 * (k - 1) + 1]; }
};

// A point of the geometry, in centimetres.
struct ModelPoint {
    long double x, y;
};

// The corners of frame bar n (61 left, 62 right, 63 top, 64 bottom), mitred at the corners of
// the frame by the bar width d; every drawing and export goes round them in this order.
inline std::array<ModelPoint, 4> MitredBarCorners(const GeometryRecord &r, int n, long double d)
{
    const long double x1 = r.x1.get(), y1 = r.y1.get(), x2 = r.x2.get(), y2 = r.y2.get();
    switch (n) {
    case 61: return {{{x1, y1}, {x2, y1 + d}, {x2, y2 - d}, {x1, y2}}};
    case 62: return {{{x1, y1 + d}, {x2, y1}, {x2, y2}, {x1, y2 - d}}};
    case 63: return {{{x1, y1}, {x2, y1}, {x2 - d, y2}, {x1 + d, y2}}};
    default: return {{{x1 + d, y1}, {x2 - d, y1}, {x2, y2}, {x1, y2}}};
    }
}

struct ElementKind {
    std::int32_t count = 0;
    Real48Value length;
    Real48Value value;
    QString name; // at most 19 characters
};

// Pieces of profile a line of SpecificationText names: the line's label, the profile's
// language-independent key (profile_keys.h), how many pieces and the length (cm) as computed,
// before the text rounds them.
struct SpecificationPiece {
    QString label;
    QString key;
    long double count = 0;
    long double length = 0;
};

struct EngineResults {
    std::array<GeometryRecord, kGeometryRecords> SignGeometry{};
    Real48Value geometryHeight;
    Real48Value signArea;
    Real48Value runTotal;
    Real48Value closingAllowance;
    Real48 areaSurcharge; // picked by the sign's area; the project document stores it in the sign
    std::array<ElementKind, kElementKinds> ElementKindTable; // index 0 = code 1
    QString SpecificationText; // lines end with '\r'; at most kMaxTextLength characters
    QString CostText;
    std::vector<SpecificationPiece> SpecificationPieces; // in the order of SpecificationText

    // Work values of the run, kept for checks.
    Real48Value costTotal;
    Real48Value markedEdge;
    Real48Value markedArea;
    Real48Value priceFactor;
    Real48Value stackHeight;

    // Record n (1..64) as the drawings and exports number them.
    const GeometryRecord &record(int n) const { return SignGeometry[size_t(n - 1)]; }
    GeometryRecord &record(int n) { return SignGeometry[size_t(n - 1)]; }
    const ElementKind &kind(int code) const { return ElementKindTable[size_t(code - 1)]; }
    ElementKind &kind(int code) { return ElementKindTable[size_t(code - 1)]; }
};

} // namespace tablix
