// The one placement rule of every backend, on the program's tables and on
// tables written for the cases they do not have.
#include "toolkit/placement.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string_view>
#include <vector>

#include "app/draws_form.h"
#include "app/draws_table.h"
#include "app/filter_form.h"
#include "app/filter_table.h"
#include "app/main_table.h"
#include "app/main_window.h"
#include "toolkit/headless/headless.h"

namespace tk {
void PrintTo(const Rect& r, std::ostream* os) {
  *os << "{" << r.left << ", " << r.top << ", " << r.width << ", " << r.height << "}";
}
}  // namespace tk

namespace {

tk::Rect At(const tk::FormSpec& form, const std::vector<tk::Rect>& placed, std::string_view name) {
  for (std::size_t i = 0; i < form.controls.size(); ++i) {
    if (form.controls[i].name == name) return placed[i];
  }
  ADD_FAILURE() << "no control " << name;
  return {};
}

tk::ControlSpec Row(std::string_view name, tk::Kind kind, std::string_view parent, tk::Rect rect,
                    tk::Dock dock = tk::Dock::None, unsigned anchors = tk::kAnchorDefault) {
  tk::ControlSpec c;
  c.name = name;
  c.kind = kind;
  c.parent = parent;
  c.rect = rect;
  c.dock = dock;
  c.anchors = anchors;
  return c;
}

tk::FormSpec FormOf(const std::vector<tk::ControlSpec>& rows, int width, int height) {
  tk::FormSpec f;
  f.clientWidth = width;
  f.clientHeight = height;
  f.controls = rows;
  return f;
}

TEST(Placement, TheProgramsWindowsStandAsDrawnAtTheirDesignedSize) {
  for (const tk::FormSpec* form :
       {&app::MainFormSpec(), &app::FilterFormSpec(), &app::DrawsFormSpec()}) {
    const auto placed = tk::PlaceControls(*form, {form->clientWidth, form->clientHeight});
    for (std::size_t i = 0; i < placed.size(); ++i) {
      EXPECT_EQ(placed[i], form->controls[i].rect) << form->controls[i].name;
    }
  }
}

TEST(Placement, TheMainWindowGrowsItsPanelsAndListsOnly) {
  const tk::FormSpec& f = app::MainFormSpec();
  const auto placed = tk::PlaceControls(f, {884, 662});
  EXPECT_EQ(At(f, placed, "pnl3"), (tk::Rect{0, 642, 884, 20}));
  EXPECT_EQ(At(f, placed, "pnl4"), (tk::Rect{0, 0, 884, 642}));
  EXPECT_EQ(At(f, placed, "pnl1"), (tk::Rect{1, 1, 537, 640}));
  EXPECT_EQ(At(f, placed, "pnl2"), (tk::Rect{538, 1, 345, 640}));
  EXPECT_EQ(At(f, placed, "mmoList"), (tk::Rect{8, 32, 323, 225}));
  EXPECT_EQ(At(f, placed, "btn1"), (tk::Rect{160, 4, 73, 25}));
  EXPECT_EQ(At(f, placed, "btnDel"), (tk::Rect{336, 471, 113, 25}));
}

TEST(Placement, ASmallerWindowShrinksWhatStretchesButNeverBelowNothing) {
  const tk::FormSpec& f = app::MainFormSpec();
  const auto placed = tk::PlaceControls(f, {600, 300});
  EXPECT_EQ(At(f, placed, "pnl3"), (tk::Rect{0, 280, 600, 20}));
  EXPECT_EQ(At(f, placed, "pnl2"), (tk::Rect{538, 1, 61, 278}));
  EXPECT_EQ(At(f, placed, "mmoList").width, 39);
  const auto tiny = tk::PlaceControls(f, {300, 10});
  for (const tk::Rect& r : tiny) {
    EXPECT_GE(r.width, 0);
    EXPECT_GE(r.height, 0);
  }
  EXPECT_EQ(At(f, tiny, "mmoList").width, 0);
}

TEST(Placement, ControlsDockedToOneSideStackInTableOrder) {
  using tk::Dock;
  using tk::Kind;
  const std::vector<tk::ControlSpec> rows = {
      Row("status", Kind::Panel, "", {0, 170, 300, 10}, Dock::Bottom),
      Row("tools", Kind::Panel, "", {0, 150, 300, 20}, Dock::Bottom),
      Row("tree", Kind::Panel, "", {0, 0, 50, 150}, Dock::Left),
      Row("props", Kind::Panel, "", {50, 0, 40, 150}, Dock::Left),
      Row("body", Kind::GroupBox, "", {90, 0, 210, 150}, Dock::Client),
      Row("ok", Kind::Button, "body", {100, 120, 80, 20}, Dock::None,
          tk::kAnchorRight | tk::kAnchorBottom),
      Row("note", Kind::Label, "body", {10, 10, 0, 14}),
      Row("inner", Kind::Panel, "tree", {1, 1, 48, 148}, Dock::Client),
  };
  std::vector<tk::ControlSpec> table = rows;
  table[6].autoSize = true;
  const tk::FormSpec f = FormOf(table, 300, 180);
  const auto placed =
      tk::PlaceControls(f, {400, 280}, [](std::size_t i) { return i == 6 ? 77 : -1; });
  EXPECT_EQ(At(f, placed, "status"), (tk::Rect{0, 270, 400, 10}));
  EXPECT_EQ(At(f, placed, "tools"), (tk::Rect{0, 250, 400, 20}));
  EXPECT_EQ(At(f, placed, "tree"), (tk::Rect{0, 0, 50, 250}));
  EXPECT_EQ(At(f, placed, "props"), (tk::Rect{50, 0, 40, 250}));
  EXPECT_EQ(At(f, placed, "body"), (tk::Rect{90, 0, 310, 250}));
  // Anchored to the right and the bottom of the box, which grew by 100 both ways.
  EXPECT_EQ(At(f, placed, "ok"), (tk::Rect{200, 220, 80, 20}));
  EXPECT_EQ(At(f, placed, "note"), (tk::Rect{10, 10, 77, 14}));
  // Docked inside a panel: within its one-pixel frame.
  EXPECT_EQ(At(f, placed, "inner"), (tk::Rect{1, 1, 48, 248}));
}

TEST(Placement, ADialogIsCentredOnItsOwnerAndKeptOnTheWorkArea) {
  const tk::Rect screen{0, 0, 1280, 720};
  EXPECT_EQ(tk::CentreOn({100, 100, 800, 600}, {400, 300}, screen), (tk::Rect{300, 250, 400, 300}));
  EXPECT_EQ(tk::CentreOn({900, 500, 400, 300}, {500, 400}, screen), (tk::Rect{780, 320, 500, 400}));
}

// The draws window (960 × 600 at 96 dpi, at least 720 × 360) over a main
// window at (200, 100), with the frame the system adds at each scale: on a
// laptop's work area at 100 %, 125 % and 150 %, on a taller one, and on one
// beside a taskbar at the left and the top.
TEST(WindowFit, TheDrawsWindowOpensWithinTheWorkAreaAtEveryScale) {
  const tk::Rect owner{200, 100, 800, 600};
  const tk::Size designed{960, 600};
  const tk::Size least{720, 360};
  struct Case {
    tk::Rect work;
    double scale;
    tk::Size frame;
    tk::Rect expected;
  };
  const Case cases[] = {
      // As designed, centred on the main window.
      {{0, 0, 1366, 728}, 1.0, {16, 39}, {112, 81, 976, 639}},
      // 1200 × 750 and its frame is taller than the work area: as tall as it.
      {{0, 0, 1366, 728}, 1.25, {20, 48}, {0, 0, 1220, 728}},
      {{0, 0, 1366, 728}, 1.5, {24, 58}, {0, 0, 1366, 728}},
      {{0, 0, 1280, 984}, 1.0, {16, 39}, {112, 81, 976, 639}},
      {{0, 0, 1280, 984}, 1.25, {20, 48}, {0, 1, 1220, 798}},
      {{0, 0, 1280, 984}, 1.5, {24, 58}, {0, 0, 1280, 958}},
      {{60, 30, 1306, 698}, 1.25, {20, 48}, {60, 30, 1220, 698}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(tk::FitWindow(designed, least, c.scale, c.frame, owner, c.work), c.expected)
        << c.work.width << "x" << c.work.height << " at " << c.scale;
  }
  // A size kept from before that is below the minimum opens at the minimum.
  EXPECT_EQ(tk::FitWindow({500, 300}, least, 1.25, {20, 48}, owner, {0, 0, 1366, 728}),
            (tk::Rect{140, 151, 920, 498}));
  // A work area smaller than the minimum wins over it.
  EXPECT_EQ(tk::FitWindow(designed, least, 1.25, {20, 48}, owner, {0, 0, 800, 480}),
            (tk::Rect{0, 0, 800, 480}));
}

// The same on the headless screen, as the program opens its windows: the
// draws window and the modal conditions window lie on the work area.
TEST(WindowFit, TheProgramsWindowsOpenOnTheHeadlessWorkArea) {
  struct Case {
    tk::Rect work;
    double scale;
    tk::Size frame;
    tk::Size draws;  // client at 96 dpi
  };
  const Case cases[] = {
      {{0, 0, 1366, 728}, 1.0, {16, 39}, {960, 600}},
      {{0, 0, 1366, 728}, 1.25, {20, 48}, {960, 544}},
      {{0, 0, 1366, 728}, 1.5, {24, 58}, {895, 447}},
      {{0, 0, 1280, 984}, 1.0, {16, 39}, {960, 600}},
  };
  for (const Case& c : cases) {
    tk::headless::HeadlessPlatform platform("");
    tk::headless::HeadlessApplication app(platform);
    app.workArea = c.work;
    app.scale = c.scale;
    app.frame = c.frame;
    std::vector<std::string> notices;
    app.SetNoticeHook([&](std::string_view t) { notices.emplace_back(t); });
    TForm1 form(app);
    auto inside = [&](const tk::Rect& r) {
      return r.left >= c.work.left && r.top >= c.work.top &&
             r.left + r.width <= c.work.left + c.work.width &&
             r.top + r.height <= c.work.top + c.work.height;
    };
    form.mniDrawsClick(form.mmoList);
    ASSERT_NE(form.FormDraws, nullptr);
    EXPECT_TRUE(inside(app.Placement(*form.FormDraws))) << c.scale;
    EXPECT_EQ(app.ClientSize(*form.FormDraws), c.draws) << c.scale;
    form.FormDraws->Close();

    form.btnAll.RaiseClick();
    tk::Rect filter;
    tk::Size filterClient;
    app.Post([&] {
      filter = app.Placement(*form.FormFilter);
      filterClient = app.ClientSize(*form.FormFilter);
      form.FormFilter->Close();
    });
    form.mniFilterClick(form.mmoList);
    EXPECT_TRUE(inside(filter)) << c.scale;
    // It cannot be resized, so nothing of it may be cut.
    EXPECT_EQ(filterClient, (tk::Size{894, 446})) << c.scale;
    EXPECT_TRUE(notices.empty());
  }
}

}  // namespace
