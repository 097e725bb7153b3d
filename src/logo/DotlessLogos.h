// Logos that print nothing: a set can be packed whole and still hold a logo without a
// single dot (a dark blue text under the classic rule, a picture too light for the
// threshold). Both front ends name such logos; which they are is decided here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "logo/LogoSet.h"
#include "settings/LogoSettings.h"

namespace printset {

// One logo of a set without a dot.
struct TDotlessLogo {
  int Index = 0;            // its place in the set, from 0
  bool LumaPrints = false;  // whether the luma rule at the same threshold gives it dots
};

// The logos of `set` that have no dot, in set order. `set` is what BuildLogoSet packed
// from `paths` under `settings`; `load` reads the pictures of those logos again, and only
// theirs, to tell whether the luma rule would print them (false when a picture no longer
// loads, or when the rule in use is luma). Empty when `set` is no whole set. Never fails.
std::vector<TDotlessLogo> FindDotlessLogos(const std::vector<uint8_t>& set, const std::vector<std::string>& paths,
                                           const TLogoSettings& settings, const TPictureLoader& load);

// What the operator is told about `logo`, named `name`, under `rule`, e.g. "logo 2
// (navy.png) has no dot under the classic rule: nothing of it will print; the luma rule
// keeps its shapes". Never fails.
std::string DotlessLogoText(const TDotlessLogo& logo, const std::string& name, TDotRule rule);

}  // namespace printset
