#include "app/tables.h"

namespace app {

tk::ControlSpec Make(std::string_view name, tk::Kind kind, std::string_view parent, tk::Rect rect,
                     int tab, std::string_view text) {
  tk::ControlSpec c;
  c.name = name;
  c.kind = kind;
  c.parent = parent;
  c.rect = rect;
  c.tabOrder = tab;
  c.text = text;
  return c;
}

tk::ControlSpec Clickable(tk::ControlSpec c, std::string_view handler) {
  c.onClick = handler;
  return c;
}

tk::FormSpec MakeForm(std::string_view name, std::string_view caption, int clientWidth,
                      int clientHeight, const std::vector<tk::ControlSpec>& controls) {
  tk::FormSpec f;
  f.name = name;
  f.caption = caption;
  f.clientWidth = clientWidth;
  f.clientHeight = clientHeight;
  f.fontFace = "宋体";
  f.fontHeight = 14;
  f.controls = controls;
  return f;
}

}  // namespace app
