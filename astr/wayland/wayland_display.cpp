#include "wayland_display.h"

#include <poll.h>
#include <sys/mman.h>
#include <unistd.h>
#include <xkbcommon/xkbcommon.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>

#include "../core/fatal_error.h"
#include "../linux/keys.h"
#include "../render/saver.h"

wl_display* waylandDisplay;
wl_compositor* compositor;
xdg_wm_base* windowManager;
zwlr_layer_shell_v1* layerShell;
std::vector<WaylandOutput> outputs;
bool inputEndsRun;
bool hidePointer;

namespace {

constexpr double pointerSlack = 8.0;  // pixels a pointer may wander before it counts as moved

// The seat and its devices, as this connection has them.
struct {
    wl_seat* seat;
    wl_keyboard* keyboard;
    wl_pointer* pointer;
} input;
xkb_context* keys;
xkb_state* keyState;
bool pointerPlaced;
double pointerX, pointerY;  // where it entered

template <typename T>
T* bind(wl_registry* registry, uint32_t name, const wl_interface& interface, uint32_t offered, uint32_t wanted)
{
    return static_cast<T*>(wl_registry_bind(registry, name, &interface, std::min(offered, wanted)));
}

// Each output's events come with its registry name.
WaylandOutput* outputNamed(void* global)
{
    for (WaylandOutput& o : outputs)
        if (o.global == reinterpret_cast<uintptr_t>(global))
            return &o;
    return nullptr;
}

template <typename... Ignored>
void ignore(Ignored...)
{
}

// Keys: read through the keymap the compositor hands over, as the user's
// layout has them. Any key at all may end the run, so one without a code
// of the saver's counts as code 0.
void onKeymap(void*, wl_keyboard*, uint32_t format, int32_t fd, uint32_t size)
{
    void* text = format == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1 ? mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0) : MAP_FAILED;
    close(fd);
    if (text == MAP_FAILED)
        return;
    xkb_keymap* keymap = xkb_keymap_new_from_string(keys, static_cast<const char*>(text), XKB_KEYMAP_FORMAT_TEXT_V1,
                                                    XKB_KEYMAP_COMPILE_NO_FLAGS);
    munmap(text, size);
    xkb_state_unref(keyState);
    keyState = keymap ? xkb_state_new(keymap) : nullptr;  // which keeps the keymap
    xkb_keymap_unref(keymap);
}

void onKey(uint32_t key, bool down)
{
    const uint32_t keysym = keyState ? xkb_state_key_get_one_sym(keyState, key + 8) : XKB_KEY_NoSymbol;
    if (!saverKey(virtualKeyOfKeysym(keysym), down))
        inputEndsRun = true;
}

void onKeyEvent(void*, wl_keyboard*, uint32_t, uint32_t, uint32_t key, uint32_t state)
{
    onKey(key, state == WL_KEYBOARD_KEY_STATE_PRESSED);
}

void onModifiers(void*, wl_keyboard*, uint32_t, uint32_t depressed, uint32_t latched, uint32_t locked, uint32_t group)
{
    if (keyState)
        xkb_state_update_mask(keyState, depressed, latched, locked, 0, 0, group);
}

// A key already down as the surface gains the keyboard was pressed for
// something else (the Enter that started the run, say): only keys pressed
// from then on count.
const wl_keyboard_listener keyboardListener = {onKeymap, ignore, ignore, onKeyEvent, onModifiers, ignore};

void onPointerEnter(void*, wl_pointer*, uint32_t serial, wl_surface*, wl_fixed_t x, wl_fixed_t y)
{
    if (hidePointer)
        wl_pointer_set_cursor(input.pointer, serial, nullptr, 0, 0);
    pointerPlaced = true;
    pointerX = wl_fixed_to_double(x);
    pointerY = wl_fixed_to_double(y);
}

void onPointerMotion(void*, wl_pointer*, uint32_t, wl_fixed_t x, wl_fixed_t y)
{
    if (pointerPlaced &&
        std::hypot(wl_fixed_to_double(x) - pointerX, wl_fixed_to_double(y) - pointerY) > pointerSlack &&
        !saverPointer())
        inputEndsRun = true;
}

void onButton(void*, wl_pointer*, uint32_t, uint32_t, uint32_t, uint32_t state)
{
    if (state == WL_POINTER_BUTTON_STATE_PRESSED && !saverPointer())
        inputEndsRun = true;
}

// Bound at version 5: the events of later versions never come.
const wl_pointer_listener pointerListener = {onPointerEnter, ignore, onPointerMotion, onButton, ignore,
                                             ignore,         ignore, ignore,          ignore, nullptr};

// A virtual keyboard comes and goes with each program that types: each
// time the seat has one, it gets a new wl_keyboard.
void onCapabilities(void*, wl_seat*, uint32_t capabilities)
{
    if ((capabilities & WL_SEAT_CAPABILITY_KEYBOARD) && !input.keyboard) {
        input.keyboard = wl_seat_get_keyboard(input.seat);
        wl_keyboard_add_listener(input.keyboard, &keyboardListener, nullptr);
    } else if (!(capabilities & WL_SEAT_CAPABILITY_KEYBOARD) && input.keyboard) {
        wl_keyboard_release(input.keyboard);
        input.keyboard = nullptr;
    }
    if ((capabilities & WL_SEAT_CAPABILITY_POINTER) && !input.pointer) {
        input.pointer = wl_seat_get_pointer(input.seat);
        wl_pointer_add_listener(input.pointer, &pointerListener, nullptr);
    } else if (!(capabilities & WL_SEAT_CAPABILITY_POINTER) && input.pointer) {
        wl_pointer_release(input.pointer);
        input.pointer = nullptr;
        pointerPlaced = false;
    }
}

const wl_seat_listener seatListener = {onCapabilities, ignore};

void onOutputName(void* global, wl_output*, const char* name)
{
    if (WaylandOutput* o = outputNamed(global))
        o->name = name;
}

const wl_output_listener outputListener = {ignore, ignore, ignore, ignore, onOutputName, ignore};

const xdg_wm_base_listener windowManagerListener = {
    [](void*, xdg_wm_base* base, uint32_t serial) { xdg_wm_base_pong(base, serial); }};

void onGlobal(void*, wl_registry* registry, uint32_t name, const char* interface, uint32_t version)
{
    if (std::strcmp(interface, wl_compositor_interface.name) == 0) {
        compositor = bind<wl_compositor>(registry, name, wl_compositor_interface, version, 4);
    } else if (std::strcmp(interface, xdg_wm_base_interface.name) == 0) {
        windowManager = bind<xdg_wm_base>(registry, name, xdg_wm_base_interface, version, 2);
        xdg_wm_base_add_listener(windowManager, &windowManagerListener, nullptr);
    } else if (std::strcmp(interface, zwlr_layer_shell_v1_interface.name) == 0) {
        layerShell = bind<zwlr_layer_shell_v1>(registry, name, zwlr_layer_shell_v1_interface, version, 1);
    } else if (std::strcmp(interface, wl_seat_interface.name) == 0 && !input.seat) {
        input.seat = bind<wl_seat>(registry, name, wl_seat_interface, version, 5);
        wl_seat_add_listener(input.seat, &seatListener, nullptr);
    } else if (std::strcmp(interface, wl_output_interface.name) == 0) {
        wl_output* output = bind<wl_output>(registry, name, wl_output_interface, version, 4);
        outputs.push_back({output, name, "output " + std::to_string(name)});
        wl_output_add_listener(output, &outputListener, reinterpret_cast<void*>(uintptr_t{name}));
    }
}

void onGlobalRemove(void*, wl_registry*, uint32_t name)
{
    const auto gone = std::find_if(outputs.begin(), outputs.end(), [&](const WaylandOutput& o) { return o.global == name; });
    if (gone == outputs.end())
        return;
    wl_output_destroy(gone->output);
    outputs.erase(gone);
}

const wl_registry_listener registryListener = {onGlobal, onGlobalRemove};

// A compositor gone ends the process quietly, as an X server gone does; a
// protocol error ends it with one line.
void checkConnection()
{
    if (const int error = wl_display_get_error(waylandDisplay); error == EPROTO) {
        const wl_interface* interface = nullptr;
        const uint32_t code = wl_display_get_protocol_error(waylandDisplay, &interface, nullptr);
        FatalError("Wayland protocol error %u on %s.", code, interface ? interface->name : "the display");
    } else if (error != 0) {
        _exit(0);  // nothing is left to release
    }
}

}  // namespace

bool connectToCompositor()
{
    // Nothing of an earlier connection is kept: a child of the cover run
    // starts with its parent's.
    input = {};
    outputs.clear();
    // The library's own complaints (no runtime folder, say) are not astrelle's lines.
    wl_log_set_handler_client([](const char*, va_list) {});
    waylandDisplay = wl_display_connect(nullptr);
    if (!waylandDisplay)
        return false;
    keys = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    wl_registry_add_listener(wl_display_get_registry(waylandDisplay), &registryListener, nullptr);
    // The globals, then what they tell of themselves.
    wl_display_roundtrip(waylandDisplay);
    wl_display_roundtrip(waylandDisplay);
    checkConnection();
    return true;
}

void dispatchEvents(int timeoutMs)
{
    while (wl_display_prepare_read(waylandDisplay) != 0)
        wl_display_dispatch_pending(waylandDisplay);
    wl_display_flush(waylandDisplay);
    pollfd connection{wl_display_get_fd(waylandDisplay), POLLIN, 0};
    if (poll(&connection, 1, timeoutMs) > 0)
        wl_display_read_events(waylandDisplay);
    else
        wl_display_cancel_read(waylandDisplay);
    wl_display_dispatch_pending(waylandDisplay);
    checkConnection();
}
