// The plotter file of the current sign and the file names of both exports.
#include "core/export/hpgl.h"

#include <QFileInfo>

#include "core/engine/compute_sign.h"
#include "core/number/number_format.h"
#include "core/project/app_state.h"

namespace tablix {

namespace {

// Plotter units per centimetre at 100 %, as the stored constant holds it.
const long double kPlotterUnitsPerCm = RoundToReal48(400.00793073279783L);

// A count no sign reaches; keeps a corrupt project from producing an endless file.
constexpr int kMaxStripes = 10000;

class PlotterWriter {
public:
    explicit PlotterWriter(long double k) : k_(k) {}

    void line(const char *text)
    {
        out_ += text;
        out_ += "\r\n";
    }

    // Numbers go through FormatFixed with 0 decimals: halves round away from zero (so a shape and
    // its mirror image round alike) and a value that rounds to zero is written "0", never "-0".
    void point(const char *command, long double x, long double y)
    {
        out_ += command;
        out_ += FormatFixed(k_ * x, 0, 0).toLatin1();
        out_ += ' ';
        out_ += FormatFixed(-(k_ * y), 0, 0).toLatin1();
        out_ += ";\r\n";
    }

    // Any other class keeps the pen of the previous shape.
    void pen(ColourClass colourClass)
    {
        if (colourClass == ColourClass::FamilyA)
            line("SP1;");
        else if (colourClass == ColourClass::FamilyB)
            line("SP2;");
        else if (colourClass == ColourClass::OtherInfill)
            line("SP3;");
    }

    void rectangle(long double a, long double b, long double c, long double d)
    {
        point("PU", a, b);
        point("PD", c, b);
        point("PD", c, d);
        point("PD", a, d);
        point("PD", a, b);
    }

    void quadrilateral(const std::array<ModelPoint, 4> &p)
    {
        point("PU", p[0].x, p[0].y);
        point("PD", p[1].x, p[1].y);
        point("PD", p[2].x, p[2].y);
        point("PD", p[3].x, p[3].y);
        point("PD", p[0].x, p[0].y);
    }

    QByteArray result() const { return out_; }

private:
    long double k_;
    QByteArray out_;
};

} // namespace

int StripeCount(long double auxDimension)
{
    if (!(auxDimension > 0))
        return 0;
    if (auxDimension >= kMaxStripes)
        return kMaxStripes;
    return int(RoundEven(auxDimension));
}

long double StripeTop(const AppState &state, const EngineResults &results)
{
    const EngineResults &g = results;
    long double top = g.record(61).y1.get();
    for (int m = 1; m <= kLowerMarks; ++m)
        if (state.currentSignRecord.lowerMarks[m - 1] != 0)
            top = g.record(m).y2.get();
    return top;
}

std::optional<QByteArray> WritePlotterFile(const AppState &state, const EngineResults &results)
{
    const SignRecord &sign = state.currentSignRecord;
    const EngineResults &g = results;
    if (!(sign.width.get() > 0) || !(g.geometryHeight.get() > 0))
        return std::nullopt;

    PlotterWriter plot(kPlotterUnitsPerCm * state.exportScale.get() / 100);
    plot.line("IN;");
    plot.line("LT;");

    for (int i = 1; i <= kMaxRows; ++i) {
        const GeometryRecord &r = g.record(i);
        if (r.x1.get() == r.x2.get())
            break;
        plot.pen(r.colourClass);
        plot.rectangle(r.x1.get(), r.y1.get(), r.x2.get(), r.y2.get());
    }

    const GeometryRecord &left = g.record(61);
    const long double aux = sign.auxDimension.get();
    // Stripe offset and width exist for sign types 1 and 2 only, the types that take an
    // auxDimension; any other type exports no stripe section at all.
    if (aux > 0 && (sign.signType == SignType::NarrowFrame || sign.signType == SignType::WideFrame)) {
        plot.pen(left.colourClass);
        const long double top = StripeTop(state, results);
        const int n = StripeCount(aux);
        const GeometryRecord &first = g.record(1);
        const long double spacing = (first.x2.get() - first.x1.get()) / (aux + 1);
        const long double offset = sign.signType == SignType::NarrowFrame ? 1.5L : 2.5L;
        const long double width = 0.1L * state.parameters.elementRows[sign.signType == SignType::NarrowFrame ? 2 : 3].heightMm.get();
        for (int o = 1; o <= n; ++o) {
            const long double l = first.x1.get() + offset + o * spacing;
            plot.rectangle(l, top, l + width, left.y2.get());
        }
    }

    plot.pen(left.colourClass);
    if (g.record(64).colourClass == ColourClass::None) {
        for (int n : {61, 62}) {
            const GeometryRecord &r = g.record(n);
            plot.rectangle(r.x1.get(), r.y1.get(), r.x2.get(), r.y2.get());
        }
    } else {
        const long double d = left.x2.get() - left.x1.get();
        for (int n : {61, 62, 63, 64})
            plot.quadrilateral(MitredBarCorners(g.record(n), n, d));
    }
    return plot.result();
}

std::optional<QByteArray> PlotterFile(const AppState &state)
{
    return WritePlotterFile(state, ComputeSign(state));
}

QString ExportFileName(const QString &chosen, bool metafile)
{
    if (QFileInfo(chosen).fileName().contains(QLatin1Char('.')))
        return chosen;
    return chosen + (metafile ? QStringLiteral(".wmf") : QStringLiteral(".plt"));
}

QString ProposedExportName(const QString &title)
{
    // A leading "!" only marks a title set by hand; it is never shown, so it is not offered.
    QString name = title.startsWith(QLatin1Char('!')) ? title.mid(1) : title;
    return name.replace(QLatin1Char('.'), QLatin1Char(','));
}

} // namespace tablix
