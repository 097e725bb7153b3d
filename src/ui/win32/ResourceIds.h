/* The ids of the program's resources, shared by the resource script and the window;
   plain macros, since the resource compiler reads this file too. */
#pragma once

#define PRINTSET_ICON 1
