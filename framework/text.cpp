#include "framework/text.h"

#include <charconv>
#include <cmath>

namespace fw {
namespace {

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Byte offset of the character after the first count characters.
size_t OffsetOfCharacter(std::string_view text, int64_t count) {
  size_t i = 0;
  for (int64_t seen = 0; i < text.size() && seen < count; ++seen) {
    ++i;
    while (i < text.size() && IsContinuationByte(text[i])) ++i;
  }
  return i;
}

}  // namespace

std::string Str(int64_t value) { return std::to_string(value); }

// Independent of the process locale: the point is always a full stop.
std::string Str(double value) {
  char buffer[64];
  if (!std::isfinite(value) || std::abs(value) >= 1e6)
    return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 7).ptr);
  std::string text(buffer, std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 3).ptr);
  text.erase(text.find_last_not_of('0') + 1);
  if (text.back() == '.') text.pop_back();
  return text == "-0" ? "0" : text;
}

std::string Chr(int64_t code) {
  if (code < 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return {};
  const auto c = static_cast<uint32_t>(code);
  std::string out;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

std::string Left(std::string_view text, int64_t count) {
  if (count <= 0) return {};
  return std::string(text.substr(0, OffsetOfCharacter(text, count)));
}

int64_t Len(std::string_view text) {
  int64_t n = 0;
  for (char c : text) n += IsContinuationByte(c) ? 0 : 1;
  return n;
}

}  // namespace fw
