// The count file's reader on any text: every entry it keeps is sound, and
// written back, it reads the same, within the file's bound.
#include <cstdlib>
#include <string>

#include "../../astr/linux/count_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<RememberedCount> entries;
    parseCounts(std::string(reinterpret_cast<const char*>(data), size), entries);
    for (const RememberedCount& e : entries)
        if (e.count < 2 || e.count > 32768 || e.key.width < 1 || e.key.height < 1)
            std::abort();
    if (entries.empty())
        return 0;
    const std::vector<RememberedCount> others(entries.begin() + 1, entries.end());
    const std::string text = formatCounts(entries.front(), others);
    std::vector<RememberedCount> again;
    if (text.size() > countFileLimit || !parseCounts(text, again))
        std::abort();
    if (!again.empty() && formatCounts(again.front(), {again.begin() + 1, again.end()}) != text)
        std::abort();
    return 0;
}
