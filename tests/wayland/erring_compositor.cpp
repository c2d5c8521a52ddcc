// erring_compositor SOCKET: a compositor that answers every binding of its
// one global with a protocol error, as a compositor that finds fault with a
// client does.
#include <wayland-server.h>

int main(int argc, char** argv)
{
    wl_display* display = wl_display_create();
    if (argc != 2 || wl_display_add_socket(display, argv[1]) != 0)
        return 1;
    wl_global_create(display, &wl_compositor_interface, 4, nullptr,
                     [](wl_client* client, void*, uint32_t version, uint32_t id) {
                         wl_resource* resource =
                             wl_resource_create(client, &wl_compositor_interface, static_cast<int>(version), id);
                         wl_resource_post_error(resource, 0, "nothing to compose here");
                     });
    wl_display_run(display);
}
