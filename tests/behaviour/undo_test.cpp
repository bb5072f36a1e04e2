// 撤销 and 恢复 of both lists, the lists kept at close, the 大底 operations,
// the bet type in lblCount's hint and the dialogs' folder, on every backend.
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "filter_window.h"
#include "lists/kept_lists.h"
#include "lists/list_file.h"
#include "lists/lists.h"

namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;
using Key = tk::UserDriver::MenuKey;

std::string U8(const fs::path& p) {
  const std::u8string s = p.u8string();
  return {s.begin(), s.end()};
}

class Undo : public FilterWindow {
 protected:
  // Chooses a menu item by its accelerator; a dialog answers `path`.
  void Choose(std::string_view list, char32_t letter, const std::string& path = "") {
    Rec().dialogAnswers.push_back(path);
    User().UseContextMenu(C(list), Key::RightClick, letter);
    Rec().dialogAnswers.clear();
  }
  std::string MenuItem(std::string_view list, std::size_t index) {
    const auto shown = User().UseContextMenu(C(list), Key::RightClick, 0);
    return index < shown.size() ? shown[index].text : "";
  }
  std::string File(const std::string& name, const std::string& bytes) {
    const fs::path p = dir.Path() / fs::path(std::u8string(name.begin(), name.end()));
    std::ofstream(p, std::ios::binary) << bytes;
    return U8(p);
  }
  tk::History& History() { return Form().ListHistory(); }
  // Runs `action` at the n-th message processing from now.
  void AtPump(int n, const std::function<void()>& action) {
    User().Post([this, n, action] {
      if (n <= 1) {
        action();
      } else {
        AtPump(n - 1, action);
      }
    });
  }

  testsupport::TempFolder dir;
};

TEST_F(Undo, EveryKindOfChangeIsOneStepThatGoesAndComesBack) {
  AddNumbers(false, {"000", "003"});
  const std::string file = File("list.txt", "555 123 555");
  struct Change {
    std::string name;
    std::function<void()> act;
  };
  const std::vector<Change> changes = {
      {"生成所有号码", [&] { Click("btnAll"); }},
      {"删除号码",
       [&] {
         Paste("edtNum", "12");
         Click("btnDel");
       }},
      {"删除一行",
       [&] {
         User().PlaceCaret(C("mmoList"), 0);
         Click("btn1");
       }},
      {"删除确认", [&] { Click("btnDelete"); }},
      {"添加直选号码", [&] { AddNumbers(true, {"1a2"}); }},
      {"条件过滤",
       [&] {
         InWindow({[&] {
           Tap("chkSum");
           Retype("edtSum", "0-9");
           Tap("rdoDrop");
           Tap("btnFilterDelete");
         }});
       }},
      {"转为组选号码", [&] { Choose("mmoList", U'G'); }},
      {"组选展开为直选", [&] { Choose("mmoList", U'Z'); }},
      {"从文本文件载入", [&] { Choose("mmoList", U'O', file); }},
      {"生成直选号码", [&] { Generate(true, "1", "2", "34"); }},
  };
  std::vector<Strings> states = {Lines("mmoList")};
  for (const Change& c : changes) {
    c.act();
    EXPECT_NE(Lines("mmoList"), states.back()) << c.name;
    states.push_back(Lines("mmoList"));
    EXPECT_EQ(MenuItem("mmoList", 0), "撤销 " + c.name + "(&U)");
  }
  // Back to the empty list, one step at a time, count and view alike.
  for (std::size_t i = changes.size(); i-- > 0;) {
    Choose("mmoList", U'U');
    EXPECT_EQ(Lines("mmoList"), states[i]) << changes[i].name;
    EXPECT_EQ(Text("lblCount"), std::to_string(states[i].size()));
    EXPECT_EQ(MenuItem("mmoList", 1), "恢复 " + changes[i].name + "(&R)");
  }
  EXPECT_EQ(MenuItem("mmoList", 0), "撤销(&U)");
  // And forward again, the last step by the key's common entry.
  for (std::size_t i = 1; i < changes.size(); ++i) Choose("mmoList", U'R');
  EXPECT_TRUE(List("mmoList").ShortcutPressed("Ctrl+Y"));
  EXPECT_EQ(Lines("mmoList"), states.back());
  EXPECT_EQ(User().ShownListText(C("mmoList")), "123\n124\n");
  // The deletion list's steps are its own.
  EXPECT_EQ(Lines("mmoDel"), (Strings{"000", "003"}));
  EXPECT_TRUE(List("mmoDel").ShortcutPressed("Ctrl+Z"));
  EXPECT_EQ(Lines("mmoDel"), Strings{"000"});
  EXPECT_EQ(Text("lblDelCnt"), "1");
  // A new step drops what could be redone.
  Click("btnSel");  // refused: no digits ticked
  AddNumbers(false, {"777"});
  EXPECT_EQ(MenuItem("mmoDel", 1), "恢复(&R)");
}

TEST_F(Undo, ARunOfDelIsOneStepRecordedWhenItEnds) {
  Click("btnAll");
  Paste("edtNum", "12");
  std::string during;
  bool refused = false;
  AtPump(3, [&] {
    during = History().UndoName(List("mmoList"));
    // 撤销 waits for the run; a click inside it joins its step.
    List("mmoList").ShortcutPressed("Ctrl+Z");
    refused = Lines("mmoList").size() == 998;  // 111 and 112 gone, nothing back
    User().PlaceCaret(C("mmoList"), 0);
    Click("btn1");
    // The deletion list's step is recorded at once.
    AddNumbers(false, {"555"});
  });
  Click("btnDel");
  EXPECT_EQ(during, "生成所有号码");
  EXPECT_TRUE(refused);
  EXPECT_EQ(Lines("mmoList").size(), 991u);  // 8 candidates and 000
  EXPECT_EQ(History().UndoName(List("mmoList")), "删除号码");
  EXPECT_EQ(History().UndoName(List("mmoDel")), "添加删除号码");
  Choose("mmoList", U'U');
  EXPECT_EQ(Lines("mmoList").size(), 1000u);
  EXPECT_EQ(Lines("mmoList")[0], "000");
  EXPECT_EQ(Text("lblCount"), "1000");
  EXPECT_EQ(History().UndoName(List("mmoList")), "生成所有号码");
}

TEST_F(Undo, DeletionsTakeEveryCopyOfALoadedListAndComeBackExactly) {
  Choose("mmoList", U'O', File("大底.txt", "123 456 123 789 456 123 001 555 001 999 456"));
  const Strings loaded = Lines("mmoList");
  ASSERT_EQ(loaded.size(), 11u);
  AddNumbers(false, {"456", "001"});
  struct Case {
    std::string name;
    std::function<void()> act;
    Strings result;
  };
  const std::vector<Case> cases = {
      {"删除号码",
       [&] {
         Paste("edtNum", "123");
         Click("btnDel");
       },
       {"456", "789", "456", "001", "555", "001", "999", "456"}},
      {"删除确认", [&] { Click("btnDelete"); }, {"123", "123", "789", "123", "555", "999"}},
      // The sums 6 and 1 go.
      {"条件过滤",
       [&] {
         InWindow({[&] {
           Tap("chkSum");
           Retype("edtSum", "0-9");
           Tap("rdoDrop");
           Tap("btnFilterDelete");
         }});
       },
       {"456", "789", "456", "555", "999", "456"}},
  };
  for (const Case& c : cases) {
    c.act();
    EXPECT_EQ(Lines("mmoList"), c.result) << c.name;
    EXPECT_EQ(Text("lblCount"), std::to_string(c.result.size())) << c.name;
    EXPECT_EQ(History().UndoName(List("mmoList")), c.name);
    Choose("mmoList", U'U');
    EXPECT_EQ(Lines("mmoList"), loaded) << c.name;
    EXPECT_EQ(Text("lblCount"), "11");
    Choose("mmoList", U'R');
    EXPECT_EQ(Lines("mmoList"), c.result) << c.name;
    std::string shown;
    for (const std::string& l : c.result) shown += l + "\n";
    EXPECT_EQ(User().ShownListText(C("mmoList")), shown) << c.name;
    Choose("mmoList", U'U');
    EXPECT_EQ(Lines("mmoList"), loaded) << c.name;
  }
  EXPECT_EQ(Lines("mmoDel"), (Strings{"456", "001"}));
  EXPECT_TRUE(Rec().notices.empty());
}

TEST_F(Undo, TheListsOfTheLastRunComeBackByTheMenu) {
  H().SetProgramFolder(dir.Slashed());
  Click("btnAll");
  Choose("mmoList", U'G');
  AddNumbers(false, {"123", "1a2"});
  User().CloseWindow(Form());
  ASSERT_TRUE(dir.Has("last-bets.txt") && dir.Has("last-deletions.txt"));

  Restart();
  H().SetProgramFolder(dir.Slashed());
  EXPECT_TRUE(Lines("mmoList").empty() && Lines("mmoDel").empty());
  EXPECT_EQ(Text("lblCount"), "0");
  Choose("mmoDel", U'L');
  EXPECT_EQ(Lines("mmoDel"), (Strings{"123", "1a2"}));
  EXPECT_EQ(Text("lblDelCnt"), "2");
  EXPECT_EQ(History().UndoName(List("mmoDel")), "载入上次关闭时的列表");
  // The bet list was left alone in this run: what was kept stays.
  User().CloseWindow(Form());

  Restart();
  H().SetProgramFolder(dir.Slashed());
  Choose("mmoList", U'L');
  EXPECT_EQ(Lines("mmoList").size(), 210u);
  EXPECT_EQ(C("lblCount").Hint(),
            "组选 共 210 注：组三 90 注，组六 120 注，已去掉豹子 10 个，金额 420 元");
  Choose("mmoList", U'U');
  EXPECT_TRUE(Lines("mmoList").empty());
  EXPECT_EQ(C("lblCount").Hint(), "共 0 注，金额 0 元");

  // A data folder that cannot be made: the window closes all the same, and
  // what was kept before stays.
  const std::string kept = dir.Read("last-bets.txt");
  dir.Write("file", "x");
  H().SetProgramFolder(U8(dir.Path() / "file" / ""));
  Click("btnAll");
  User().CloseWindow(Form());
  EXPECT_TRUE(Form().Closed());
  EXPECT_TRUE(Rec().errors.empty() && Rec().notices.empty());
  EXPECT_EQ(dir.Read("last-bets.txt"), kept);
}

TEST_F(Undo, AWindowClosedDuringARunKeepsTheListsAsTheRunLeavesThem) {
  H().SetProgramFolder(dir.Slashed());
  Click("btnAll");
  Paste("edtNum", "12");
  AtPump(3, [&] { User().CloseWindow(Form()); });
  Click("btnDel");
  EXPECT_TRUE(Form().Closed());
  Restart();
  H().SetProgramFolder(dir.Slashed());
  Choose("mmoList", U'L');
  EXPECT_EQ(Lines("mmoList").size(), 992u);
}

TEST_F(Undo, BigListOperationsKeepTheirPlaceAndAreUndoneEachInOneStep) {
  // Empty lists say why nothing happens.
  Choose("mmoList", U'J');
  Choose("mmoList", U'D');
  EXPECT_EQ(Rec().notices,
            (Strings{std::string(numbers::kEmptyBetList), std::string(numbers::kEmptyBetList)}));
  Choose("mmoList", U'O', File("a.txt", "123 456 123"));
  AddNumbers(true, {"1a2"});
  Choose("mmoList", U'M', File("b.txt", "福彩3D 大底\r\n789 123 789"));
  const Strings bets = {"123", "456", "123", "1a2", "789"};
  ASSERT_EQ(Lines("mmoList"), bets);
  EXPECT_EQ(Rec().dialogs.back().title, "合并文件中的号码");
  Rec().Clear();
  Choose("mmoList", U'K');
  EXPECT_EQ(Rec().notices, Strings{std::string(numbers::kEmptyDeletionList)});
  AddNumbers(false, {"123", "1a2", "789"});

  const std::string other = File("c.txt", "456 789 000");
  struct Case {
    char32_t letter;
    std::string path;
    std::string name;
    Strings result;
  };
  const std::vector<Case> cases = {
      {U'I', other, "与文件取交集", {"456", "1a2", "789"}},
      {U'X', other, "去掉文件中的号码", {"123", "123", "1a2"}},
      {U'J', "", "与删除列表取交集", {"123", "123", "1a2", "789"}},
      {U'K', "", "去掉删除列表中的号码", {"456", "1a2"}},
      {U'D', "", "去除重复号码", {"123", "456", "1a2", "789"}},
  };
  for (const Case& c : cases) {
    Choose("mmoList", c.letter, c.path);
    EXPECT_EQ(Lines("mmoList"), c.result) << c.name;
    EXPECT_EQ(Text("lblCount"), std::to_string(c.result.size()));
    EXPECT_EQ(History().UndoName(List("mmoList")), c.name);
    Choose("mmoList", U'U');
    EXPECT_EQ(Lines("mmoList"), bets) << c.name;
  }
  // A refused file changes nothing and records nothing.
  Choose("mmoList", U'I', File("d.txt", "12a4"));
  EXPECT_EQ(Lines("mmoList"), bets);
  EXPECT_EQ(History().UndoName(List("mmoList")), "合并文件中的号码");
}

TEST_F(Undo, TheHintTellsRepeatsAndGroupBets) {
  Choose("mmoList", U'O', File("a.txt", "123 123 456 123"));
  EXPECT_EQ(C("lblCount").Hint(), "共 4 注（重复 2 注），金额 8 元");
  Click("btnAll");
  EXPECT_EQ(C("lblCount").Hint(), "共 1000 注，金额 2000 元");
  Choose("mmoList", U'G');
  const std::string groups =
      "组选 共 210 注：组三 90 注，组六 120 注，已去掉豹子 10 个，金额 420 元";
  EXPECT_EQ(C("lblCount").Hint(), groups);
  // Trimming keeps it a 组选 list, saved as such.
  User().PlaceCaret(C("mmoList"), 0);
  Click("btn1");  // 001
  EXPECT_EQ(C("lblCount").Hint(),
            "组选 共 209 注：组三 89 注，组六 120 注，已去掉豹子 10 个，金额 418 元");
  Choose("mmoList", U'S');
  EXPECT_EQ(Rec().dialogs.back().fileName, "组选号码.txt");
  Choose("mmoList", U'U');
  EXPECT_EQ(C("lblCount").Hint(), groups);
  Choose("mmoList", U'U');
  EXPECT_EQ(C("lblCount").Hint(), "共 1000 注，金额 2000 元");
  Choose("mmoList", U'R');
  EXPECT_EQ(C("lblCount").Hint(), groups);
  // New lines are 直选 again.
  Click("btnAll");
  EXPECT_EQ(C("lblCount").Hint(), "共 1000 注，金额 2000 元");
  Choose("mmoList", U'S');
  EXPECT_EQ(Rec().dialogs.back().fileName, "投注号码.txt");
  auto look = H().LookOf(C("lblCount"));
  if (look) {
    EXPECT_EQ(look->hint, "共 1000 注，金额 2000 元");
  }
}

TEST_F(Undo, HeadingsLoadAndFilesThatAreNoTextAreRefusedByName) {
  Choose("mmoList", U'O',
         File("大底.txt", "福彩3D 第2024001期 缩水结果\r\n\r\n001 002\r\n共 2 注\r\n"));
  EXPECT_EQ(Lines("mmoList"), (Strings{"001", "002"}));
  EXPECT_TRUE(Rec().notices.empty());
  Choose("mmoList", U'O', File("图.png", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16)));
  EXPECT_EQ(Rec().notices, Strings{"文件“图.png”不是文本文件，未载入。"});
  EXPECT_EQ(Lines("mmoList"), (Strings{"001", "002"}));
  EXPECT_EQ(History().UndoName(List("mmoList")), "从文本文件载入");
}

TEST_F(Undo, DialogsStartInTheFolderUsedLastAlsoInTheNextRun) {
  H().SetProgramFolder(dir.Slashed());
  Click("btnAll");
  fs::create_directory(dir.Path() / "大底");
  const std::string saved = U8(dir.Path() / "大底" / "投注号码.txt");
  Choose("mmoList", U'S', saved);
  Choose("mmoDel", U'O');
  EXPECT_EQ(Rec().dialogs.front().folder, "");
  EXPECT_EQ(Rec().dialogs.back().folder, numbers::FolderOf(saved));
  User().CloseWindow(Form());
  Restart();
  H().SetProgramFolder(dir.Slashed());
  Choose("mmoList", U'O');
  ASSERT_EQ(Rec().dialogs.size(), 1u);
  EXPECT_EQ(Rec().dialogs[0].folder, numbers::FolderOf(saved));
}

TEST_F(Undo, EditAndButtonOfDelExplainThemselves) {
  for (std::string_view name : {"edtNum", "btnDel"}) {
    const std::string hint = C(name).Hint();
    EXPECT_NE(hint.find("输入 12，删除 111、112、121、122、211、212、221、222"), std::string::npos);
    auto look = H().LookOf(C(name));
    if (look) {
      EXPECT_EQ(look->hint, hint);
    }
  }
}

}  // namespace
