// Grid size and wave settings from the sliders' 0..100 values.
#include "scene/wave_params.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

namespace {

TEST(WaveParams, QualityGivesTheGridSize)
{
    for (int q = 0; q <= 100; ++q) {
        const wave_params p = derive_wave_params(q, 50, 50, 50);
        EXPECT_EQ(std::make_pair(p.columns, p.rows), std::make_pair(20 + 4 * q / 5, 20 + 4 * q / 5)) << q;
    }
    const struct { double quality; int n; } edges[] = {{0, 20},   {1, 20},   {2, 21},  {50, 60}, {50.5, 60},
                                                       {51, 60}, {52, 61}, {99, 99}, {100, 100}};
    for (const auto& edge : edges)
        EXPECT_EQ(derive_wave_params(edge.quality, 50, 50, 50).columns, edge.n) << edge.quality;
}

// The nearest floats to the formulas with single-precision constants and
// double arithmetic. Double constants or float arithmetic give other floats
// for 2, 5, 9, 13, 14, 15, 17, 50.5, 51, 52 and 99.
TEST(WaveParams, SpeedFrequencyAndAmplitude)
{
    const struct { double percent; float speed, freq, amp; } cases[] = {
        {0, 0x1.4p+2f, 0x1p+1f, 0x0p+0f}, {1, 0x1.49999ap+2f, 0x1.170a3ep+1f, 0x1.0624dep-10f},
        {2, 0x1.533334p+2f, 0x1.2e147cp+1f, 0x1.0624dep-9f}, {5, 0x1.7p+2f, 0x1.733334p+1f, 0x1.47ae16p-8f},
        {9, 0x1.966666p+2f, 0x1.cf5c2ap+1f, 0x1.26e97ap-7f}, {13, 0x1.bccccep+2f, 0x1.15c29p+2f, 0x1.a9fbe8p-7f},
        {14, 0x1.c66666p+2f, 0x1.2147aep+2f, 0x1.cac084p-7f}, {15, 0x1.dp+2f, 0x1.2ccccep+2f, 0x1.eb852p-7f},
        {17, 0x1.e33334p+2f, 0x1.43d70ap+2f, 0x1.16872cp-6f}, {50, 0x1.9p+3f, 0x1.6p+3f, 0x1.99999ap-5f},
        {50.5, 0x1.926668p+3f, 0x1.62e148p+3f, 0x1.9db22ep-5f}, {51, 0x1.94cccep+3f, 0x1.65c29p+3f, 0x1.a1cac2p-5f},
        {52, 0x1.99999ap+3f, 0x1.6b852p+3f, 0x1.a9fbe8p-5f}, {99, 0x1.3d999ap+4f, 0x1.3d1ebap+4f, 0x1.958108p-4f},
        {100, 0x1.4p+4f, 0x1.4p+4f, 0x1.99999ap-4f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.percent);
        EXPECT_EQ(derive_wave_params(50, c.percent, 50, 50).speed, c.speed);
        EXPECT_EQ(derive_wave_params(50, 50, c.percent, 50).freq, c.freq);
        EXPECT_EQ(derive_wave_params(50, 50, 50, c.percent).amp, c.amp);
    }
}

// Values outside 0..100 get the middle, so the grid stays within its 16-bit indices.
TEST(WaveParams, OutOfRangeFallsBackToTheMiddle)
{
    for (double bad : {101.0, -0.0001, 1e300, HUGE_VAL, -HUGE_VAL, std::nan("")}) {
        const wave_params p = derive_wave_params(bad, bad, bad, bad);
        EXPECT_TRUE(p.columns == 60 && p.rows == 60 && p.speed == 12.5f && p.freq == 11.0f && p.amp == 0.05f)
            << bad;
    }
}

} // namespace
