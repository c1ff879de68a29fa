// The main of the widget benchmarks: an application object (offscreen unless a platform is
// set) and the interface font, then Google Benchmark.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "views/common/SharedFonts.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    tessary::RegisterInterfaceFonts();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
