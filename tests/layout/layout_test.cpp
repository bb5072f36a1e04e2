// The window as a person sees it, on backends with real widgets.
#include <map>
#include <string>
#include <vector>

#include "../behaviour/harness.h"
#include "app/main_table.h"

namespace {

class Layout : public Behaviour {
 protected:
  void SetUp() override {
    Behaviour::SetUp();
    if (!H().LookOf(C("btnDel"))) GTEST_SKIP() << "no real widgets on this backend";
  }
  Look LookOf(std::string_view name) { return *H().LookOf(C(name)); }
  const tk::ControlSpec& DefOf(std::string_view name) { return C(name).Def(); }
};

bool Overlap(const tk::Rect& a, const tk::Rect& b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
         b.top < a.top + a.height;
}

TEST_F(Layout, WindowOpensWithItsCaptionPlaceAndClientSize) {
  EXPECT_EQ(Form().Window().Text(), "Qelmar3D彩票助手");
  auto placement = H().WindowPlacement();
  ASSERT_TRUE(placement);
  EXPECT_EQ(placement->width, 784);
  EXPECT_EQ(placement->height, 562);
  EXPECT_EQ(placement->left, 335);
  EXPECT_EQ(placement->top, 130);
}

TEST_F(Layout, EveryControlStandsWhereTheTableSays) {
  for (tk::Control* c : Form().Controls()) {
    const tk::ControlSpec& s = c->Def();
    if (s.kind == tk::Kind::Timer) continue;
    SCOPED_TRACE(std::string(s.name));
    const Look look = LookOf(s.name);
    EXPECT_TRUE(look.visible);
    EXPECT_EQ(look.rect.left, s.rect.left);
    EXPECT_EQ(look.rect.top, s.rect.top);
    EXPECT_EQ(look.rect.height, s.rect.height);
    if (s.autoSize) {
      EXPECT_GT(look.rect.width, 0);
    } else {
      EXPECT_EQ(look.rect.width, s.rect.width);
    }
  }
}

TEST_F(Layout, NoTwoSiblingsOverlap) {
  std::map<std::string_view, std::vector<tk::Control*>> byParent;
  for (tk::Control* c : Form().Controls()) {
    if (c->Def().kind != tk::Kind::Timer) byParent[c->Def().parent].push_back(c);
  }
  // The count labels at their widest: the list limit and a little beyond.
  C("lblCount").SetText("100000");
  C("lblDelCnt").SetText("100999");
  for (auto& [parent, children] : byParent) {
    for (std::size_t i = 0; i < children.size(); ++i) {
      for (std::size_t j = i + 1; j < children.size(); ++j) {
        const Look a = LookOf(children[i]->Name());
        const Look b = LookOf(children[j]->Name());
        EXPECT_FALSE(Overlap(a.rect, b.rect))
            << children[i]->Name() << " and " << children[j]->Name() << " in " << parent;
      }
    }
  }
}

TEST_F(Layout, TabGoesThroughTheWorkAreaThenTheLists) {
  std::vector<std::string> want = {"btnDel", "edtNum"};
  auto panel = [&](int firstBox, int firstEdit, std::vector<std::string> tail) {
    for (int i = 0; i < 30; ++i) want.push_back("chk" + std::to_string(firstBox + i));
    for (int i = 0; i < 3; ++i) want.push_back("edt" + std::to_string(firstEdit + i));
    want.insert(want.end(), tail.begin(), tail.end());
  };
  panel(1, 1, {"btnGet", "btnAll", "edtRight", "btn3"});
  panel(31, 4, {"btnSel", "btnDelete", "edtDel", "btn4"});
  want.insert(want.end(), {"mmoList", "mmoDel", "btn1", "btn2"});
  EXPECT_EQ(H().TabChain(), want);
}

TEST_F(Layout, ColoursFontsAndCursors) {
  for (int row = 0; row < 6; ++row) {
    for (auto* box : Form().Row(row).boxes) {
      const Look look = LookOf(box->Name());
      EXPECT_EQ(look.textColor == tk::kRed, row % 3 == 1) << box->Name();
      EXPECT_EQ(look.fontPixelHeight, 21) << box->Name();
    }
    EXPECT_EQ(LookOf(Form().Row(row).edit->Name()).fontPixelHeight, 19);
  }
  for (const char* blue : {"lblCount", "lblDelCnt", "lbl10", "lbl12"}) {
    EXPECT_EQ(LookOf(blue).textColor, tk::kBlue) << blue;
  }
  for (const char* link : {"lbl10", "lbl12", "lblTips"}) EXPECT_TRUE(LookOf(link).handCursor);
  EXPECT_FALSE(LookOf("lbl9").handCursor);
  EXPECT_TRUE(LookOf("lblTips").underline);
  EXPECT_EQ(LookOf("lblTips").fontPixelHeight, 13);
  EXPECT_EQ(LookOf("lbl12").fontPixelHeight, 13);
  EXPECT_EQ(LookOf("lbl9").fontPixelHeight, 14);
  for (const char* list : {"mmoList", "mmoDel"}) {
    const Look look = LookOf(list);
    EXPECT_EQ(look.background, tk::kCream) << list;
    EXPECT_TRUE(look.readOnly) << list;
    EXPECT_TRUE(look.keepsSelection) << list;
    EXPECT_EQ(look.fontPixelHeight, 21) << list;
  }
}

TEST_F(Layout, StatusLineShowsItsHint) {
  C("lblTips").SetCaption("提示文字 >>");
  C("lblTips").SetHint("提示文字");
  EXPECT_EQ(LookOf("lblTips").hint, "提示文字");
}

TEST_F(Layout, WideningTheWindowWidensOnlyTheListArea) {
  H().ResizeClient(984, 662);
  EXPECT_EQ(LookOf("pnl1").rect.width, 537);
  EXPECT_EQ(LookOf("pnl2").rect.width, 245 + 200);
  EXPECT_EQ(LookOf("pnl3").rect.width, 984);
  EXPECT_EQ(LookOf("pnl3").rect.top, 662 - 20);
  EXPECT_EQ(LookOf("pnl3").rect.height, 20);
  for (const char* list : {"mmoList", "mmoDel"}) {
    EXPECT_EQ(LookOf(list).rect.width, 223 + 200) << list;
    EXPECT_EQ(LookOf(list).rect.left, 8) << list;
  }
  EXPECT_EQ(LookOf("mmoList").rect.height, 225);
  for (const char* fixed : {"btn1", "btn2", "lblCount", "grp1", "btnDel"}) {
    EXPECT_EQ(LookOf(fixed).rect.left, DefOf(fixed).rect.left) << fixed;
    EXPECT_EQ(LookOf(fixed).rect.width,
              DefOf(fixed).autoSize ? LookOf(fixed).rect.width : DefOf(fixed).rect.width);
  }
}

}  // namespace
