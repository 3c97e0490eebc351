// The DXF drawing of the current sign for cutting and CAD: closed outlines in millimetres.
#include "core/export/dxf.h"

#include <QColor>
#include <algorithm>
#include <array>

#include "core/engine/compute_sign.h"
#include "core/export/true_size.h"
#include "core/project/app_state.h"

namespace tablix {

namespace {

// The indexed colours nearest to the drawing's fills; the white of an unset fill is colour 7,
// which viewers show in the contrast of their background.
struct IndexedColour {
    int index;
    QRgb rgb;
};
constexpr IndexedColour kColours[] = {
    {1, 0xFF0000}, {2, 0xFFFF00}, {3, 0x00FF00}, {4, 0x00FFFF}, {5, 0x0000FF},   {6, 0xFF00FF},
    {7, 0xFFFFFF}, {8, 0x808080}, {9, 0xC0C0C0}, {52, 0xA5A500}, {251, 0x656565},
};

int ColourIndex(const QColor &colour)
{
    auto distance = [&](QRgb rgb) {
        const int r = qRed(rgb) - colour.red(), g = qGreen(rgb) - colour.green(), b = qBlue(rgb) - colour.blue();
        return r * r + g * g + b * b;
    };
    return std::min_element(std::begin(kColours), std::end(kColours),
                            [&](const IndexedColour &a, const IndexedColour &b) { return distance(a.rgb) < distance(b.rgb); })
        ->index;
}

// A layer's colour when it has no outline to take it from.
int DefaultColour(SignPart part)
{
    return part == SignPart::Rows ? 2 : part == SignPart::Strips ? 52 : 8;
}

class DxfWriter {
public:
    void pair(int code, const QByteArray &value)
    {
        out_ += QByteArray::number(code).rightJustified(3, ' ') + '\n' + value + '\n';
    }
    void pair(int code, int value) { pair(code, QByteArray::number(value)); }
    void real(int code, long double value)
    {
        const double v = double(value) + 0.0; // never "-0"
        pair(code, QByteArray::number(v == 0 ? 0.0 : v, 'f', 4));
    }
    void point(int code, long double x, long double y)
    {
        real(code, x);
        real(code + 10, y);
        real(code + 20, 0);
    }
    QByteArray take() { return std::move(out_); }

private:
    QByteArray out_;
};

QByteArray LayerName(SignPart part)
{
    return QByteArray(SignPartName(part)).toUpper();
}

} // namespace

std::optional<QByteArray> WriteDxf(const AppState &state, const EngineResults &results)
{
    const std::optional<TrueSizeDrawing> d = TrueSizeShapes(state, results);
    if (!d)
        return std::nullopt;

    std::array<int, std::size(kSignParts)> layerColour{};
    for (size_t k = 0; k < std::size(kSignParts); ++k) {
        const auto first = std::find_if(d->shapes.begin(), d->shapes.end(),
                                        [&](const SignShape &s) { return s.part == kSignParts[k]; });
        layerColour[k] = first != d->shapes.end() ? ColourIndex(first->fill) : DefaultColour(kSignParts[k]);
    }

    DxfWriter dxf;
    QByteArray title = d->title.toLatin1();
    for (char &c : title)
        if (c < 32 || c > 126) // the file's code page is not known to every reader
            c = '?';
    dxf.pair(999, "Tablix " TABLIX_VERSION ": " + title);
    dxf.pair(0, "SECTION");
    dxf.pair(2, "HEADER");
    dxf.pair(9, "$ACADVER");
    dxf.pair(1, "AC1009");
    dxf.pair(9, "$INSBASE");
    dxf.point(10, 0, 0);
    dxf.pair(9, "$EXTMIN");
    dxf.point(10, 0, 0);
    dxf.pair(9, "$EXTMAX");
    dxf.point(10, d->widthMm, d->heightMm);
    dxf.pair(9, "$LIMMIN");
    dxf.real(10, 0);
    dxf.real(20, 0);
    dxf.pair(9, "$LIMMAX");
    dxf.real(10, d->widthMm);
    dxf.real(20, d->heightMm);
    dxf.pair(9, "$MEASUREMENT");
    dxf.pair(70, 1);
    dxf.pair(9, "$INSUNITS");
    dxf.pair(70, 4); // millimetres
    dxf.pair(0, "ENDSEC");

    dxf.pair(0, "SECTION");
    dxf.pair(2, "TABLES");
    dxf.pair(0, "TABLE");
    dxf.pair(2, "LTYPE");
    dxf.pair(70, 1);
    dxf.pair(0, "LTYPE");
    dxf.pair(2, "CONTINUOUS");
    dxf.pair(70, 0);
    dxf.pair(3, "Solid line");
    dxf.pair(72, 65);
    dxf.pair(73, 0);
    dxf.real(40, 0);
    dxf.pair(0, "ENDTAB");
    dxf.pair(0, "TABLE");
    dxf.pair(2, "LAYER");
    dxf.pair(70, int(std::size(kSignParts)) + 1);
    auto layer = [&](const QByteArray &name, int colour) {
        dxf.pair(0, "LAYER");
        dxf.pair(2, name);
        dxf.pair(70, 0);
        dxf.pair(62, colour);
        dxf.pair(6, "CONTINUOUS");
    };
    layer("0", 7);
    for (size_t k = 0; k < std::size(kSignParts); ++k)
        layer(LayerName(kSignParts[k]), layerColour[k]);
    dxf.pair(0, "ENDTAB");
    dxf.pair(0, "ENDSEC");

    dxf.pair(0, "SECTION");
    dxf.pair(2, "BLOCKS");
    dxf.pair(0, "ENDSEC");

    dxf.pair(0, "SECTION");
    dxf.pair(2, "ENTITIES");
    for (size_t k = 0; k < std::size(kSignParts); ++k)
        for (const SignShape &shape : d->shapes) {
            if (shape.part != kSignParts[k])
                continue;
            const QByteArray name = LayerName(shape.part);
            const int colour = ColourIndex(shape.fill);
            dxf.pair(0, "POLYLINE");
            dxf.pair(8, name);
            if (colour != layerColour[k])
                dxf.pair(62, colour);
            dxf.pair(66, 1);
            dxf.point(10, 0, 0);
            dxf.pair(70, 1); // closed
            for (const ModelPoint &p : shape.corners) {
                dxf.pair(0, "VERTEX");
                dxf.pair(8, name);
                dxf.point(10, p.x, d->heightMm - p.y); // y grows upwards in a drawing
            }
            dxf.pair(0, "SEQEND");
            dxf.pair(8, name);
        }
    dxf.pair(0, "ENDSEC");
    dxf.pair(0, "EOF");
    return dxf.take();
}

std::optional<QByteArray> DxfFile(const AppState &state)
{
    if (state.workingRows[0] == 0)
        return std::nullopt;
    return WriteDxf(state, ComputeSign(state));
}

} // namespace tablix
