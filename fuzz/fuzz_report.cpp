// The report page of any sign: measuring, screen drawing and the printout's maths and page breaks,
// for font heights, window widths, resolutions and page sizes from the input.
#include <QImage>
#include <QPainter>

#include "core/engine/compute_sign.h"
#include "core/project/app_state.h"
#include "core/render/report_layout.h"
#include "core/render/report_lines.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace tablix;
    fuzz::EnsureGui();
    fuzz::Input in(data, size);
    // Within what the devices can report: a font up to 1023 pixels high, a window up to Qt's
    // largest widget, a printer up to 9600 dpi on a page up to 2^20 dots.
    const int f = in.get<std::uint16_t>() % 1024;
    const int clientWidth = int(in.get<std::uint32_t>() % (16777215 + 1));
    const int printerDpi = int(in.get<std::uint16_t>() % 9601);
    const int screenDpi = in.get<std::int16_t>();
    const int pageWidth = int(in.get<std::uint32_t>() % (1 << 20));
    const int pageHeight = int(in.get<std::uint32_t>() % (1 << 20));
    const int origin = in.get<std::int16_t>();
    const auto flags = in.get<std::uint8_t>();

    AppState state;
    state.parameters = fuzz::ShippedParameters();
    state.language = fuzz::ShippedLanguage(flags & 1);
    state.RefreshParameters();
    // One sign over the shipped example's first, then the parameters over the shipped ones.
    SignSlotArray signs = fuzz::ExampleProject();
    in.bytes(&signs[0], std::min(in.left(), sizeof(SignRecord)));
    in.bytes(&state.parameters, std::min(in.left(), sizeof(ParameterRecord)));
    state.RefreshParameters();
    state.OpenProject(signs, QStringLiteral("fuzz.tab"));
    state.SelectSign(1);
    state.reportShowsDrawing = flags & 2;
    state.printerDpiY = printerDpi;
    state.printerPageWidth = pageWidth;
    state.printerPageHeight = pageHeight;

    const ReportTextWidth width = [](const QString &t) { return 7 * int(t.size()); };
    const ReportTextWriter nowhere = [](int, int, const QString &) {};
    QImage image(64, 48, QImage::Format_RGB32);
    try {
        const EngineResults results = ComputeSign(state);
        state.ViewText = (flags & 4) ? results.SpecificationText : results.CostText;
        SplitViewText(state);
        ReportLayout layout;
        if (!MeasureReport(state, layout, width, f, clientWidth))
            return 0;
        {
            QPainter painter(&image);
            DrawReportPicture(painter, state, layout, f, clientWidth, QSize(layout.reportWidth, layout.reportHeight),
                              nowhere);
            DrawReportText(painter, state, layout, f, nowhere);
        }
        const long double ratio = PrintRatio(printerDpi, screenDpi);
        ReportPrintPage page;
        page.ox = origin;
        page.oy = origin / 3;
        page.ratio = ratio;
        page.f = PrinterFontHeight(f, ratio);
        if (page.f < 1)
            __builtin_trap();
        page.clientWidth = clientWidth;
        int pages = 0;
        page.newPage = [&pages] { return ++pages < 200; };
        QPainter painter(&image);
        PrintReportPicture(painter, state, layout, page, nowhere);
        (void)PrintReportText(painter, state, layout, page, nowhere);
    } catch (const FloatingPointOverflow &) {
    }
    return 0;
}
