// The settings store: named text values in one registry key.
#pragma once
#include <windows.h>
#include <initializer_list>

class reg_settings {
public:
    // Opens or creates the key under HKEY_LOCAL_MACHINE, falling back to
    // HKEY_CURRENT_USER when the machine-wide key cannot be opened for
    // reading and writing (a standard user's 64-bit program may not write
    // there and is not virtualized).
    explicit reg_settings(const char* key_path);
    // Tries the given roots in order; the first that opens is used. A
    // failure of the first root is logged once; when every root fails the
    // store reads defaults and drops writes for the rest of its life.
    reg_settings(const char* key_path, std::initializer_list<HKEY> roots);
    virtual ~reg_settings();
    reg_settings(const reg_settings&) = delete;
    reg_settings& operator=(const reg_settings&) = delete;

    // The stored text, or default_text itself (the same pointer) when the
    // value could not be read; a missing value is then written with it.
    // A read text lives in a buffer shared by every store until the next
    // read.
    const char* get_string(const char* name, const char* default_text);
    // Whether the value was stored: never by a failed store.
    bool set_string(const char* name, const char* text);
    // The stored text as a number; a missing value is written with the
    // default's text and read back through it.
    double get_number(const char* name, float default_value);
    bool set_number(const char* name, float value);

private:
    void open(const char* key_path, std::initializer_list<HKEY> roots);

    HKEY reg_key = nullptr;
    bool failed = false;
};

// The process-wide store, "Software\Tovarind\Quillmere".
extern reg_settings app_settings;
