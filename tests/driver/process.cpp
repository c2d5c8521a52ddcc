#include "ui_driver.h"

#include <psapi.h>

namespace ui {

Program start(const std::string& commandLine, const std::string& directory)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string line = commandLine;  // CreateProcessA may write into it
    Program program;
    if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       directory.empty() ? nullptr : directory.c_str(), &startup, &info)) {
        CloseHandle(info.hThread);
        program.process = info.hProcess;
        program.id = info.dwProcessId;
    }
    return program;
}

DWORD waitForExit(Program& program, DWORD timeoutMs)
{
    if (!program.process)
        return STILL_ACTIVE;
    if (!waitUntil([&] { return WaitForSingleObject(program.process, 0) != WAIT_TIMEOUT; }, timeoutMs)) {
        TerminateProcess(program.process, STILL_ACTIVE);  // the code read below
        WaitForSingleObject(program.process, INFINITE);
    }
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(program.process, &code);
    CloseHandle(program.process);
    program.process = nullptr;
    return code;
}

size_t workingSet(const Program& program)
{
    PROCESS_MEMORY_COUNTERS counters{};
    GetProcessMemoryInfo(program.process, &counters, sizeof counters);
    return counters.WorkingSetSize;
}

}  // namespace ui
