// Registry and log helpers for the settings tests.
#pragma once
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>

namespace settings_test {

// A key of the test's own, removed before and after the test, with raw
// access to its values that bypasses the store.
class scratch_key {
public:
    explicit scratch_key(const std::string& leaf, HKEY root = HKEY_CURRENT_USER)
        : root_(root), path_("Software\\Tovarind\\QuillmereTest\\" + leaf)
    {
        RegDeleteTreeA(root_, path_.c_str());
    }
    ~scratch_key() { RegDeleteTreeA(root_, path_.c_str()); }

    const char* path() const { return path_.c_str(); }
    HKEY root() const { return root_; }

    bool exists() const
    {
        HKEY key;
        const bool opened = RegOpenKeyExA(root_, path_.c_str(), 0, KEY_READ, &key) == 0;
        return opened && RegCloseKey(key) == 0;
    }

    // Creates the key when needed.
    void put(const char* name, DWORD type, const void* data, DWORD size) const
    {
        RegSetKeyValueA(root_, path_.c_str(), name, type, data, size);
    }

    // Exactly these bytes, no terminator: the system would add one that
    // follows them in memory, so a non-zero byte follows instead.
    void put_text(const char* name, const std::string& text, DWORD type = REG_SZ) const
    {
        const std::string bare = text + 'x';
        put(name, type, bare.data(), static_cast<DWORD>(text.size()));
    }

    // The stored text of a REG_SZ value without one trailing terminator,
    // else "<missing>" or "<type N>". Read as UTF-16, because the 8-bit
    // read adds a terminator of its own.
    std::string sz(const char* name) const
    {
        std::wstring data(80000, L'\0');
        const std::wstring wide_name(name, name + std::char_traits<char>::length(name));
        DWORD type = REG_NONE, size = static_cast<DWORD>(data.size() * 2);
        HKEY key;
        LONG status = RegOpenKeyExA(root_, path_.c_str(), 0, KEY_QUERY_VALUE, &key);
        if (status == ERROR_SUCCESS) {
            status = RegQueryValueExW(key, wide_name.c_str(), nullptr, &type,
                                      reinterpret_cast<BYTE*>(&data[0]), &size);
            RegCloseKey(key);
        }
        if (status != ERROR_SUCCESS)
            return "<missing>";
        if (type != REG_SZ)
            return "<type " + std::to_string(type) + ">";
        data.resize(size / 2);
        if (!data.empty() && data.back() == L'\0')
            data.pop_back();
        return std::string(data.begin(), data.end());
    }

private:
    HKEY root_;
    std::string path_;
};

// What the test program's run log gains from the moment this is made,
// without the C runtime's carriage returns.
class log_watch {
public:
    log_watch() : start_(log_text().size()) {}
    std::string added() const { return log_text().substr(start_); }

private:
    static std::string log_text()
    {
        std::ifstream file("windows_tests.log", std::ios::binary);
        std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
        return text;
    }
    std::size_t start_;
};

// A handle that names no key: every call on it fails.
inline HKEY invalid_root()
{
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x7ead0000));
}

} // namespace settings_test
