// Feeds arbitrary bytes to the INF value extraction. Beyond what the
// sanitizers catch, every field must end inside its 128 bytes and can never
// hold a double quote.
#include <cstdint>
#include <cstring>
#include <string>

#include "../../sepria/inf_reader.h"

namespace {

void check(const char (&field)[infValueSize])
{
    const void* end = std::memchr(field, '\0', infValueSize);
    if (!end || std::memchr(field, '"', static_cast<const char*>(end) - field))
        __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);  // ends with a zero byte
    InfDescriptor descriptor;
    std::memset(&descriptor, 0x7F, sizeof descriptor);
    extractInfValues(text.c_str(), descriptor);
    check(descriptor.vendor);
    check(descriptor.title);
    check(descriptor.version);
    check(descriptor.size);
    check(descriptor.notify);
    return 0;
}
