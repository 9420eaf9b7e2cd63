#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Text functions. Texts are UTF-8; lengths and cuts count characters.
namespace fw {

std::string Str(int64_t value);
// Rounded to thousandths without trailing zeros (5.3 gives "5.3", 5.4928
// gives "5.493"); from a million on, 7 significant digits ("1.7e+09").
std::string Str(double value);
// The text of one character code; an invalid code gives the empty text.
std::string Chr(int64_t code);
// The first count characters; a negative count gives the empty text.
std::string Left(std::string_view text, int64_t count);
int64_t Len(std::string_view text);

}  // namespace fw
