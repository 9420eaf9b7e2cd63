#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace fw {

// A colour as 0x00RRGGBB.
struct Color {
  uint32_t rgb = 0;
};

using PropertyValue = std::variant<std::string, int64_t, bool, double, Color>;

struct Property {
  std::string_view name;
  PropertyValue value;
};

// The starting properties of a window or control, applied by name in one step.
using PropertySet = std::vector<Property>;

// The value as the type a setter takes; another type raises InvalidArgumentException.
const std::string& AsText(const PropertyValue& value);
int64_t AsInteger(const PropertyValue& value);
bool AsBoolean(const PropertyValue& value);  // also from an integer, nonzero being true
double AsDouble(const PropertyValue& value);  // also from an integer
Color AsColor(const PropertyValue& value);

}  // namespace fw
