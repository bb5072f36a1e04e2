// The conditions window as a person sees it, on backends with real widgets.
#include <map>
#include <string>
#include <vector>

#include "../behaviour/filter_window.h"

namespace {

using FilterLayout = FilterWindow;

bool Overlap(const tk::Rect& a, const tk::Rect& b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
         b.top < a.top + a.height;
}

TEST_F(FilterLayout, EveryControlStandsWhereTheTableSaysAndNoSiblingsOverlap) {
  if (!H().LookOf(C("btnDel"))) GTEST_SKIP() << "no real widgets on this backend";
  AddNumbers(true, {"123"});
  InWindow({[&] {
    std::map<std::string_view, std::vector<tk::Control*>> byParent;
    for (tk::Control* c : W().Controls()) {
      const tk::ControlSpec& s = c->Def();
      SCOPED_TRACE(std::string(s.name));
      const Look look = *H().LookOf(*c);
      EXPECT_TRUE(look.visible);
      EXPECT_EQ(look.rect.left, s.rect.left);
      EXPECT_EQ(look.rect.top, s.rect.top);
      EXPECT_EQ(look.rect.width, s.rect.width);
      EXPECT_EQ(look.rect.height, s.rect.height);
      byParent[s.parent].push_back(c);
      // Inside the window, and inside its group.
      const tk::Rect outer =
          s.parent.empty() ? W().WindowSpec().rect : W().Find(s.parent).Def().rect;
      EXPECT_LE(s.rect.left + s.rect.width, outer.width);
      EXPECT_LE(s.rect.top + s.rect.height, outer.height);
    }
    for (auto& [parent, children] : byParent) {
      for (std::size_t i = 0; i < children.size(); ++i) {
        for (std::size_t j = i + 1; j < children.size(); ++j) {
          EXPECT_FALSE(Overlap(children[i]->Def().rect, children[j]->Def().rect))
              << children[i]->Name() << " and " << children[j]->Name() << " in " << parent;
        }
      }
    }
    Tap("btnFilterCancel");
  }});
}

}  // namespace
