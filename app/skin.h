#pragma once
// The look shared by every form: the fonts the forms name, with close stand-ins where they
// are not installed, the "Black" skin of the skinnable controls and the balloon hints, as a
// Qt style sheet applied to the whole application.

#include <QColor>
#include <QFont>
#include <QString>

namespace app {

// Tahoma at `pixel_size`; falls back to Liberation Sans, then DejaVu Sans, then the
// toolkit's sans-serif.
QFont TahomaFont(int pixel_size, bool bold = false);

// MS Sans Serif at `pixel_size`, with the same fallbacks.
QFont MsSansSerifFont(int pixel_size, bool bold = false);

// The style sheet of the "Black" skin: buttons, read-only memo, folder picker, progress bar
// and balloon hints (Tahoma 11 px, framed in the dark 3D-shadow colour).
QString BlackSkinStyleSheet();

}  // namespace app
