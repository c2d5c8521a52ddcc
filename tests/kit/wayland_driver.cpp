#include "wayland_driver.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace waylanddriver {

namespace {

constexpr double starting = 30.0;  // seconds for a compositor to start, on a loaded machine

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
    if (!x11driver::ordinaryUser(compositor.user) || !mkdtemp(folder))
        return false;
    compositor.folder = folder;
    compositor.runtimeFolder = compositor.folder + "/runtime";
    const uid_t uid = compositor.user.uid;
    return chown(folder, uid, compositor.user.gid) == 0 && mkdir(compositor.runtimeFolder.c_str(), 0700) == 0 &&
           chown(compositor.runtimeFolder.c_str(), uid, compositor.user.gid) == 0;
}

// A client tool, run as the test's own user (root reaches the user's sockets too).
int run(const Compositor& compositor, const std::vector<std::string>& command)
{
    std::vector<std::string> words{"WAYLAND_DISPLAY=" + compositor.socket,
                                   "XDG_RUNTIME_DIR=" + compositor.runtimeFolder, "SWAYSOCK=" + compositor.ipcSocket};
    words.insert(words.end(), command.begin(), command.end());
    x11driver::Program tool = x11driver::start("/usr/bin/env", words);
    return x11driver::waitForEnd(tool).exitCode;
}

// Started once its sockets are there and it answers; else stopped.
void waitUntilStarted(Compositor& compositor)
{
    const auto answers = [&] {
        std::error_code failed;
        for (const fs::directory_entry& entry : fs::directory_iterator(compositor.runtimeFolder, failed)) {
            const std::string name = entry.path().filename();
            if (name.rfind("wayland-", 0) == 0 && entry.is_socket(failed))
                compositor.socket = name;
            if (name.rfind("sway-ipc.", 0) == 0 && entry.is_socket(failed))
                compositor.ipcSocket = entry.path();
        }
        return !compositor.socket.empty() &&
               (compositor.weston || (!compositor.ipcSocket.empty() && swaymsg(compositor, {"-t", "get_outputs"})));
    };
    if (!x11driver::waitUntil([&] { return !x11driver::running(compositor.process) || answers(); }, starting, 0.1) ||
        !x11driver::running(compositor.process)) {
        stop(compositor);
        compositor.socket.clear();
    }
}

// A binary PPM as grim writes it, or as convert turns a PNG into one.
Picture readPpm(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::string magic;
    Picture picture;
    int depth = 0;
    if (!(file >> magic >> picture.width >> picture.height >> depth) || magic != "P6" || depth != 255)
        return {};
    file.get();
    std::vector<unsigned char> bytes(3 * static_cast<size_t>(picture.width) * picture.height);
    if (!file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size())))
        return {};
    for (size_t i = 0; i < bytes.size(); i += 3)
        picture.pixels.push_back(uint32_t{bytes[i]} << 16 | uint32_t{bytes[i + 1]} << 8 | bytes[i + 2]);
    return picture;
}

}  // namespace

Compositor startSway(const std::vector<Size>& sizes)
{
    Compositor compositor;
    compositor.outputs = static_cast<int>(sizes.size());
    if (!prepare(compositor))
        return compositor;
    const std::string config = compositor.folder + "/sway.conf";
    std::ofstream file(config);
    file << "xwayland disable\n";
    for (size_t i = 0; i < sizes.size(); ++i)
        file << "output HEADLESS-" << i + 1 << " resolution " << sizes[i].width << "x" << sizes[i].height << "\n";
    file.close();
    compositor.process = x11driver::startAs(
        compositor.user,
        {"XDG_RUNTIME_DIR=" + compositor.runtimeFolder, "HOME=" + compositor.folder, "WAYLAND_DISPLAY=", "SWAYSOCK=",
         "DISPLAY=", "WLR_RENDERER=pixman", "WLR_BACKENDS=headless",
         "WLR_HEADLESS_OUTPUTS=" + std::to_string(sizes.size()), "WLR_LIBINPUT_NO_DEVICES=1"},
        {"sway", "-c", config});
    waitUntilStarted(compositor);
    return compositor;
}

Compositor startWeston(Size size, const std::string& shell)
{
    Compositor compositor;
    compositor.weston = true;
    if (!prepare(compositor))
        return compositor;
    compositor.process = x11driver::startAs(
        compositor.user,
        {"XDG_RUNTIME_DIR=" + compositor.runtimeFolder, "HOME=" + compositor.folder, "WAYLAND_DISPLAY=", "DISPLAY="},
        {"weston", "--backend=headless-backend.so", "--use-pixman", "--shell=" + shell,
         "--width=" + std::to_string(size.width), "--height=" + std::to_string(size.height), "--socket=wayland-1",
         "--idle-time=0", "--debug"});
    waitUntilStarted(compositor);
    return compositor;
}

void stop(Compositor& compositor)
{
    if (compositor.process.pid > 0) {
        kill(compositor.process.pid, SIGTERM);  // runuser hands it on
        x11driver::waitForEnd(compositor.process, 5.0);
    }
    for (pid_t pid : running(compositor, ""))
        kill(pid, SIGKILL);
    std::error_code failed;
    if (!compositor.folder.empty())
        fs::remove_all(compositor.folder, failed);
    compositor.folder.clear();
}

bool swaymsg(const Compositor& compositor, const std::vector<std::string>& words)
{
    std::vector<std::string> command{"swaymsg"};
    command.insert(command.end(), words.begin(), words.end());
    return run(compositor, command) == 0;
}

std::string addOutput(Compositor& compositor, Size size)
{
    const std::string name = "HEADLESS-" + std::to_string(compositor.outputs + 1);
    const std::string mode = std::to_string(size.width) + "x" + std::to_string(size.height);
    if (!swaymsg(compositor, {"create_output"}) || !swaymsg(compositor, {"output", name, "resolution", mode}))
        return "";
    ++compositor.outputs;
    return name;
}

x11driver::Program start(const Compositor& compositor, const std::string& path,
                         const std::vector<std::string>& arguments, const std::vector<std::string>& environment)
{
    std::vector<std::string> entries{"WAYLAND_DISPLAY=" + compositor.socket,
                                     "XDG_RUNTIME_DIR=" + compositor.runtimeFolder, "DISPLAY="};
    entries.insert(entries.end(), environment.begin(), environment.end());
    const std::string reached = x11driver::reachableBy(compositor.user, path, compositor.folder);
    std::vector<std::string> command{reached.empty() ? path : reached};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return x11driver::startAs(compositor.user, entries, command);
}

// The user's processes started with the compositor's runtime folder: itself,
// the programs it was given, and theirs; "" names any program.
std::vector<pid_t> running(const Compositor& compositor, const std::string& program)
{
    const std::string session = "XDG_RUNTIME_DIR=" + compositor.runtimeFolder + '\0';
    std::vector<pid_t> found;
    std::error_code failed;
    for (const fs::directory_entry& entry : fs::directory_iterator("/proc", failed)) {
        const std::string pid = entry.path().filename();
        struct stat owner;
        if (pid.find_first_not_of("0123456789") == std::string::npos && stat(entry.path().c_str(), &owner) == 0 &&
            owner.st_uid == compositor.user.uid &&
            readFile(entry.path() / "environ").find(session) != std::string::npos &&
            (program.empty() || readFile(entry.path() / "comm") == program + "\n"))
            found.push_back(std::stoi(pid));
    }
    std::sort(found.begin(), found.end());
    return found;
}

Picture picture(const Compositor& compositor, const std::string& output)
{
    // weston's screenshooter writes a PNG into its working folder, under a name of the time.
    const std::string folder = compositor.folder + "/pictures", ppm = folder + "/picture.ppm";
    std::error_code failed;
    fs::remove_all(folder, failed);
    fs::create_directories(folder, failed);
    if (!compositor.weston)
        run(compositor, {"grim", "-t", "ppm", "-o", output, ppm});
    else if (run(compositor, {"sh", "-c", "cd \"$0\" && weston-screenshooter && /usr/bin/convert *.png \"$1\"", folder,
                              ppm}) != 0)
        return {};
    return readPpm(ppm);
}

ColourCounts waitForSwarm(const Compositor& compositor, const std::string& output, double timeout)
{
    ColourCounts shown;
    x11driver::waitUntil([&] {
        const Picture seen = picture(compositor, output);
        shown = countColours(seen.pixels);
        return !seen.pixels.empty() && showsTheSwarmAroundItsGlow(shown, seen.pixels.size());
    }, timeout, 0.25);
    return shown;
}

bool typeKey(const Compositor& compositor, const std::string& key)
{
    // Its keyboard is new to the seat: clients take a moment to bind it.
    return run(compositor, {"wtype", "-s", "300", "-k", key}) == 0;
}

}  // namespace waylanddriver
