// How a fuzz target reports a broken property: at once, as a crash libFuzzer keeps.
#pragma once

#include <cstdlib>

namespace printset {

// Aborts the process when `holds` is false; libFuzzer saves the input as a crash.
inline void Require(bool holds) {
  if (!holds) std::abort();
}

}  // namespace printset
