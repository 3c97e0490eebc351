// The cost text and the specification text of one ComputeSign run.
#include "core/engine/engine_steps.h"
#include "core/engine/profile_keys.h"
#include "core/number/number_format.h"
#include "core/project/element_codes.h"
#include "core/params/language_entries.h"

namespace tablix::engine {

namespace {

constexpr QChar kLineEnd = u'\r';


class TextWriter {
public:
    explicit TextWriter(EngineRun &state) : s(state), r(state.results), p(state.parameters) {}

    void run();

private:
    EngineRun &s;
    EngineResults &r;
    const ParameterRecord &p;

    const QString &E(int n) const { return s.LanguageEntry(n); }
    const QString &currency() const { return E(text::kCurrency); }

    // Lines are appended in place; whatever passes the limit is cut off again at once.
    template <typename Part>
    void cost(Part &&part)
    {
        r.CostText += std::forward<Part>(part);
        Limit(r.CostText);
    }
    template <typename Part>
    void spec(Part &&part)
    {
        r.SpecificationText += std::forward<Part>(part);
        Limit(r.SpecificationText);
    }

    void addToTotal(long double amount) { r.costTotal.set(r.costTotal.get() + amount); }

    // label, tab, blank, amount, currency
    void AddCostLine(const QString &label, long double amount)
    {
        cost(label + u'\t' + u' ' + FormatFixedNumber(amount, 10, 2).view() + currency() + kLineEnd);
        addToTotal(amount);
    }

    // A one-value line names a pair of frame bars or side profiles of the profile `key`, or one
    // piece when `pieces` says so.
    void dimensionLine(const QString &key, const QString &label1, long double value, const QString &label2, long double pieces = 2)
    {
        r.SpecificationPieces.push_back({label1, key, pieces, value});
        spec(label1 + u' ' + QStringLiteral("    ") + FormatFixedNumber(value, 0, 2).view() + label2 + u' ' + kLineEnd);
    }

    void dimensionLine(const QString &label1, long double v1, const QString &label2, long double v2,
                       const QString &label3)
    {
        spec(label1 + u' ' + QStringLiteral("    ") + FormatFixedNumber(v1, 0, 2).view() + label2 + u' ' + QStringLiteral("    ")
             + FormatFixedNumber(v2, 0, 2).view() + label3 + u' ' + kLineEnd);
    }

    void totalsLine(const QString &label, long double value, int decimals, const QString &unit)
    {
        cost(label + u'\t' + u' ' + FormatFixedNumber(value, 10, decimals).view() + unit + kLineEnd);
    }

    void lengthLine(const QString &label, long double metres)
    {
        cost(label + u' ' + FormatFixedNumber(metres, 10, 2).view() + E(text::kMetreUnit) + kLineEnd);
    }

    // Whether a back panel fits: a width or height typed as exactly the allowance leaves no
    // room, so the allowance is compared in the stored format the typed value has.
    static bool panelFits(long double W, long double wAllowance, long double h, long double hAllowance)
    {
        return (W - RoundToReal48(wAllowance)) * (h - RoundToReal48(hAllowance)) > 0;
    }

    bool hasClosingProfile() const { return r.kind(9).count != 0 || r.kind(18).count != 0; }

    void frameSection();
    void postsSection();
    void piecesSection();
    void markedSection();
    void cuttingList();
    void totalsSection();

    // Work values of the posts, shared by the cost lines, the cut line and the totals.
    long double n = 0;           // number of posts
    Real48Value postHeight;
    long double postAllowance = 0;
    QString postCostLabel;
    long double postPrice = 0;
};

// Special profiles (and the sign types made of them) have no prices: their rows add nothing.
bool HasUnpricedProfiles(const EngineRun &s)
{
    const SignRecord &sign = s.currentSignRecord;
    if (sign.signType == SignType::SpecialFrame || sign.signType == SignType::SpecialDoubleSided)
        return true;
    for (std::uint8_t code : s.workingRows) {
        if (code == 0)
            break;
        if (IsSpecialProfile(code))
            return true;
    }
    return false;
}

void TextWriter::run()
{
    const SignRecord &sign = s.currentSignRecord;
    r.priceFactor.set(sign.priceLevel.get() * 0.01L * (1 + p.markupPercent1.get() * 0.01L)
                      * (1 + p.markupPercent2.get() * 0.01L) * (1 + p.markupPercent3.get() * 0.01L));
    n = sign.auxDimension.get();

    // First, so that nobody reads the total without it.
    if (HasUnpricedProfiles(s)) {
        cost(E(text::kSpecialProfilesNotPriced) + kLineEnd);
        spec(E(text::kSpecialProfilesNotPriced) + kLineEnd);
    }
    frameSection();
    if (sign.extraCost.get() != 0)
        AddCostLine(E(text::kExtraCostLine), sign.extraCost.get());
    postsSection();
    piecesSection();
    markedSection();
    cuttingList();
    totalsSection();
}

void TextWriter::frameSection()
{
    const SignRecord &sign = s.currentSignRecord;
    const long double W = sign.width.get();
    const long double h = r.stackHeight.get();
    const long double pf = r.priceFactor.get();
    const long double T = r.closingAllowance.get();
    const long double P78 = p.costItem7.get();
    const bool familyA = IsFamilyA(sign.layout);
    // Frame and side profiles: row 0 for sign type 1, row 1 for type 2; family A takes the second price.
    const long double P1 = familyA ? p.elementRows[0].priceA.get() : p.elementRows[0].priceB.get();
    const long double P2 = familyA ? p.elementRows[1].priceA.get() : p.elementRows[1].priceB.get();
    const QString &narrowFrame = FrameProfileKey(familyA, false);
    const QString &wideFrame = FrameProfileKey(familyA, true);

    if (HasClosedFrame(sign.layout)) {
        AddCostLine(E(text::kEightFittingsCost), p.costItem2.get() * 8);
        AddCostLine(E(text::kFourFittingsCost), p.costItem8.get() * 4);
        if (sign.signType == SignType::NarrowFrame) {
            AddCostLine(E(familyA ? text::kFrameWidthCostAType1 : text::kFrameWidthCostBType1), P1 * 2 * pf * W * 0.01L);
            AddCostLine(E(familyA ? text::kFrameHeightCostAType1 : text::kFrameHeightCostBType1), P1 * 2 * pf * (h + 1.5L) * 0.01L);
            dimensionLine(narrowFrame, E(familyA ? text::kFrameDimensionAType1 : text::kFrameDimensionBType1), W, E(text::kCentimetreUnit));
            dimensionLine(narrowFrame, E(familyA ? text::kFrameDimensionAType1 : text::kFrameDimensionBType1), h + 1.5L, E(text::kCentimetreUnit));
            if (panelFits(W, 2.4L, h, 1.6L)) {
                AddCostLine(E(text::kInfillPanelCost), (W - 2.4L) * (h - 1.6L) * P78 * 0.0001L);
                dimensionLine(E(text::kInfillDimension1), W - 2.4L, E(text::kInfillDimension2), h - 1.6L, E(text::kInfillDimension3));
            }
        } else if (sign.signType == SignType::WideFrame) {
            AddCostLine(E(familyA ? text::kFrameWidthCostAType2 : text::kFrameWidthCostBType2), P2 * 2 * pf * W * 0.01L);
            AddCostLine(E(familyA ? text::kFrameHeightCostAType2 : text::kFrameHeightCostBType2), P2 * 2 * pf * (h + 2.5L) * 0.01L);
            dimensionLine(wideFrame, E(familyA ? text::kFrameDimensionAType2 : text::kFrameDimensionBType2), W, E(text::kCentimetreUnit));
            dimensionLine(wideFrame, E(familyA ? text::kFrameDimensionAType2 : text::kFrameDimensionBType2), h + 2.5L, E(text::kCentimetreUnit));
            if (panelFits(W, 5, h, 2.8L)) {
                AddCostLine(E(text::kInfillPanelCost), (W - 5) * (h - 2.8L) * P78 * 0.0001L);
                dimensionLine(E(text::kInfillDimension1), W - 5, E(text::kInfillDimension2), h - 2.8L, E(text::kInfillDimension3));
            }
        }
        return;
    }
    if (!HasSidePosts(sign.layout))
        return;

    AddCostLine(E(text::kTwoPiecesCost), p.costItem1.get() * 2);
    if (sign.signType == SignType::NarrowFrame) {
        AddCostLine(E(familyA ? text::kFrameHeightCostAType1 : text::kFrameHeightCostBType1), P1 * 2 * pf * h * 0.01L);
        dimensionLine(narrowFrame, E(familyA ? text::kFrameDimensionAType1 : text::kFrameDimensionBType1), h, E(text::kCentimetreUnit));
        if (panelFits(W, 2.4L, h, T)) {
            AddCostLine(E(text::kInfillPanelCost), (W - 2.4L) * (h - T) * P78 * 0.0001L);
            dimensionLine(E(text::kInfillDimension1), W - 2.4L, E(text::kInfillDimension2), h - T, E(text::kInfillDimension3));
        }
        AddCostLine(E(text::kClosingFittingCostType1), p.costItem9.get() * pf);
        if (!hasClosingProfile())
            AddCostLine(E(text::kSecondClosingFittingCostType1), p.costItem9.get() * pf);
    } else if (sign.signType == SignType::WideFrame) {
        AddCostLine(E(familyA ? text::kFrameHeightCostAType2 : text::kFrameHeightCostBType2), P2 * 2 * pf * h * 0.01L);
        dimensionLine(wideFrame, E(familyA ? text::kFrameDimensionAType2 : text::kFrameDimensionBType2), h, E(text::kCentimetreUnit));
        if (panelFits(W, 5, h, T)) {
            AddCostLine(E(text::kInfillPanelCost), (W - 5) * (h - T) * P78 * 0.0001L);
            dimensionLine(E(text::kInfillDimension1), W - 5, E(text::kInfillDimension2), h - T, E(text::kInfillDimension3));
        }
        AddCostLine(E(text::kClosingFittingCostType2), p.costItem10.get() * pf);
        if (!hasClosingProfile())
            AddCostLine(E(text::kSecondClosingFittingCostType2), p.costItem10.get() * pf);
    } else if (sign.signType == SignType::ClosingProfile) {
        const long double P = familyA ? p.elementRows[14].priceA.get() : p.elementRows[14].priceB.get();
        AddCostLine(E(familyA ? text::kSideProfileCostAType3 : text::kSideProfileCostBType3), P * 2 * pf * h * 0.01L);
        dimensionLine(SideProfileType3Key(familyA), E(familyA ? text::kSideProfileDimensionAType3 : text::kSideProfileDimensionBType3), h,
                      E(text::kCentimetreUnit));
    } else if (sign.signType == SignType::DoubleSided) {
        // The two side profiles, one piece each, as long as the order lengths of the cost text say.
        dimensionLine(SideProfileType4Key(familyA, 1), E(familyA ? text::kProfileLengthAType4 : text::kProfileLengthBType4), h,
                      E(text::kCentimetreUnit), 1);
        dimensionLine(SideProfileType4Key(familyA, 2), E(familyA ? text::kSecondProfileLengthAType4 : text::kSecondProfileLengthBType4),
                      h - 0.1L, E(text::kCentimetreUnit), 1);
    }
}

void TextWriter::postsSection()
{
    if (n == 0)
        return;
    const SignRecord &sign = s.currentSignRecord;
    postHeight = r.stackHeight;
    for (int k = 1; k <= kLowerMarks; ++k)
        if (s.workingLowerMarks[size_t(k - 1)] != 0)
            postHeight.set(postHeight.get() - 0.1L * ElementHeightMm(s, s.workingRows[size_t(k - 1)]));

    const bool firstMark = s.workingLowerMarks[0] != 0;
    const long double size1 = p.elementRows[0].heightMm.get() * 0.1L;
    const long double size2 = p.elementRows[1].heightMm.get() * 0.1L;
    const long double a1 = firstMark ? size1 - 0.75L : 2 * size1 - 1.5L;
    const long double a2 = firstMark ? size2 - 1.25L : 2 * size2 - 2.5L;
    const bool closedFrame = HasClosedFrame(sign.layout);
    const bool familyA = IsFamilyA(sign.layout);
    const bool knownLayout = IsKnown(sign.layout);

    // Posts are priced for sign types 1 and 2; family B side posts of other types are priced as
    // type 1, and the other cases (an unknown layout among them) get no price and borrow no label.
    int type = Number(sign.signType);
    if (sign.layout == Layout::SidePostsB && type != 2)
        type = 1;
    if (knownLayout && (type == 1 || type == 2)) {
        const ElementTypeRow &row = p.elementRows[type == 1 ? 2 : 3];
        postCostLabel = E(familyA ? (type == 1 ? text::kPostsCostAType1 : text::kPostsCostAType2)
                          : (type == 1 ? text::kPostsCostBType1 : text::kPostsCostBType2));
        postPrice = familyA ? row.priceA.get() : row.priceB.get();
        postAllowance = closedFrame ? (type == 1 ? a1 : a2) : 0;
    } else {
        postCostLabel = sign.layout == Layout::ClosedFrameB ? E(text::kPostsCostBType1) : QString();
    }

    const long double amount = (postHeight.get() - postAllowance) * postPrice * r.priceFactor.get() * n * 0.01L;
    cost(postCostLabel + u' ' + u'\t' + u' ' + FormatFixedNumber(amount, 10, 2).view() + currency() + kLineEnd);
    addToTotal(amount);
}

void TextWriter::piecesSection()
{
    long double pieces = 0;
    Real48Value elementValue;
    for (const ElementKind &kind : r.ElementKindTable) {
        pieces += kind.count;
        elementValue.set(elementValue.get() + kind.value.get());
    }
    cost(E(text::kPiecesLabel) + u' ');
    if (n != 0) {
        int m = 0;
        while (m < kLowerMarks && s.workingLowerMarks[size_t(m)] != 0)
            ++m;
        pieces = (n + 1) * pieces + n - m * n;
    }
    const long double piecesCost = pieces * p.costItem1.get();
    cost(FormatFixedNumber(pieces, 0, 0).view() + E(text::kPiecesWord) + u' ' + u'\t' + u' '
         + FormatFixedNumber(piecesCost, 10, 2).view() + currency()
         + kLineEnd);
    addToTotal(piecesCost);
    AddCostLine(E(text::kElementMaterialCost) + u' ', elementValue.get() * r.priceFactor.get() * 0.01L);
    spec(E(text::kPiecesLabel) + u' ' + kLineEnd);
}

QString postCutLabel(const EngineRun &s)
{
    const SignRecord &sign = s.currentSignRecord;
    if (!IsKnown(sign.layout))
        return QString();
    const bool familyA = IsFamilyA(sign.layout);
    const bool wide = sign.signType == SignType::WideFrame;
    return s.LanguageEntry(familyA ? (wide ? text::kPostLabelAType2 : text::kPostLabelA)
                           : (wide ? text::kPostLabelBType2 : text::kPostLabelB));
}

void TextWriter::markedSection()
{
    if (r.markedEdge.get() > 0)
        AddCostLine(E(text::kMarkedStripLabel) + u' ',
                    r.markedArea.get() * p.costItem5.get() * 0.0001L + r.markedEdge.get() * p.costItem6.get() * 0.01L);
    if (n == 0)
        return;
    const SignRecord &sign = s.currentSignRecord;
    const bool closedFrame = HasClosedFrame(sign.layout);
    const long double cut = closedFrame ? postHeight.get() - postAllowance : postHeight.get();
    const bool familyA = IsFamilyA(sign.layout);
    r.SpecificationPieces.push_back({postCutLabel(s), PostProfileKey(familyA, sign.signType == SignType::WideFrame), n, cut});
    spec(postCutLabel(s) + u' ' + FormatFixedNumber(n, 0, 0).view() + E(text::kPiecesOf) + u' '
         + FormatFixedNumber(cut, 0, 2).view() + E(text::kCentimetreUnit) + u' '
         + kLineEnd);
}

void TextWriter::cuttingList()
{
    // Rows 1..m above the posts (the block of lower marks from row 1, as the pieces of the cost
    // text count them) are not cut at the posts: each is one piece of the run's full length.
    std::array<int, kElementKinds> whole{};
    if (n != 0)
        for (int k = 0; k < kLowerMarks && s.workingLowerMarks[size_t(k)] != 0; ++k) {
            const int code = s.workingRows[size_t(k)];
            if (code >= 1 && code <= kElementKinds)
                ++whole[size_t(code - 1)];
        }
    for (int code = 1; code <= kElementKinds; ++code) {
        const ElementKind &kind = r.kind(code);
        if (kind.count <= 0)
            continue;
        const QString &key = ElementProfileKey(code);
        auto line = [&](const QString &count, long double length) {
            spec(kind.name + count + E(text::kPiecesOf) + u' ' + FormatFixedNumber(length, 0, 2).view() + E(text::kCentimetreUnit) + u' '
                 + kLineEnd);
        };
        if (n == 0) {
            r.SpecificationPieces.push_back({kind.name, key, (long double)kind.count, kind.length.get()});
            line(QString::number(kind.count), kind.length.get());
            continue;
        }
        const int split = kind.count - whole[size_t(code - 1)];
        if (split > 0) {
            const long double pieceLength = (kind.length.get() - 0.5L * (n + 1)) / (n + 1);
            r.SpecificationPieces.push_back({kind.name, key, split * (n + 1), pieceLength});
            line(FormatFixedNumber(split * (n + 1), 0, 0).view().toString(), pieceLength);
        }
        if (whole[size_t(code - 1)] > 0) {
            r.SpecificationPieces.push_back({kind.name, key, (long double)whole[size_t(code - 1)], kind.length.get()});
            line(QString::number(whole[size_t(code - 1)]), kind.length.get());
        }
    }
}

void TextWriter::totalsSection()
{
    const SignRecord &sign = s.currentSignRecord;
    const long double C = r.costTotal.get();
    const long double S = 1 + sign.areaSurcharge.get() * 0.01L;
    const long double q = sign.quantity.get();
    const long double W = sign.width.get();
    const long double h = r.stackHeight.get();

    cost(E(text::kTotalsSeparator) + kLineEnd);
    totalsLine(E(text::kCostTotal), C, 2, currency());
    totalsLine(E(text::kCostTotalWithSurcharge), C * S, 2, currency());
    cost(E(text::kTotalsSeparator) + kLineEnd);
    if (q > 1) {
        totalsLine(E(text::kOrderTotal), q * C, 2, currency());
        totalsLine(E(text::kOrderTotalWithSurcharge), q * C * S, 2, currency());
    }
    cost(QString(kLineEnd));
    totalsLine(E(text::kSignAreaLabel), r.signArea.get() * 0.0001L, 3, E(text::kSquareMetreUnit));
    totalsLine(E(text::kAreaSurchargeLabel), sign.areaSurcharge.get(), 2, E(text::kPercentUnit));
    cost(E(text::kRunTotalLabel) + u'\t' + FormatFixedNumber(r.runTotal.get() * 0.01L, 10, 2).view() + E(text::kMetreUnit) + kLineEnd);
    cost(QString(kLineEnd));
    cost(E(text::kOrderLengthsHeading) + kLineEnd);

    const int type = Number(sign.signType);
    switch (sign.layout) {
    case Layout::ClosedFrameA:
    case Layout::ClosedFrameB: {
        if (type == 1)
            lengthLine(E(sign.layout == Layout::ClosedFrameA ? text::kProfileLengthAType1 : text::kProfileLengthBType1), q * (W + h + 1.5L) * 0.02L);
        else if (type == 2)
            lengthLine(E(sign.layout == Layout::ClosedFrameA ? text::kProfileLengthAType2 : text::kProfileLengthBType2), q * (W + h + 2.5L) * 0.02L);
        break;
    }
    case Layout::SidePostsA:
    case Layout::SidePostsB: {
        const bool a = sign.layout == Layout::SidePostsA;
        if (type == 1)
            lengthLine(E(a ? text::kProfileLengthAType1 : text::kProfileLengthBType1), q * h * 0.02L);
        else if (type == 2)
            lengthLine(E(a ? text::kProfileLengthAType2 : text::kProfileLengthBType2), q * h * 0.02L);
        else if (type == 3)
            lengthLine(E(a ? text::kProfileLengthAType3 : text::kProfileLengthBType3), q * h * 0.02L);
        else if (type == 4) {
            lengthLine(E(a ? text::kProfileLengthAType4 : text::kProfileLengthBType4), q * h * 0.01L);
            lengthLine(E(a ? text::kSecondProfileLengthAType4 : text::kSecondProfileLengthBType4), q * (h - 0.1L) * 0.01L);
        }
        break;
    }
    default:
        break;
    }

    for (const ElementKind &kind : r.ElementKindTable)
        if (kind.count > 0)
            cost(kind.name
                 + FormatFixedNumber(kind.length.get() * kind.count * q * (type == 4 ? 0.02L : 0.01L), 10, 2).view() + E(text::kMetreUnit)
                 + kLineEnd);

    if (n != 0) {
        const bool closedFrame = HasClosedFrame(sign.layout);
        const long double L = (closedFrame ? postHeight.get() - postAllowance : postHeight.get()) * 0.01L;
        cost(postCutLabel(s) + u' ' + FormatFixedNumber(n * L, 10, 2).view() + E(text::kMetreUnit) + kLineEnd);
    }
}

} // namespace

void WriteTexts(EngineRun &state)
{
    TextWriter(state).run();
}

} // namespace tablix::engine
