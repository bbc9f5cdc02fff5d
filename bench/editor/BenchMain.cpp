#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>

// Widgets need an application; the benchmarks run on the offscreen platform
// unless another is asked for.
int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
