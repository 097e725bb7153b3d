// The --json output: the core's JSON lines (frontend/Json.h), as every verb writes them.
#pragma once

#include "frontend/Json.h"
