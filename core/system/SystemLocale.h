// The toolkit formats sizes and dates (in the open dialog) by the system's locale; the
// program shows them the German way, whatever the system's locale is.
#pragma once

namespace zirpel {

// Call before the application object is made.
void UseGermanSystemLocale();

} // namespace zirpel
