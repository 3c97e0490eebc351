// main() of a benchmark that draws: text and painting need the platform's fonts and raster
// set-up, as in the program; offscreen unless a platform is chosen.
#pragma once

#include <benchmark/benchmark.h>

#include <QByteArray>

namespace tablix::bench {

template <typename Application> int RunWithApplication(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace tablix::bench
