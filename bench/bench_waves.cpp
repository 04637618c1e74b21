// One frame's texture-coordinate update, as shipped, against the rules
// computed plainly for every vertex (the naive baseline) and against a loop
// that only stores u and v (the floor). Ends with one summary line per rule.
#include "scene/mesh.h"
#include "scene/wave_motion.h"
#include "scene/water_light.h"
#include "scene/water_surface.h"
#include "tests/support/naive_waves.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

constexpr int window_width = 1920;
constexpr int window_height = 1080;
constexpr float freq = 11.0f;   // the settings' middle
constexpr float amp = 0.05f;
constexpr float frame_seconds = 0.01f;
constexpr float speed = 5.0f;     // the slowest
constexpr int summary_n = 100;

struct grid {
    std::vector<mesh_vertex> vertices;
    std::vector<std::uint16_t> indices;
    explicit grid(int n) { build_grid(vertices, indices, n, n, window_width, window_height); }
};

const char* rule_name(bool radial) { return radial ? "radial" : "linear"; }

void shipped_update(benchmark::State& state, bool radial)
{
    const int n = static_cast<int>(state.range(0));
    grid g(n);
    wave_field field;
    float phase = 0;
    for (auto _ : state) {
        if (!field.matches(g.vertices.size(), window_width, window_height))
            field.prepare(g.vertices, n, n, window_width, window_height, radial, freq, amp);
        field.apply(g.vertices, phase);
        benchmark::ClobberMemory();
        phase = advance_phase(phase, frame_seconds, speed);
    }
}

void naive_update(benchmark::State& state, bool radial)
{
    const int n = static_cast<int>(state.range(0));
    grid g(n);
    float phase = 0;
    for (auto _ : state) {
        naive::apply_waves(g.vertices, window_width, window_height, radial, freq, amp, phase);
        benchmark::ClobberMemory();
        phase = advance_phase(phase, frame_seconds, speed);
    }
}

// The waves with light on and a shower of rain: every one of the 16 slots
// with a live drop, and the triangles that glint picked out, as a frame does.
void lit_rain_update(benchmark::State& state, bool radial)
{
    const int n = static_cast<int>(state.range(0));
    grid g(n);
    wave_field field;
    water_surface surface;
    field.prepare(g.vertices, n, n, window_width, window_height, radial, freq, amp);
    surface.prepare(g.vertices, n, n, window_width, window_height, 0.5f, surface_light::per_vertex, 100, max_live_drops, 1);
    std::vector<std::uint16_t> glinting;
    float phase = 0;
    double time = 60;
    for (auto _ : state) {
        field.apply(g.vertices, phase);
        surface.apply(g.vertices, time, {}, 0, 0);
        if (surface.glinting())
            glinting_triangles(g.indices, surface.glint().data(), glinting);
        benchmark::ClobberMemory();
        phase = advance_phase(phase, frame_seconds, speed);
        time += frame_seconds;
    }
    std::vector<water_drop> live;
    rain_schedule(1, max_live_drops, 100, window_width, window_height).live_drops(time, live);
    state.counters["drops"] = static_cast<double>(live.size());
}

// Nothing but a store of u and v for every vertex.
void floor_update(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    grid g(n);
    float phase = 0;
    for (auto _ : state) {
        for (mesh_vertex& vertex : g.vertices) {
            vertex.u = phase;
            vertex.v = phase;
        }
        benchmark::ClobberMemory();
        phase = advance_phase(phase, frame_seconds, speed);
    }
}

// Once per window size, for reference.
void prepare_field(benchmark::State& state, bool radial)
{
    const int n = static_cast<int>(state.range(0));
    grid g(n);
    wave_field field;
    for (auto _ : state) {
        field.prepare(g.vertices, n, n, window_width, window_height, radial, freq, amp);
        benchmark::ClobberMemory();
    }
}

// Largest difference in u or v between the shipped update and the naive one
// over many phases of one turn.
double max_difference(bool radial, int n)
{
    grid shipped(n);
    grid plain(n);
    wave_field field;
    field.prepare(shipped.vertices, n, n, window_width, window_height, radial, freq, amp);
    double worst = 0;
    for (int step = 0; step < 2000; ++step) {
        const float phase = static_cast<float>(step * 2 * 3.14159265358979323846 / 2000);
        field.apply(shipped.vertices, phase);
        naive::apply_waves(plain.vertices, window_width, window_height, radial, freq, amp, phase);
        for (std::size_t k = 0; k < shipped.vertices.size(); ++k) {
            for (double d : {double(shipped.vertices[k].u) - plain.vertices[k].u,
                             double(shipped.vertices[k].v) - plain.vertices[k].v})
                worst = std::isfinite(d) ? std::max(worst, std::fabs(d)) : std::numeric_limits<double>::infinity();
        }
    }
    return worst;
}

// Console output as usual, plus the fastest CPU time per iteration of each
// benchmark over its repetitions.
class recording_reporter : public benchmark::ConsoleReporter {
public:
    // Colours only on a terminal.
    recording_reporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}

    std::map<std::string, double> fastest;

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred)
                continue;
            const std::string key = run.run_name.function_name + "/" + run.run_name.args;
            const double time = run.GetAdjustedCPUTime();
            auto found = fastest.find(key);
            if (found == fastest.end() || time < found->second)
                fastest[key] = time;
        }
    }
};

void register_all()
{
    for (bool radial : {true, false}) {
        const std::string rule = rule_name(radial);
        benchmark::RegisterBenchmark((rule + "/shipped").c_str(), shipped_update, radial)->Arg(60)->Arg(100);
        benchmark::RegisterBenchmark((rule + "/naive").c_str(), naive_update, radial)->Arg(60)->Arg(100);
        benchmark::RegisterBenchmark((rule + "/prepare").c_str(), prepare_field, radial)->Arg(60)->Arg(100);
        benchmark::RegisterBenchmark((rule + "/lit_rain").c_str(), lit_rain_update, radial)->Arg(60)->Arg(100);
    }
    benchmark::RegisterBenchmark("floor", floor_update)->Arg(60)->Arg(100);
}

} // namespace

int main(int argc, char** argv)
{
    register_all();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    recording_reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const std::string n = "/" + std::to_string(summary_n);
    const auto time_of = [&](const std::string& name) {
        const auto found = reporter.fastest.find(name + n);
        return found == reporter.fastest.end() ? std::nan("") : found->second;
    };
    for (bool radial : {true, false}) {
        const std::string rule = rule_name(radial);
        const double shipped = time_of(rule + "/shipped");
        if (std::isnan(shipped))
            continue;
        std::printf("%s N=%d: %.1fx naive, %.1fx floor, max diff %.3g\n", rule.c_str(), summary_n,
                    time_of(rule + "/naive") / shipped, shipped / time_of("floor"),
                    max_difference(radial, summary_n));
        const double lit = time_of(rule + "/lit_rain");
        if (!std::isnan(lit))
            std::printf("%s N=%d, light and 16 drops: %.1fx the shipped update, %.2fx naive\n", rule.c_str(),
                        summary_n, lit / shipped, lit / time_of(rule + "/naive"));
    }
    return 0;
}
