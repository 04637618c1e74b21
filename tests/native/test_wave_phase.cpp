// The wave phase: advanced every frame, kept within one turn.
#include "scene/wave_motion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr double turn = 2 * 3.14159265358979323846;
const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();

bool in_one_turn(float phase) { return phase >= 0 && phase < turn; }

TEST(WavePhase, AdvancesBySecondsTimesSpeedWithinOneTurn)
{
    const float below_turn = std::nextafter(static_cast<float>(turn), 0.0f);
    const struct { float phase, seconds, speed; double expected; } cases[] = {
        {0, 0.1f, 12.5f, 1.25}, {1.25f, 0.1f, 12.5f, 2.5}, {3, 0.5f, 0, 3}, {6, 0.1f, 5, 6.5 - turn},
        // An hour's pause at full speed, a clock that steps back, a phase outside the turn.
        {0, 3600, 20, std::fmod(72000.0, turn)}, {0.5f, -1, 1, turn - 0.5}, {100, 0, 5, std::fmod(100.0, turn)},
        {below_turn, 2.9e-7f, 1, 0}, // rounds to 2 pi as a float
        // A step that is not finite is skipped; a broken phase starts again from 0.
        {1, nan, 5, 1}, {1, inf, 5, 1}, {1, -inf, 5, 1}, {1, 0.1f, nan, 1},
        {nan, 0.1f, 5, 0.5}, {inf, 0.1f, 5, 0.5}, {nan, nan, 5, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.phase << " + " << c.seconds << " s x " << c.speed);
        const float phase = advance_phase(c.phase, c.seconds, c.speed);
        EXPECT_NEAR(phase, c.expected, 1e-6);
        EXPECT_TRUE(in_one_turn(phase));
    }
}

} // namespace
