// Drives Windows programs as a person would: starts them, finds their
// windows, reads and presses controls, and collects exit codes. Every wait
// keeps the calling thread's messages flowing, so that programs whose windows
// are owned by the caller's windows never block on it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace ui {

// wait.cpp: waiting on the programs.

constexpr DWORD defaultTimeoutMs = 20000;

// Asks done at once and then every pollMs, until it says yes (true) or
// timeoutMs is up (false).
bool waitUntil(const std::function<bool()>& done, DWORD timeoutMs, DWORD pollMs = 20);

// Handles the calling thread's waiting messages for about that long.
void pumpMessages(DWORD milliseconds);

// process.cpp: the programs under test.

struct Program {
    HANDLE process = nullptr;
    DWORD id = 0;
};

// Starts commandLine in directory (the caller's own when empty).
Program start(const std::string& commandLine, const std::string& directory = "");

// The exit code, or STILL_ACTIVE when the program has not ended in time
// (it is then killed).
DWORD waitForExit(Program& program, DWORD timeoutMs = defaultTimeoutMs);

// The program's working set in bytes.
size_t workingSet(const Program& program);

// windows.cpp: a program's windows, found and read.

// The visible top-level window of the program with that class and caption,
// or null when none shows up in time.
HWND waitForWindow(const Program& program, const char* className, const char* caption,
                   DWORD timeoutMs = defaultTimeoutMs);

std::string windowText(HWND window);
std::string itemText(HWND dialog, int id);
std::string windowClass(HWND window);
std::vector<HWND> children(HWND window);

// The window that has the keyboard focus in the thread that owns window.
HWND focusedWindow(HWND window);

// message_box.cpp: message boxes, read as a person reads them.

// A message box's text, and its buttons' texts with the mnemonic marks
// taken out.
std::string messageBoxText(HWND box);
std::vector<std::string> messageBoxButtons(HWND box);

// The MB_ICON style whose icon a message box shows (MB_ICONHAND,
// MB_ICONQUESTION, MB_ICONEXCLAMATION or MB_ICONASTERISK), 0 when it shows
// none, MB_ICONMASK when it shows some other picture.
UINT messageBoxIcon(HWND box);

// pixels.cpp: what the screen shows.

// The screen's pixels inside rect, top row first, as 0x00RRGGBB.
std::vector<uint32_t> screenPixels(const RECT& rect);

// What draw puts into a fresh bitmap of the area's size, read as screenPixels
// reads the screen.
std::vector<uint32_t> drawnPixels(const RECT& area, const std::function<void(HDC)>& draw);

// Waits, while the program runs, until the window shows anything but black
// on the screen: for a saver, its first presented frame, since calibration
// frames are never shown. False when that does not happen in time.
bool waitForPicture(const Program& program, HWND window, DWORD timeoutMs);

// Whether the window's part of the screen shows a picture other than black
// that has changed after that long.
bool pictureMoves(HWND window, DWORD milliseconds);

// input.cpp: what reaches a window from outside: a person's presses, clicks and
// keys, and what other programs hand it.

// Presses the button of that id the way a click does.
void pressButton(HWND dialog, int id);

// A left click of the mouse in the middle of the window, through the system's
// input queue: it reaches whatever lies there, and a disabled control takes
// nothing from it.
void click(HWND window);

// A key press and release sent to the focused window of window's thread, as
// the keyboard would deliver it (the dialog manager sees it first).
void pressKey(HWND window, WORD virtualKey);

// Alt and a key, as the system-menu keyboard interface receives it.
void pressAltKey(HWND window, WORD virtualKey);

// How any program on the desktop can hand a window a message: sent, waiting
// for the answer, or posted to the window's queue.
enum Delivery { Send, Post };

struct Message {
    Delivery how;
    UINT message;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    int times = 1;  // handed over that many times in a row
};

// Hands the window each message in turn. A sent WM_CREATE carries a blank
// creation record, which the platform copies across. True when every one was
// taken: posted, or sent and answered within 5 s.
bool deliver(HWND window, const std::vector<Message>& messages);

// What any window may get from other programs at any time, none of it meant
// to end anything: a dialog's initialisation again, a command id no control
// has, a timer nobody set, sizes of 0 and 65535, painting, palette messages,
// and each loss of activation three times (naming a window not its own)
// before activation comes back.
std::vector<Message> strayMessages();

// files.cpp: files and folders.

// A new, empty folder in the temp folder, its name starting with prefix.
std::string makeScratchFolder(const std::string& prefix);

// Deletes a folder with everything in it.
void removeTree(const std::string& folder);

// The system folder of this program's width, where INF installers copy to.
std::string systemFolder();

// The whole of a text file; empty when there is none.
std::string readTextFile(const std::string& path);

// The Windows form of a path of the host (Wine's Z: drive).
std::string windowsPath(const std::string& hostPath);

}  // namespace ui
