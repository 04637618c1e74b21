// Grid size and wave settings as the sliders' 0..100 values give them.
#include "scene/wave_params.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct case_value {
    double percent;
    float expected;
};

// The other three sliders at their middle, so only one value varies.
wave_params with_quality(double q) { return derive_wave_params(q, 50, 50, 50); }

TEST(WaveParams, QualityGivesTheGridSize)
{
    // Exactly 20 + floor(0.8 q) for every integral quality.
    for (int q = 0; q <= 100; ++q) {
        const wave_params p = with_quality(q);
        EXPECT_EQ(p.columns, 20 + 4 * q / 5) << "quality " << q;
        EXPECT_EQ(p.rows, p.columns) << "quality " << q;
    }
    const struct { double quality; int n; } edges[] = {
        {0, 20}, {1, 20}, {2, 21}, {50, 60}, {50.5, 60}, {51, 60}, {52, 61}, {99, 99}, {100, 100},
        {0.1, 20}, {99.99, 99},
    };
    for (const auto& edge : edges)
        EXPECT_EQ(with_quality(edge.quality).columns, edge.n) << "quality " << edge.quality;
}

// Expected values are the nearest floats to the settings formulas with
// single-precision constants and double arithmetic; double constants (0.15
// rather than 0.15f) or float arithmetic give other floats for 13, 14, 2, 15,
// 17, 5, 9 and 51.
TEST(WaveParams, SpeedFrequencyAndAmplitudeFormulas)
{
    const case_value speeds[] = {
        {0, 0x1.4p+2f}, {1, 0x1.49999ap+2f}, {2, 0x1.533334p+2f}, {50, 0x1.9p+3f},
        {50.5, 0x1.926668p+3f}, {51, 0x1.94cccep+3f}, {52, 0x1.99999ap+3f},
        {99, 0x1.3d999ap+4f}, {100, 0x1.4p+4f}, {13, 0x1.bccccep+2f}, {14, 0x1.c66666p+2f},
    };
    for (const case_value& c : speeds)
        EXPECT_EQ(derive_wave_params(50, c.percent, 50, 50).speed, c.expected) << "speed " << c.percent;

    const case_value freqs[] = {
        {0, 0x1p+1f}, {1, 0x1.170a3ep+1f}, {2, 0x1.2e147cp+1f}, {50, 0x1.6p+3f},
        {50.5, 0x1.62e148p+3f}, {51, 0x1.65c29p+3f}, {52, 0x1.6b852p+3f},
        {99, 0x1.3d1ebap+4f}, {100, 0x1.4p+4f}, {15, 0x1.2ccccep+2f}, {17, 0x1.43d70ap+2f},
    };
    for (const case_value& c : freqs)
        EXPECT_EQ(derive_wave_params(50, 50, c.percent, 50).freq, c.expected) << "freq " << c.percent;

    const case_value amps[] = {
        {0, 0x0p+0f}, {1, 0x1.0624dep-10f}, {2, 0x1.0624dep-9f}, {50, 0x1.99999ap-5f},
        {50.5, 0x1.9db22ep-5f}, {51, 0x1.a1cac2p-5f}, {52, 0x1.a9fbe8p-5f},
        {99, 0x1.958108p-4f}, {100, 0x1.99999ap-4f}, {5, 0x1.47ae16p-8f}, {9, 0x1.26e97ap-7f},
    };
    for (const case_value& c : amps)
        EXPECT_EQ(derive_wave_params(50, 50, 50, c.percent).amp, c.expected) << "amp " << c.percent;
}

TEST(WaveParams, FreshInstallationValues)
{
    const wave_params p = derive_wave_params(50, 0, 50, 25);
    EXPECT_EQ(p.columns, 60);
    EXPECT_EQ(p.rows, 60);
    EXPECT_EQ(p.speed, 5.0f);
    EXPECT_EQ(p.freq, 11.0f);
    EXPECT_EQ(p.amp, 0.025f);
}

// The settings' guarded read never passes these; should one slip through it
// gets the same fallback 50, and the grid never leaves 20..100 (its indices
// are 16-bit).
TEST(WaveParams, OutOfRangeFallsBackToTheMiddle)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const wave_params middle = derive_wave_params(50, 50, 50, 50);
    for (double bad : {101.0, -1.0, 100.0001, -0.0001, 1e300, -1e300, nan, inf, -inf}) {
        const wave_params p = derive_wave_params(bad, bad, bad, bad);
        EXPECT_EQ(p.columns, 60) << bad;
        EXPECT_EQ(p.rows, 60) << bad;
        EXPECT_EQ(p.speed, middle.speed) << bad;
        EXPECT_EQ(p.freq, middle.freq) << bad;
        EXPECT_EQ(p.amp, middle.amp) << bad;
    }
    EXPECT_EQ(middle.speed, 12.5f);
    EXPECT_EQ(middle.amp, 0.05f);
}

} // namespace
