#include "toolkit/placement.h"

#include <algorithm>
#include <string_view>

#include "toolkit/toolkit.h"

namespace tk {

int FrameInset(Kind kind) {
  return kind == Kind::Panel ? 1 : 0;
}

namespace {

bool IsContainer(Kind kind) {
  return kind == Kind::Panel || kind == Kind::GroupBox;
}

// Places the children of one container whose designed size is `designed`
// and whose size is now `now`.
void PlaceChildren(const FormSpec& form, std::string_view container, Kind kind, Size designed,
                   Size now, const std::function<int(std::size_t)>& autoWidth,
                   std::vector<Rect>& out) {
  const int inset = FrameInset(kind);
  int freeLeft = inset;
  int freeTop = inset;
  int freeRight = now.width - inset;
  int freeBottom = now.height - inset;
  const int dw = now.width - designed.width;
  const int dh = now.height - designed.height;
  const auto& controls = form.controls;
  for (Dock pass : {Dock::Bottom, Dock::Left, Dock::Client}) {
    for (std::size_t i = 0; i < controls.size(); ++i) {
      const ControlSpec& c = controls[i];
      if (c.parent != container || c.dock != pass) continue;
      Rect& r = out[i];
      if (pass == Dock::Bottom) {
        r = {freeLeft, freeBottom - c.rect.height, freeRight - freeLeft, c.rect.height};
        freeBottom -= c.rect.height;
      } else if (pass == Dock::Left) {
        r = {freeLeft, freeTop, c.rect.width, freeBottom - freeTop};
        freeLeft += c.rect.width;
      } else {
        r = {freeLeft, freeTop, freeRight - freeLeft, freeBottom - freeTop};
      }
      r.width = std::max(r.width, 0);
      r.height = std::max(r.height, 0);
    }
  }
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const ControlSpec& c = controls[i];
    if (c.parent != container || c.dock != Dock::None) continue;
    const unsigned a = c.anchors;
    const bool left = (a & kAnchorLeft) != 0;
    const bool right = (a & kAnchorRight) != 0;
    const bool top = (a & kAnchorTop) != 0;
    const bool bottom = (a & kAnchorBottom) != 0;
    Rect r = c.rect;
    if (c.autoSize && autoWidth) r.width = autoWidth(i);
    if (left && right) {
      r.width += dw;
    } else if (right) {
      r.left += dw;
    }
    if (top && bottom) {
      r.height += dh;
    } else if (bottom) {
      r.top += dh;
    }
    r.width = std::max(r.width, 0);
    r.height = std::max(r.height, 0);
    out[i] = r;
  }
}

}  // namespace

std::vector<Rect> PlaceControls(const FormSpec& form, Size client,
                                const std::function<int(std::size_t)>& autoWidth) {
  std::vector<Rect> out(form.controls.size());
  PlaceChildren(form, {}, Kind::Form, {form.clientWidth, form.clientHeight}, client, autoWidth,
                out);
  // Parents come before their children in the table, so each container's
  // own place is known when its children are placed.
  for (std::size_t i = 0; i < form.controls.size(); ++i) {
    const ControlSpec& c = form.controls[i];
    if (!IsContainer(c.kind)) continue;
    PlaceChildren(form, c.name, c.kind, {c.rect.width, c.rect.height},
                  {out[i].width, out[i].height}, autoWidth, out);
  }
  return out;
}

Rect CentreOn(const Rect& owner, Size dialog, const Rect& workArea) {
  return FitOnScreen({owner.left + (owner.width - dialog.width) / 2,
                      owner.top + (owner.height - dialog.height) / 2, dialog.width, dialog.height},
                     workArea);
}

Rect FitWindow(Size client, Size minimum, double scale, Size frame, const Rect& owner,
               const Rect& workArea) {
  auto side = [&](int wanted, int least, int border, int room) {
    const int scaled = static_cast<int>(wanted * scale + 0.5);
    const int floor = static_cast<int>(least * scale + 0.5);
    return std::max(std::min(std::max(scaled, floor), room - border), 1) + border;
  };
  const Size outer{side(client.width, minimum.width, frame.width, workArea.width),
                   side(client.height, minimum.height, frame.height, workArea.height)};
  return CentreOn(owner, outer, workArea);
}

}  // namespace tk
