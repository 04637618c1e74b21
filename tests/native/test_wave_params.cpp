// The waves: settings from the sliders, and the phase they drive.
#include "scene/wave_motion.h"
#include "scene/wave_params.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace {

// Quality gives the grid's side; percents the nearest floats of float constants in double (13, 50.5, 99 differ).
TEST(WaveParams, GridSpeedFrequencyAndAmplitude)
{
    const struct { double percent; int n; float speed, freq, amp; } cases[] = {
        {0, 20, 0x1.4p+2f, 0x1p+1f, 0x0p+0f}, {1, 20, 0x1.49999ap+2f, 0x1.170a3ep+1f, 0x1.0624dep-10f},
        {2, 21, 0x1.533334p+2f, 0x1.2e147cp+1f, 0x1.0624dep-9f}, {13, 30, 0x1.bccccep+2f, 0x1.15c29p+2f, 0x1.a9fbe8p-7f},
        {50, 60, 0x1.9p+3f, 0x1.6p+3f, 0x1.99999ap-5f}, {50.5, 60, 0x1.926668p+3f, 0x1.62e148p+3f, 0x1.9db22ep-5f},
        {52, 61, 0x1.99999ap+3f, 0x1.6b852p+3f, 0x1.a9fbe8p-5f}, {99, 99, 0x1.3d999ap+4f, 0x1.3d1ebap+4f, 0x1.958108p-4f},
        {100, 100, 0x1.4p+4f, 0x1.4p+4f, 0x1.99999ap-4f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.percent);
        const wave_params grid = derive_wave_params(c.percent, 50, 50, 50);
        EXPECT_EQ(std::tie(grid.columns, grid.rows), std::tie(c.n, c.n));
        EXPECT_EQ(derive_wave_params(50, c.percent, 50, 50).speed, c.speed);
        EXPECT_EQ(derive_wave_params(50, 50, c.percent, 50).freq, c.freq);
        EXPECT_EQ(derive_wave_params(50, 50, 50, c.percent).amp, c.amp);
    }
}

// The phase advances by seconds times speed and stays within one turn.
TEST(WavePhase, AdvancesBySecondsTimesSpeedWithinOneTurn)
{
    const double turn = 2 * 3.14159265358979323846;
    const float below_turn = std::nextafter(static_cast<float>(turn), 0.0f);
    const struct { float phase, seconds, speed; double expected; } cases[] = {
        {0, 0.1f, 12.5f, 1.25}, {1.25f, 0.1f, 12.5f, 2.5}, {3, 0.5f, 0, 3}, {6, 0.1f, 5, 6.5 - turn},
        {0, 3600, 20, std::fmod(72000.0, turn)}, // an hour's pause at full speed
        {below_turn, 2.9e-7f, 1, 0},             // rounds to 2 pi as a float
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.phase << " + " << c.seconds << " s x " << c.speed);
        const float phase = advance_phase(c.phase, c.seconds, c.speed);
        EXPECT_NEAR(phase, c.expected, 1e-6);
        EXPECT_LT(phase, turn);
    }
}

} // namespace
