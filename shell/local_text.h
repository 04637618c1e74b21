// Texts shown to the user, from the string tables of the process's module:
// Windows picks the user's display language, else English.
#pragma once
#include <windows.h>

#include <string>

// String `id`; empty when the module has none.
std::wstring local_text(UINT id);
// `text` with its first "%" placeholder ("%s", "%lu") replaced by `value`,
// so that each language may place it where its grammar wants it.
std::wstring with_value(std::wstring text, const std::wstring& value);
