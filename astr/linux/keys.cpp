#include "keys.h"

#include <xkbcommon/xkbcommon-keysyms.h>

uint32_t virtualKeyOfKeysym(uint32_t keysym)
{
    constexpr uint32_t vkEscape = 0x1B;
    if (keysym >= XKB_KEY_a && keysym <= XKB_KEY_z)
        return keysym - XKB_KEY_a + 'A';
    if ((keysym >= XKB_KEY_A && keysym <= XKB_KEY_Z) || (keysym >= XKB_KEY_0 && keysym <= XKB_KEY_9))
        return keysym;
    return keysym == XKB_KEY_Escape ? vkEscape : 0;
}
