#pragma once

#include <string_view>

namespace karuta {

// InitialValue of ListBox1: the poems of card numbers 0 to 49.
extern const std::string_view kListBox1Rows;
// InitialValue of ListBox3: the poems of card numbers 50 to 99.
extern const std::string_view kListBox3Rows;

}  // namespace karuta
