// How a window shows a request the core refused before anything was sent: which box,
// captioned how, with which words.
#pragma once

#include "frontend/FrontEndView.h"
#include "frontend/Request.h"

namespace printset {

// The caption of the box that refuses an image that is no firmware image.
constexpr const char* kInvalidFileCaption = "Print Tool";

// Shows `refusal` through `view`: an image that is none in the "Invalid file" box
// captioned kInvalidFileCaption; a logo set that stopped short in an "ERROR" box with the
// text beneath; anything else in the error box captioned with the program's title, its
// text ending in a full stop. Never fails.
void ShowRefusal(TFrontEndView& view, const TRefusal& refusal);

}  // namespace printset
