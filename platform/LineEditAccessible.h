// What a screen reader sees of a one-line text entry, the program's own and those of the
// open dialog. The toolkit's own interface reports no run of text attributes, and a
// reader that splits a line by such runs (Orca) then drops the entry's last character:
// "daten-eins.bin" is read "daten-eins.bi", a typed "5A" is read "5". Here the whole
// text is one run.
#pragma once

namespace zirpel {

// Teaches QAccessible to build that interface for every QLineEdit; once is enough.
void InstallLineEditAccessible();

} // namespace zirpel
