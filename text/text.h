#pragma once
// Text operations with the program's own conventions: texts are byte strings, positions count from 1,
// parts that fall outside a text are empty or cut at its end, and nothing is ever trimmed.

#include <cstddef>
#include <string>
#include <string_view>

namespace quillfex {

// The first n bytes; empty for n <= 0, the whole text for n at or above its length.
std::string leftPart(std::string_view text, long n);

// The last n bytes; empty for n <= 0, the whole text for n at or above its length.
std::string rightPart(std::string_view text, long n);

// From position start (from 1) up to the end; empty when start lies below 1 or beyond the end.
std::string middlePart(std::string_view text, long start);

// At most count bytes from position start; empty when start lies outside the text or count <= 0.
std::string middlePart(std::string_view text, long start, long count);

// Position (from 1) of the first occurrence of pattern, or 0.
long findText(std::string_view text, std::string_view pattern);

// Only A to Z are lowered: other bytes, those above 127 included, stay as they are.
std::string lowerCase(std::string_view text);

// Equal when lowered as lowerCase lowers: how Windows matches names, switches and ids.
bool equalIgnoringCase(std::string_view a, std::string_view b);

}  // namespace quillfex
