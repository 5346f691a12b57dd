#pragma once

#include <windows.h>

#include "runtime/forms/form_design.h"
#include "runtime/forms/win32/handles.h"

namespace parvolin::win32 {

// The system's message font at `dpi` and the layout scale it asks for: the
// twip grid grows in proportion to a message font above 9 points (the user's
// text size), by its height alone; unlike dialog units, the width does not
// follow the font's average character width. Without a font of its own
// Windows draws the controls in the bold System font.
struct WindowFont {
    UniqueFont font;
    double scale = 1.0;
};
WindowFont messageFont(UINT dpi);
double messageFontScale(UINT dpi);

// Whether `font` is the message font the system gives at `dpi` now; true
// when the system cannot say.
bool isMessageFont(HFONT font, UINT dpi);

// The work area of the monitor that holds most of `window`: the screen less
// the taskbar and the bars docked to its edges.
RECT workAreaOf(HWND window);

// The size of a label's caption drawn in `font`.
SIZE captionSize(HWND label, HFONT font);

// The outer size, frame and caption included, of a window of the program's
// frame style whose client area is `clientWidth` by `clientHeight` twips, at
// `dpi` and grown by `scale`.
SIZE windowSizeForClient(int clientWidth, int clientHeight, UINT dpi, double scale);

// Gives a closed drop-down combo box the height `height`: Windows sizes it
// from its font, which leaves it shorter than a text box of the same design
// height beside it at most scales.
void setClosedComboHeight(HWND combo, int height);

}  // namespace parvolin::win32
