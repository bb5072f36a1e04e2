// The conditions window over all 1,000 numbers, and 组选 on the bet list,
// driven through the real window of each backend.
#include <functional>
#include <string>
#include <vector>

#include "filter_window.h"
#include "numbers/filter.h"
#include "toolkit/text.h"

namespace {

using Numbers = std::vector<std::string>;

std::string Count(int lines, int meeting, int going) {
  return "投注列表 " + std::to_string(lines) + " 注，符合条件 " + std::to_string(meeting) +
         " 注，将删除 " + std::to_string(going) + " 注";
}

// The numbers 000-999 that `keep` picks, in order: the expectation, worked
// out apart from the program.
Numbers AllWhere(const std::function<bool(int, int, int)>& keep) {
  Numbers out;
  for (int n = 0; n < 1000; ++n) {
    if (keep(n / 100, n / 10 % 10, n % 10)) {
      out.push_back({static_cast<char>('0' + n / 100), static_cast<char>('0' + n / 10 % 10),
                     static_cast<char>('0' + n % 10)});
    }
  }
  return out;
}

TEST_F(FilterWindow, ReferenceCountsOverAllNumbersAndCancelChangesNothing) {
  Click("btnAll");
  InWindow({
      [&] {
        EXPECT_EQ(W().Window().Text(), "条件过滤");
        EXPECT_EQ(Shown(), Count(1000, 1000, 0));  // nothing ticked: nothing goes
        EXPECT_FALSE(CanAct());
        EXPECT_TRUE(W().Get<tk::CheckBox>("rdoKeep").Checked());
        EXPECT_TRUE(W().Get<tk::CheckBox>("rdoDanAny").Checked());
        Tap("chkSum");
        Retype("edtSum", "13");
        EXPECT_EQ(Shown(), Count(1000, 75, 925));
        EXPECT_TRUE(CanAct());
        Retype("edtSum", "0");
        EXPECT_EQ(Shown(), Count(1000, 1, 999));
        Retype("edtSum", "27");
        EXPECT_EQ(Shown(), Count(1000, 1, 999));
        Tap("chkSum");
        Tap("chkSpan");
        Retype("edtSpan", "9");
        EXPECT_EQ(Shown(), Count(1000, 54, 946));
        Tap("chkSpan");
        Tap("chkShape");
        Tap("chkZu3");
        EXPECT_EQ(Shown(), Count(1000, 270, 730));
        Tap("chkShape");
        Tap("chkOdd");
        Tap("chkOdd21");
        EXPECT_EQ(Shown(), Count(1000, 375, 625));
        Tap("chkOdd");
        Tap("chkRoad");
        Retype("edtRoad", "1:1:1");
        EXPECT_EQ(Shown(), Count(1000, 216, 784));
        Tap("chkRoad");
        Tap("chkDan");
        Retype("edtDan", "1");
        EXPECT_EQ(Shown(), Count(1000, 271, 729));
        // Both 1 and 2: 1000 - 729 - 729 + 512.
        Retype("edtDan", "1、2");
        Tap("rdoDanAll");
        EXPECT_EQ(Shown(), Count(1000, 54, 946));
        // The options are two groups: the mode keeps its own.
        EXPECT_TRUE(W().Get<tk::CheckBox>("rdoKeep").Checked());
        EXPECT_FALSE(W().Get<tk::CheckBox>("rdoDanAny").Checked());
        Tap("chkDan");
        Tap("chkKill");
        Retype("edtKill", "1");
        EXPECT_EQ(Shown(), Count(1000, 729, 271));
        Tap("btnFilterCancel");
      },
  });
  EXPECT_EQ(Lines("mmoList").size(), 1000u);
  EXPECT_EQ(Text("lblCount"), "1000");
  EXPECT_TRUE(Lines("mmoDel").empty());
  EXPECT_TRUE(Rec().notices.empty());
}

TEST_F(FilterWindow, DeletingKeepsTheOrderAndTheSettingsStayForTheNextOpening) {
  Click("btnAll");
  InWindow({[&] {
    Tap("chkSum");
    Retype("edtSum", "10-14,18");
    Tap("btnFilterDelete");
  }});
  const Numbers kept = AllWhere([](int a, int b, int c) {
    const int s = a + b + c;
    return (s >= 10 && s <= 14) || s == 18;
  });
  EXPECT_EQ(Lines("mmoList"), kept);
  EXPECT_EQ(Text("lblCount"), std::to_string(kept.size()));
  EXPECT_EQ(User().ShownListText(C("mmoList")).size(), kept.size() * 4);

  // Opened again: the same settings, now nothing to delete.
  InWindow({[&] {
    EXPECT_TRUE(W().Get<tk::CheckBox>("chkSum").Checked());
    EXPECT_EQ(D("edtSum").Text(), "10-14,18");
    EXPECT_EQ(Shown(), Count(static_cast<int>(kept.size()), static_cast<int>(kept.size()), 0));
    EXPECT_FALSE(CanAct());
    // Combined: of those, the 组六 with an odd-even ratio of 3:0 or 0:3 go.
    Tap("chkShape");
    Tap("chkZu6");
    Tap("chkOdd");
    Tap("chkOdd30");
    Tap("chkOdd03");
    Tap("rdoDrop");
    Tap("btnFilterDelete");
  }});
  const Numbers rest = AllWhere([](int a, int b, int c) {
    const int s = a + b + c;
    const int odd = a % 2 + b % 2 + c % 2;
    const bool zu6 = a != b && b != c && a != c;
    return ((s >= 10 && s <= 14) || s == 18) && !(zu6 && (odd == 0 || odd == 3));
  });
  EXPECT_EQ(Lines("mmoList"), rest);
  EXPECT_EQ(Text("lblCount"), std::to_string(rest.size()));
  EXPECT_EQ(Form().FilterSettings.dropMatching, true);
}

TEST_F(FilterWindow, TheDeletionListPathEndsInDeleteConfirm) {
  Click("btnAll");
  AddNumbers(false, {"999"});
  InWindow({[&] {
    Tap("chkShape");
    Tap("chkZu6");
    Tap("chkKill");
    Retype("edtKill", "0");
    Tap("rdoDrop");
    EXPECT_EQ(Shown(), Count(1000, 504, 504));  // 9 x 8 x 7
    Tap("btnFilterToDel");
  }});
  const Numbers going =
      AllWhere([](int a, int b, int c) { return a != b && b != c && a != c && a * b * c != 0; });
  EXPECT_EQ(Lines("mmoDel"), going);  // replaced, in bet-list order
  EXPECT_EQ(Text("lblDelCnt"), "504");
  EXPECT_EQ(Lines("mmoList").size(), 1000u);
  Click("btnDelete");
  EXPECT_EQ(Lines("mmoList").size(), 496u);
  EXPECT_EQ(Text("lblCount"), "496");
  EXPECT_EQ(Lines("mmoList")[1], "001");
}

TEST_F(FilterWindow, InvalidInputShowsHowToWriteItAndDisablesTheButtons) {
  AddNumbers(true, {"123", "456", "1a2"});
  InWindow({[&] {
    Tap("chkSum");
    EXPECT_EQ(Shown(), numbers::kSumInvalid);  // ticked and empty
    EXPECT_FALSE(CanAct());
    User().Type(D("edtSum"), "28");
    EXPECT_EQ(Shown(), numbers::kSumInvalid);
    EXPECT_FALSE(CanAct());
    User().TypeChar(D("edtSum"), tk::kBackspace);
    // 2 meets nothing here; the line that is not three digits fails too.
    EXPECT_EQ(Shown(), Count(3, 0, 3));
    EXPECT_TRUE(CanAct());
    User().Type(D("edtSum"), "a");
    EXPECT_EQ(Shown(), numbers::kSumInvalid);
    Retype("edtSum", "6");
    EXPECT_EQ(Shown(), Count(3, 1, 2));
    Tap("chkRoad");
    Retype("edtRoad", "1:1:2");
    EXPECT_EQ(Shown(), numbers::kRoadInvalid);
    EXPECT_FALSE(CanAct());
    Tap("btnFilterDelete");  // disabled: takes no click
    EXPECT_NE(Form().FormFilter, nullptr);
    Retype("edtRoad", "１:１:１");  // fullwidth digits
    EXPECT_EQ(Shown(), Count(3, 1, 2));
    User().CloseWindow(W());
  }});
  EXPECT_EQ(Lines("mmoList"), (Numbers{"123", "456", "1a2"}));
  EXPECT_EQ(Text("lblCount"), "3");
  // The settings stay after the close box too.
  EXPECT_TRUE(Form().FilterSettings.road);
  EXPECT_EQ(Form().FilterSettings.sumText, "6");
}

TEST_F(FilterWindow, GroupBetsAndTheirExpansion) {
  Click("btnAll");
  User().UseContextMenu(C("mmoList"), tk::UserDriver::MenuKey::ShiftF10, U'G');
  EXPECT_EQ(Lines("mmoList").size(), 210u);
  EXPECT_EQ(Text("lblCount"), "210");
  EXPECT_EQ(Lines("mmoList").front(), "001");
  EXPECT_EQ(User().ShownListText(C("mmoList")).size(), 210u * 4);
  User().UseContextMenu(C("mmoList"), tk::UserDriver::MenuKey::RightClick, U'Z');
  EXPECT_EQ(Lines("mmoList").size(), 990u);
  EXPECT_EQ(Text("lblCount"), "990");
  EXPECT_EQ(User().ShownListText(C("mmoList")).size(), 990u * 4);
  EXPECT_TRUE(Rec().notices.empty());
}

TEST_F(FilterWindow, AnEmptyBetListIsRefusedByEveryItem) {
  AddNumbers(false, {"123"});
  // Through the bet list's own menu, by mouse and by keyboard.
  User().UseContextMenu(C("mmoList"), tk::UserDriver::MenuKey::RightClick, U'F');
  User().UseContextMenu(C("mmoList"), tk::UserDriver::MenuKey::ShiftF10, U'G');
  User().UseContextMenu(C("mmoList"), tk::UserDriver::MenuKey::MenuKey, U'Z');
  const std::string notice(numbers::kEmptyBetList);
  EXPECT_EQ(Rec().notices, (Numbers{notice, notice, notice}));
  EXPECT_EQ(Form().FormFilter, nullptr);
  EXPECT_TRUE(Lines("mmoList").empty());
  EXPECT_EQ(Lines("mmoDel"), Numbers{"123"});
}

}  // namespace
