// What a screen reader sees of a text entry with a list (an editable combo box) that
// carries a name of its own: that name, with the text typed as its value. Qt names such
// an entry by its text on this platform, so "4142" would be all a reader says of it.
#pragma once

namespace zirpel {

// Teaches QAccessible to build that interface; once is enough, later calls do nothing.
void InstallEntryAccessible();

} // namespace zirpel
