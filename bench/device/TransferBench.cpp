// An upload of a 20-block layout to the simulated panel over a pseudo-terminal.
// Its wall time should be the protocol's own pauses and reply windows and
// little more; its CPU time a small share of that, since every wait sleeps in
// poll() or nanosleep instead of spinning.

#include "BlockRecord.h"
#include "FixedIterations.h"
#include "PanelLink.h"
#include "SerialPort.h"
#include "SimulatedPanel.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>
#include <time.h>

namespace
{

double ThreadCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

double WallMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

// The drain window, the pauses around the speed changes, one reply window and
// the 5 ms pause per block, and the end record's pauses and window.
double ProtocolMs(int32_t blocks)
{
    return 500 + 100 + 700 + blocks * (5 + 500) + 5 + 10 + 500 + 20 + 100;
}

void BM_UploadTwentyBlocks(benchmark::State& state)
{
    const int32_t length = 19500;
    const int32_t blocks = BlockCountFor(length);
    std::vector<uint8_t> image(static_cast<size_t>(length));
    for (size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<uint8_t>(i * 13);

    CSimulatedPanel panel(TSimOptions{});
    const std::string port = panel.Start();
    std::thread server([&panel] { panel.Serve(); });

    CPanelLink link;
    link.OpenSelectedPort(port);
    CNullProgress progress;
    double wall = 0;
    double cpu = 0;
    for (auto _ : state)
    {
        const double w0 = WallMs();
        const double c0 = ThreadCpuMs();
        const TLinkResult r = link.UploadLayout(image.data(), length, progress);
        cpu += ThreadCpuMs() - c0;
        wall += WallMs() - w0;
        if (r.outcome != ELinkOutcome::Ok || !r.endConfirmed)
            state.SkipWithError("the upload failed");
    }
    link.Disconnect();
    panel.Stop();
    server.join();

    const double n = static_cast<double>(state.iterations());
    state.counters["blocks"] = blocks;
    state.counters["protocol_ms"] = ProtocolMs(blocks);
    state.counters["wall_ms"] = wall / n;
    state.counters["over_protocol_pct"] = (wall / n - ProtocolMs(blocks)) / ProtocolMs(blocks) * 100.0;
    state.counters["cpu_ms"] = cpu / n;
    state.counters["cpu_of_wall_pct"] = cpu / wall * 100.0;
}
BENCHMARK(BM_UploadTwentyBlocks)->Iterations(FixedIterations(2))->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
