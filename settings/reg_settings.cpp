#include "settings/reg_settings.h"

#include "settings/number_text.h"
#include "shell/run_log.h"

#include <cstring>

namespace {

// Shared by every text read; a read text is valid until the next read.
char reg_read_buffer[number_text_size];

constexpr REGSAM store_access = KEY_QUERY_VALUE | KEY_SET_VALUE;

} // namespace

reg_settings::reg_settings(const char* key_path)
    : reg_settings(key_path, {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
{
}

reg_settings::reg_settings(const char* key_path, std::initializer_list<HKEY> roots)
{
    open(key_path, roots);
}

reg_settings::~reg_settings()
{
    if (!failed)
        RegCloseKey(reg_key);
}

void reg_settings::open(const char* key_path, std::initializer_list<HKEY> roots)
{
    bool warned = false;
    for (HKEY root : roots) {
        HKEY key = nullptr;
        LONG result = RegCreateKeyExA(root, key_path, 0, nullptr, 0, store_access, nullptr, &key,
                                      nullptr);
        if (result == ERROR_SUCCESS) {
            reg_key = key;
            failed = false;
            return;
        }
        // The machine-wide key is where the settings belong: its failure
        // is worth the one line even when a fallback root then opens.
        if (!warned)
            log_write("WARNING: can't open reg key: %s\n", key_path);
        warned = true;
    }
    if (!warned)
        log_write("WARNING: can't open reg key: %s\n", key_path);
    failed = true;
}

const char* reg_settings::get_string(const char* name, const char* default_text)
{
    if (failed)
        return default_text;

    std::memset(reg_read_buffer, 0, sizeof reg_read_buffer);
    DWORD type = REG_NONE;
    DWORD size = sizeof reg_read_buffer;
    LONG result = RegQueryValueExA(reg_key, name, nullptr, &type,
                                   reinterpret_cast<BYTE*>(reg_read_buffer), &size);
    if (result == ERROR_SUCCESS && type == REG_SZ) {
        // Exactly 1024 bytes without a terminator fill the buffer: the
        // text is cut to 1023 characters rather than lost.
        reg_read_buffer[sizeof reg_read_buffer - 1] = '\0';
        return reg_read_buffer;
    }

    set_string(name, default_text);
    return default_text;
}

bool reg_settings::set_string(const char* name, const char* text)
{
    if (failed)
        return false;

    DWORD length = static_cast<DWORD>(std::strlen(text));
    LONG result = RegSetValueExA(reg_key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                                 length);
    if (result != ERROR_SUCCESS)
        log_write("WARNING: can't set value: %s = %s\n", name, text);
    return result == ERROR_SUCCESS;
}

double reg_settings::get_number(const char* name, float default_value)
{
    char default_text[number_text_size];
    number_to_text(default_value, default_text, sizeof default_text);
    return text_to_number(get_string(name, default_text));
}

bool reg_settings::set_number(const char* name, float value)
{
    char text[number_text_size];
    number_to_text(value, text, sizeof text);
    return set_string(name, text);
}
