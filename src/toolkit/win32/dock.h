// Where a control stands after its parent was resized: docked controls fill
// their side, anchored ones keep their distance to the anchored edges. All in
// pixels at 96 dpi.
#pragma once

#include "toolkit/layout.h"

namespace tk::win32 {

struct Size {
  int width = 0;
  int height = 0;
};

// `designed` is the parent's size in the table, `now` its current size.
inline Rect Place(const ControlSpec& def, Size designed, Size now) {
  const Rect& r = def.rect;
  const int dw = now.width - designed.width;
  const int dh = now.height - designed.height;
  Rect out = r;
  switch (def.dock) {
    case Dock::Bottom:
      out.top = r.top + dh;
      out.width = r.width + dw;
      return out;
    case Dock::Left:
      out.height = r.height + dh;
      return out;
    case Dock::Client:
      out.width = r.width + dw;
      out.height = r.height + dh;
      return out;
    case Dock::None:
      break;
  }
  const bool left = (def.anchors & kAnchorLeft) != 0;
  const bool right = (def.anchors & kAnchorRight) != 0;
  const bool top = (def.anchors & kAnchorTop) != 0;
  const bool bottom = (def.anchors & kAnchorBottom) != 0;
  if (left && right) {
    out.width = r.width + dw;
  } else if (right) {
    out.left = r.left + dw;
  }
  if (top && bottom) {
    out.height = r.height + dh;
  } else if (bottom) {
    out.top = r.top + dh;
  }
  return out;
}

}  // namespace tk::win32
