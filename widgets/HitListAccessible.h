// What a screen reader sees of the hit list: a list whose children are the entries in
// view, each with its text, whether it is selected and whether it is the current entry.
// The list may hold two billion entries, so only those in view become objects.
#pragma once

namespace zirpel {

// Teaches QAccessible to build that interface for every HitListView; once is enough,
// later calls do nothing.
void InstallHitListAccessible();

} // namespace zirpel
