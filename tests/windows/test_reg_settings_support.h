// Registry and log helpers shared by the settings tests: a scratch key
// each test owns, raw access to its values, and the lines a step appends
// to the test program's run log.
#pragma once
#include <windows.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace settings_test {

constexpr char test_root_path[] = "Software\\Tovarind\\QuillmereTest";

// Raw access to the values of one key, bypassing the store.
class key_access {
public:
    key_access(HKEY root, std::string path) : root_(root), path_(std::move(path)) {}

    const char* path() const { return path_.c_str(); }
    HKEY root() const { return root_; }

    bool exists() const
    {
        HKEY key;
        if (RegOpenKeyExA(root_, path_.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }

    void remove() const { RegDeleteTreeA(root_, path_.c_str()); }

    // Stores raw bytes with any type, creating the key if needed.
    void put(const char* name, DWORD type, const void* data, DWORD size) const
    {
        HKEY key;
        if (RegCreateKeyExA(root_, path_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                            nullptr) != ERROR_SUCCESS)
            return;
        RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
        RegCloseKey(key);
    }

    // A text stored as exactly these bytes. The system completes a string
    // whose count leaves out a terminator that follows it in memory, so
    // the bytes are followed by a non-zero one to keep them bare.
    void put_text(const char* name, const std::string& text, DWORD type = REG_SZ) const
    {
        std::string bare = text + 'x';
        put(name, type, bare.data(), static_cast<DWORD>(text.size()));
    }

    void put_dword(const char* name, DWORD value) const
    {
        put(name, REG_DWORD, &value, sizeof value);
    }

    void erase(const char* name) const
    {
        HKEY key;
        if (RegOpenKeyExA(root_, path_.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
            return;
        RegDeleteValueA(key, name);
        RegCloseKey(key);
    }

    // A value as the registry holds it: texts are read in their stored
    // (UTF-16) form, because the 8-bit read adds a terminator of its own.
    struct value {
        bool present = false;
        DWORD type = REG_NONE;
        std::vector<BYTE> bytes;

        bool is_text() const
        {
            return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
        }
        // The stored characters, terminator included if there is one.
        std::string raw_text() const
        {
            if (!is_text())
                return std::string(bytes.begin(), bytes.end());
            std::string narrow;
            for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
                narrow += static_cast<char>(bytes[i] | (bytes[i + 1] << 8));
            return narrow;
        }
        // The text without its terminator.
        std::string text() const
        {
            std::string narrow = raw_text();
            if (is_text() && !narrow.empty() && narrow.back() == '\0')
                narrow.pop_back();
            return narrow;
        }
    };

    value get(const char* name) const
    {
        value result;
        HKEY key;
        if (RegOpenKeyExA(root_, path_.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
            return result;
        std::wstring wide_name(name, name + std::char_traits<char>::length(name));
        DWORD size = 0;
        if (RegQueryValueExW(key, wide_name.c_str(), nullptr, &result.type, nullptr, &size) ==
            ERROR_SUCCESS) {
            result.bytes.resize(size);
            if (RegQueryValueExW(key, wide_name.c_str(), nullptr, &result.type,
                                 result.bytes.data(), &size) == ERROR_SUCCESS) {
                result.bytes.resize(size);
                result.present = true;
            }
        }
        RegCloseKey(key);
        return result;
    }

    // When a value of the key was last written (0 when it is missing).
    ULONGLONG last_write() const
    {
        HKEY key;
        FILETIME time = {};
        if (RegOpenKeyExA(root_, path_.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
            return 0;
        RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr, nullptr, &time);
        RegCloseKey(key);
        return (ULONGLONG(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    }

    DWORD value_count() const
    {
        HKEY key;
        DWORD count = 0;
        if (RegOpenKeyExA(root_, path_.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
            return 0;
        RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                         nullptr, nullptr, nullptr, nullptr);
        RegCloseKey(key);
        return count;
    }

private:
    HKEY root_;
    std::string path_;
};

// A key under HKEY_CURRENT_USER (or another root) that is removed before
// and after the test, so every test starts from nothing.
class scratch_key : public key_access {
public:
    explicit scratch_key(const std::string& leaf, HKEY root = HKEY_CURRENT_USER)
        : key_access(root, std::string(test_root_path) + "\\" + leaf)
    {
        remove();
    }
    ~scratch_key() { remove(); }
    scratch_key(const scratch_key&) = delete;
    scratch_key& operator=(const scratch_key&) = delete;
};

// What the run log gains from the moment this is made.
class log_watch {
public:
    log_watch() : start_(file_text().size()) {}

    // The C runtime writes the log in text mode; lines are compared with
    // the plain line feed the program wrote.
    std::string added() const
    {
        std::string text = file_text().substr(start_);
        std::string lines;
        for (std::size_t i = 0; i < text.size(); ++i)
            if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
                lines += text[i];
        return lines;
    }

private:
    static std::string file_text()
    {
        std::string text;
        if (FILE* file = std::fopen(log_path, "rb")) {
            char chunk[4096];
            std::size_t got;
            while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
                text.append(chunk, got);
            std::fclose(file);
        }
        return text;
    }

    static constexpr char log_path[] = "windows_tests.log";
    std::size_t start_;
};

// A handle that names no key: every call on it fails.
inline HKEY invalid_root()
{
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x7ead0000));
}

} // namespace settings_test
