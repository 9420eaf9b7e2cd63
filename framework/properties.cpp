#include "framework/property.h"

#include "framework/ref.h"

namespace fw {
namespace {

template <class T>
const T& Expect(const PropertyValue& value, const char* what) {
  if (const T* v = std::get_if<T>(&value)) return *v;
  throw InvalidArgumentException(std::string("property value is not ") + what);
}

}  // namespace

const std::string& AsText(const PropertyValue& value) { return Expect<std::string>(value, "a text"); }

int64_t AsInteger(const PropertyValue& value) { return Expect<int64_t>(value, "an integer"); }

bool AsBoolean(const PropertyValue& value) {
  if (const int64_t* v = std::get_if<int64_t>(&value)) return *v != 0;
  return Expect<bool>(value, "a Boolean");
}

double AsDouble(const PropertyValue& value) {
  if (const int64_t* v = std::get_if<int64_t>(&value)) return static_cast<double>(*v);
  return Expect<double>(value, "a number");
}

Color AsColor(const PropertyValue& value) { return Expect<Color>(value, "a colour"); }

}  // namespace fw
