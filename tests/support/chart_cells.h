// What a drawing holds in one cell of the trend chart, read from the
// toolkit's operations as a canvas keeps them.
#pragma once

#include <cstdint>
#include <string>

#include "toolkit/canvas.h"

namespace testsupport {

inline constexpr std::uint32_t kNoCircle = 0xFFFFFFFFu;

// The last operation of this type drawn in the cell: a text centred on it
// (its rectangle is the cell's), a circle inside it; nullptr when none is.
inline const tk::DrawOp* OpIn(const tk::Drawing& ops, tk::DrawOp::Type type, const tk::Rect& cell) {
  const tk::DrawOp* found = nullptr;
  for (const tk::DrawOp& op : ops) {
    if (op.type != type) continue;
    const tk::Rect& r = op.rect;
    const bool in = type == tk::DrawOp::Type::kCircle
                        ? r.left >= cell.left && r.left + r.width <= cell.left + cell.width &&
                              r.top >= cell.top && r.top + r.height <= cell.top + cell.height
                        : r == cell;
    if (in) found = &op;
  }
  return found;
}

// The cell's text; "-" when none is drawn.
inline std::string TextIn(const tk::Drawing& ops, const tk::Rect& cell) {
  const tk::DrawOp* op = OpIn(ops, tk::DrawOp::Type::kText, cell);
  return op != nullptr ? op->text : "-";
}

// The colour of the circle drawn inside the cell; kNoCircle when none is.
inline std::uint32_t CircleIn(const tk::Drawing& ops, const tk::Rect& cell) {
  const tk::DrawOp* op = OpIn(ops, tk::DrawOp::Type::kCircle, cell);
  return op != nullptr ? op->colour : kNoCircle;
}

}  // namespace testsupport
