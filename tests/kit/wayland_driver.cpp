#include "wayland_driver.h"

#include <png.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace wd {

namespace {

constexpr double starting = 30.0;  // seconds for a compositor to start, on a loaded machine

// The compositors still running, for the end of the test program.
std::vector<Compositor>& running()
{
    static std::vector<Compositor> compositors;
    return compositors;
}

std::string readFile(const std::string& path)
{
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// A folder of the user's for the compositor, holding its runtime folder,
// which must be the user's alone.
bool prepare(Compositor& compositor)
{
    char folder[] = "/tmp/astrelle-wayland-XXXXXX";
    if (!xd::ordinaryUser(compositor.user) || !mkdtemp(folder))
        return false;
    compositor.folder = folder;
    compositor.runtimeFolder = compositor.folder + "/runtime";
    const uid_t uid = compositor.user.uid;
    const gid_t gid = compositor.user.gid;
    return chown(folder, uid, gid) == 0 && mkdir(compositor.runtimeFolder.c_str(), 0700) == 0 &&
           chown(compositor.runtimeFolder.c_str(), uid, gid) == 0;
}

// The compositor's sockets, once it has made them.
bool findSockets(Compositor& compositor)
{
    std::error_code failed;
    for (const fs::directory_entry& entry : fs::directory_iterator(compositor.runtimeFolder, failed)) {
        const std::string name = entry.path().filename();
        if (name.rfind("wayland-", 0) == 0 && entry.is_socket(failed))
            compositor.socket = name;
        if (name.rfind("sway-ipc.", 0) == 0 && entry.is_socket(failed))
            compositor.ipcSocket = entry.path();
    }
    return !compositor.socket.empty() && (compositor.weston || !compositor.ipcSocket.empty());
}

struct Result {
    int exitCode = -1;
    std::string output;
};

// A client tool, run as the test's own user (root reaches the user's
// sockets too).
Result run(const Compositor& compositor, const std::vector<std::string>& command)
{
    std::vector<std::string> words{"WAYLAND_DISPLAY=" + compositor.socket,
                                   "XDG_RUNTIME_DIR=" + compositor.runtimeFolder, "SWAYSOCK=" + compositor.ipcSocket};
    words.insert(words.end(), command.begin(), command.end());
    xd::Program tool = xd::start("/usr/bin/env", words);
    const int exitCode = xd::waitForEnd(tool).exitCode;
    return {exitCode, xd::output(tool)};
}

}  // namespace

bool swaymsg(const Compositor& compositor, const std::vector<std::string>& words)
{
    std::vector<std::string> command{"swaymsg"};
    command.insert(command.end(), words.begin(), words.end());
    return run(compositor, command).exitCode == 0;
}

namespace {

long numberAfter(const std::string& text, const std::string& key, size_t& at)
{
    at = text.find("\"" + key + "\":", at);
    return at == std::string::npos ? 0 : std::strtol(text.c_str() + at + key.size() + 3, nullptr, 10);
}

// Every process of the user that runs with the compositor's runtime folder:
// the compositor, the programs it was given, and theirs.
std::vector<pid_t> processesOf(const Compositor& compositor)
{
    const std::string marker = "XDG_RUNTIME_DIR=" + compositor.runtimeFolder + '\0';
    std::vector<pid_t> found;
    std::error_code failed;
    for (const fs::directory_entry& entry : fs::directory_iterator("/proc", failed)) {
        const std::string pid = entry.path().filename();
        struct stat owner;
        if (pid.find_first_not_of("0123456789") == std::string::npos &&
            stat(entry.path().c_str(), &owner) == 0 && owner.st_uid == compositor.user.uid &&
            readFile(entry.path() / "environ").find(marker) != std::string::npos)
            found.push_back(std::stoi(pid));
    }
    return found;
}

void stopAll()
{
    while (!running().empty()) {
        Compositor last = running().back();  // stop takes it off the list
        stop(last);
    }
}

// Keeps the compositor until it is stopped, at the latest when the test
// program ends.
void keep(const Compositor& compositor)
{
    std::vector<Compositor>& all = running();  // made before stopAll is set, so it is destroyed after it
    static const bool stopsAtExit = std::atexit(stopAll) == 0;
    (void)stopsAtExit;
    all.push_back(compositor);
}

bool waitUntilStarted(Compositor& compositor, const std::function<bool()>& ready)
{
    keep(compositor);
    if (xd::waitUntil([&] { return !xd::running(compositor.process) || (findSockets(compositor) && ready()); },
                      starting, 0.1) &&
        xd::running(compositor.process))
        return true;
    stop(compositor);
    compositor.socket.clear();
    return false;
}

Picture readPng(const std::string& path)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    Picture picture;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return picture;
    // B, G, R, A bytes are 0xAARRGGBB words on this little-endian machine.
    image.format = PNG_FORMAT_BGRA;
    picture.pixels.resize(static_cast<size_t>(image.width) * image.height);
    if (!png_image_finish_read(&image, nullptr, picture.pixels.data(), 0, nullptr)) {
        png_image_free(&image);
        return {};
    }
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    for (uint32_t& pixel : picture.pixels)
        pixel &= 0xFFFFFF;
    return picture;
}

}  // namespace

Compositor startSway(const std::vector<Size>& sizes)
{
    Compositor compositor;
    if (!prepare(compositor))
        return compositor;
    const std::string config = compositor.folder + "/sway.conf";
    std::ofstream(config) << "xwayland disable\n";
    for (size_t i = 0; i < sizes.size(); ++i)
        std::ofstream(config, std::ios::app) << "output HEADLESS-" << i + 1 << " resolution " << sizes[i].width << "x"
                                             << sizes[i].height << "\n";
    compositor.process = xd::startAs(compositor.user,
                                     {"XDG_RUNTIME_DIR=" + compositor.runtimeFolder, "HOME=" + compositor.folder,
                                      "WAYLAND_DISPLAY=", "SWAYSOCK=", "DISPLAY=", "WLR_RENDERER=pixman",
                                      "WLR_BACKENDS=headless", "WLR_HEADLESS_OUTPUTS=" + std::to_string(sizes.size()),
                                      "WLR_LIBINPUT_NO_DEVICES=1"},
                                     {"sway", "-c", config});
    waitUntilStarted(compositor, [&] {
        const std::vector<Output> now = outputs(compositor);
        return now.size() == sizes.size() && std::equal(now.begin(), now.end(), sizes.begin(), [](auto& o, auto& s) {
                   return o.width == s.width && o.height == s.height;
               });
    });
    return compositor;
}

Compositor startWeston(Size output, const std::string& shell)
{
    Compositor compositor;
    compositor.weston = true;
    compositor.size = output;
    if (!prepare(compositor))
        return compositor;
    compositor.process = xd::startAs(
        compositor.user,
        {"XDG_RUNTIME_DIR=" + compositor.runtimeFolder, "HOME=" + compositor.folder, "WAYLAND_DISPLAY=", "DISPLAY="},
        {"weston", "--backend=headless-backend.so", "--use-pixman", "--shell=" + shell,
         "--width=" + std::to_string(output.width), "--height=" + std::to_string(output.height), "--socket=wayland-1",
         "--idle-time=0", "--debug"});
    waitUntilStarted(compositor, [] { return true; });
    return compositor;
}

void stop(Compositor& compositor)
{
    if (compositor.process.pid > 0) {
        kill(compositor.process.pid, SIGTERM);  // runuser hands it on
        xd::waitForEnd(compositor.process, 5.0);
    }
    for (pid_t pid : processesOf(compositor))
        kill(pid, SIGKILL);
    std::vector<Compositor>& all = running();
    all.erase(std::remove_if(all.begin(), all.end(), [&](auto& c) { return c.folder == compositor.folder; }),
              all.end());
    std::error_code failed;
    if (!compositor.folder.empty())
        fs::remove_all(compositor.folder, failed);
}

std::vector<Output> outputs(const Compositor& compositor)
{
    if (compositor.weston)
        return {{"headless", 0, 0, compositor.size.width, compositor.size.height}};
    const std::string text = run(compositor, {"swaymsg", "-r", "-t", "get_outputs"}).output;
    std::vector<Output> found;
    const std::string nameKey = "\"name\": \"";
    for (size_t at = text.find("\"rect\":"); at != std::string::npos; at = text.find("\"rect\":", at)) {
        Output output;
        output.x = static_cast<int>(numberAfter(text, "x", at));
        output.y = static_cast<int>(numberAfter(text, "y", at));
        output.width = static_cast<int>(numberAfter(text, "width", at));
        output.height = static_cast<int>(numberAfter(text, "height", at));
        if (at == std::string::npos || (at = text.find(nameKey, at)) == std::string::npos)
            break;
        at += nameKey.size();
        output.name = text.substr(at, text.find('"', at) - at);
        found.push_back(output);
    }
    return found;
}

std::string addOutput(const Compositor& compositor, Size size)
{
    const std::vector<Output> before = outputs(compositor);
    if (!swaymsg(compositor, {"create_output"}))
        return "";
    std::string name;
    xd::waitUntil([&] {
        for (const Output& output : outputs(compositor))
            if (std::none_of(before.begin(), before.end(), [&](auto& o) { return o.name == output.name; }))
                name = output.name;
        return !name.empty();
    });
    const std::string mode = std::to_string(size.width) + "x" + std::to_string(size.height);
    const bool sized = !name.empty() && swaymsg(compositor, {"output", name, "resolution", mode}) &&
                       xd::waitUntil([&] {
                           for (const Output& output : outputs(compositor))
                               if (output.name == name)
                                   return output.width == size.width && output.height == size.height;
                           return false;
                       });
    return sized ? name : "";
}

std::vector<pid_t> running(const Compositor& compositor, const std::string& program)
{
    std::vector<pid_t> found = processesOf(compositor);
    found.erase(std::remove_if(found.begin(), found.end(),
                               [&](pid_t pid) {
                                   return readFile("/proc/" + std::to_string(pid) + "/comm") != program + "\n";
                               }),
                found.end());
    std::sort(found.begin(), found.end());
    return found;
}

xd::Program start(const Compositor& compositor, const std::string& path, const std::vector<std::string>& arguments,
                  const std::vector<std::string>& environment)
{
    std::vector<std::string> entries{"WAYLAND_DISPLAY=" + compositor.socket,
                                     "XDG_RUNTIME_DIR=" + compositor.runtimeFolder, "DISPLAY="};
    entries.insert(entries.end(), environment.begin(), environment.end());
    const std::string reached = xd::reachableBy(compositor.user, path, compositor.folder);
    std::vector<std::string> command{reached.empty() ? path : reached};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return xd::startAs(compositor.user, entries, command);
}

Picture picture(const Compositor& compositor, const std::string& output)
{
    // weston's screenshooter writes into its working folder, under a name of
    // the time.
    const std::string folder = compositor.folder + "/pictures";
    std::error_code failed;
    fs::remove_all(folder, failed);
    fs::create_directories(folder, failed);
    if (compositor.weston)
        run(compositor, {"sh", "-c", "cd \"$0\" && exec weston-screenshooter", folder});
    else if (output.empty())
        run(compositor, {"grim", folder + "/picture.png"});
    else
        run(compositor, {"grim", "-o", output, folder + "/picture.png"});
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, failed))
        return readPng(entry.path());
    return {};
}

ColourCounts waitForSwarm(const Compositor& compositor, const std::string& output, double timeout)
{
    ColourCounts shown;
    xd::waitUntil([&] {
        const Picture seen = picture(compositor, output);
        shown = countColours(seen.pixels);
        return !seen.pixels.empty() && showsTheSwarmAroundItsGlow(shown, seen.pixels.size());
    }, timeout, 0.25);
    return shown;
}

bool typeKey(const Compositor& compositor, const std::string& key)
{
    // Its keyboard is new to the seat: clients take a moment to bind it.
    return run(compositor, {"wtype", "-s", "300", "-k", key}).exitCode == 0;
}

}  // namespace wd
