#pragma once

#include <QSize>

#include "runtime/forms/form_design.h"

class QWidget;

namespace parvolin::qt {

// The scale a window built from `design` is laid out at, for its font: the
// size the text is drawn at (see layoutScale), and more where a caption or
// a list item, measured as the font draws it, would not fit its place at
// that size (a bold or wide font). The window's controls must exist, as its
// children named as designed.
double layoutScaleFor(const QWidget& window, const FormDesign& design);

// The largest scale at which the design's client area fits `room` (the
// screen's available area less the frame), never below the design size;
// without bounds for an invalid room.
double scaleFitting(const FormDesign& design, QSize room);

}  // namespace parvolin::qt
