// The settings store against the real registry: what it writes, what it
// reads back, and how it behaves when values or the key are unusable.
#include "settings/reg_settings.h"
#include "test_reg_settings_support.h"

#include <gtest/gtest.h>
#include <sddl.h>

#include <string>

namespace {

using settings_test::log_watch;
using settings_test::scratch_key;

std::string leaf()
{
    return std::string("store_") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
}

struct StoreTest : ::testing::Test {
    scratch_key key{leaf()};
};

TEST_F(StoreTest, MissingValueIsWrittenAsTheDefaultsText)
{
    log_watch log;
    reg_settings store(key.path(), {HKEY_CURRENT_USER});
    EXPECT_TRUE(key.exists());
    EXPECT_EQ(store.get_number("quality", 50), 50.0);
    EXPECT_EQ(key.sz("quality"), "50");
    // A fractional default comes back through its text, not as the float.
    EXPECT_EQ(store.get_number("fraction", 0.15f), 0.15);
    EXPECT_EQ(key.sz("fraction"), "0.150000");
    EXPECT_EQ(log.added(), "");
}

TEST_F(StoreTest, PresentTextIsReadAndLeftAlone)
{
    reg_settings store(key.path(), {HKEY_CURRENT_USER});
    const struct {
        const char* text;
        double number;
    } cases[] = {{"77", 77}, {" 42.5xyz", 42.5}, {"abc", 0}, {"", 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        key.put_text("value", c.text);
        EXPECT_EQ(store.get_number("value", 50), c.number);
        EXPECT_EQ(key.sz("value"), c.text);
    }
}

TEST_F(StoreTest, OtherTypesAndOverlongTextsAreReplacedByTheDefault)
{
    reg_settings store(key.path(), {HKEY_CURRENT_USER});
    const DWORD seven = 7;
    key.put("dword", REG_DWORD, &seven, sizeof seven);
    key.put_text("expand", "60", REG_EXPAND_SZ);
    key.put_text("binary", "60", REG_BINARY);
    key.put("multi", REG_MULTI_SZ, "60\0\0", 4);
    key.put_text("none", "60", REG_NONE);
    key.put_text("over", std::string(1025, '7'));
    key.put_text("far_over", std::string(70000, '7'));
    key.put("terminated_over", REG_SZ, std::string(1024, '7').c_str(), 1025);

    for (const char* name :
         {"dword", "expand", "binary", "multi", "none", "over", "far_over", "terminated_over"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(store.get_number(name, 25), 25.0);
        EXPECT_EQ(key.sz(name), "25");
    }
}

TEST_F(StoreTest, TextFillingTheBufferComesBackCutAndTerminated)
{
    reg_settings store(key.path(), {HKEY_CURRENT_USER});
    const std::string full = std::string(1023, '1') + "9";
    key.put_text("full", full);
    const char fallback[] = "25";
    const char* text = store.get_string("full", fallback);
    ASSERT_NE(text, fallback);
    EXPECT_EQ(std::string(text), full.substr(0, 1023));
    EXPECT_EQ(key.sz("full"), full);
}

TEST_F(StoreTest, GetStringGivesTheDefaultPointerOrTheSharedBuffer)
{
    reg_settings store(key.path(), {HKEY_CURRENT_USER});
    reg_settings other(key.path(), {HKEY_CURRENT_USER});
    const char fallback[] = "dflt";
    EXPECT_EQ(store.get_string("missing", fallback), fallback);
    EXPECT_EQ(key.sz("missing"), "dflt");
    key.put_text("first", "one");
    key.put_text("second", "two");
    const char* first = store.get_string("first", fallback);
    EXPECT_STREQ(first, "one");
    const char* second = other.get_string("second", fallback);
    EXPECT_EQ(first, second);
    EXPECT_STREQ(first, "two");
}

TEST_F(StoreTest, KeyThatCannotBeOpenedWarnsOnceAndStaysInert)
{
    log_watch log;
    reg_settings store(key.path(), {settings_test::invalid_root()});
    EXPECT_TRUE(store.is_failed());
    const char fallback[] = "dflt";
    EXPECT_EQ(store.get_string("quality", fallback), fallback);
    EXPECT_EQ(store.get_number("quality", 50), 50.0);
    EXPECT_EQ(store.get_number("fraction", 0.15f), 0.15);
    store.set_number("quality", 77);
    store.set_string("speed", "12");
    EXPECT_EQ(log.added(), std::string("WARNING: can't open reg key: ") + key.path() + "\n");
    EXPECT_FALSE(key.exists());
}

TEST_F(StoreTest, FailedWriteIsLogged)
{
    reg_settings store(key.path(), {HKEY_CURRENT_USER});
    // The key goes away under the open handle: every write now fails.
    RegDeleteTreeA(key.root(), key.path());
    log_watch log;
    store.set_string("quality", "77");
    EXPECT_EQ(store.get_number("speed", 0.5f), 0.5);
    EXPECT_EQ(log.added(), "WARNING: can't set value: quality = 77\n"
                           "WARNING: can't set value: speed = 0.500000\n");
}

// Only reading is granted to everyone on the key.
void make_read_only(const scratch_key& key)
{
    HKEY handle;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_EQ(RegOpenKeyExA(key.root(), key.path(), 0, KEY_ALL_ACCESS, &handle), ERROR_SUCCESS);
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(
        "D:(A;;KR;;;WD)", SDDL_REVISION_1, &descriptor, nullptr));
    EXPECT_EQ(RegSetKeySecurity(handle, DACL_SECURITY_INFORMATION, descriptor), ERROR_SUCCESS);
    LocalFree(descriptor);
    RegCloseKey(handle);
}

TEST_F(StoreTest, MachineKeyIsUsedWhenItOpensElseTheUsersAfterOneWarning)
{
    scratch_key machine_key(leaf(), HKEY_LOCAL_MACHINE);
    {
        log_watch log;
        reg_settings store(key.path());
        store.set_number("quality", 60);
        EXPECT_EQ(machine_key.sz("quality"), "60");
        EXPECT_FALSE(key.exists());
        EXPECT_EQ(log.added(), "");
    }
    make_read_only(machine_key);
    log_watch log;
    reg_settings store(key.path());
    EXPECT_FALSE(store.is_failed());
    store.set_number("quality", 70);
    EXPECT_EQ(key.sz("quality"), "70");
    EXPECT_EQ(machine_key.sz("quality"), "60");
    EXPECT_EQ(log.added(), std::string("WARNING: can't open reg key: ") + key.path() + "\n");
}

} // namespace
