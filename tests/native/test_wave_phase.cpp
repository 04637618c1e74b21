// The process-wide wave phase: advanced every frame, kept within one turn.
#include "scene/wave_motion.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

namespace {

constexpr double turn = 2 * 3.14159265358979323846;

bool in_one_turn(float phase) { return phase >= 0 && phase < turn; }

// Distance from a to b going forward, modulo a full turn.
double forward(float a, float b)
{
    const double d = std::fmod(double(b) - a + turn, turn);
    return d;
}

TEST(WavePhase, AdvancesBySecondsTimesSpeed)
{
    EXPECT_EQ(advance_phase(0.0f, 0.0f, 5.0f), 0.0f);
    EXPECT_EQ(advance_phase(1.0f, 0.0f, 12.5f), 1.0f);
    EXPECT_FLOAT_EQ(advance_phase(0.0f, 0.1f, 12.5f), 1.25f);
    EXPECT_FLOAT_EQ(advance_phase(1.25f, 0.1f, 12.5f), 2.5f);
    EXPECT_EQ(advance_phase(3.0f, 0.5f, 0.0f), 3.0f);
}

TEST(WavePhase, WrapsByWholeTurns)
{
    EXPECT_NEAR(advance_phase(6.0f, 0.1f, 5.0f), 6.5 - turn, 1e-6);
    // A pause of an hour at full speed: 72,000 radians, reduced exactly.
    EXPECT_NEAR(advance_phase(0.0f, 3600.0f, 20.0f), std::fmod(72000.0, turn), 1e-6);
    // A clock that steps back still lands within the turn.
    EXPECT_NEAR(advance_phase(0.5f, -1.0f, 1.0f), turn - 0.5, 1e-6);
    // A phase handed in outside the turn is brought back too.
    EXPECT_NEAR(advance_phase(100.0f, 0.0f, 5.0f), std::fmod(100.0, turn), 1e-5);
    // The float just below 2 pi plus a hair rounds up to 2 pi as a float.
    const float below_turn = std::nextafter(static_cast<float>(turn), 0.0f);
    ASSERT_LT(below_turn, turn);
    EXPECT_EQ(advance_phase(below_turn, 0.0f, 1.0f), below_turn);
    EXPECT_TRUE(in_one_turn(advance_phase(below_turn, 2.9e-7f, 1.0f)));
    EXPECT_TRUE(in_one_turn(advance_phase(-0.0f, 0.0f, 1.0f)));
    EXPECT_FALSE(std::signbit(advance_phase(-0.0f, 0.0f, 1.0f)));
}

// A phase that only grows stops moving as a float after a few days; this one
// moves by the same step on the third day as in the first second.
TEST(WavePhase, KeepsMovingAfterDays)
{
    float phase = 0;
    const float frame = 0.01f;
    const float speed = 5.0f;
    for (int second = 0; second < 3 * 24 * 3600; ++second) {
        phase = advance_phase(phase, 1.0f, speed);
        ASSERT_TRUE(in_one_turn(phase)) << "after " << second << " s";
    }
    const float next = advance_phase(phase, frame, speed);
    EXPECT_NEAR(forward(phase, next), frame * speed, 1e-6);
}

TEST(WavePhase, HugeStepsStayInTheTurn)
{
    for (float seconds : {1e7f, 1e20f, 1e30f, FLT_MAX, -FLT_MAX}) {
        const float phase = advance_phase(1.0f, seconds, 20.0f);
        EXPECT_TRUE(in_one_turn(phase)) << seconds;
        // And the next frame moves normally from there.
        EXPECT_NEAR(forward(phase, advance_phase(phase, 0.01f, 5.0f)), 0.05, 1e-6) << seconds;
    }
}

// A frame time that is not a number skips the frame's step instead of
// leaving NaN in the phase for the rest of the run.
TEST(WavePhase, NonFiniteStepsAreSkipped)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(advance_phase(1.0f, nan, 5.0f), 1.0f);
    EXPECT_EQ(advance_phase(1.0f, inf, 5.0f), 1.0f);
    EXPECT_EQ(advance_phase(1.0f, -inf, 5.0f), 1.0f);
    EXPECT_EQ(advance_phase(1.0f, inf, 0.0f), 1.0f);
    EXPECT_EQ(advance_phase(1.0f, 0.1f, nan), 1.0f);
    // A phase that is already broken starts again from 0.
    EXPECT_FLOAT_EQ(advance_phase(nan, 0.1f, 5.0f), 0.5f);
    EXPECT_FLOAT_EQ(advance_phase(inf, 0.1f, 5.0f), 0.5f);
    EXPECT_EQ(advance_phase(nan, nan, 5.0f), 0.0f);
}

} // namespace
