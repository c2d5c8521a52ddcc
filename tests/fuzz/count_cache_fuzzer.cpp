// The remembered counts' reader on any text: every entry it keeps is sound,
// and written back, it reads the same.
#include <cstdlib>
#include <string>

#include "../../astr/x11/count_cache.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<RememberedCount> entries = parseCounts(std::string(reinterpret_cast<const char*>(data), size));
    for (const RememberedCount& e : entries)
        if (e.count < 2 || e.count > 32768 || e.key.width < 1 || e.key.height < 1 || entries.size() > countEntryLimit)
            std::abort();
    if (formatCounts(parseCounts(formatCounts(entries))) != formatCounts(entries))
        std::abort();
    return 0;
}
