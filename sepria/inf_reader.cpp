#include "inf_reader.h"

#include <cstring>
#include <string>

InfDescriptor infDescriptor;

namespace {

// Up to the closing quote or the end of the text, and never past the field.
void copyValue(const char* value, char (&field)[infValueSize])
{
    size_t length = 0;
    while (value[length] != '"' && value[length] != '\0' && length < infValueSize - 1) {
        field[length] = value[length];
        ++length;
    }
    field[length] = '\0';
}

}  // namespace

void extractInfValue(const char* key, const char* text, char (&field)[infValueSize])
{
    field[0] = '\0';
    const std::string pattern = std::string("\n") + key + "=\"";

    size_t i = 0;
    while (text[i] != '\0') {
        // strncmp stops at the text's end, so a pattern cut short never matches.
        if (std::strncmp(text + i, pattern.c_str(), pattern.size()) != 0) {
            ++i;
            continue;
        }
        const char* value = text + i + pattern.size();
        copyValue(value, field);
        if (*value == '\0')
            break;  // the pattern closed the text: nothing lies beyond
        // Resume one byte into the value: an occurrence right at its first
        // byte is passed over, one further in counts like any other.
        i += pattern.size() + 1;
    }
}

void extractInfValues(const char* text, InfDescriptor& descriptor)
{
    extractInfValue("VENDOR", text, descriptor.vendor);
    extractInfValue("TITLE", text, descriptor.title);
    extractInfValue("VERSION", text, descriptor.version);
    extractInfValue("SIZE", text, descriptor.size);
    extractInfValue("NOTIFY", text, descriptor.notify);
}
