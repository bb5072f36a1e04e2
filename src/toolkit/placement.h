// Where every control of a window stands for a given client size: the one
// rule of docking and anchors that every backend applies.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "toolkit/layout.h"

namespace tk {

struct Size {
  int width = 0;
  int height = 0;
  bool operator==(const Size&) const = default;
};

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

}  // namespace tk
