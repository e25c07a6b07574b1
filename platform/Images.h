// The program's pictures (the tool bar's, the icon and the about box's), compiled into
// the GUI library.
#pragma once

namespace zirpel {

// Registers the pictures; called before their first use, any number of times.
void InitImages();

} // namespace zirpel
