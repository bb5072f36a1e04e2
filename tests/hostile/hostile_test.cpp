// Hostile input on the whole window, headless: huge pastes, control
// characters, emoji and broken UTF-8 in every edit, clicks and a close while a
// spelled-number run is pumping messages, and hostile tips pages.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "app/config.h"
#include "app/filter_form.h"
#include "app/main_table.h"
#include "app/main_window.h"
#include "core/text.h"
#include "lists/lists.h"
#include "tips/tips_store.h"
#include "toolkit/headless/headless.h"

namespace {

using Strings = std::vector<std::string>;

// `count` characters repeating `unit` (a whole number of characters).
std::string Repeat(std::string_view unit, std::size_t count) {
  const auto chars = core::Chars(unit);
  std::string out;
  for (std::size_t i = 0; i < count; ++i) out += chars[i % chars.size()];
  return out;
}

std::string Prefix(std::string_view text, int chars) {
  return std::string(text.substr(0, core::ByteOffsetOfChar(text, static_cast<std::size_t>(chars))));
}

// A new empty folder as the program's folder, removed with the fixture.
struct ScratchFolder {
  std::filesystem::path path;
  ScratchFolder() {
    static std::mt19937 random{std::random_device{}()};
    path = std::filesystem::temp_directory_path() /
           ("qelmar-hostile-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(path);
  }
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
};

class Hostile : public ::testing::Test {
 protected:
  Hostile() {
    app.SetTitle(app::kTitle);
    rec.Attach(app);
    platform.SetProgramFolder(folder.path.string() + "/");
  }

  std::vector<tk::Edit*> Edits() const {
    std::vector<tk::Edit*> out;
    for (tk::Control* c : form.Controls()) {
      if (c->GetKind() == tk::Kind::Edit) out.push_back(&dynamic_cast<tk::Edit&>(*c));
    }
    return out;
  }
  std::vector<tk::Control*> OfKind(tk::Kind kind) const {
    std::vector<tk::Control*> out;
    for (tk::Control* c : form.Controls()) {
      if (c->GetKind() == kind) out.push_back(c);
    }
    return out;
  }
  // Pastes over the whole text of the edit.
  void PasteOver(tk::Control& edit, std::string_view text) {
    user.Select(edit, 0, static_cast<int>(core::CharCount(edit.Text())));
    user.Paste(edit, text);
  }
  // Runs `action` at the n-th message pump from now.
  void AtPump(int n, std::function<void()> action) {
    user.Post([this, n, action] {
      if (n <= 1) {
        action();
      } else {
        AtPump(n - 1, action);
      }
    });
  }
  // What every handler keeps true, whatever was typed or pasted.
  void ExpectConsistent() {
    EXPECT_EQ(form.lblCount.Text(), std::to_string(form.mmoList.LineCount()));
    EXPECT_EQ(form.lblDelCnt.Text(), std::to_string(form.mmoDel.LineCount()));
    for (tk::Control* b : OfKind(tk::Kind::Button)) EXPECT_TRUE(b->Enabled()) << b->Name();
    EXPECT_TRUE(rec.errors.empty()) << rec.errors.front();
    EXPECT_TRUE(rec.links.empty());
  }
  static void ExpectValidLines(const tk::ListControl& list) {
    for (const auto& l : list.Lines()) {
      EXPECT_TRUE(core::IsValidUtf8(l)) << list.Name();
      EXPECT_EQ(core::CharCount(l), 3u) << list.Name();
    }
  }

  ScratchFolder folder;
  tk::headless::HeadlessPlatform platform;
  tk::headless::HeadlessApplication app{platform};
  TForm1 form{app};
  tk::headless::HeadlessDriver user{app};
  tk::Recorder rec;
};

// ---- huge pastes ----

TEST_F(Hostile, TenThousandPastedCharactersInEveryEditThenEveryHandler) {
  // Ten distinct characters, none of them blank at the ends.
  const std::string text = Repeat("1中😀a\tZ€ç9é", 10000);
  for (tk::Edit* e : Edits()) {
    PasteOver(*e, text);
    const int want = e->MaxLength() > 0 ? e->MaxLength() : 10000;
    EXPECT_EQ(e->Text(), Prefix(text, want)) << e->Name();
  }
  ASSERT_EQ(core::CharCount(form.edtNum.Text()), 10000u);

  // The digit edits' key handlers read the pasted text.
  for (int row = 0; row < 6; ++row) {
    tk::Edit& e = *form.Row(row).edit;
    user.Type(e, "\b");
    user.Type(e, "5");
    EXPECT_TRUE(form.Row(row).boxes[5]->Checked());
    EXPECT_TRUE(core::IsValidUtf8(e.Text()));
  }
  for (int row = 0; row < 6; ++row) {
    PasteOver(*form.Row(row).edit, text);
  }

  user.Click(form.btnGet);
  user.Click(form.btnSel);
  EXPECT_EQ(form.mmoList.LineCount(), 1000);
  EXPECT_EQ(form.mmoDel.Lines(), form.mmoList.Lines());
  ExpectValidLines(form.mmoList);
  EXPECT_EQ(form.mmoList.LineAt(0), "111");
  EXPECT_EQ(form.mmoList.LineAt(999), "ééé");

  // The number edits hold their first three characters, already listed.
  user.Click(form.btn3);
  user.Click(form.btn4);
  EXPECT_EQ(rec.notices, Strings(2, std::string(numbers::kAlreadyListed)));
  user.Click(form.btnDelete);
  EXPECT_EQ(form.mmoList.LineCount(), 0);

  // edtNum spells with its ten distinct characters: 1 and 9 among the digits.
  user.Click(form.btnAll);
  const std::size_t pumps = app.PumpCount();
  user.Click(form.btnDel);
  EXPECT_EQ(app.PumpCount() - pumps, 1001u);
  EXPECT_EQ(form.mmoList.LineCount(), 992);
  EXPECT_EQ(form.mmoList.FindLine("191"), -1);
  EXPECT_EQ(form.edtNum.Text(), text);
  user.Click(form.btn1);
  user.Click(form.btn2);
  EXPECT_EQ(form.mmoList.LineCount(), 991);
  EXPECT_EQ(form.mmoDel.LineCount(), 999);
  ExpectConsistent();
}

TEST_F(Hostile, RunOverTenThousandDistinctCharactersPumpsPerRemovalAndEnds) {
  // Digits first, then 9,990 ideographs: 10,000 distinct characters.
  std::string text = "0123456789";
  for (char32_t c = 0x4E00; c < 0x4E00 + 9990; ++c) text += core::EncodeChar(c);
  ASSERT_EQ(numbers::SpellingAlphabet(text).size(), 10000u);
  user.Click(form.btnAll);
  for (const char* n : {"中文字", "a中b"}) {
    PasteOver(form.edtRight, n);
    user.Click(form.btn3);
  }
  PasteOver(form.edtNum, text);

  // The window keeps working: at the 300th pump a number whose turn has passed
  // comes back and stays, one whose turn is still to come is added and goes.
  bool ran = false;
  AtPump(300, [&] {
    ran = !form.btnDel.Enabled();
    for (const char* n : {"000", "中中中"}) {
      PasteOver(form.edtRight, n);
      user.Click(form.btn3);
    }
  });
  const std::size_t pumps = app.PumpCount();
  user.Click(form.btnDel);
  EXPECT_TRUE(ran);
  EXPECT_EQ(form.mmoList.Lines(), (Strings{"a中b", "000"}));
  // Every removal came after a pump of its own: 1,000 numbers, 中文字, 中中中.
  EXPECT_EQ(app.PumpCount() - pumps, 1003u);
  EXPECT_TRUE(rec.notices.empty());
  ExpectConsistent();
}

TEST_F(Hostile, RunAfterTwoMillionPastedCharactersPumpsBeforeEveryLookup) {
  // 24 distinct characters, and 20,000: each run reads the list afresh.
  for (std::size_t distinct : {24u, 20000u}) {
    std::string unit = "0123456789中文abcdefghijkl";
    if (distinct > 24) {
      unit = "0123456789";
      for (char32_t c = 0x4E00; c < 0x4E00 + distinct - 10; ++c) unit += core::EncodeChar(c);
    }
    PasteOver(form.edtNum, Repeat(unit, 2000000));
    ASSERT_EQ(numbers::SpellingAlphabet(form.edtNum.Text()).size(), distinct);
    user.Click(form.btnAll);
    // Mid-run, a number whose turn has passed comes back and stays.
    bool disabled = false;
    AtPump(500, [&] {
      disabled = !form.btnDel.Enabled();
      user.Click(form.btnDel);  // refused
      PasteOver(form.edtRight, "001");
      user.Click(form.btn3);
    });
    const std::size_t pumps = app.PumpCount();
    user.Click(form.btnDel);
    EXPECT_TRUE(disabled);
    EXPECT_EQ(form.mmoList.Lines(), Strings{"001"}) << distinct;
    // One pump before each of the 1,000 lookups, and one that ends the walk.
    EXPECT_EQ(app.PumpCount() - pumps, 1001u) << distinct;
    EXPECT_EQ(core::CharCount(form.edtNum.Text()), 2000000u);
    ExpectConsistent();
  }
}

// ---- control characters, emoji, broken UTF-8 ----

struct Paste {
  const char* name;
  std::string text;
  bool valid;
};

class HostilePaste : public Hostile, public ::testing::WithParamInterface<Paste> {};

TEST_P(HostilePaste, InEveryEditThenEveryButton) {
  const Paste& p = GetParam();
  ASSERT_EQ(core::IsValidUtf8(p.text), p.valid);
  // Some numbers and boxes first, so that every handler has work to do.
  user.Click(form.btnAll);
  for (tk::CheckBox* b : form.Row(3).boxes) user.Click(*b);
  for (tk::Edit* e : Edits()) {
    PasteOver(*e, p.text);
    if (p.valid) {
      EXPECT_TRUE(core::IsValidUtf8(e->Text())) << e->Name();
    }
  }
  for (tk::Control* b : OfKind(tk::Kind::Button)) user.Click(*b);
  // Typed keys after the paste: the key handlers read the edits too.
  for (tk::Edit* e : Edits()) user.Type(*e, "\b7\b");
  for (tk::Control* b : OfKind(tk::Kind::Button)) user.Click(*b);

  if (p.valid) {
    ExpectValidLines(form.mmoList);
    ExpectValidLines(form.mmoDel);
    for (tk::Edit* e : Edits()) EXPECT_TRUE(core::IsValidUtf8(e->Text())) << e->Name();
  }
  ExpectConsistent();
}

INSTANTIATE_TEST_SUITE_P(
    Texts, HostilePaste,
    ::testing::Values(
        Paste{"ControlCharacters", std::string("\x01\x02 1\x1b\x7f\t2\r\n3\b\x0b\x0c", 15), true},
        Paste{"NulBytes",
              std::string("\0"
                          "1\0"
                          "2\0",
                          5),
              true},
        Paste{"Emoji", "😀👍🏽👨‍👩‍👧🇨🇳1", true},
        Paste{"CombiningAndBidi",
              "1\xCC\x81\xE2\x80\xAE"
              "2\xEF\xBB\xBF",
              true},
        Paste{"InvalidUtf8", "\xFF\xFE\xC0\xAF\xED\xA0\x80\xE4\xB8\xF4\x90\x80\x80", false},
        Paste{"CutSequences",
              "1\xE4\xB8"
              "2\xF0\x9F\x98"
              "3\xC3",
              false}),
    [](const ::testing::TestParamInfo<Paste>& info) { return std::string(info.param.name); });

TEST_F(Hostile, StrayBytesSpellTheLineTheyMakeTogetherWhateverTheAlphabetsLength) {
  // Three stray bytes, one per digit edit, generate the one line 中 (E4 B8 AD).
  PasteOver(*form.Row(0).edit, "\xE4");
  PasteOver(*form.Row(1).edit, "\xB8");
  PasteOver(*form.Row(2).edit, "\xAD");
  // Up to ten characters every candidate is looked up; past ten the run jumps
  // between candidates that can equal a line. Both must find this one.
  for (std::string extra : {"", "abcdefghij"}) {
    user.Click(form.btnGet);
    ASSERT_EQ(form.mmoList.Lines(), Strings{"中"});
    PasteOver(form.edtNum, "\xE4 \xB8 \xAD" + extra);
    user.Click(form.btnDel);
    EXPECT_TRUE(form.mmoList.Lines().empty()) << "alphabet of " << 4 + extra.size();
    EXPECT_EQ(form.lblCount.Text(), "0");
  }
  // Stray bytes that join into a capital spell the line of its small letter.
  for (std::string extra : {"", "abcdefghij"}) {
    form.mmoList.ClearLines();
    form.mmoList.AppendLine("ω7");
    form.lblCount.SetText("1");
    PasteOver(form.edtNum, "\xCE 7 \xA9" + extra);
    user.Click(form.btnDel);
    EXPECT_TRUE(form.mmoList.Lines().empty()) << "alphabet of " << 4 + extra.size();
  }
  // A valid 中 typed is one character: it spells 中中中, not the line.
  user.Click(form.btnGet);
  PasteOver(form.edtNum, "中abcdefghij");
  user.Click(form.btnDel);
  EXPECT_EQ(form.mmoList.Lines(), Strings{"中"});
}

// ---- the window during a spelled-number run ----

TEST_F(Hostile, EveryControlUsedDuringARun) {
  user.Click(form.btnAll);
  PasteOver(form.edtNum, "0123456789");
  std::vector<tk::Control*> clickable = OfKind(tk::Kind::Button);
  for (tk::Control* c : OfKind(tk::Kind::CheckBox)) clickable.push_back(c);
  for (tk::Control* c : OfKind(tk::Kind::Label)) {
    if (!c->Def().onClick.empty()) clickable.push_back(c);
  }
  int done = 0;
  bool btnDelDisabled = true;
  int pump = 2;
  for (tk::Control* c : clickable) {
    AtPump(pump++, [&, c] {
      btnDelDisabled = btnDelDisabled && !form.btnDel.Enabled();
      user.Click(*c);
      ++done;
    });
  }
  AtPump(pump++, [&] {
    PasteOver(form.edtNum, "5");  // the run keeps the text it started with
    user.Type(form.edtRight, "123");
    user.Type(form.edtDel, "456");
    user.FireTimer(form.tmr1);
    ++done;
  });
  AtPump(pump++, [&] {
    user.Click(form.btn3);
    user.Click(form.btn4);
    user.Click(form.btnDelete);
    ++done;
  });
  // The last change of the list: all numbers again before the 400th candidate.
  AtPump(400, [&] {
    user.Click(form.btnAll);
    ++done;
  });
  const std::size_t pumps = app.PumpCount();
  user.Click(form.btnDel);

  EXPECT_EQ(done, static_cast<int>(clickable.size()) + 3);
  EXPECT_TRUE(btnDelDisabled);
  // One run only: the click on btnDel during it started nothing.
  EXPECT_EQ(app.PumpCount() - pumps, 1001u);
  // Candidates 000 to 398 had been looked up before the list came back.
  ASSERT_EQ(form.mmoList.LineCount(), 399);
  EXPECT_EQ(form.mmoList.LineAt(0), "000");
  EXPECT_EQ(form.mmoList.LineAt(398), "398");
  EXPECT_EQ(form.edtNum.Text(), "5");
  // The two link labels opened their own addresses and nothing else.
  EXPECT_EQ(rec.links, (Strings{QELMAR3D_UPDATE_URL, QELMAR3D_HOME_URL}));
  rec.links.clear();
  ExpectConsistent();
}

TEST_F(Hostile, WindowClosedDuringARunLetsItFinish) {
  platform.SetFetch(
      [](const tk::HttpRequest&) { return std::string("tip@#$http://a.example/\n"); });
  user.FireTimer(form.tmr1);
  app.ReleaseWork();
  ASSERT_NE(form.WebTips, nullptr);
  ASSERT_EQ(form.WebTips->TipCount, 1);

  user.Click(form.btnAll);
  PasteOver(form.edtNum, "0123456789");
  AtPump(10, [&] { user.CloseWindow(form); });
  AtPump(20, [&] {
    user.CloseWindow(form);  // a second request changes nothing
    user.FireTimer(form.tmr1);
    user.Click(form.lblTips);
    user.Click(form.btnAll);
  });
  const std::size_t pumps = app.PumpCount();
  user.Click(form.btnDel);
  app.Run(form);  // the loop ends at once: the window is closed

  EXPECT_TRUE(form.Closed());
  EXPECT_EQ(form.WebTips, nullptr);
  EXPECT_EQ(app.PumpCount() - pumps, 1001u);
  // The list made at the 20th pump lost every number from candidate 019 on.
  EXPECT_EQ(form.mmoList.LineCount(), 19);
  EXPECT_TRUE(form.btnDel.Enabled());
  // The tip was shown by the first tick only; the click opened its link.
  EXPECT_EQ(rec.links, Strings{"http://a.example/"});
  rec.links.clear();
  ExpectConsistent();
}

// ---- hostile tips pages, parse side ----

class HostileTips : public Hostile {
 protected:
  // One run's store over this body, and its first tip shown.
  const qmWebTips& Load(std::string body) {
    platform.SetFetch([body = std::move(body)](const tk::HttpRequest&) { return body; });
    user.FireTimer(form.tmr1);
    app.ReleaseWork();
    EXPECT_TRUE(rec.errors.empty());
    return *form.WebTips;
  }
};

TEST_F(HostileTips, OneMebibyteLine) {
  const std::string big(std::size_t{1} << 20, 'x');
  const qmWebTips& store = Load(big + "@#$http://a.example/big");
  ASSERT_EQ(store.TipCount, 1);
  EXPECT_EQ(store.TipText[0], big);
  EXPECT_EQ(form.lblTips.Caption(), big + " >>");
  EXPECT_EQ(form.lblTips.Hint(), big);
  user.Click(form.lblTips);
  EXPECT_EQ(rec.links, Strings{"http://a.example/big"});
}

TEST_F(HostileTips, OneMebibyteLineWithoutSeparatorIsSkipped) {
  const std::string big(std::size_t{1} << 20, '\x81');  // lead bytes with no trail
  const qmWebTips& store = Load(big + "\r\nshort@#$http://a.example/\r\n" + big + "@#$");
  ASSERT_EQ(store.TipCount, 2);
  EXPECT_EQ(store.TipText[0], "short");
  EXPECT_EQ(store.TipText[1], big);
  EXPECT_EQ(store.TipLink[1], "");
  for (int tick = 0; tick < 8; ++tick) {
    user.FireTimer(form.tmr1);
    EXPECT_TRUE(core::IsValidUtf8(form.lblTips.Caption()));
  }
}

TEST_F(HostileTips, InvalidGbkIsShownAsReplacementsAndOpensNothingElse) {
  const std::string text =
      "\x81\x20"
      "ab\xFF\x80\xD6\xD0\xFE";
  const qmWebTips& store = Load(text + "@#$\xFF\xFEjavascript:alert(1)\n");
  ASSERT_EQ(store.TipCount, 1);
  const std::string shown = form.lblTips.Caption();
  EXPECT_TRUE(core::IsValidUtf8(shown));
  // 中 (D6 D0) survives between the broken bytes.
  EXPECT_NE(shown.find("ab"), std::string::npos);
  EXPECT_NE(shown.find("中"), std::string::npos);
  EXPECT_NE(shown.find("\xEF\xBF\xBD"), std::string::npos);
  EXPECT_EQ(shown, form.lblTips.Hint() + " >>");
  // The link is no web address once decoded: the click opens nothing.
  user.Click(form.lblTips);
  EXPECT_TRUE(rec.links.empty());
}

TEST_F(HostileTips, LinksThatAreNoWebAddressesOpenNothing) {
  for (const char* link : {"file:///etc/passwd", "\\\\host\\share\\x.exe", "calc.exe", "http:/",
                           "  http://a.example/"}) {
    const qmWebTips& store = Load(std::string("t@#$") + link + "\n");
    ASSERT_EQ(store.TipCount, 1);
    user.Click(form.lblTips);
    EXPECT_TRUE(rec.links.empty()) << link;
    form.TipsStarted = false;  // the next page, as a new run would fetch it
  }
}

// A conditions window left open with no input to come would wait forever:
// the headless loop ends it with an error instead, and nothing is lost.
TEST_F(Hostile, ADialogWithNothingQueuedFailsInsteadOfWaiting) {
  user.Click(form.btnAll);
  user.Post([this] { form.mniFilterClick(form.mmoList); });
  user.Post([this] { user.Type(form.FormFilter->Find("edtDan"), "1"); });
  app.PumpMessages();
  ASSERT_EQ(rec.errors.size(), 1u);
  EXPECT_NE(rec.errors[0].find("FormFilter"), std::string::npos);
  EXPECT_EQ(form.FormFilter, nullptr);
  EXPECT_EQ(form.FilterSettings.danText, "1");
  EXPECT_EQ(form.mmoList.LineCount(), 1000);
  EXPECT_THROW(form.mniFilterClick(form.mmoList), tk::Error);
  EXPECT_EQ(form.FormFilter, nullptr);
}

}  // namespace
