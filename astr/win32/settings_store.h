// The seven settings in the per-user registry key
// HKEY_CURRENT_USER\Software\Brightloom\Astrelle, each a REG_DWORD.
#pragma once

#include <cstdint>

// The named setting. A missing key or value, or a value that is not 4 bytes
// long, reads as the setting's default; a 4-byte value is taken as it is,
// whatever type it was stored with.
int32_t readSetting(const char* name);

// Writes the named setting as a REG_DWORD, creating the key when needed.
// Answers 1 on success, 0 when the key could not be created or the value not
// written.
int writeSetting(const char* name, int32_t value);

// `-init`: writes every default, each by itself; failures are silent.
void writeDefaults();

// Before a drawing run: the settings into `settings`, the colour and depth
// choices into the pixel-format request as bit counts.
void loadSettings();
