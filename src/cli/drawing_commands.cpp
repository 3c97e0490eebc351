// tablix-cli's true-size drawings: svg, pdf and dxf.
#include "cli/drawing_commands.h"

#include "core/export/dxf.h"
#include "core/export/pdf.h"
#include "core/export/svg.h"
#include "core/export/true_size.h"

namespace tablix::cli {

namespace {

using Drawing = std::optional<QByteArray> (*)(const AppState &);

// Nothing is written for a sign without rows or for a drawing beyond any sheet.
int drawingCommand(const Invocation &o, const char *name, Drawing draw)
{
    if (o.output.isEmpty())
        usageError(QStringLiteral("%1 needs -o FILE").arg(QLatin1String(name)));
    AppState state;
    computeSign(state, o);
    state.exportScale.set(o.scale);
    std::optional<QByteArray> bytes;
    try {
        bytes = draw(state);
    } catch (const DrawingTooLarge &e) {
        ioError(QString::fromUtf8(e.what()));
    }
    if (!bytes)
        ioError(QStringLiteral("sign %1 has nothing to export").arg(o.sign));
    writeOutputFile(o, o.output, *bytes);
    return 0;
}

} // namespace

int svgCommand(const Invocation &o)
{
    return drawingCommand(o, "svg", SvgFile);
}

int pdfCommand(const Invocation &o)
{
    return drawingCommand(o, "pdf", PdfFile);
}

int dxfCommand(const Invocation &o)
{
    return drawingCommand(o, "dxf", DxfFile);
}

} // namespace tablix::cli
