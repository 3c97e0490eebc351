// The true-size SVG drawing of the current sign: one group per element class.
#include "core/export/svg.h"

#include <QColor>
#include <QStringList>
#include <QXmlStreamWriter>

#include "core/engine/compute_sign.h"
#include "core/export/true_size.h"
#include "core/number/number_format.h"
#include "core/params/language_entries.h"
#include "core/project/app_state.h"

namespace tablix {

namespace {

// Outlines a tenth of a millimetre wide stay visible in a viewer and thin enough for a cutter.
constexpr double kOutlineMm = 0.1;

// Plain decimals whatever the locale, as SVG reads them.
QString Number(long double v)
{
    return QString::number(double(v), 'g', 10);
}

} // namespace

std::optional<QByteArray> WriteSvg(const AppState &state, const EngineResults &results)
{
    const std::optional<TrueSizeDrawing> d = TrueSizeShapes(state, results);
    if (!d)
        return std::nullopt;
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(1);
    xml.writeStartDocument(QStringLiteral("1.0"), false);
    xml.writeDefaultNamespace(QStringLiteral("http://www.w3.org/2000/svg"));
    xml.writeStartElement(QStringLiteral("svg"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.1"));
    const QString w = Number(d->widthMm), h = Number(d->heightMm);
    xml.writeAttribute(QStringLiteral("width"), w + QStringLiteral("mm"));
    xml.writeAttribute(QStringLiteral("height"), h + QStringLiteral("mm"));
    xml.writeAttribute(QStringLiteral("viewBox"), QStringLiteral("0 0 %1 %2").arg(w, h));
    xml.writeTextElement(QStringLiteral("title"), d->title);
    const QString scale = WithDecimalSeparator(Number(d->mmPerCm * 10), DecimalSeparator(state.language));
    QString description = state.LanguageEntry(text::kSvgDescription);
    description.replace(QStringLiteral("%1"), QStringLiteral(TABLIX_VERSION)).replace(QStringLiteral("%2"), scale);
    if (!description.isEmpty())
        xml.writeTextElement(QStringLiteral("desc"), description);
    for (SignPart part : kSignParts) {
        xml.writeStartElement(QStringLiteral("g"));
        xml.writeAttribute(QStringLiteral("id"), QString::fromLatin1(SignPartName(part)));
        xml.writeAttribute(QStringLiteral("stroke"), QStringLiteral("#000000"));
        xml.writeAttribute(QStringLiteral("stroke-width"), Number(kOutlineMm));
        xml.writeAttribute(QStringLiteral("stroke-linejoin"), QStringLiteral("miter"));
        for (const SignShape &shape : d->shapes) {
            if (shape.part != part)
                continue;
            QStringList points;
            for (const ModelPoint &p : shape.corners)
                points << Number(p.x) + QLatin1Char(',') + Number(p.y);
            xml.writeEmptyElement(QStringLiteral("polygon"));
            xml.writeAttribute(QStringLiteral("fill"), shape.fill.name(QColor::HexRgb));
            xml.writeAttribute(QStringLiteral("points"), points.join(QLatin1Char(' ')));
        }
        xml.writeEndElement();
    }
    xml.writeEndDocument();
    return out;
}

std::optional<QByteArray> SvgFile(const AppState &state)
{
    if (state.workingRows[0] == 0)
        return std::nullopt;
    return WriteSvg(state, ComputeSign(state));
}

} // namespace tablix
