#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "file_text.h"
#include "inf_loader.h"
#include "inf_reader.h"

namespace {

bool fail(const char* message)
{
    MessageBoxA(nullptr, message, "INF-Installer", MB_OK | MB_ICONHAND);
    return false;
}

}  // namespace

bool loadInfDescriptor()
{
    // Only the first match counts: with several INF files the file system's
    // order decides.
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA("*.inf", &found);
    if (search == INVALID_HANDLE_VALUE)
        return fail("In this directory is'nt any INF-File!");
    FindClose(search);
    static_assert(sizeof found.cFileName == sizeof infDescriptor.infFileName, "a long file name and its zero");
    std::memcpy(infDescriptor.infFileName, found.cFileName, sizeof infDescriptor.infFileName);

    char* text = readFileText(infDescriptor.infFileName);
    if (!text)
        return fail("Can't open INF-File.");
    extractInfValues(text, infDescriptor);
    std::free(text);
    return true;
}
