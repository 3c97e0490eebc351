// Printing a two-page report of the heaviest sign, drawing included, to a PDF file: the whole
// print command from the confirmed dialog to the end of the job. Run by hand: make bench.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "bench/gui_main.h"
#include "bench/heavy_sign.h"
#include "core/engine/compute_sign.h"
#include "ui/report_view.h"
#include "core/render/report_lines.h"
#include "core/project/app_state.h"
#include "ui/window_set.h"

using namespace tablix;

namespace {

int PdfPages(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    return int(QString::fromLatin1(file.readAll()).count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?![s\\w])"))));
}

void BM_PrintReport(benchmark::State &s)
{
    AppState state = bench::HeavySign();
    state.reportShowsDrawing = true;
    ComputeSign(state);
    QString text;
    for (int a = 1; a <= 90; ++a)
        text += QStringLiteral("Element %1, cut pieces\t%2.00 EUR\r").arg(a).arg(a * 7);
    state.ViewText = text;
    SplitViewText(state);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("report.pdf"));
    Windows windows(state);
    ReportView &form = windows.reportView();
    form.PrintDialog = [&path](QPrinter &printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printer.setPageSize(QPageSize(QPageSize::A4));
        return true;
    };
    form.onActivated();
    for (auto _ : s)
        form.printReport();
    if (const int pages = PdfPages(path); pages != 2)
        s.SkipWithError(qPrintable(QStringLiteral("printed %1 pages instead of 2").arg(pages)));
}
BENCHMARK(BM_PrintReport)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char **argv)
{
    return bench::RunWithApplication<QApplication>(argc, argv);
}
