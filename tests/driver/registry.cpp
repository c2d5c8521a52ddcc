#include "registry.h"

#include <cstdio>

namespace ui {

void PrintTo(const RegistryValue& value, std::ostream* out)
{
    *out << "type " << value.type << ", bytes";
    for (unsigned char byte : value.bytes) {
        char hex[4];
        std::snprintf(hex, sizeof hex, " %02X", byte);
        *out << hex;
    }
}

RegistryValue dwordValue(int32_t value)
{
    return {REG_DWORD, std::string(reinterpret_cast<const char*>(&value), sizeof value)};
}

void setUserKey(const char* path, const RegistryValues& values)
{
    RegDeleteTreeA(HKEY_CURRENT_USER, path);
    if (values.empty())
        return;
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    for (const auto& [name, value] : values)
        RegSetValueExA(key, name.c_str(), 0, value.type, reinterpret_cast<const BYTE*>(value.bytes.data()),
                       static_cast<DWORD>(value.bytes.size()));
    RegCloseKey(key);
}

RegistryValues readUserKey(const char* path)
{
    RegistryValues values;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return values;
    DWORD count = 0, longestName = 0, longestData = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longestName, &longestData,
                     nullptr, nullptr);
    std::string name(longestName + 1, '\0');
    std::string data(longestData, '\0');
    for (DWORD index = 0; index < count; ++index) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD size = static_cast<DWORD>(data.size());
        DWORD type = REG_NONE;
        if (RegEnumValueA(key, index, name.data(), &nameLength, nullptr, &type,
                          reinterpret_cast<BYTE*>(data.data()), &size) == ERROR_SUCCESS)
            values[name.substr(0, nameLength)] = {type, data.substr(0, size)};
    }
    RegCloseKey(key);
    return values;
}

bool userKeyExists(const char* path)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

}  // namespace ui
