// What is read from the CODE PAGE box.
#pragma once

class QComboBox;

namespace printset {

// The entry `box` stands on, as the core's CodePageEntry chooses it from the box's
// entries, current entry and text; the box then shows that entry selected. -1 when the
// box has no entries at all (SET then sends code page 0). Text that is no entry throws
// std::runtime_error naming the entries, so that a printer is never sent a code page the
// operator did not choose.
int ChosenCodePageIndex(QComboBox* box);

}  // namespace printset
