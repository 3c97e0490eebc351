// The metafile of the current sign: an enhanced metafile of filled shapes with black outlines.
#include "core/export/emf.h"

#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/engine/compute_sign.h"
#include "core/export/hpgl.h"
#include "core/number/number_format.h"
#include "core/project/app_state.h"

namespace tablix {

namespace {

// Record types and constants of the enhanced metafile format.
constexpr std::uint32_t EMR_HEADER = 1;
constexpr std::uint32_t EMR_POLYGON = 3;
constexpr std::uint32_t EMR_EOF = 14;
constexpr std::uint32_t EMR_SELECTOBJECT = 37;
constexpr std::uint32_t EMR_CREATEPEN = 38;
constexpr std::uint32_t EMR_CREATEBRUSHINDIRECT = 39;
constexpr std::uint32_t EMR_DELETEOBJECT = 40;
constexpr std::uint32_t EMR_RECTANGLE = 43;
constexpr std::uint32_t kSignature = 0x464D4520; // " EMF"
constexpr std::uint32_t kVersion = 0x10000;
constexpr std::uint32_t PS_SOLID = 0;
constexpr std::uint32_t BS_SOLID = 0;
constexpr std::uint32_t kStockWhiteBrush = 0x80000000;
constexpr std::uint32_t kStockBlackPen = 0x80000007;
constexpr std::uint32_t kHeaderSize = 108; // with both header extensions

// Drawing units are those of the recording, 1000 per inch at 100 % (s = 393.7 per cm). The
// reference device says so: 10000 pixels on 254 mm. A unit is then 2.54 hundredths of a mm, and
// at 100 % the picture has the sign's real size.
constexpr std::int32_t kDevicePixels = 10000;
constexpr std::int32_t kDeviceMillimetres = 254;
constexpr long double kFrameUnitsPerPixel = 100.0L * kDeviceMillimetres / kDevicePixels;

using Rgb = std::uint32_t; // COLORREF: 0x00BBGGRR
constexpr Rgb ColourRef(int r, int g, int b) { return Rgb(r) | Rgb(g) << 8 | Rgb(b) << 16; }
constexpr Rgb kWhite = ColourRef(255, 255, 255); // the canvas's brush before any class sets one

// Coordinates are carried in 64 bits and checked against the format's 32 once the extent is known.
struct Point {
    std::int64_t x, y;
};

struct OutOfRange {};

bool FitsInt32(long double v)
{
    return v >= INT32_MIN && v <= INT32_MAX;
}

class EmfWriter {
public:
    EmfWriter()
    {
        beginRecord(EMR_CREATEPEN, 28);
        u32(newObject());
        u32(PS_SOLID);
        i32(0); // a cosmetic pen: one device pixel wide at any size the picture is shown
        i32(0);
        u32(ColourRef(0, 0, 0));
        selectObject(1);
    }

    // No class keeps the previous fill.
    void fill(ColourClass colourClass)
    {
        if (colourClass == ColourClass::FamilyA)
            brush(ColourRef(255, 255, 0));
        else if (colourClass == ColourClass::FamilyB)
            brush(ColourRef(128, 128, 128));
        else if (colourClass == ColourClass::OtherInfill)
            brush(ColourRef(192, 192, 192));
    }

    void rectangle(Point a, Point b)
    {
        ensureBrush();
        include(a);
        include(b);
        beginRecord(EMR_RECTANGLE, 24);
        i32(a.x);
        i32(a.y);
        i32(b.x);
        i32(b.y);
    }

    void polygon(const std::vector<Point> &points)
    {
        ensureBrush();
        Point lo{INT64_MAX, INT64_MAX}, hi{INT64_MIN, INT64_MIN};
        for (const Point &p : points) {
            include(p);
            lo = {std::min(lo.x, p.x), std::min(lo.y, p.y)};
            hi = {std::max(hi.x, p.x), std::max(hi.y, p.y)};
        }
        beginRecord(EMR_POLYGON, 28 + 8 * std::uint32_t(points.size()));
        i32(lo.x);
        i32(lo.y);
        i32(hi.x);
        i32(hi.y);
        u32(std::uint32_t(points.size()));
        for (const Point &p : points) {
            i32(p.x);
            i32(p.y);
        }
    }

    // `picture` is the intended picture frame in drawing units; the frame written also encloses
    // everything drawn. Throws OutOfRange when a bound or the frame does not fit 32 bits; every
    // coordinate written lies within the bounds.
    QByteArray finish(Point pictureLo, Point pictureHi)
    {
        // Stock objects back in, so that every object is deleted while unselected.
        selectObject(kStockBlackPen);
        selectObject(kStockWhiteBrush);
        for (std::uint32_t h = 1; h < nextHandle_; ++h) {
            beginRecord(EMR_DELETEOBJECT, 12);
            u32(h);
        }
        beginRecord(EMR_EOF, 20);
        u32(0);  // no palette entries
        u32(16); // offset of the (empty) palette
        u32(20); // size of this record again

        const Point frameLo{std::min(pictureLo.x, lo_.x), std::min(pictureLo.y, lo_.y)};
        const Point frameHi{std::max(pictureHi.x, hi_.x), std::max(pictureHi.y, hi_.y)};
        QByteArray header;
        auto put = [&](std::uint32_t v) {
            char b[4];
            qToLittleEndian(v, b);
            header.append(b, 4);
        };
        auto frame = [](std::int64_t v, bool up) {
            const long double f = (up ? std::ceil(v * kFrameUnitsPerPixel) : std::floor(v * kFrameUnitsPerPixel));
            if (!FitsInt32(f))
                throw OutOfRange{};
            return std::uint32_t(std::int32_t(f));
        };
        auto bound = [](std::int64_t v) {
            if (!FitsInt32(v))
                throw OutOfRange{};
            return std::uint32_t(std::int32_t(v));
        };
        put(EMR_HEADER);
        put(kHeaderSize);
        put(bound(lo_.x)); // bounds: device units, inclusive
        put(bound(lo_.y));
        put(bound(hi_.x));
        put(bound(hi_.y));
        put(frame(frameLo.x, false)); // frame: hundredths of a millimetre
        put(frame(frameLo.y, false));
        put(frame(frameHi.x, true));
        put(frame(frameHi.y, true));
        put(kSignature);
        put(kVersion);
        put(std::uint32_t(kHeaderSize + body_.size()));
        put(records_ + 1);
        put(nextHandle_); // nHandles (16 bits) and sReserved 0; index 0 is reserved
        put(0);           // no description
        put(0);
        put(0); // no palette
        put(kDevicePixels);
        put(kDevicePixels);
        put(kDeviceMillimetres);
        put(kDeviceMillimetres);
        put(0); // no pixel format
        put(0);
        put(0); // no OpenGL records
        put(kDeviceMillimetres * 1000);
        put(kDeviceMillimetres * 1000);
        return header + body_;
    }

private:
    QByteArray body_;
    std::uint32_t records_ = 0;
    std::uint32_t nextHandle_ = 1;
    std::vector<std::pair<Rgb, std::uint32_t>> brushes_; // colour, handle
    Rgb fill_ = kWhite;
    std::uint32_t selectedBrush_ = 0;
    Point lo_{INT64_MAX, INT64_MAX}, hi_{INT64_MIN, INT64_MIN};

    void u32(std::uint32_t v)
    {
        char b[4];
        qToLittleEndian(v, b);
        body_.append(b, 4);
    }
    // Wraps until finish() has checked the extent; a picture that does not fit is never returned.
    void i32(std::int64_t v) { u32(std::uint32_t(v)); }
    void beginRecord(std::uint32_t type, std::uint32_t size)
    {
        u32(type);
        u32(size);
        ++records_;
    }
    std::uint32_t newObject() { return nextHandle_++; }
    void selectObject(std::uint32_t handle)
    {
        beginRecord(EMR_SELECTOBJECT, 12);
        u32(handle);
    }
    void include(Point p)
    {
        lo_ = {std::min(lo_.x, p.x), std::min(lo_.y, p.y)};
        hi_ = {std::max(hi_.x, p.x), std::max(hi_.y, p.y)};
    }
    void brush(Rgb colour) { fill_ = colour; }

    // One brush object per colour, created when first used and selected when the fill changes.
    void ensureBrush()
    {
        auto it = std::find_if(brushes_.begin(), brushes_.end(), [&](const auto &b) { return b.first == fill_; });
        std::uint32_t handle;
        if (it != brushes_.end()) {
            handle = it->second;
        } else {
            handle = newObject();
            brushes_.emplace_back(fill_, handle);
            beginRecord(EMR_CREATEBRUSHINDIRECT, 24);
            u32(handle);
            u32(BS_SOLID);
            u32(fill_);
            u32(0);
        }
        if (handle != selectedBrush_) {
            selectObject(handle);
            selectedBrush_ = handle;
        }
    }
};

// Far beyond 32 bits yet far from overflowing a sum of a few of them in 64 (NaN fails too).
std::int64_t Device(long double v)
{
    constexpr long double kLimit = 1e15L;
    if (!(std::fabs(v) <= kLimit))
        throw OutOfRange{};
    return RoundEven(v);
}

std::optional<QByteArray> Metafile(const AppState &state, const EngineResults &results, QSize mainWindow);

} // namespace

std::optional<QByteArray> WriteMetafile(const AppState &state, const EngineResults &results, QSize mainWindow)
{
    try {
        return Metafile(state, results, mainWindow);
    } catch (const OutOfRange &) {
        throw MetafileTooLarge(
            QStringLiteral("The metafile cannot hold this drawing: at an export scale of %1 % on a window of %2 x %3 "
                           "it reaches beyond the format's 32-bit coordinates (about 21 km at full size). Nothing was "
                           "written; choose a smaller export scale.")
                .arg(FormatFixed(state.exportScale.get(), 0, 2))
                .arg(mainWindow.width())
                .arg(mainWindow.height())
                .toStdString());
    }
}

namespace {

std::optional<QByteArray> Metafile(const AppState &state, const EngineResults &results, QSize mainWindow)
{
    const SignRecord &sign = state.currentSignRecord;
    const EngineResults &g = results;
    const long double width = sign.width.get();
    const long double height = g.geometryHeight.get();
    if (state.workingRows[0] == 0 || !(width > 0) || !(height > 0))
        return std::nullopt;

    const long double s = state.exportScale.get() * 10 * 0.3937007874015748L;
    const std::int64_t ox = Device((mainWindow.width() - s * width) * 0.5L);
    const std::int64_t oy = Device((mainWindow.height() - s * height) * 0.5L);
    auto at = [&](long double x, long double y) { return Point{ox + Device(s * x), oy + Device(s * y)}; };

    EmfWriter emf;
    for (int i = 1; i <= kMaxRows; ++i) {
        const GeometryRecord &r = g.record(i);
        if (r.x1.get() == r.x2.get())
            break;
        emf.fill(r.colourClass);
        emf.rectangle(at(r.x1.get(), r.y1.get()), at(r.x2.get(), r.y2.get()));
    }

    const GeometryRecord &left = g.record(61);
    const long double aux = sign.auxDimension.get();
    if (aux > 0) {
        emf.fill(left.colourClass);
        const std::int64_t top = oy + Device(s * StripeTop(state, results));
        const std::int64_t bottom = oy + Device(s * left.y2.get());
        const int n = StripeCount(aux);
        const long double h = s * 0.05L * state.parameters.elementRows[sign.signType == SignType::WideFrame ? 3 : 2].heightMm.get();
        const GeometryRecord &first = g.record(1);
        for (int o = 1; o <= n; ++o) {
            const long double c = s * (first.x1.get() + first.x2.get()) / (aux + 1) * o;
            emf.rectangle({ox + Device(c - h), top}, {ox + Device(c + h), bottom});
        }
    }

    emf.fill(left.colourClass);
    if (g.record(64).colourClass == ColourClass::None) {
        for (int n : {61, 62}) {
            const GeometryRecord &r = g.record(n);
            emf.rectangle(at(r.x1.get(), r.y1.get()), at(r.x2.get(), r.y2.get()));
        }
    } else {
        const long double d = left.x2.get() - left.x1.get();
        for (int n : {61, 62, 63, 64}) {
            const auto c = MitredBarCorners(g.record(n), n, d);
            emf.polygon({at(c[0].x, c[0].y), at(c[1].x, c[1].y), at(c[2].x, c[2].y), at(c[3].x, c[3].y)});
        }
    }

    // The picture is the sign with 2.5 % of its size around it on every side (width x 1.05,
    // height x 1.05), in drawing units.
    const std::int64_t mx = Device(s * width * 0.025L), my = Device(s * height * 0.025L);
    return emf.finish({ox - mx, oy - my}, {ox + Device(s * width) + mx, oy + Device(s * height) + my});
}

} // namespace

std::optional<QByteArray> MetafileFile(const AppState &state, QSize mainWindow)
{
    if (state.workingRows[0] == 0)
        return std::nullopt;
    // The picture's size needs this run's height, so the sign is computed first.
    return WriteMetafile(state, ComputeSign(state), mainWindow);
}

} // namespace tablix
