// Where every control of a window stands for a given client size: the one
// rule of docking and anchors that every backend applies.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "toolkit/layout.h"

namespace tk {

// The width of a container's frame that docked children stay inside: a
// panel's raised line; a group box's children are placed by the table alone.
int FrameInset(Kind kind);

// Each control's rectangle relative to its parent, in pixels at 96 dpi, in
// table order, when the form's client area has the size `client`. Within a
// container, docked children take its edges in table order, bottom ones
// first, then left ones, then the client one gets what is left; the other
// children keep their distance to the edges they are anchored to and stretch
// between two opposite ones. An auto-sized control keeps the width that
// `autoWidth(index)` gives (its measured text), or its table width when unset.
std::vector<Rect> PlaceControls(const FormSpec& form, Size client,
                                const std::function<int(std::size_t index)>& autoWidth = {});

// A dialog of the given outer size centred on its owner's outer rectangle,
// then moved onto the work area.
Rect CentreOn(const Rect& owner, Size dialog, const Rect& workArea);

// The outer rectangle a window opens at, in device pixels: its client area
// `client` (96 dpi) times `scale`, no smaller than `minimum` times `scale`,
// each side no longer than the work area leaves once the frame (`frame`:
// outer size less client size, device pixels) is added; centred on its
// owner's outer rectangle and moved onto the work area. So a window never
// opens larger than the screen's work area, whatever the scale.
Rect FitWindow(Size client, Size minimum, double scale, Size frame, const Rect& owner,
               const Rect& workArea);

}  // namespace tk
