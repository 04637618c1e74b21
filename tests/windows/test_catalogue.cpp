// The range-guarded read the scene uses and the radial flag, against the
// real registry. The defaults laid down at start-up are shown end to end.
#include "settings/catalogue.h"
#include "settings/reg_settings.h"
#include "test_reg_settings_support.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct CatalogueTest : ::testing::Test {
    settings_test::scratch_key key{
        std::string("catalogue_") +
        ::testing::UnitTest::GetInstance()->current_test_info()->name()};
    reg_settings store{key.path(), {HKEY_CURRENT_USER}};
};

TEST_F(CatalogueTest, PercentAcceptsZeroToHundredElseGivesTheDefault)
{
    const struct {
        const char* text;
        double expected;
    } cases[] = {{"0", 0},      {"100", 100},  {"33.3", 33.3}, {"100.5", 50}, {"-0.5", 50},
                 {"1e999", 50}, {"inf", 50},   {"-inf", 50},   {"nan", 50}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        key.put_text(setting_quality, c.text);
        EXPECT_EQ(get_percent(store, setting_quality, 50), c.expected);
        EXPECT_EQ(key.sz(setting_quality), c.text);
    }
}

TEST_F(CatalogueTest, RadialFlagIsAnyNonZeroNumber)
{
    const struct {
        const char* text;
        bool radial;
    } cases[] = {{"0", false}, {"0.0", false}, {"abc", false},
                 {"2", true},  {"-1", true},   {"0.5", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        key.put_text(setting_radial, c.text);
        EXPECT_EQ(store.get_number(setting_radial, 1) != 0, c.radial);
    }
}

} // namespace
