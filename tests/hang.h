#pragma once

namespace karuta::testing {

// How long a test waits for what it awaits before it calls it a hang: far
// above the slowest run seen, the sanitizer build on a loaded machine
// included. A wait ends as soon as its condition holds; a deadline is no
// measurement.
inline constexpr int kHangMs = 60'000;

}  // namespace karuta::testing
