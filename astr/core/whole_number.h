// A whole number as a user or a file writes it: digits only (decimal, or
// hexadecimal where asked), with no sign, blank or anything after them,
// within a range. The one reader of such numbers for astrelle's command
// line, its count file and astr-sim.
#pragma once

#include <charconv>
#include <string_view>

template <typename Number>
bool parseWholeNumber(std::string_view text, Number lowest, Number highest, Number& value, int base = 10)
{
    if (text.empty() || text[0] == '-')  // from_chars takes a minus for a signed number
        return false;
    Number parsed{};
    const char* const end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, parsed, base);
    if (error != std::errc{} || stop != end || parsed < lowest || parsed > highest)
        return false;
    value = parsed;
    return true;
}
