// The settings store where no run of the .scr goes: a machine-wide key that
// cannot be written.
#include "settings/reg_settings.h"
#include "test_log.h"

#include <gtest/gtest.h>
#include <sddl.h>

#include <string>

namespace {

constexpr char path[] = "Software\\Tovarind\\QuillmereTest\\store";

std::string stored(HKEY root, const char* name)
{
    char text[64] = "-";
    DWORD size = sizeof text;
    RegGetValueA(root, path, name, RRF_RT_REG_SZ, nullptr, text, &size);
    return text;
}

} // namespace

// A machine-wide key that everyone may only read: the user's key, after one warning.
TEST(settings, a_machine_key_that_cannot_be_written_gives_way_to_the_users)
{
    HKEY key;
    PSECURITY_DESCRIPTOR read_only = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), 0);
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(A;;KR;;;WD)", SDDL_REVISION_1, &read_only, nullptr));
    RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, read_only);
    LocalFree(read_only);
    RegCloseKey(key);
    const std::size_t logged = test_log().size();
    reg_settings store(path);
    store.set_number("speed", 70);
    EXPECT_EQ(test_log().substr(logged), std::string("WARNING: can't open reg key: ") + path + "\n");
    EXPECT_EQ(stored(HKEY_CURRENT_USER, "speed"), "70");
    EXPECT_EQ(stored(HKEY_LOCAL_MACHINE, "speed"), "-");
    RegDeleteTreeA(HKEY_CURRENT_USER, path);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, path);
}
