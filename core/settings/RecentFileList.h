// The four-slot list of recently opened files: index 0 the most recent, an empty
// string an empty slot. Names are compared exactly, letter case included.
#pragma once

#include <QString>
#include <array>

namespace zirpel {

inline constexpr int kRecentFiles = 4;
using RecentList = std::array<QString, kRecentFiles>;

// Puts name at the top: an entry equal to it moves up, else every entry moves down
// and the oldest is dropped.
void AddToTop(RecentList& list, const QString& name);
// Moves the entry at index to the top; the entries above it move down by one.
void MoveIndexToTop(RecentList& list, int index);
// Removes the entry at index; the entries after it move up and the last slot empties.
void RemoveAt(RecentList& list, int index);
// The caption of menu item k (1 to kRecentFiles): "&k  " followed by the name.
[[nodiscard]] QString RecentCaption(int k, const QString& name);

} // namespace zirpel
