// One frame of the swarm's simulation with the whole pool live, calibrated
// and moving: the work each shown frame does besides drawing.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "../astr/core/frame_clock.h"
#include "../astr/core/particles.h"
#include "../astr/core/window_state.h"
#include "../tools/headless_frame.h"

static void BM_SimulateFrame(benchmark::State& state)
{
    createParticleBuffer();
    initSimulation(1);
    setAspectForClientSize(1024, 768);
    calibrationFrames = 0;
    particleCount = poolSize;
    runStats.fixedStepSeconds = fixedStep;
    runStats.stepSeconds = fixedStep;

    for (auto _ : state) {
        simulateFrame();
        benchmark::DoNotOptimize(particleBuffer[particleCount - 1]);
    }
    state.SetItemsProcessed(state.iterations() * particleCount);
    state.counters["ns_per_particle"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * particleCount, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    std::free(particleBuffer);
}
BENCHMARK(BM_SimulateFrame)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
