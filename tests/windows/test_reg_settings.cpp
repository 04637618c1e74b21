// The settings store against the real registry: what it writes, what it
// reads back, and how it behaves when values or the key are unusable.
#include "settings/reg_settings.h"
#include "test_reg_settings_support.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using settings_test::invalid_root;
using settings_test::log_watch;
using settings_test::scratch_key;

const char* test_name()
{
    return ::testing::UnitTest::GetInstance()->current_test_info()->name();
}

// A store on the test's own scratch key under HKEY_CURRENT_USER.
struct StoreTest : ::testing::Test {
    scratch_key key{std::string("store_") + test_name()};
};

TEST_F(StoreTest, FreshKeyIsCreatedAndMissingValueWrittenWithDefault)
{
    ASSERT_FALSE(key.exists());
    log_watch log;
    reg_settings store(key.path(), {HKEY_CURRENT_USER});
    EXPECT_FALSE(store.is_failed());
    EXPECT_TRUE(key.exists());

    EXPECT_EQ(store.get_number("quality", 50), 50.0);
    auto stored = key.get("quality");
    ASSERT_TRUE(stored.present);
    EXPECT_EQ(stored.type, DWORD(REG_SZ));
    EXPECT_EQ(stored.text(), "50");
    // The store counts the text without its terminator; the system then
    // adds the zero that follows it in memory, as NT does, so exactly one
    // terminator ends the stored text.
    EXPECT_EQ(stored.raw_text(), std::string("50\0", 3));
    EXPECT_EQ(log.added(), "");
}

TEST_F(StoreTest, NumbersAreStoredAsDecimalText)
{
    reg_settings store(key.path(), {HKEY_CURRENT_USER});
    const struct {
        float value;
        const char* text;
    } cases[] = {{50, "50"}, {0, "0"}, {-2, "-2"}, {1, "1"}, {0.5f, "0.500000"},
                 {12.25f, "12.250000"}, {0.15f, "0.150000"}, {2147483648.0f, "2147483648.000000"},
                 {-2147483648.0f, "-2147483648"}};
    for (const auto& c : cases) {
        store.set_number("n", c.value);
        auto stored = key.get("n");
        EXPECT_EQ(stored.type, DWORD(REG_SZ)) << c.text;
        EXPECT_EQ(stored.text(), c.text);
    }
    // A fractional default passes through its text on the way back.
    EXPECT_EQ(store.get_number("fraction", 0.15f), 0.15);
    EXPECT_EQ(key.get("fraction").text(), "0.150000");
}

TEST_F(StoreTest, PresentTextIsReadAndLeftAlone)
{
    reg_settings store(key.path(), {HKEY_CURRENT_USER});
    key.put_text("quality", "77");
    key.put_text("spaced", " 42.5xyz");
    key.put_text("word", "abc");
    key.put_text("empty", "");
    key.put("terminated", REG_SZ, "33", 3);

    EXPECT_EQ(store.get_number("quality", 50), 77.0);
    EXPECT_EQ(store.get_number("spaced", 50), 42.5);
    EXPECT_EQ(store.get_number("word", 50), 0.0);
    EXPECT_EQ(store.get_number("empty", 50), 0.0);
    EXPECT_EQ(store.get_number("terminated", 50), 33.0);

    EXPECT_EQ(key.get("quality").text(), "77");
    EXPECT_EQ(key.get("spaced").text(), " 42.5xyz");
    EXPECT_EQ(key.get("word").text(), "abc");
    EXPECT_TRUE(key.get("empty").present);
    EXPECT_EQ(key.get("empty").text(), "");
}

TEST_F(StoreTest, ValuesOfOtherTypesAreReplacedByTheDefault)
{
    reg_settings store(key.path(), {HKEY_CURRENT_USER});
    key.put_dword("dword", 7);
    key.put_text("expand", "60", REG_EXPAND_SZ);
    key.put_text("binary", "60", REG_BINARY);
    key.put("multi", REG_MULTI_SZ, "60\0\0", 4);
    key.put_text("none", "60", REG_NONE);

    for (const char* name : {"dword", "expand", "binary", "multi", "none"}) {
        EXPECT_EQ(store.get_number(name, 25), 25.0) << name;
        auto stored = key.get(name);
        EXPECT_EQ(stored.type, DWORD(REG_SZ)) << name;
        EXPECT_EQ(stored.text(), "25") << name;
    }
}

TEST_F(StoreTest, ValueLongerThanTheBufferIsReplaced)
{
    reg_settings store(key.path(), {HKEY_CURRENT_USER});
    key.put_text("over", std::string(1025, '7'));
    key.put_text("far_over", std::string(70000, '7'));
    // 1024 characters and their terminator.
    key.put("terminated_over", REG_SZ, std::string(1024, '7').c_str(), 1025);

    for (const char* name : {"over", "far_over", "terminated_over"}) {
        EXPECT_EQ(store.get_number(name, 25), 25.0) << name;
        EXPECT_EQ(key.get(name).text(), "25") << name;
    }
}

TEST_F(StoreTest, ValueFillingTheBufferIsCutAndKept)
{
    reg_settings store(key.path(), {HKEY_CURRENT_USER});
    const std::string full = std::string(1023, '1') + "9";
    key.put_text("full", full);
    // 1023 characters and their terminator.
    key.put("fits", REG_SZ, std::string(1023, '2').c_str(), 1024);
    key.put_text("fits_bare", std::string(1023, '3'));
    const char fallback[] = "25";

    // Exactly 1024 bytes and no terminator: the first 1023 come back.
    const char* text = store.get_string("full", fallback);
    ASSERT_NE(text, fallback);
    EXPECT_EQ(std::string(text), full.substr(0, 1023));
    EXPECT_EQ(key.get("full").text(), full);

    EXPECT_EQ(std::string(store.get_string("fits", fallback)), std::string(1023, '2'));
    EXPECT_EQ(std::string(store.get_string("fits_bare", fallback)), std::string(1023, '3'));
}

TEST_F(StoreTest, DefaultPointerComesBackWhenNothingWasRead)
{
    reg_settings store(key.path(), {HKEY_CURRENT_USER});
    const char fallback[] = "fallback";
    EXPECT_EQ(store.get_string("missing", fallback), fallback);
    EXPECT_EQ(key.get("missing").text(), "fallback");

    key.put_dword("dword", 1);
    EXPECT_EQ(store.get_string("dword", fallback), fallback);
    EXPECT_STREQ(fallback, "fallback");
}

TEST_F(StoreTest, ReadsShareOneBuffer)
{
    reg_settings store(key.path(), {HKEY_CURRENT_USER});
    reg_settings other(key.path(), {HKEY_CURRENT_USER});
    key.put_text("first", "one");
    key.put_text("second", "two");
    const char fallback[] = "dflt";

    const char* first = store.get_string("first", fallback);
    EXPECT_STREQ(first, "one");
    const char* second = store.get_string("second", fallback);
    EXPECT_EQ(first, second);
    EXPECT_STREQ(first, "two");
    // The buffer is the process's, not the store's.
    EXPECT_EQ(other.get_string("first", fallback), first);
    EXPECT_STREQ(second, "one");
    // A default handed back is never written into.
    EXPECT_EQ(store.get_string("absent", fallback), fallback);
    EXPECT_STREQ(fallback, "dflt");
}

TEST_F(StoreTest, KeyThatCannotBeOpenedLeavesTheStoreInert)
{
    log_watch log;
    reg_settings store(key.path(), {invalid_root()});
    EXPECT_TRUE(store.is_failed());
    EXPECT_EQ(log.added(), std::string("WARNING: can't open reg key: ") + key.path() + "\n");

    const char fallback[] = "dflt";
    EXPECT_EQ(store.get_string("quality", fallback), fallback);
    EXPECT_EQ(store.get_number("speed", 0), 0.0);
    EXPECT_EQ(store.get_number("quality", 50), 50.0);
    EXPECT_EQ(store.get_number("fraction", 0.15f), 0.15);
    store.set_number("quality", 77);
    store.set_string("speed", "12");

    // Still only the one warning, and nothing anywhere.
    EXPECT_EQ(log.added(), std::string("WARNING: can't open reg key: ") + key.path() + "\n");
    EXPECT_FALSE(key.exists());
}

TEST_F(StoreTest, OverlongKeyNameFailsOnEveryRoot)
{
    // A component of more than 255 characters is refused by the registry.
    const std::string path = std::string(key.path()) + "\\" + std::string(300, 'k');
    scratch_key machine_key(std::string("store_") + test_name(), HKEY_LOCAL_MACHINE);
    log_watch log;
    reg_settings store(path.c_str());
    EXPECT_TRUE(store.is_failed());
    EXPECT_EQ(store.get_number("radial", 1), 1.0);
    store.set_number("radial", 0);
    EXPECT_EQ(log.added(), "WARNING: can't open reg key: " + path + "\n");
    EXPECT_FALSE(key.exists());
    EXPECT_FALSE(machine_key.exists());
}

TEST_F(StoreTest, FallsBackToTheNextRootAfterOneWarning)
{
    log_watch log;
    reg_settings store(key.path(), {invalid_root(), HKEY_CURRENT_USER});
    EXPECT_FALSE(store.is_failed());
    EXPECT_EQ(log.added(), std::string("WARNING: can't open reg key: ") + key.path() + "\n");

    EXPECT_EQ(store.get_number("quality", 50), 50.0);
    store.set_number("speed", 12);
    EXPECT_EQ(key.get("quality").text(), "50");
    EXPECT_EQ(key.get("speed").text(), "12");
    EXPECT_EQ(store.get_number("speed", 0), 12.0);
    EXPECT_EQ(log.added(), std::string("WARNING: can't open reg key: ") + key.path() + "\n");
}

TEST_F(StoreTest, MachineRootIsTriedFirst)
{
    scratch_key machine_key(std::string("store_") + test_name(), HKEY_LOCAL_MACHINE);
    log_watch log;
    reg_settings store(key.path());
    ASSERT_FALSE(store.is_failed());
    store.set_number("quality", 60);
    EXPECT_EQ(machine_key.get("quality").text(), "60");
    EXPECT_FALSE(key.exists());
    EXPECT_EQ(log.added(), "");
}

TEST_F(StoreTest, FailedWriteIsLoggedAndTriedAgain)
{
    reg_settings store(key.path(), {HKEY_CURRENT_USER});
    // The key goes away under the open handle: every write now fails.
    key.remove();
    log_watch log;

    store.set_string("quality", "77");
    EXPECT_EQ(log.added(), "WARNING: can't set value: quality = 77\n");

    log_watch read_log;
    EXPECT_EQ(store.get_number("speed", 0.5f), 0.5);
    EXPECT_EQ(store.get_number("speed", 0.5f), 0.5);
    EXPECT_EQ(read_log.added(), "WARNING: can't set value: speed = 0.500000\n"
                                "WARNING: can't set value: speed = 0.500000\n");
}

} // namespace

namespace {

// Only reading is granted to everyone on the key.
void make_read_only(const scratch_key& key)
{
    HKEY handle;
    ASSERT_EQ(RegCreateKeyExA(key.root(), key.path(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &handle, nullptr),
              ERROR_SUCCESS);
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    ASSERT_TRUE(AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0,
                                         &everyone));
    BYTE acl_bytes[256];
    PACL acl = reinterpret_cast<PACL>(acl_bytes);
    InitializeAcl(acl, sizeof acl_bytes, ACL_REVISION);
    AddAccessAllowedAce(acl, ACL_REVISION, KEY_READ, everyone);
    SECURITY_DESCRIPTOR descriptor;
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE);
    EXPECT_EQ(RegSetKeySecurity(handle, DACL_SECURITY_INFORMATION, &descriptor), ERROR_SUCCESS);
    RegCloseKey(handle);
    FreeSid(everyone);
}

TEST_F(StoreTest, ReadOnlyKeyFailsAndTheNextRootIsUsed)
{
    make_read_only(key);
    scratch_key machine_key(std::string("store_") + test_name(), HKEY_LOCAL_MACHINE);
    log_watch log;
    reg_settings store(key.path(), {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE});
    EXPECT_FALSE(store.is_failed());
    EXPECT_EQ(log.added(), std::string("WARNING: can't open reg key: ") + key.path() + "\n");
    store.set_number("quality", 70);
    EXPECT_EQ(machine_key.get("quality").text(), "70");
    EXPECT_FALSE(key.get("quality").present);
}

} // namespace
