// The saver's key table is indexed by the Windows saver's virtual-key codes;
// Linux hosts read keysyms, which X11 and XKB number alike.
#pragma once

#include <cstdint>

// Letters by their capitals, digits and Escape by their own codes; 0, which
// names no key, for the rest.
uint32_t virtualKeyOfKeysym(uint32_t keysym);
