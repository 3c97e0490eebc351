// The construction engine: everything about the current sign, computed from scratch.
#include "core/engine/compute_sign.h"

#include <algorithm>

#include "core/engine/engine_steps.h"
#include "core/engine/profile_keys.h"
#include "core/project/element_codes.h"
#include "core/params/language_entries.h"

namespace tablix {

namespace engine {

Strips StripsOf(int code)
{
    // Codes 1..8 and 10..17 in the same order; 20 and 21 the fixed profile.
    static constexpr Strips kPanels[8] = {{1, 1.3L}, {2, 1.3L}, {1, 2.0L}, {2, 2.0L},
                                          {3, 2.0L}, {1, 2.5L}, {4, 2.5L}, {1, 5.0L}};
    if (code >= 1 && code <= 8)
        return kPanels[code - 1];
    if (code >= 10 && code <= 17)
        return kPanels[code - 10];
    if (code == 20 || code == 21)
        return {1, 3.5L};
    return {};
}

long double ElementHeightMm(const EngineRun &state, int code)
{
    const int row = ElementTableRow(code);
    return row < 0 ? 0 : state.derived.ElementTypeTable[size_t(row)].heightMm.get();
}

} // namespace engine

SignRows StoredRows(const SignRecord &sign)
{
    SignRows rows;
    std::copy(std::begin(sign.rowElements), std::end(sign.rowElements), rows.rows.begin());
    std::copy(std::begin(sign.rowMarks), std::end(sign.rowMarks), rows.rowMarks.begin());
    std::copy(std::begin(sign.lowerMarks), std::end(sign.lowerMarks), rows.lowerMarks.begin());
    return rows;
}

namespace {

using engine::EngineRun;
using engine::StripsOf;

// Row-end allowance of a code for sign types 1..4; false for any other type.
bool rowAllowance(int code, int signType, long double &allowance)
{
    static constexpr long double kPieces[4] = {-1.5L, -2.5L, -0.2L, -0.2L};
    static constexpr long double kClosing[4] = {-2.4L, -5.0L, -0.2L, -0.2L};
    if (signType < 1 || signType > 4)
        return false;
    allowance = IsClosing(code) ? kClosing[signType - 1] : kPieces[signType - 1];
    return true;
}

// Price per metre of a code, and whether it is an element the table counts.
bool elementPrice(const EngineRun &state, int code, long double &price)
{
    const int row = PriceTableRow(code);
    if (row < 0)
        return false;
    const ElementTypeRow &entry = state.derived.ElementTypeTable[size_t(row)];
    price = (IsFamilyA(code) ? entry.priceA : entry.priceB).get();
    return true;
}

void InitElementKinds(EngineRun &state)
{
    EngineResults &r = state.results;
    for (int code = 1; code <= kElementKinds; ++code) {
        ElementKind &kind = r.kind(code);
        kind.count = 0;
        kind.length = kind.value = Real48Value{};
        // Built in place: the names are rebuilt on every run.
        SetElementKindName(kind.name, state.language, code);
    }

    // A run depends on its own sign only: nothing is carried over from the previous one.
    r.costTotal = r.markedEdge = r.markedArea = r.priceFactor = Real48Value{};
    r.runTotal = r.signArea = r.geometryHeight = r.closingAllowance = Real48Value{};
    // Keeps the buffers of the previous run: texts are rebuilt on every paint.
    r.SpecificationText.truncate(0);
    r.CostText.truncate(0);
    r.SpecificationPieces.clear();
    r.SpecificationText.reserve(2048);
    r.CostText.reserve(4096);

    r.stackHeight.set(state.StackHeight());
    const long double area = r.stackHeight.get() * state.currentSignRecord.width.get();
    r.signArea.set(area);

    const ParameterRecord &p = state.parameters;
    const long double a = r.signArea.get();
    Real48 &surcharge = state.currentSignRecord.areaSurcharge;
    if (a > p.areaBandLimit3.get() * 10000)
        surcharge = p.areaBandValue4;
    else if (a > p.areaBandLimit2.get() * 10000)
        surcharge = p.areaBandValue3;
    else if (a > p.areaBandLimit1.get() * 10000)
        surcharge = p.areaBandValue2;
    else
        surcharge = p.areaBandValue1;

    for (std::uint8_t code : state.workingRows)
        if (IsClosing(code))
            r.closingAllowance.set(p.elementRows[14].heightMm.get() * 0.1L);
}

void CountElementKinds(EngineRun &state)
{
    const SignRecord &sign = state.currentSignRecord;
    const long double width = sign.width.get();
    for (std::uint8_t code : state.workingRows) {
        long double price = 0;
        if (code == 0 || !elementPrice(state, code, price))
            continue;
        ElementKind &kind = state.results.kind(code);
        ++kind.count;
        long double allowance = 0;
        if (!rowAllowance(code, Number(sign.signType), allowance))
            continue;
        kind.length.set(width + allowance);
        const long double pieces = sign.signType == SignType::DoubleSided ? 2.0L * kind.count : kind.count;
        kind.value.set(kind.length.get() * pieces * price);
    }
}

// The strips of a marked row are as long as that row's own element is cut.
void AddMarkedRow(EngineRun &state, int code)
{
    EngineResults &r = state.results;
    const engine::Strips strips = StripsOf(code);
    if (strips.n == 0)
        return;
    const long double x = r.kind(code).length.get();
    r.markedEdge.set(r.markedEdge.get() + strips.n * (x + strips.height));
    r.markedArea.set(r.markedArea.get() + x * (strips.n * strips.height));
}

void AddRunTotal(EngineRun &state)
{
    EngineResults &r = state.results;
    const SignRecord &sign = state.currentSignRecord;
    const long double q = sign.quantity.get();
    const long double h = r.stackHeight.get();
    const long double w = sign.width.get();
    auto add = [&](long double v) { r.runTotal.set(r.runTotal.get() + v); };

    const bool closedFrame = HasClosedFrame(sign.layout);
    const bool sidePosts = HasSidePosts(sign.layout);
    if (closedFrame) {
        if (sign.signType == SignType::NarrowFrame)
            add(q * 2 * (h + w + 1.5L));
        else if (sign.signType == SignType::WideFrame)
            add(q * 2 * (h + w + 2.5L));
        else if (sign.signType == SignType::ClosingProfile)
            add(q * 2 * (h + w - 0.1L));
    } else if (sidePosts && Number(sign.signType) >= 1 && Number(sign.signType) <= 3) {
        add(q * 2 * h);
    }
    for (const ElementKind &kind : r.ElementKindTable)
        if (kind.count > 0)
            add(q * (kind.length.get() * kind.count));
}

void PlaceStrips(EngineRun &state, int code, int row, const Real48Value &top)
{
    const engine::Strips strips = StripsOf(code);
    GeometryRecord &rec = state.results.record(row);
    Real48Value previousSecond;
    for (int k = 1; k <= strips.n; ++k) {
        Real48Value &first = rec.strips[2 * (k - 1)];
        Real48Value &second = rec.strips[2 * (k - 1) + 1];
        first.set(k == 1 ? top.get() + 0.12L : previousSecond.get() + 0.24L);
        second.set(first.get() + strips.height);
        previousSecond = second;
    }
}

void BuildGeometry(EngineRun &state, Real48Value &Y)
{
    EngineResults &r = state.results;
    const SignRecord &sign = state.currentSignRecord;
    const ParameterRecord &p = state.parameters;
    const long double width = sign.width.get();
    const int type = Number(sign.signType);

    Y = Real48Value{};
    r.SignGeometry.fill(GeometryRecord{});

    const long double frame1 = p.elementRows[0].heightMm.get() * 0.1L - 0.5L;
    const long double frame2 = p.elementRows[1].heightMm.get() * 0.1L - 1.25L;
    const bool closedFrame = HasClosedFrame(sign.layout);
    const bool sidePosts = HasSidePosts(sign.layout);
    Real48Value x0, b;
    if (closedFrame || sidePosts) {
        switch (type) {
        case 1: x0.set(frame1); break;
        case 2: x0.set(frame2); break;
        case 3: x0.set(0.1L); break;
        case 4: x0.set(sidePosts ? 0.1L : 0.0L); break;
        default: break;
        }
        if (closedFrame)
            b = Y = x0;
    }

    // Heights of the codes, read once per run rather than once per row.
    std::array<long double, kElementKinds + 1> heightMm{};
    for (int code = 1; code <= kElementKinds; ++code)
        heightMm[size_t(code)] = engine::ElementHeightMm(state, code);

    for (int i = 1; i <= kMaxRows && state.workingRows[size_t(i - 1)] != 0; ++i) {
        const int c = state.workingRows[size_t(i - 1)];
        GeometryRecord &R = r.record(i);
        if (state.workingRowMarks[size_t(i - 1)] != 0)
            PlaceStrips(state, c, i, Y);
        ColourClass colour = ColourClass::None;
        if (IsPanel(c))
            colour = IsFamilyA(c) ? ColourClass::FamilyA : ColourClass::FamilyB;
        if (colour != ColourClass::None) {
            R.x1 = x0;
            R.y1 = Y;
            R.x2.set(x0.get() + r.kind(c).length.get());
            R.y2.set(Y.get() + 0.1L * heightMm[size_t(c)]);
            R.colourClass = colour;
            Y = R.y2;
        } else if (c == kOtherInfillCode) {
            static constexpr long double kInfillAllowance[4] = {1.5L, 2.5L, 0.1L, 0.1L};
            R.x1 = x0;
            R.y1 = Y;
            if (type >= 1 && type <= 4)
                R.x2.set(x0.get() + width - kInfillAllowance[type - 1]);
            R.y2.set(Y.get() + sign.infillHeight.get());
            R.colourClass = ColourClass::OtherInfill;
            Y = R.y2;
        }
    }

    GeometryRecord &left = r.record(61), &right = r.record(62), &top = r.record(63), &bottom = r.record(64);
    if (b.get() == 0) {
        // Posts; widths are known for sign types 1..4 only, other types get none.
        static constexpr long double kLeft[4] = {1.2L, 2.5L, 0.1L, 2.0L};
        static constexpr long double kRight[4] = {1.2L, 2.5L, 0.1L, 0.5L};
        if (type < 1 || type > 4)
            return;
        const ColourClass colour = sign.layout == Layout::SidePostsA   ? ColourClass::FamilyA
                                   : sign.layout == Layout::SidePostsB ? ColourClass::FamilyB
                                                                       : ColourClass::None;
        left.y2 = Y;
        left.x2.set(kLeft[type - 1]);
        left.colourClass = colour;
        right.y2 = Y;
        right.x2.set(sign.width);
        right.x1.set(width - kRight[type - 1]);
        right.colourClass = colour;
        return;
    }
    // A closed frame has a bar width only for sign types 1 and 2.
    if (type != 1 && type != 2)
        return;
    const long double f = type == 1 ? 1.2L : 2.5L;
    const long double t = type == 1 ? frame1 : frame2;
    const ColourClass colour = sign.layout == Layout::ClosedFrameA ? ColourClass::FamilyA : ColourClass::FamilyB;
    for (GeometryRecord *bar : {&left, &right, &top, &bottom})
        bar->colourClass = colour;
    left.x2.set(f);
    right.x1.set(width - f);
    top.y2.set(f);
    Y.set(Y.get() + t);
    bottom.y1.set(Y.get() - f);
    left.y2 = Y;
    right.y2 = Y;
    right.x2.set(sign.width);
    top.x2.set(sign.width);
    bottom.y2 = Y;
    bottom.x2.set(sign.width);
}

} // namespace

EngineResults ComputeSign(const SignRecord &sign, const SignRows &rows, const ParameterRecord &parameters,
                          const DerivedParameters &derived, const LanguageTable &language)
{
    EngineRun state{sign, rows.rows, rows.rowMarks, rows.lowerMarks, parameters, derived, language, {}};
    EngineResults &r = state.results;
    InitElementKinds(state);
    CountElementKinds(state);
    for (int i = 1; i <= kMaxRows && state.workingRows[size_t(i - 1)] != 0; ++i)
        if (state.workingRowMarks[size_t(i - 1)] != 0)
            AddMarkedRow(state, state.workingRows[size_t(i - 1)]);
    AddRunTotal(state);
    engine::WriteTexts(state);
    BuildGeometry(state, r.geometryHeight);
    r.areaSurcharge = state.currentSignRecord.areaSurcharge;
    return std::move(state.results);
}

} // namespace tablix

#include "core/project/app_state.h"

namespace tablix {

EngineResults ComputeSign(const AppState &state)
{
    return ComputeSign(state.currentSignRecord,
                                SignRows{state.workingRows, state.workingRowMarks, state.workingLowerMarks},
                                state.parameters, state.derived, state.language);
}

} // namespace tablix
