// Reads and prepares per-user registry keys, so tests can set up what a
// program finds and compare what it leaves, byte for byte.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <ostream>
#include <string>

namespace ui {

struct RegistryValue {
    DWORD type = REG_NONE;
    std::string bytes;
    bool operator==(const RegistryValue& other) const { return type == other.type && bytes == other.bytes; }
};

// How a failed comparison shows a value: its type and its bytes.
void PrintTo(const RegistryValue& value, std::ostream* out);

// By value name.
using RegistryValues = std::map<std::string, RegistryValue>;

RegistryValue dwordValue(int32_t value);

// The key under HKEY_CURRENT_USER with exactly these values; an empty set
// leaves no key at all.
void setUserKey(const char* path, const RegistryValues& values);

// Every value of the key under HKEY_CURRENT_USER; none when the key is missing.
RegistryValues readUserKey(const char* path);

bool userKeyExists(const char* path);

}  // namespace ui
