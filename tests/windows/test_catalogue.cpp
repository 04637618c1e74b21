// The settings catalogue against the real registry: the defaults laid down
// at start-up and the range-guarded read the scene uses.
#include "settings/catalogue.h"
#include "settings/reg_settings.h"
#include "test_reg_settings_support.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using settings_test::invalid_root;
using settings_test::key_access;
using settings_test::log_watch;
using settings_test::scratch_key;

const char* const setting_names[] = {setting_quality, setting_speed, setting_freq, setting_amp,
                                     setting_radial};

const char* test_name()
{
    return ::testing::UnitTest::GetInstance()->current_test_info()->name();
}

struct CatalogueTest : ::testing::Test {
    scratch_key key{std::string("catalogue_") + test_name()};
    reg_settings store{key.path(), {HKEY_CURRENT_USER}};
};

TEST_F(CatalogueTest, FreshKeyGetsTheStartDefaults)
{
    log_watch log;
    ensure_defaults(store);
    const char* const texts[] = {"50", "0", "50", "25", "1"};
    for (int i = 0; i < 5; ++i) {
        auto stored = key.get(setting_names[i]);
        EXPECT_EQ(stored.type, DWORD(REG_SZ)) << setting_names[i];
        EXPECT_EQ(stored.text(), texts[i]) << setting_names[i];
    }
    EXPECT_EQ(key.value_count(), 5u);
    EXPECT_EQ(log.added(), "");

    // The scene's reads then find the start values, not their own 50.
    EXPECT_EQ(get_percent(store, setting_quality, 50), 50.0);
    EXPECT_EQ(get_percent(store, setting_speed, 50), 0.0);
    EXPECT_EQ(get_percent(store, setting_freq, 50), 50.0);
    EXPECT_EQ(get_percent(store, setting_amp, 50), 25.0);
    EXPECT_NE(store.get_number(setting_radial, 1), 0.0);
}

TEST_F(CatalogueTest, PresentTextsAreLeftAloneOtherTypesReplaced)
{
    key.put_text(setting_quality, "abc");
    key.put_text(setting_speed, "200");
    key.put_text(setting_freq, "");
    key.put_dword(setting_amp, 7);
    key.put_text(setting_radial, "0", REG_EXPAND_SZ);

    ensure_defaults(store);
    EXPECT_EQ(key.get(setting_quality).text(), "abc");
    EXPECT_EQ(key.get(setting_speed).text(), "200");
    EXPECT_EQ(key.get(setting_freq).text(), "");
    auto amp = key.get(setting_amp);
    EXPECT_EQ(amp.type, DWORD(REG_SZ));
    EXPECT_EQ(amp.text(), "25");
    auto radial = key.get(setting_radial);
    EXPECT_EQ(radial.type, DWORD(REG_SZ));
    EXPECT_EQ(radial.text(), "1");
}

TEST_F(CatalogueTest, SecondPassWritesNothing)
{
    ensure_defaults(store);
    key.put_text(setting_quality, "77");
    ULONGLONG written = key.last_write();
    ASSERT_NE(written, 0u);
    Sleep(30);

    ensure_defaults(store);
    EXPECT_EQ(key.last_write(), written);
    EXPECT_EQ(key.get(setting_quality).text(), "77");

    // The time does move with a write, even of the same text.
    Sleep(30);
    store.set_string(setting_quality, "77");
    EXPECT_NE(key.last_write(), written);
}

TEST_F(CatalogueTest, FailedStoreWritesNothingAndReadsFifty)
{
    key.put_text(setting_quality, "10");
    key.put_text(setting_radial, "0");
    reg_settings failed_store(key.path(), {invalid_root()});
    ASSERT_TRUE(failed_store.is_failed());
    log_watch log;

    ensure_defaults(failed_store);
    for (const char* name : {setting_quality, setting_speed, setting_freq, setting_amp})
        EXPECT_EQ(get_percent(failed_store, name, 50), 50.0) << name;
    EXPECT_EQ(failed_store.get_number(setting_radial, 1), 1.0);

    EXPECT_EQ(log.added(), "");
    EXPECT_EQ(key.value_count(), 2u);
    EXPECT_EQ(key.get(setting_quality).text(), "10");
}

TEST_F(CatalogueTest, PercentAcceptsZeroToHundred)
{
    const struct {
        const char* text;
        double expected;
    } cases[] = {{"0", 0.0},     {"100", 100.0},  {"100.000000", 100.0}, {"33.3", 33.3},
                 {"abc", 0.0},   {"", 0.0},       {" 42.5xyz", 42.5},   {"-0", 0.0},
                 {"100.5", 50.0}, {"-0.5", 50.0}, {"101", 50.0},        {"1e999", 50.0},
                 {"inf", 50.0},  {"-inf", 50.0},  {"nan", 50.0},        {"-1e999", 50.0}};
    log_watch log;
    for (const auto& c : cases) {
        key.put_text(setting_quality, c.text);
        EXPECT_EQ(get_percent(store, setting_quality, 50), c.expected) << '"' << c.text << '"';
        // Whatever was read, the text stays as it was.
        EXPECT_EQ(key.get(setting_quality).text(), c.text);
    }
    EXPECT_EQ(log.added(), "");
}

TEST_F(CatalogueTest, PercentDefaultIsNotRangeTested)
{
    key.put_text(setting_speed, "200");
    EXPECT_EQ(get_percent(store, setting_speed, 150), 150.0);
    EXPECT_EQ(get_percent(store, setting_speed, 12.5f), 12.5);
}

TEST_F(CatalogueTest, PercentOfVanishedValueStoresItsDefault)
{
    ensure_defaults(store);
    key.erase(setting_amp);
    EXPECT_EQ(get_percent(store, setting_amp, 50), 50.0);
    EXPECT_EQ(key.get(setting_amp).text(), "50");
}

TEST_F(CatalogueTest, RadialFlagIsAnyNonZeroNumber)
{
    const struct {
        const char* text;
        bool radial;
    } cases[] = {{"0", false},  {"0.0", false}, {"abc", false}, {"2", true},
                 {"-1", true},  {"0.5", true},  {"1", true}};
    for (const auto& c : cases) {
        key.put_text(setting_radial, c.text);
        EXPECT_EQ(store.get_number(setting_radial, 1) != 0, c.radial) << c.text;
    }
}

// The forms without a store act on the program's own, app_settings.
TEST(CatalogueAppStore, WorksOnTheProcessStore)
{
    ASSERT_FALSE(app_settings.is_failed());
    key_access app_key(HKEY_LOCAL_MACHINE, settings_test::test_root_path);
    for (const char* name : setting_names)
        app_key.erase(name);

    ensure_defaults();
    EXPECT_EQ(app_key.get(setting_quality).text(), "50");
    EXPECT_EQ(app_key.get(setting_speed).text(), "0");
    EXPECT_EQ(app_key.get(setting_freq).text(), "50");
    EXPECT_EQ(app_key.get(setting_amp).text(), "25");
    EXPECT_EQ(app_key.get(setting_radial).text(), "1");

    app_key.put_text(setting_quality, "100.5");
    EXPECT_EQ(get_percent(setting_quality, 50), 50.0);
    app_key.put_text(setting_quality, "50");
    EXPECT_EQ(get_percent(setting_quality, 20), 50.0);
}

} // namespace
