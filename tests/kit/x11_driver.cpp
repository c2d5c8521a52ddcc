#include "x11_driver.h"

#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace x11driver {

namespace {

Display* display;
pid_t server;

void stopServer()
{
    if (server > 0) {
        kill(server, SIGTERM);
        waitpid(server, nullptr, 0);
        server = 0;
    }
}

// With -displayfd the server picks a free display and writes its number.
int launchServer(int width, int height, bool anyUser)
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return -1;
    server = fork();
    if (server == 0) {
        close(pipeFds[0]);
        const std::string fd = std::to_string(pipeFds[1]);
        const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp",
               anyUser ? "-ac" : static_cast<char*>(nullptr), static_cast<char*>(nullptr));
        _exit(127);
    }
    // The server writes the number and its newline apart, and ends if the
    // newline finds the pipe closed: it is read up to the newline.
    close(pipeFds[1]);
    std::string number;
    char got = 0;
    while (got != '\n' && read(pipeFds[0], &got, 1) == 1)
        number += got;
    close(pipeFds[0]);
    return number.empty() || number.back() != '\n' ? -1 : std::atoi(number.c_str());
}

}  // namespace

// Two servers that start at once may pick the same free number, and one of
// them then fails: that one is started again.
Display* startServer(int width, int height, bool anyUser)
{
    for (int attempt = 0; attempt < 3 && !display; ++attempt) {
        const int number = launchServer(width, height, anyUser);
        const std::string name = ":" + std::to_string(number);
        if (number >= 0)
            waitUntil([&] { return (display = XOpenDisplay(name.c_str())) != nullptr; }, 5.0, 0.1);
        if (display)
            setenv("DISPLAY", name.c_str(), 1);
        else
            stopServer();
    }
    static const bool stopsAtExit = std::atexit(stopServer) == 0;
    (void)stopsAtExit;
    return display;
}

Display* connection()
{
    return display;
}

namespace {

// The programs' standard errors, in a folder that goes when the tests end
// (its name outlives every destructor that runs at exit).
char errorsFolderName[] = "/tmp/astrelle-test-XXXXXX";

std::string errorsFolder()
{
    static const bool made = [] {
        if (!mkdtemp(errorsFolderName))
            return false;
        std::atexit([] { std::filesystem::remove_all(errorsFolderName); });
        return true;
    }();
    return made ? errorsFolderName : "/tmp";
}

}  // namespace

pid_t serverProcess()
{
    return server;
}

Program start(const std::string& path, const std::vector<std::string>& arguments,
              const std::vector<std::string>& environment)
{
    static int started;
    Program program;
    program.errorsFile = errorsFolder() + "/" + std::to_string(++started) + ".err";
    program.outputFile = errorsFolder() + "/" + std::to_string(started) + ".out";
    if (display)
        XSync(display, False);  // the program must see the test's windows as they are now
    program.pid = fork();
    if (program.pid == 0) {
        for (const std::string& entry : environment) {
            const size_t equals = entry.find('=');
            const std::string name = entry.substr(0, equals), value = entry.substr(equals + 1);
            if (value.empty())
                unsetenv(name.c_str());
            else
                setenv(name.c_str(), value.c_str(), 1);
        }
        dup2(open(program.outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
        dup2(open(program.errorsFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
        std::vector<char*> argv{const_cast<char*>(path.c_str())};
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        execv(path.c_str(), argv.data());
        _exit(127);
    }
    return program;
}

End waitForEnd(Program& program, double timeout)
{
    End end;
    const double begin = now();
    int status = 0;
    end.ended = waitUntil([&] { return waitpid(program.pid, &status, WNOHANG) == program.pid; }, timeout, 0.01);
    if (!end.ended) {
        kill(program.pid, SIGKILL);
        waitpid(program.pid, &status, 0);
    }
    end.seconds = now() - begin;
    if (WIFEXITED(status))
        end.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        end.signal = WTERMSIG(status);
    program.pid = 0;
    return end;
}

// Looks without collecting: waitpid knows no WNOWAIT, waitid does.
bool running(const Program& program)
{
    // waitpid takes no WNOWAIT: look without reaping through waitid.
    siginfo_t info{};
    return program.pid > 0 && waitid(P_PID, static_cast<id_t>(program.pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
           info.si_pid == 0;
}

std::string output(const Program& program)
{
    std::ifstream file(program.outputFile);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

std::string errors(const Program& program)
{
    std::ifstream file(program.errorsFile);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

Window makeWindow(int width, int height)
{
    const int screen = DefaultScreen(display);
    const Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, width, height, 0,
                                              BlackPixel(display, screen), WhitePixel(display, screen));
    XStoreName(display, window, "host");
    XMapWindow(display, window);
    XSync(display, False);
    return window;
}

void resize(Window window, int width, int height)
{
    XResizeWindow(display, window, width, height);
    XSync(display, False);
}

Window waitForWindowNamed(const char* name, double timeout)
{
    Window found = 0;
    waitUntil([&] {
        Window root, parent, *children = nullptr;
        unsigned count = 0;
        XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count);
        for (unsigned i = 0; i < count && !found; ++i) {
            char* title = nullptr;
            XWindowAttributes attributes;
            if (XFetchName(display, children[i], &title) && title && std::strcmp(title, name) == 0 &&
                XGetWindowAttributes(display, children[i], &attributes) && attributes.map_state == IsViewable)
                found = children[i];
            if (title)
                XFree(title);
        }
        if (children)
            XFree(children);
        return found != 0;
    }, timeout);
    return found;
}

namespace {

int ignoreErrors(Display*, XErrorEvent*)
{
    return 0;
}

}  // namespace

std::vector<uint32_t> pixels(Window window)
{
    XErrorHandler previous = XSetErrorHandler(ignoreErrors);
    XWindowAttributes attributes;
    std::vector<uint32_t> result;
    if (XGetWindowAttributes(display, window, &attributes)) {
        XImage* image = XGetImage(display, window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
        if (image) {
            result.reserve(static_cast<size_t>(attributes.width) * attributes.height);
            for (int y = 0; y < attributes.height; ++y)
                for (int x = 0; x < attributes.width; ++x)
                    result.push_back(static_cast<uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFF);
            XDestroyImage(image);
        }
    }
    XSync(display, False);
    XSetErrorHandler(previous);
    return result;
}

ColourCounts waitForSwarm(Window window, double timeout)
{
    ColourCounts shown;
    waitUntil([&] {
        const std::vector<uint32_t> seen = pixels(window);
        shown = countColours(seen);
        return !seen.empty() && showsTheSwarmAroundItsGlow(shown, seen.size());
    }, timeout, 0.25);
    return shown;
}

void pressKey(Window window, unsigned long keysym)
{
    XKeyEvent key{};
    key.display = display;
    key.window = window;
    key.root = DefaultRootWindow(display);
    key.same_screen = True;
    key.keycode = XKeysymToKeycode(display, keysym);
    for (int type : {KeyPress, KeyRelease}) {
        key.type = type;
        XSendEvent(display, window, True, type == KeyPress ? KeyPressMask : KeyReleaseMask,
                   reinterpret_cast<XEvent*>(&key));
    }
    XSync(display, False);
}

void askToClose(Window window)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
}

void sendConfigureNotify(Window window, int width, int height)
{
    XEvent event{};
    event.xconfigure.type = ConfigureNotify;
    event.xconfigure.event = event.xconfigure.window = window;
    event.xconfigure.width = width;
    event.xconfigure.height = height;
    XSendEvent(display, window, False, StructureNotifyMask, &event);
    XSync(display, False);
}

void sleepSeconds(double seconds)
{
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

double now()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

bool waitUntil(const std::function<bool()>& done, double timeout, double poll)
{
    const double begin = now();
    while (!done()) {
        if (now() - begin >= timeout)
            return false;
        sleepSeconds(poll);
    }
    return true;
}

}  // namespace x11driver
