// A picture of one colour, drawn in the text colour of the application's palette of the
// moment: it shows on a dark palette as on a light one.
#pragma once

#include <QIcon>
#include <QString>

namespace zirpel {

// The picture's opaque pixels in the palette's button text colour (its disabled one for
// a disabled button); its transparent pixels stay transparent.
[[nodiscard]] QIcon PaletteIcon(const QString& path);

} // namespace zirpel
