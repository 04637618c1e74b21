// scripts/bench pacing-model: the pacing code on the model display (bench/pacing_model.h), every case the native
// test judges, one line each (frames a second, k, judder: intervals not exactly k refreshes, of all and of those
// ending on a frame of the usual cost, and the least rest), then the worst of each refresh and vsync, then frames at
// the edge of two rates on a renderer that shares the cores.
#include "bench/pacing_model.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <utility>

int main()
{
    const char* modes[] = {"screensaver", "demonstration", "preview"};
    struct worst { double fitting = 0, other = 0, over_cap = 0, rest = 1e9; };
    std::map<std::pair<double, bool>, worst> worst_of;
    std::printf("%7s %-8s %5s %4s %-13s %-7s %3s %7s %8s %8s %7s\n", "Hz", "vsync", "cost", "late", "mode", "power", "k",
                "fps", "judder%", "usual%", "rest ms");
    for (const model_case& c : model_cases()) {
        const model_result r = run_model(c);
        const frame_pace cap = pace_frames(c.refresh_hz, c.on_battery, c.mode);
        const bool fits = model_need_ms(c) <= cap.swap_interval * 1000 / c.refresh_hz;
        const bool demo = c.mode == pace_mode::demonstration;
        std::printf("%7.2f %-8s %5.1f %4.0f %-13s %-7s %3d %7.2f %8.2f %8.2f %7.2f\n", c.refresh_hz,
                    c.vsync_honoured ? "honoured" : "ignored", c.cost_ms, c.late_ms, modes[static_cast<int>(c.mode)],
                    c.on_battery ? "battery" : "mains", r.divisor, r.frames_per_second, r.judder * 100,
                    r.judder_fitting * 100, demo ? 0 : r.least_rest_ms);
        worst& w = worst_of[{c.refresh_hz, c.vsync_honoured}];
        (fits ? w.fitting : w.other) = std::max(fits ? w.fitting : w.other, r.judder_fitting);
        w.over_cap = std::max(w.over_cap, r.frames_per_second / cap.frames_per_second);
        if (!demo)
            w.rest = std::min(w.rest, r.least_rest_ms);
    }
    std::printf("\nThe worst of each display (usual frames' judder where frame and rest fit the cap's period, and where"
                " not; the highest rate over the cap's; the least rest outside the demonstration):\n");
    std::printf("%7s %-8s %10s %10s %10s %8s\n", "Hz", "vsync", "fit %", "not fit %", "rate/cap", "rest ms");
    for (const auto& [display, w] : worst_of)
        std::printf("%7.2f %-8s %10.2f %10.2f %10.4f %8.2f\n", display.first, display.second ? "honoured" : "ignored",
                    w.fitting * 100, w.other * 100, w.over_cap, w.rest);

    std::printf("\nFrames at the edge of two rates (edge_of_two_rates: changes of k in 120 s, judder, frames a second):\n");
    for (bool honoured : {true, false})
        for (unsigned seed : {1u, 2u, 3u}) {
            const model_result r = run_model(edge_of_two_rates(honoured, seed));
            std::printf("%-8s seed %u: %3zu changes %6.2f %% %6.2f\n", honoured ? "honoured" : "ignored", seed,
                        r.changes.size(), r.judder * 100, r.frames_per_second);
        }
}
