#pragma once
// The 23-character date_added form ("YYYY-MM-DD HH:MM:SS.mmm") straight between UTF-8 bytes
// and DateTime, without the round trip through QString and the regular expressions; the
// results are those of DateTime::Text() and DateTime::Parse().

#include <cstddef>
#include <string_view>

#include "util/DateTime.h"

namespace tessary {

// Leaves `out` unchanged when the text is not a valid date and time.
bool ParseDateAdded(std::string_view utf8, DateTime& out);
// Writes the text; returns its length (23 for every date from year 1000 to 9999).
size_t FormatDateAdded(const DateTime& when, char* out, size_t capacity);

} // namespace tessary
