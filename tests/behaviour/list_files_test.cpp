// The lists' context menus, saving and loading them as text files, and the
// cost in lblCount's hint, on every backend. Dialogs are answered by the
// recorder; the menus are the backend's own.
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>
#include <csignal>
#endif

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "../support/temp_folder.h"
#include "harness.h"
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
fs::path P(const std::string& utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}
std::string ReadAll(const std::string& path) {
  std::ifstream in(P(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
void WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream(P(path), std::ios::binary) << bytes;
}
Strings Names(const fs::path& folder) {
  Strings names;
  for (const auto& e : fs::directory_iterator(folder)) names.push_back(U8(e.path().filename()));
  return names;
}

// A real failure of the next write: the file size limit of the process (as
// a full disk) on Linux; on Windows the target held open without sharing.
class WritesFail {
 public:
  explicit WritesFail(const std::string& target) {
#ifdef _WIN32
    lock_ = CreateFileW(P(target).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
#else
    (void)target;
    std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &old_);
    rlimit small = old_;
    small.rlim_cur = 64;
    setrlimit(RLIMIT_FSIZE, &small);
#endif
  }
  ~WritesFail() {
#ifdef _WIN32
    CloseHandle(lock_);
#else
    setrlimit(RLIMIT_FSIZE, &old_);
#endif
  }
  WritesFail(const WritesFail&) = delete;
  WritesFail& operator=(const WritesFail&) = delete;

 private:
#ifdef _WIN32
  HANDLE lock_ = INVALID_HANDLE_VALUE;
#else
  rlimit old_{};
#endif
};

class ListFiles : public Behaviour {
 protected:
  // Chooses an item by its accelerator; the dialog answers `path`.
  void Choose(std::string_view list, char32_t letter, const std::string& path = "",
              Key how = Key::RightClick) {
    Rec().dialogAnswers.push_back(path);
    User().UseContextMenu(C(list), how, letter);
    Rec().dialogAnswers.clear();
  }
  std::string In(const std::string& name) { return U8(dir.Path() / P(name)); }
  std::string Hint() { return C("lblCount").Hint(); }

  testsupport::TempFolder dir;
};

TEST_F(ListFiles, MenusOfBothListsGreyWhatCannotAct) {
  const Strings texts = {"撤销(&U)",
                         "恢复(&R)",
                         "",
                         "复制(&C)",
                         "全选(&A)",
                         "",
                         "保存为文本文件(&S)…",
                         "从文本文件载入(&O)…",
                         "载入上次关闭时的列表(&L)",
                         "",
                         "开奖号码与走势(&T)…"};
  const Strings more = {"",
                        "与文件取交集(&I)…",
                        "合并文件中的号码(&M)…",
                        "去掉文件中的号码(&X)…",
                        "与删除列表取交集(&J)",
                        "去掉删除列表中的号码(&K)",
                        "去除重复号码(&D)",
                        "",
                        "条件过滤(&F)…",
                        "按玩法生成(&P)…",
                        "转为组选号码(&G)",
                        "组选展开为直选(&Z)"};
  for (Key how : {Key::RightClick, Key::ShiftF10, Key::MenuKey}) {
    for (std::string_view list : {"mmoList", "mmoDel"}) {
      const auto shown = User().UseContextMenu(C(list), how, 0);
      // The bet list has the 大底, conditions and group items below these.
      ASSERT_EQ(shown.size(), texts.size() + (list == "mmoList" ? more.size() : 0)) << list;
      for (std::size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(shown[i].text, texts[i]);
      EXPECT_EQ(shown[0].shortcut, "Ctrl+Z");
      EXPECT_EQ(shown[1].shortcut, "Ctrl+Y");
      EXPECT_EQ(shown[3].shortcut, "Ctrl+C");
      EXPECT_EQ(shown[4].shortcut, "Ctrl+A");
      // Nothing to undo, copy or save; nothing kept from an earlier run.
      for (std::size_t i : {0, 1, 3, 4, 6, 8}) EXPECT_FALSE(shown[i].enabled) << i;
      EXPECT_TRUE(shown[7].enabled);
      EXPECT_TRUE(shown[10].enabled);
      if (list == "mmoList") {
        for (std::size_t i = 0; i < more.size(); ++i) {
          EXPECT_EQ(shown[texts.size() + i].text, more[i]);
          // Enabled on an empty list too: they tell why they cannot act.
          if (!more[i].empty()) {
            EXPECT_TRUE(shown[texts.size() + i].enabled) << more[i];
          }
        }
      }
    }
  }
  AddNumbers(true, {"123", "456"});
  User().Select(C("mmoList"), 0, 3);
  auto shown = User().UseContextMenu(C("mmoList"), Key::RightClick, 0);
  EXPECT_TRUE(shown[0].enabled && shown[3].enabled && shown[4].enabled && shown[6].enabled);
  EXPECT_EQ(shown[0].text, "撤销 添加直选号码(&U)");
  // 全选 selects every line; 保存 offered without a selection too.
  User().Select(C("mmoList"), 0, 0);
  User().UseContextMenu(C("mmoList"), Key::ShiftF10, U'A');
  EXPECT_EQ(List("mmoList").SelectionLength(), 10);
  EXPECT_TRUE(Rec().dialogs.empty());
}

TEST_F(ListFiles, SavedListsLoadBackAsTheyWere) {
  Generate(true, "31", "0", "95");
  AddNumbers(true, {"309"});  // refused: already listed
  const std::string path = In("投注号码.txt");
  Choose("mmoList", U'S', path);
  ASSERT_EQ(Rec().dialogs.size(), 1u);
  EXPECT_TRUE(Rec().dialogs[0].save);
  EXPECT_EQ(Rec().dialogs[0].fileName, "投注号码.txt");
  EXPECT_EQ(ReadAll(path), "309\r\n305\r\n109\r\n105\r\n");
  EXPECT_TRUE(Rec().errors.empty());

  Choose("mmoDel", U'O', path, Key::ShiftF10);
  EXPECT_FALSE(Rec().dialogs.back().save);
  EXPECT_EQ(Lines("mmoDel"), (Strings{"309", "305", "109", "105"}));
  EXPECT_EQ(Text("lblDelCnt"), "4");
  EXPECT_EQ(User().ShownListText(C("mmoDel")), "309\n305\n109\n105\n");

  // The deletion list from the file applies like any other.
  WriteAll(path, "105 105\r\n309");
  Choose("mmoDel", U'O', path);
  EXPECT_EQ(Lines("mmoDel"), (Strings{"105", "105", "309"}));
  Click("btnDelete");
  EXPECT_EQ(Lines("mmoList"), (Strings{"305", "109"}));
  EXPECT_EQ(Text("lblCount"), "2");
  EXPECT_EQ(Hint(), "共 2 注，金额 4 元");
  // The deletion list's own name, and Cancel changes nothing.
  Choose("mmoDel", U'S', "");
  EXPECT_EQ(Rec().dialogs.back().fileName, "删除号码.txt");
  Choose("mmoList", U'O', "");
  EXPECT_EQ(Lines("mmoList"), (Strings{"305", "109"}));
  EXPECT_TRUE(Rec().notices.size() == 1u && Rec().errors.empty());
}

TEST_F(ListFiles, AChineseLineIsSavedAsUtf8WithAMark) {
  AddNumbers(true, {"123", "三二一"});
  const std::string path = In("中文.txt");
  Choose("mmoList", U'S', path);
  EXPECT_EQ(ReadAll(path),
            "\xEF\xBB\xBF"
            "123\r\n三二一\r\n");
  // Loading it back passes over the line without a digit.
  Choose("mmoList", U'O', path);
  EXPECT_TRUE(Rec().notices.empty());
  EXPECT_EQ(Lines("mmoList"), (Strings{"123"}));
}

TEST_F(ListFiles, RefusedFilesChangeNothing) {
  AddNumbers(true, {"777"});
  const std::string path = In("list.txt");
  struct Case {
    std::string bytes;
    std::string notice;
  };
  std::string many;
  for (int i = 0; i <= 100000; ++i) many += "000,";
  const std::vector<Case> cases = {
      {"123 456\r\n12a4\r\n", "第 2 行的“12a4”不是三位号码，未载入。"},
      {"", std::string(numbers::kNoNumbersInFile)},
      {"\r\n \r\n", std::string(numbers::kNoNumbersInFile)},
      {std::string(numbers::kListFileMaxBytes + 1, '\n'), std::string(numbers::kFileTooLarge)},
      {many, std::string(numbers::kTooManyNumbers)},
  };
  for (const Case& c : cases) {
    WriteAll(path, c.bytes);
    Rec().Clear();
    Choose("mmoList", U'O', path);
    EXPECT_EQ(Rec().notices, Strings{c.notice});
    EXPECT_EQ(Lines("mmoList"), Strings{"777"});
    EXPECT_EQ(Text("lblCount"), "1");
  }
  // A file that is not there: the error box names it.
  Rec().Clear();
  Choose("mmoList", U'O', In("gone.txt"));
  ASSERT_EQ(Rec().errors.size(), 1u);
  EXPECT_NE(Rec().errors[0].find(In("gone.txt")), std::string::npos);
  EXPECT_EQ(Lines("mmoList"), Strings{"777"});
}

TEST_F(ListFiles, GbkAndUtf8FilesLoad) {
  const std::string path = In("大底.txt");
  WriteAll(path,
           "123\xA3\xAC"
           "456\xA1\xA2"
           "789\r\n000\xA3\xBB"
           "123");  // GBK
  Choose("mmoList", U'O', path);
  EXPECT_EQ(Lines("mmoList"), (Strings{"123", "456", "789", "000", "123"}));
  EXPECT_EQ(Text("lblCount"), "5");
  EXPECT_EQ(Hint(), "共 5 注（重复 1 注），金额 10 元");
  WriteAll(path,
           "\xEF\xBB\xBF"
           "321，654\n987");
  Choose("mmoList", U'O', path);
  EXPECT_EQ(Lines("mmoList"), (Strings{"321", "654", "987"}));
  WriteAll(path, "111、222；333");
  Choose("mmoList", U'O', path);
  EXPECT_EQ(Lines("mmoList"), (Strings{"111", "222", "333"}));
  EXPECT_EQ(User().ShownListText(C("mmoList")), "111\n222\n333\n");
  // Lookups see the new lines.
  AddNumbers(true, {"222"});
  EXPECT_EQ(Rec().notices, Strings{std::string(numbers::kAlreadyListed)});
}

TEST_F(ListFiles, DigitsApartAndNoBreakSpacesReadInListsAndDaDiFiles) {
  const std::string path = In("大底.txt");
  WriteAll(path,
           "3 5 7\r\n111\xC2\xA0"
           "222");
  Choose("mmoList", U'O', path);
  EXPECT_EQ(Lines("mmoList"), (Strings{"357", "111", "222"}));
  WriteAll(path, "2 2 2\r\n9，9，9");
  Choose("mmoList", U'M', path);
  EXPECT_EQ(Lines("mmoList"), (Strings{"357", "111", "222", "999"}));
  EXPECT_TRUE(Rec().notices.empty());
}

TEST_F(ListFiles, AFailedSaveKeepsTheOldFileAndLeavesNoTemporary) {
  Click("btnAll");
  const std::string path = In("投注号码.txt");
  WriteAll(path, "old\r\n");
  {
    WritesFail fail(path);
    Choose("mmoList", U'S', path);
  }
  ASSERT_EQ(Rec().errors.size(), 1u);
  EXPECT_NE(Rec().errors[0].find(path), std::string::npos);
  EXPECT_EQ(ReadAll(path), "old\r\n");
  EXPECT_EQ(Names(dir.Path()), Strings{"投注号码.txt"});
  // A folder that is gone.
  Choose("mmoList", U'S', In("gone/投注号码.txt"));
  EXPECT_EQ(Rec().errors.size(), 2u);
  // And the same save, able to write, replaces the file whole.
  Choose("mmoList", U'S', path);
  EXPECT_EQ(ReadAll(path).size(), 5000u);
  EXPECT_EQ(Names(dir.Path()), Strings{"投注号码.txt"});
}

TEST_F(ListFiles, TheCountsHintTellsTheCostWheneverTheCountChanges) {
  EXPECT_EQ(Hint(), "共 0 注，金额 0 元");
  Generate(true, "12", "34", "5");
  EXPECT_EQ(Hint(), "共 4 注，金额 8 元");
  Click("btnAll");
  EXPECT_EQ(Hint(), "共 1000 注，金额 2000 元");
  Type("edtNum", "123456789");
  Click("btnDel");  // every number spelled without 0 goes
  EXPECT_EQ(Text("lblCount"), "271");
  EXPECT_EQ(Hint(), "共 271 注，金额 542 元");
  User().PlaceCaret(C("mmoList"), 0);
  Click("btn1");
  EXPECT_EQ(Hint(), "共 270 注，金额 540 元");
  // The deletion list has no cost.
  AddNumbers(false, {"100"});
  EXPECT_EQ(C("lblDelCnt").Hint(), "");
  auto look = H().LookOf(C("lblCount"));
  if (look) {
    EXPECT_EQ(look->hint, "共 270 注，金额 540 元");
  }
}

}  // namespace
