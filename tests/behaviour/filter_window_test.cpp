// The conditions window over all 1,000 numbers, and 组选 on the bet list,
// driven through the real window of each backend.
#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "conditions/conditions.h"
#include "conditions/scheme.h"
#include "core/text.h"
#include "draws/draws.h"
#include "filter_window.h"
#include "toolkit/ask_text.h"

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

// How many of 000-999 `meets` picks: worked out from the definitions, apart
// from the program.
int CountWhere(const std::function<bool(int, int, int)>& meets) {
  return static_cast<int>(AllWhere(meets).size());
}

TEST_F(FilterWindow, TheNewConditionsCountOverAllNumbersAndOneClickTicksThem) {
  Click("btnAll");
  InWindow({[&] {
    // Typing into an input ticks its condition; unticking keeps the input.
    Retype("edtPosH", "12");
    EXPECT_TRUE(W().Get<tk::CheckBox>("chkPos").Checked());
    Retype("edtPosU", "3");
    EXPECT_EQ(Shown(), Count(1000, 20, 980));
    Tap("chkPos");
    EXPECT_EQ(D("edtPosH").Text(), "12");
    EXPECT_EQ(Shown(), Count(1000, 1000, 0));
    // Emptying an input of an unticked condition does not tick it.
    Retype("edtPosU", "");
    EXPECT_FALSE(W().Get<tk::CheckBox>("chkPos").Checked());
    Retype("edtPosH", "");

    Retype("edtPair", "12");
    EXPECT_EQ(Shown(), Count(1000, 54, 946));
    Retype("edtPair", "12 35");
    EXPECT_EQ(Shown(), Count(1000, 108, 892));
    Retype("edtPair", "1");
    EXPECT_EQ(Shown(), numbers::kPairInvalid);
    EXPECT_FALSE(CanAct());
    Tap("chkPair");
    Retype("edtPairDiff", "0");
    EXPECT_EQ(Shown(), Count(1000, 280, 720));
    Retype("edtPairDiff", "9");
    EXPECT_EQ(Shown(), Count(1000, 54, 946));
    Tap("chkPairDiff");
    Retype("edtPairSum", "0");
    EXPECT_EQ(Shown(), Count(1000, 272, 728));
    Tap("chkPairSum");
    Retype("edtDzx", "1:1:1");
    EXPECT_EQ(Shown(), Count(1000, 6 * 3 * 4 * 3, 1000 - 216));
    Tap("chkDzx");

    // Ticking one of a condition's boxes ticks it; unticking the box leaves it.
    const char* primes[] = {"chkPrime30", "chkPrime21", "chkPrime12", "chkPrime03"};
    const int expected[] = {125, 375, 375, 125};
    for (int i = 0; i < 4; ++i) {
      Tap(primes[i]);
      EXPECT_TRUE(W().Get<tk::CheckBox>("chkPrime").Checked());
      EXPECT_EQ(Shown(), Count(1000, expected[i], 1000 - expected[i])) << primes[i];
      Tap(primes[i]);
    }
    EXPECT_EQ(Shown(), numbers::kPrimeInvalid);
    Tap("chkPrime");
    Tap("chkRunFull");
    EXPECT_EQ(Shown(), Count(1000, 48, 952));
    Tap("chkRun");

    // Three conditions together, none allowed to miss, then one.
    Retype("edtSum", "13");
    Retype("edtSpan", "5");
    Tap("chkZu6");
    EXPECT_TRUE(W().Get<tk::CheckBox>("chkShape").Checked());
    EXPECT_EQ(Shown(), Count(1000, 6, 994));
    const auto misses = [](int a, int b, int c) {
      return (a + b + c != 13) + (std::max({a, b, c}) - std::min({a, b, c}) != 5) +
             !(a != b && b != c && a != c);
    };
    Retype("edtTolerance", "1");
    const int one = CountWhere([&](int a, int b, int c) { return misses(a, b, c) == 1; });
    EXPECT_EQ(Shown(), "投注列表 1000 注：全中 6 注，错一 " + std::to_string(one) + " 注；将删除 " +
                           std::to_string(1000 - 6 - one) + " 注");
    const int two = CountWhere([&](int a, int b, int c) { return misses(a, b, c) == 2; });
    Retype("edtTolerance", "2");
    Tap("rdoDrop");
    EXPECT_EQ(Shown(), "投注列表 1000 注：全中 6 注，错一 " + std::to_string(one) + " 注，错二 " +
                           std::to_string(two) + " 注；将删除 " + std::to_string(6 + one + two) +
                           " 注");
    Retype("edtTolerance", "3");
    EXPECT_EQ(Shown(), numbers::ToleranceInvalidText(3));
    EXPECT_FALSE(CanAct());
    Tap("btnFilterCancel");
  }});
  EXPECT_EQ(Lines("mmoList").size(), 1000u);
}

TEST_F(FilterWindow, EmptyingAConditionsInputsUnticksIt) {
  Click("btnAll");
  InWindow({[&] {
    Retype("edtSum", "13");
    EXPECT_TRUE(W().Get<tk::CheckBox>("chkSum").Checked());
    Retype("edtSum", "");
    EXPECT_FALSE(W().Get<tk::CheckBox>("chkSum").Checked());
    EXPECT_EQ(Shown(), Count(1000, 1000, 0));  // not a complaint about the empty input
    // 定位 stays while one of its places holds digits; blanks are empty.
    Retype("edtPosH", "1");
    Retype("edtPosU", "2");
    Retype("edtPosH", "");
    EXPECT_TRUE(W().Get<tk::CheckBox>("chkPos").Checked());
    EXPECT_EQ(Shown(), Count(1000, 100, 900));
    Retype("edtPosU", " ");
    EXPECT_FALSE(W().Get<tk::CheckBox>("chkPos").Checked());
    // A box of the condition unticked leaves it ticked, as before.
    Tap("chkZu6");
    Tap("chkZu6");
    EXPECT_TRUE(W().Get<tk::CheckBox>("chkShape").Checked());
    Tap("btnFilterCancel");
  }});
  EXPECT_FALSE(Form().FilterSettings.sum);
}

TEST_F(FilterWindow, TheSummaryReadsTheChosenConditions) {
  AddNumbers(true, {"123"});
  Data().Write(std::string(numbers::kDrawsFileName),
               numbers::DrawsFileBytes({{2024001, 7, "", 357}}));
  InWindow({[&] {
    EXPECT_EQ(W().lblFilterSummary.Text(), "已选条件：无");
    Retype("edtSum", "10-14,18");
    Tap("chkZu6");
    Retype("edtKill", "4");
    Retype("edtTolerance", "1");
    EXPECT_EQ(W().lblFilterSummary.Text(), "已选条件：和值 10-14,18；形态 组六；杀码 4；容错 1");
    // Too long for its line: cut with "…", whole in its hint.
    FillEveryCondition();
    const std::string shown = W().lblFilterSummary.Text();
    const std::string whole = W().lblFilterSummary.Hint();
    ASSERT_TRUE(shown.ends_with("…"));
    EXPECT_EQ(whole.substr(0, shown.size() - 3), shown.substr(0, shown.size() - 3));
    EXPECT_NE(whole.find("重号 0、1、2、3；容错 2"), std::string::npos) << whole;
    Tap("btnFilterCancel");
  }});
}

TEST_F(FilterWindow, RepeatsCompareWithTheLatestKeptDrawAndWaitForOne) {
  AddNumbers(true, {"123", "357", "999"});
  InWindow({[&] {
    EXPECT_FALSE(D("chkRepeat").Enabled());
    EXPECT_FALSE(D("chkRepeat1").Enabled());
    EXPECT_EQ(D("lblRepeatDraw").Text(), "无开奖号码");
    EXPECT_EQ(D("chkRepeat").Hint(), numbers::kRepeatNoDraw);
    Tap("btnFilterCancel");
  }});
  // Two draws kept: the later 期号 is the latest.
  Data().Write(std::string(numbers::kDrawsFileName),
               numbers::DrawsFileBytes({{2024001, 7, "", 999}, {2024002, 7, "", 375}}));
  InWindow({[&] {
    EXPECT_EQ(D("lblRepeatDraw").Text(), "最近一期 375");
    Tap("chkRepeat3");  // 357 has all three digits of 375
    EXPECT_EQ(Shown(), Count(3, 1, 2));
    Tap("chkRepeat1");  // 123 shares one
    EXPECT_EQ(Shown(), Count(3, 2, 1));
    Tap("btnFilterCancel");
  }});
  // The draw goes; a 重号 still ticked can be unticked, no more.
  std::filesystem::remove(Data().At(std::string(numbers::kDrawsFileName)));
  InWindow({[&] {
    EXPECT_TRUE(W().Get<tk::CheckBox>("chkRepeat").Checked());
    EXPECT_EQ(Shown(), numbers::kRepeatNoDraw);
    Tap("chkRepeat");
    EXPECT_FALSE(D("chkRepeat").Enabled());
    EXPECT_EQ(Shown(), Count(3, 3, 0));
    Tap("btnFilterCancel");
  }});
}

TEST_F(FilterWindow, ASchemeIsSavedUnderANameAndChosenAfterARestart) {
  Click("btnAll");
  const std::string daily = Count(1000, 6, 6);
  InWindow({[&] {
    Retype("edtSum", "13");
    Retype("edtSpan", "5");
    Tap("chkZu6");
    Tap("rdoDrop");
    EXPECT_EQ(Shown(), daily);
    // An empty name is refused with a notice, then asked again.
    TapAnswering("btnSchemeSave", {[&] { Answer(User(), " "); }, [&] { Answer(User(), "每日 "); }});
    EXPECT_EQ(Rec().notices, std::vector<std::string>{"方案名称不能为空。"});
    EXPECT_EQ(W().cboScheme.Items(), std::vector<std::string>{"每日"});
    EXPECT_EQ(W().cboScheme.Text(), "每日");
    // The same name: asked first, declined, and the name dialog cancelled.
    Retype("edtKill", "0");
    TapAnswering("btnSchemeSave", {[&] { Answer(User(), "每日"); }, [&] { Cancel(User()); }});
    EXPECT_EQ(Rec().questions, std::vector<std::string>{"已有名为“每日”的方案，要替换它吗？"});
    Tap("btnFilterCancel");
  }});
  EXPECT_EQ(Lines("mmoList").size(), 1000u);
  EXPECT_TRUE(Data().Has(std::string(kSchemeFolderName) + "/每日.txt"));

  Restart();
  Click("btnAll");
  InWindow({[&] {
    EXPECT_FALSE(W().Get<tk::CheckBox>("chkSum").Checked());
    EXPECT_EQ(W().cboScheme.Items(), std::vector<std::string>{"每日"});
    EXPECT_EQ(W().cboScheme.Selected(), -1);
    EXPECT_FALSE(D("btnSchemeDelete").Enabled());
    User().Choose(W().cboScheme, 0);
    EXPECT_EQ(D("edtSum").Text(), "13");
    EXPECT_FALSE(W().Get<tk::CheckBox>("chkKill").Checked());
    EXPECT_EQ(Shown(), daily);
    Tap("btnFilterCancel");
  }});
  // Chosen, not applied.
  EXPECT_EQ(Lines("mmoList").size(), 1000u);
}

TEST_F(FilterWindow, ABrokenSchemeIsRefusedWithItsLineAndTheWindowStaysAsItWas) {
  const std::string folder = std::string(kSchemeFolderName) + "/";
  std::filesystem::create_directory(Data().At(std::string(kSchemeFolderName)));
  numbers::FilterSettings good;
  good.kill = true;
  good.killText = "9";
  Data().Write(folder + "b.txt", numbers::SchemeBytes(good));
  Data().Write(folder + "a.txt", "Qelmar3D 缩水方案 1\r\n和值 选用\r\n");
  Data().Write(folder + "c.TXT", "Qelmar3D 缩水方案 1\r\n胆拖 = 选用\r\n");
  Data().Write(folder + "notes.md", "");
  AddNumbers(true, {"123", "999"});
  InWindow({[&] {
    EXPECT_EQ(W().cboScheme.Items(), (std::vector<std::string>{"a", "b", "c"}));
    Retype("edtDan", "1");
    const numbers::FilterSettings before = W().Settings();
    User().Choose(W().cboScheme, 0);
    User().Choose(W().cboScheme, 2);
    EXPECT_EQ(Rec().notices,
              (std::vector<std::string>{
                  "方案文件“a.txt”第 2 行“和值 选用”无法识别，应为“名称 = 值”的形式，未载入。",
                  "方案文件“c.TXT”第 2 行：没有名为“胆拖”的条件，未载入。"}));
    EXPECT_EQ(W().cboScheme.Selected(), -1);
    EXPECT_TRUE(W().Settings() == before);
    User().Choose(W().cboScheme, 1);
    EXPECT_FALSE(W().Get<tk::CheckBox>("chkDan").Checked());
    EXPECT_EQ(Shown(), Count(2, 1, 1));
    Tap("btnFilterCancel");
  }});
}

TEST_F(FilterWindow, SchemesAreExportedImportedAndDeleted) {
  const testsupport::TempFolder elsewhere;
  const std::string folder = std::string(kSchemeFolderName) + "/";
  std::filesystem::create_directory(Data().At(std::string(kSchemeFolderName)));
  numbers::FilterSettings shared;
  shared.run = true;
  shared.runFull = true;
  Data().Write(folder + "顺子.txt", numbers::SchemeBytes(shared) + "# 手写的说明\r\n");
  elsewhere.Write("坏.txt", "和值 = 选用\r\n");
  Click("btnAll");
  InWindow({[&] {
    User().Choose(W().cboScheme, 0);
    EXPECT_EQ(Shown(), Count(1000, 48, 952));
    Rec().dialogAnswers = {elsewhere.PathOf("分享.txt")};
    Tap("btnSchemeExport");
    ASSERT_EQ(Rec().dialogs.size(), 1u);
    EXPECT_TRUE(Rec().dialogs.back().save);
    EXPECT_EQ(Rec().dialogs.back().fileName, "顺子.txt");
    EXPECT_EQ(elsewhere.Read("分享.txt"), Data().Read(folder + "顺子.txt"));

    Rec().answers = {false, true};
    Tap("btnSchemeDelete");
    EXPECT_TRUE(Data().Has(folder + "顺子.txt"));
    Tap("btnSchemeDelete");
    EXPECT_EQ(Rec().questions.back(), "要删除方案“顺子”吗？");
    EXPECT_FALSE(Data().Has(folder + "顺子.txt"));
    EXPECT_TRUE(W().cboScheme.Items().empty());
    EXPECT_EQ(Shown(), Count(1000, 48, 952));  // the window keeps what it shows

    Tap("chkRun");
    Rec().dialogAnswers = {elsewhere.PathOf("坏.txt"), elsewhere.PathOf("分享.txt")};
    Tap("btnSchemeImport");
    EXPECT_EQ(Rec().notices.back(),
              "方案文件“坏.txt”第 1 行不是缩水方案的开头，应为“Qelmar3D 缩水方案 1”，未载入。");
    EXPECT_TRUE(W().cboScheme.Items().empty());
    EXPECT_FALSE(W().Get<tk::CheckBox>("chkRun").Checked());
    Tap("btnSchemeImport");
    EXPECT_EQ(W().cboScheme.Items(), std::vector<std::string>{"分享"});
    EXPECT_EQ(W().cboScheme.Text(), "分享");
    EXPECT_EQ(Data().Read(folder + "分享.txt"), elsewhere.Read("分享.txt"));
    EXPECT_EQ(Shown(), Count(1000, 48, 952));
    Tap("btnFilterCancel");
  }});
  EXPECT_EQ(Rec().notices.size(), 1u);
}
}  // namespace
