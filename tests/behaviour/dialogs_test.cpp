// On every backend: each file dialog starts in the folder used last (in the
// run, and in the next one through the data folder) and lists 所有文件 beside
// the caller's kind; Enter in the draws window's edits runs their row's
// button, and the main window's Enter stays as it was.
#include <filesystem>
#include <string>
#include <vector>

#include "draws_window.h"

namespace {

using Strings = std::vector<std::string>;

std::string U8(const std::filesystem::path& p) {
  const std::u8string s = p.u8string();
  return {s.begin(), s.end()};
}

TEST_F(DrawsWindow, EveryFileDialogStartsWhereTheLastEndedAndListsAllFiles) {
  const std::filesystem::path sub = folder.At("导入");
  std::filesystem::create_directory(sub);
  const std::string history = U8(sub / "history.txt");
  folder.Write("导入/history.txt", "2024001 357\r\n2024002 012\r\n");
  InWindow({[&] {
    Rec().dialogAnswers = {history};
    Tap("btnImport");
    ASSERT_EQ(W().Draws().size(), 2u);
    Tap("btnSaveChart");  // cancelled
    W().Close();
  }});
  ASSERT_EQ(Rec().dialogs.size(), 2u);
  EXPECT_EQ(Rec().dialogs[0].folder, "");  // nothing used yet: the documents folder
  EXPECT_EQ(Rec().dialogs[0].filters, (Strings{"文本文件 (*.txt)", "所有文件 (*.*)"}));
  // Another dialog of another kind starts in the import's folder.
  EXPECT_EQ(Rec().dialogs[1].folder, U8(sub / ""));
  EXPECT_EQ(Rec().dialogs[1].filters, (Strings{"PNG 图片 (*.png)", "所有文件 (*.*)"}));
  EXPECT_EQ(Rec().dialogs[1].extension, "png");

  // The lists' dialogs too, and in the next run.
  User().CloseWindow(Form());
  Restart();
  H().SetProgramFolder(folder.Slashed());
  User().UseContextMenu(C("mmoDel"), tk::UserDriver::MenuKey::RightClick, U'O');
  ASSERT_EQ(Rec().dialogs.size(), 1u);
  EXPECT_EQ(Rec().dialogs[0].folder, U8(sub / ""));
  EXPECT_EQ(Rec().dialogs[0].filters, (Strings{"文本文件 (*.txt)", "所有文件 (*.*)"}));
}

TEST_F(DrawsWindow, WithoutADataFolderTheLastFolderIsKeptForTheRun) {
  // The data folder lies under a file: nothing can be written there.
  folder.Write("file", "x");
  H().SetProgramFolder(folder.Slashed() + "file/");
  const std::string saved = U8(folder.At("投注号码.txt"));
  Click("btnAll");
  Rec().dialogAnswers = {saved};
  User().UseContextMenu(C("mmoList"), tk::UserDriver::MenuKey::RightClick, U'S');
  EXPECT_TRUE(folder.Has("投注号码.txt"));
  User().UseContextMenu(C("mmoDel"), tk::UserDriver::MenuKey::RightClick, U'O');
  ASSERT_EQ(Rec().dialogs.size(), 2u);
  EXPECT_EQ(Rec().dialogs[1].folder, folder.Slashed());
  EXPECT_TRUE(Rec().errors.empty());
}

TEST_F(DrawsWindow, EnterInAnEditRunsTheButtonOfItsRow) {
  Generate(true, "1", "2", "34");
  std::string clicked;
  InWindow({[&] {
              // 添加: Enter in any of its three edits.
              Retype("edtIssue", "2024001");
              Retype("edtNumber", "357");
              User().PressEnter(W(), D("edtIssue"));
              Retype("edtIssue", "2024002");
              Retype("edtDate", "2024-01-02");
              Retype("edtNumber", "124");
              User().PressEnter(W(), D("edtDate"));
              Retype("edtIssue", "2024003");
              Retype("edtNumber", "123");
              User().PressEnter(W(), D("edtNumber"));
              EXPECT_EQ(W().Draws().size(), 3u);
              EXPECT_EQ(D("edtIssue").Text(), "");
              EXPECT_TRUE(Notices().empty());
            },
            [&] {
              // 对奖: Enter in the number, as a click gives.
              Retype("edtCheck", "124");
              Tap("btnCheck");
              clicked = D("lblResult").Text();
              ASSERT_FALSE(clicked.empty());
              Retype("edtCheck", "134");
              User().PressEnter(W(), D("edtCheck"));
              EXPECT_NE(D("lblResult").Text(), clicked);
              Retype("edtCheck", "124");
              User().PressEnter(W(), D("edtCheck"));
              EXPECT_EQ(D("lblResult").Text(), clicked);
              // A refused number is told, as with the button.
              Retype("edtCheck", "12");
              User().PressEnter(W(), D("edtCheck"));
              EXPECT_EQ(Notices(), Strings{"开奖号码应为三位数字，如 357。"});
              W().Close();
            }});
  EXPECT_EQ(folder.Read("draws.txt"),
            "期号 日期 号码\r\n2024001 - 357\r\n2024002 2024-01-02 124\r\n2024003 - 123\r\n");
}

TEST_F(Behaviour, EnterInTheMainWindowChangesNothing) {
  Generate(true, "1", "2", "34");
  Type("edtNum", "12");
  for (std::string_view edit : {"edtNum", "edtRight", "edtDel"}) User().PressEnter(Form(), C(edit));
  EXPECT_EQ(Lines("mmoList"), (Strings{"123", "124"}));
  EXPECT_EQ(Text("edtNum"), "12");
  EXPECT_TRUE(Rec().notices.empty() && Rec().errors.empty());
}

}  // namespace
