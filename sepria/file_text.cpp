#include "file_text.h"

#include <fcntl.h>

#include <cstdio>
#include <cstdlib>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#define _open open
#define _lseek lseek
#define _read read
#define _close close
#define _O_RDONLY O_RDONLY
#define _O_BINARY 0
#endif

namespace {

char* readOpenFile(int file)
{
    const long size = _lseek(file, 0, SEEK_END);
    if (size < 0 || _lseek(file, 0, SEEK_SET) != 0)
        return nullptr;

    char* text = static_cast<char*>(std::malloc(static_cast<size_t>(size) + 1));
    if (!text)
        return nullptr;
    if (_read(file, text, static_cast<unsigned>(size)) != size) {
        std::free(text);
        return nullptr;
    }
    text[size] = '\0';
    return text;
}

}  // namespace

char* readFileText(const char* path)
{
    const int file = _open(path, _O_RDONLY | _O_BINARY);  // no newline translation
    if (file == -1)
        return nullptr;
    char* text = readOpenFile(file);
    _close(file);
    return text;
}
