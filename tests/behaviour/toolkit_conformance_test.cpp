// What every backend's toolkit must do the same way.
#include <chrono>
#include <functional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "harness.h"

namespace {

using Numbers = std::vector<std::string>;
using Toolkit = Behaviour;

TEST_F(Toolkit, ListControlKeepsLinesEachFollowedByCrLf) {
  auto& list = List("mmoDel");
  EXPECT_EQ(list.LineCount(), 0);
  EXPECT_EQ(list.Text(), "");
  list.AppendLine("123");
  EXPECT_EQ(list.LineCount(), 1);
  EXPECT_EQ(list.Text(), "123\r\n");
  list.AppendLine("Ab中");
  list.AppendLine("123 ");
  EXPECT_EQ(list.FindLine("aB中"), 1);
  EXPECT_EQ(list.FindLine("123"), 0);
  EXPECT_EQ(list.FindLine("12"), -1);
  list.DeleteLine(0);
  EXPECT_EQ(list.FindLine("123"), -1);  // "123 " is not "123"
  list.DeleteLine(2);
  list.DeleteLine(-1);
  EXPECT_EQ(list.Lines(), (Numbers{"Ab中", "123 "}));
  EXPECT_EQ(User().ShownListText(list), "Ab中\n123 \n");
  list.ClearLines();
  EXPECT_EQ(User().ShownListText(list), "");
  EXPECT_THROW((void)list.LineAt(0), tk::Error);

  // Every copy goes at once, letter case ignored as FindLine ignores it; a
  // long line (a hashed key) is compared whole.
  for (const char* l : {"Ab中文字", "123", "aB中文字", "Ab中文字 ", "123", "456", "ab中文字"}) {
    list.AppendLine(l);
  }
  EXPECT_EQ(list.DeleteEqualLines("AB中文字"), 3);
  EXPECT_EQ(list.DeleteEqualLines("123"), 2);
  EXPECT_EQ(list.DeleteEqualLines("12"), 0);
  EXPECT_EQ(list.Lines(), (Numbers{"Ab中文字 ", "456"}));
  EXPECT_EQ(list.FindLine("456"), 1);
  EXPECT_EQ(User().ShownListText(list), "Ab中文字 \n456\n");
}

TEST_F(Toolkit, CaretOffsetsCountLineBreaksAsTwoCharacters) {
  auto& list = List("mmoList");
  for (const char* l : {"123", "中文字", "9"}) list.AppendLine(l);
  EXPECT_EQ(list.LineFromChar(0), 0);
  EXPECT_EQ(list.LineFromChar(4), 0);  // inside the CR LF
  EXPECT_EQ(list.LineFromChar(5), 1);
  EXPECT_EQ(list.LineFromChar(10), 2);
  EXPECT_EQ(list.LineFromChar(13), 3);  // after the final line break
  User().PlaceCaret(list, 7);
  EXPECT_EQ(list.CaretOffset(), 7);
  User().PlaceCaret(list, 13);
  EXPECT_EQ(list.CaretOffset(), 13);
  EXPECT_EQ(list.LineFromChar(list.CaretOffset()), list.LineCount());
}

TEST_F(Toolkit, SettingACheckBoxRunsItsHandlerOnlyOnAChange) {
  auto& box = Box("chk35");
  std::vector<bool> seen;
  box.OnClick = [&](tk::Control& s) { seen.push_back(dynamic_cast<tk::CheckBox&>(s).Checked()); };
  box.SetChecked(true);
  EXPECT_EQ(seen, std::vector<bool>{true});
  box.SetChecked(true);
  EXPECT_EQ(seen.size(), 1u);
  User().Click(box);
  EXPECT_EQ(seen, (std::vector<bool>{true, false}));
  EXPECT_FALSE(box.Checked());
}

TEST_F(Toolkit, AnErrorInAHandlerIsShownAndTheWindowGoesOn) {
  C("btn1").OnClick = [](tk::Control&) { throw std::runtime_error("磁盘已满"); };
  Click("btn1");
  EXPECT_EQ(Rec().errors, Numbers{"磁盘已满"});
  // An error of no known class shows an empty text.
  C("btn2").OnClick = [](tk::Control&) { throw 42; };
  Click("btn2");
  EXPECT_EQ(Rec().errors, (Numbers{"磁盘已满", ""}));
  // A timer tick likewise, and the timer keeps ticking.
  int ticks = 0;
  Form().tmr1.OnTimer = [&](tk::Control&) {
    ++ticks;
    throw std::runtime_error("tick");
  };
  User().FireTimer(Form().tmr1);
  User().FireTimer(Form().tmr1);
  EXPECT_EQ(ticks, 2);
  EXPECT_EQ(Rec().errors.size(), 4u);
  // The window still works.
  Generate(true, "1", "2", "3");
  EXPECT_EQ(Lines("mmoList"), Numbers{"123"});
}

TEST_F(Toolkit, WorkOffTheWindowsThreadCompletesOnItAsAMessage) {
  tk::Application& app = H().App();
  const auto window = std::this_thread::get_id();
  std::thread::id worker;
  Numbers done;
  auto task = app.RunOffThread(
      [&](tk::Cancellation&) {
        worker = std::this_thread::get_id();
        return std::string("body");
      },
      [&](std::string result) {
        EXPECT_EQ(std::this_thread::get_id(), window);
        done.push_back(result);
        throw std::runtime_error("写入失败");
      });
  // Abandoned at once: its completion never runs, whenever its work ends.
  app.RunOffThread([](tk::Cancellation&) { return std::string("dropped"); },
                   [&](std::string result) { done.push_back(result); })
      .reset();
  EXPECT_TRUE(done.empty());  // never before a message is handled
  for (int i = 0; i < 5000 && task->Pending(); ++i) {
    H().ReleaseWork();
    app.PumpMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  for (int i = 0; i < 20; ++i) app.PumpMessages();
  EXPECT_FALSE(task->Pending());
  EXPECT_EQ(done, Numbers{"body"});
  EXPECT_EQ(Rec().errors, Numbers{"写入失败"});
  if (!H().HoldsWork()) {
    EXPECT_NE(worker, window);
  }
}

TEST_F(Toolkit, AnErrorInANestedHandlerEndsTheOuterOneOnce) {
  Box("chk1").OnClick = [](tk::Control&) { throw std::runtime_error("inner"); };
  bool after = false;
  C("btn3").OnClick = [&](tk::Control&) {
    Box("chk1").SetChecked(true);
    after = true;
  };
  Click("btn3");
  EXPECT_FALSE(after);
  EXPECT_EQ(Rec().errors, Numbers{"inner"});
}

TEST_F(Toolkit, DisabledButtonTakesNoClick) {
  int clicks = 0;
  C("btn1").OnClick = [&](tk::Control&) { ++clicks; };
  C("btn1").SetEnabled(false);
  Click("btn1");
  EXPECT_EQ(clicks, 0);
  C("btn1").SetEnabled(true);
  Click("btn1");
  EXPECT_EQ(clicks, 1);
}

// Names of the controls that have the keyboard focus, but for `except`.
std::vector<std::string> FocusedBut(const TForm1& form, std::string_view except) {
  std::vector<std::string> names;
  for (const tk::Control* c : form.Controls()) {
    if (c->Name() != except && c->Focused()) names.emplace_back(c->Name());
  }
  return names;
}

TEST_F(Toolkit, AButtonKeepsTheFocusAcrossItsOwnDisableAndEnable) {
  std::vector<std::string> during;
  C("btn1").OnClick = [&](tk::Control& b) {
    b.SetEnabled(false);
    during = FocusedBut(Form(), "btn1");
    b.SetEnabled(true);
  };
  Click("btn1");
  EXPECT_TRUE(during.empty()) << during.front();
  EXPECT_TRUE(C("btn1").Focused());

  // The user (or the handler) put the focus elsewhere meanwhile: it stays there.
  C("btn1").OnClick = [&](tk::Control& b) {
    b.SetEnabled(false);
    C("edtNum").GiveFocus();
    b.SetEnabled(true);
  };
  Click("btn1");
  EXPECT_TRUE(C("edtNum").Focused());
  EXPECT_FALSE(C("btn1").Focused());
  // Enabling a control that had no focus takes nothing from the one that has.
  C("btn2").SetEnabled(false);
  C("btn2").SetEnabled(true);
  EXPECT_TRUE(C("edtNum").Focused());
}

TEST_F(Toolkit, EveryLoopingButtonHasTheFocusAgainWhenItsRunEnds) {
  for (int row = 0; row < 6; ++row) Tick(row, "12");
  Paste("edtNum", "123");
  std::vector<std::string> duringDel = {"(not run)"};
  for (const std::string name : {"btnGet", "btnAll", "btnSel", "btnDelete", "btnDel"}) {
    if (name == "btnDel") User().Post([&] { duringDel = FocusedBut(Form(), "btnDel"); });
    Click(name);
    EXPECT_TRUE(C(name).Focused()) << name;
    EXPECT_EQ(FocusedBut(Form(), name), std::vector<std::string>{}) << name;
  }
  EXPECT_EQ(duringDel, std::vector<std::string>{});
  EXPECT_TRUE(Rec().notices.empty());
}

TEST_F(Toolkit, EditsKeepTheirLengthLimitAndPlaceTheCaretAtMostAtTheEnd) {
  auto& edit = Form().edtNum;
  Paste("edtNum", "中文abc");
  EXPECT_EQ(edit.Text(), "中文abc");
  edit.SetCaretOffset(100);
  EXPECT_EQ(edit.CaretOffset(), 5);
  edit.SetCaretOffset(1);
  EXPECT_EQ(edit.CaretOffset(), 1);
  Paste("edtRight", "98765");
  EXPECT_EQ(Text("edtRight"), "987");
  Paste("edt1", "中文中文中文中文中文中文");
  EXPECT_EQ(Text("edt1"), "中文中文中文中文中文");
  // A key that the edit has no filter for goes in as typed.
  User().PlaceCaret(edit, 5);
  Type("edtNum", "x");
  EXPECT_EQ(edit.Text(), "中文abcx");
}

TEST_F(Toolkit, FileErrorsAreChineseAndNameTheFile) {
  const tk::Platform& platform = Form().App().GetPlatform();
  const std::string path = "no-such-folder-qelmar/缓存/tipsupd.dat";
  auto message = [](const std::function<void()>& f) -> std::string {
    try {
      f();
    } catch (const tk::Error& e) {
      return e.what();
    }
    return "(nothing raised)";
  };
  EXPECT_EQ(message([&] { platform.WriteFileBytes(path, "x"); }), "无法创建文件“" + path + "”。");
  EXPECT_EQ(message([&] { (void)platform.ReadTextLines(path); }), "无法打开文件“" + path + "”。");
}

TEST_F(Toolkit, PastingNothingOverASelectionRemovesIt) {
  // With and without a length limit, as the native edits do.
  for (const char* name : {"edtNum", "edtRight"}) {
    Paste(name, "123");
    User().Select(C(name), 1, 1);
    Paste(name, "");
    EXPECT_EQ(Text(name), "13") << name;
    EXPECT_EQ(Form().Get<tk::Edit>(name).CaretOffset(), 1) << name;
    User().PlaceCaret(C(name), 1);
    Paste(name, "");
    EXPECT_EQ(Text(name), "13") << name;
  }
}

TEST_F(Toolkit, NoticesAndLinks) {
  Form().App().ShowNotice("提示");
  EXPECT_EQ(Rec().notices, Numbers{"提示"});
  for (const char* url : {"file:///etc/passwd", "javascript:alert(1)", "\\\\host\\share\\x.exe",
                          "calc.exe", "http:", "ftp://host/"}) {
    Form().App().OpenLink(url);
  }
  EXPECT_TRUE(Rec().links.empty());
  Form().App().OpenLink("HTTPS://example.com/a");
  Form().App().OpenLink("http://example.com/");
  EXPECT_EQ(Rec().links, (Numbers{"HTTPS://example.com/a", "http://example.com/"}));
}

TEST_F(Toolkit, WebLinksOfTheWindowOpenTheirPages) {
  Click("lbl10");
  Click("lbl12");
  Click("lbl9");
  ASSERT_EQ(Rec().links.size(), 2u);
  EXPECT_EQ(Rec().links[0].rfind("http", 0), 0u);
  EXPECT_NE(Rec().links[0], Rec().links[1]);
  EXPECT_NE(Text("lbl10").find("Qelmar工作室"), std::string::npos);
}

TEST_F(Toolkit, TheWindowStartsEmpty) {
  EXPECT_EQ(Form().Window().Text(), "Qelmar3D彩票助手");
  EXPECT_EQ(Text("lblCount"), "0");
  EXPECT_EQ(Text("lblDelCnt"), "0");
  EXPECT_EQ(Text("lblTips"), "");
  for (int row = 0; row < 6; ++row) {
    EXPECT_EQ(Form().Row(row).edit->Text(), "");
    for (auto* box : Form().Row(row).boxes) EXPECT_FALSE(box->Checked());
  }
  EXPECT_TRUE(Form().tmr1.Enabled());
  EXPECT_EQ(Form().tmr1.Interval(), 15000);
}

}  // namespace

namespace {

// A window of its own with one drop-down list.
const tk::FormSpec& ChoiceFormSpec() {
  static const std::vector<tk::ControlSpec> rows = [] {
    tk::ControlSpec combo;
    combo.name = "cboChoice";
    combo.kind = tk::Kind::ComboBox;
    combo.rect = {8, 8, 120, 22};
    combo.tabOrder = 0;
    combo.onChange = "ChoiceChanged";
    return std::vector<tk::ControlSpec>{combo};
  }();
  static const tk::FormSpec form = [] {
    tk::FormSpec f;
    f.name = "FormChoice";
    f.caption = "选择";
    f.clientWidth = 200;
    f.clientHeight = 60;
    f.fontFace = "宋体";
    f.fontHeight = 14;
    f.controls = rows;
    return f;
  }();
  return form;
}

class ChoiceForm : public tk::Form {
 public:
  explicit ChoiceForm(tk::Application& app) : tk::Form(app, ChoiceFormSpec()) {
    Wire<ChoiceForm>(this, {{"ChoiceChanged", &ChoiceForm::ChoiceChanged}}, {}, nullptr);
  }
  void ChoiceChanged(tk::Control& sender) {
    seen.push_back(dynamic_cast<tk::ComboBox&>(sender).Text());
  }
  std::vector<std::string> seen;
};

TEST_F(Toolkit, ADropDownListRunsItsHandlerOnEveryNewChoiceOnly) {
  ChoiceForm f(H().App());
  auto& combo = f.Get<tk::ComboBox>("cboChoice");
  combo.SetItems({"近 30 期", "近 50 期", "全部"});
  EXPECT_EQ(combo.Selected(), -1);
  EXPECT_EQ(combo.Text(), "");
  combo.SetSelected(1);
  combo.SetSelected(1);
  User().Choose(combo, 2);
  User().Choose(combo, 2);
  combo.SetText("近 30 期");
  combo.SetText("没有这一项");
  EXPECT_EQ(f.seen, (Numbers{"近 50 期", "全部", "近 30 期", ""}));
  combo.SetItems({"甲"});
  EXPECT_EQ(combo.Selected(), -1);
  EXPECT_EQ(f.seen.size(), 4u);
}

TEST_F(Toolkit, AQuestionIsAnsweredYesOnlyWhenTheUserSaysSo) {
  Rec().answers = {true};
  EXPECT_TRUE(H().App().Ask("删除？"));
  EXPECT_FALSE(H().App().Ask("再删除？"));
  EXPECT_EQ(Rec().questions, (Numbers{"删除？", "再删除？"}));
}

}  // namespace
