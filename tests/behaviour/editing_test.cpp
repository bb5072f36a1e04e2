// Adding typed numbers, removing lines, applying the deletion list and
// removing the numbers spelled with typed digits.
#include <algorithm>
#include <string>
#include <vector>

#include "core/text.h"
#include "harness.h"
#include "lists/lists.h"

namespace {

using Numbers = std::vector<std::string>;
using Editing = Behaviour;

bool Has(const Numbers& lines, const std::string& n) {
  return std::find(lines.begin(), lines.end(), n) != lines.end();
}

TEST_F(Editing, NumberEditsTakeOnlyDigitsAndBackspaceUpToThree) {
  Type("edtRight", "1a2\r 3中4");
  EXPECT_EQ(Text("edtRight"), "123");
  Type("edtRight", "\b9");
  EXPECT_EQ(Text("edtRight"), "129");
  Type("edtDel", "x7-8");
  EXPECT_EQ(Text("edtDel"), "78");
}

TEST_F(Editing, AddingChecksTheLengthNotTheCharacters) {
  Type("edtRight", "12");
  Click("btn3");
  EXPECT_TRUE(Lines("mmoList").empty());
  EXPECT_EQ(Text("lblCount"), "0");
  Paste("edtRight", "");
  User().Select(C("edtRight"), 0, 3);
  Paste("edtRight", " 12");
  Click("btn3");
  EXPECT_TRUE(Lines("mmoList").empty());
  AddNumbers(true, {"1a2", "中文字", "中文"});
  EXPECT_EQ(Lines("mmoList"), (Numbers{"1a2", "中文字"}));
  EXPECT_EQ(Text("lblCount"), "2");
  EXPECT_TRUE(Rec().notices.empty());
  // The edit keeps its text after adding.
  EXPECT_EQ(Text("edtRight"), "中文");
}

TEST_F(Editing, AddingAListedNumberIsRefusedForThatListOnly) {
  AddNumbers(true, {"123", "456"});
  AddNumbers(true, {"123"});
  ASSERT_EQ(Rec().notices, Numbers{std::string(numbers::kAlreadyListed)});
  EXPECT_EQ(Lines("mmoList"), (Numbers{"123", "456"}));
  EXPECT_EQ(Text("lblCount"), "2");
  AddNumbers(false, {"123"});
  EXPECT_EQ(Lines("mmoDel"), Numbers{"123"});
  EXPECT_EQ(Text("lblDelCnt"), "1");
  EXPECT_EQ(Rec().notices.size(), 1u);
  // Letter case does not make a new number.
  AddNumbers(false, {"a1b"});
  AddNumbers(false, {"A1B"});
  EXPECT_EQ(Lines("mmoDel"), (Numbers{"123", "a1b"}));
}

TEST_F(Editing, FullwidthGreekAndCyrillicLettersIgnoreCaseAsWindowsDoes) {
  AddNumbers(true, {"Ａ12", "ａ12", "ω7A", "Жж1", "ё23"});
  ASSERT_EQ(Rec().notices, Numbers{std::string(numbers::kAlreadyListed)});
  EXPECT_EQ(Lines("mmoList"), (Numbers{"Ａ12", "ω7A", "Жж1", "ё23"}));
  AddNumbers(true, {"A12"});  // width still counts
  EXPECT_EQ(Rec().notices.size(), 1u);
  AddNumbers(false, {"Ω7A", "ЖЖ1"});
  Click("btnDelete");
  EXPECT_EQ(Lines("mmoList"), (Numbers{"Ａ12", "ё23", "A12"}));
  EXPECT_EQ(Text("lblCount"), "3");
  // Spelled numbers match the same way, with few characters and with many.
  Paste("edtNum", "ａ21");
  Click("btnDel");
  EXPECT_EQ(Lines("mmoList"), (Numbers{"ё23", "A12"}));
  User().Select(C("edtNum"), 0, 3);
  Paste("edtNum", "Ё2QWERTYUIOP3");
  Click("btnDel");
  EXPECT_EQ(Lines("mmoList"), (Numbers{"A12"}));
  EXPECT_EQ(Text("lblCount"), "1");
}

TEST_F(Editing, RemoveTheLineAtTheCaret) {
  Generate(true, "1", "2", "0123456");
  // Caret inside the fifth line ("124"): 4 lines of 3 characters + CR LF before it.
  User().PlaceCaret(C("mmoList"), 4 * 5 + 1);
  Click("btn1");
  EXPECT_EQ(Lines("mmoList"), (Numbers{"120", "121", "122", "123", "125", "126"}));
  EXPECT_EQ(Text("lblCount"), "6");
  EXPECT_TRUE(C("mmoList").Focused());

  // A selection over several lines removes only the line of its start.
  User().Select(C("mmoList"), 5, 12);
  Click("btn1");
  EXPECT_EQ(Lines("mmoList"), (Numbers{"120", "122", "123", "125", "126"}));

  // After the final line break there is no line.
  User().PlaceCaret(C("mmoList"), 5 * 5);
  Click("btn1");
  EXPECT_EQ(Lines("mmoList").size(), 5u);
  EXPECT_EQ(Text("lblCount"), "5");
}

TEST_F(Editing, RemoveOnAnEmptyListShowsZero) {
  Click("btn2");
  EXPECT_TRUE(Lines("mmoDel").empty());
  EXPECT_EQ(Text("lblDelCnt"), "0");
  EXPECT_TRUE(C("mmoDel").Focused());
  EXPECT_TRUE(Rec().notices.empty());
}

TEST_F(Editing, ApplyingTheDeletionListNeedsBothLists) {
  Click("btnDelete");
  ASSERT_EQ(Rec().notices, Numbers{std::string(numbers::kEmptyBetList)});
  Generate(false, "1", "2", "3");
  Click("btnDelete");
  EXPECT_EQ(Rec().notices.back(), numbers::kEmptyBetList);
  Click("btnAll");
  Click("btnSel");  // deletion list stays, now emptied by hand
  User().PlaceCaret(C("mmoDel"), 0);
  Click("btn2");
  Click("btnDelete");
  EXPECT_EQ(Rec().notices.back(), numbers::kEmptyDeletionList);
  EXPECT_EQ(Lines("mmoList").size(), 1000u);
  EXPECT_TRUE(C("btnDelete").Enabled());
}

TEST_F(Editing, TheDeletionListTakesEveryCopy) {
  // 123 twice (hundreds text 11, pasted), then 456 and 789.
  Paste("edt1", "11");
  Generate(true, "", "2", "3");
  AddNumbers(true, {"456", "789"});
  ASSERT_EQ(Lines("mmoList"), (Numbers{"123", "123", "456", "789"}));
  AddNumbers(false, {"123", "456"});
  Click("btnDelete");
  EXPECT_EQ(Lines("mmoList"), Numbers{"789"});
  EXPECT_EQ(Text("lblCount"), "1");
  EXPECT_EQ(Lines("mmoDel"), (Numbers{"123", "456"}));
  EXPECT_EQ(Text("lblDelCnt"), "2");
  EXPECT_TRUE(C("btnDelete").Enabled());
  EXPECT_TRUE(Rec().notices.empty());
}

TEST_F(Editing, DeletionListThatMatchesNothingChangesNothing) {
  Generate(true, "1", "2", "34");
  Generate(false, "9", "9", "9");
  Click("btnDelete");
  EXPECT_EQ(Lines("mmoList"), (Numbers{"123", "124"}));
  EXPECT_EQ(Text("lblCount"), "2");
  EXPECT_TRUE(Rec().notices.empty());
}

TEST_F(Editing, TypedDigitsRemoveEveryNumberSpelledWithThem) {
  Click("btnAll");
  Paste("edtNum", "123");
  Click("btnDel");
  const auto& lines = Lines("mmoList");
  EXPECT_EQ(lines.size(), 973u);
  EXPECT_EQ(Text("lblCount"), "973");
  for (const char* gone : {"111", "123", "213", "333", "312"}) EXPECT_FALSE(Has(lines, gone));
  for (const char* kept : {"110", "124", "400", "000"}) EXPECT_TRUE(Has(lines, kept));
  EXPECT_TRUE(C("btnDel").Enabled());
  EXPECT_EQ(Text("edtNum"), "123");
}

TEST_F(Editing, OrderOfTypedDigitsDoesNotChangeWhatGoes) {
  Click("btnAll");
  Paste("edtNum", "321");
  Click("btnDel");
  Numbers first = Lines("mmoList");
  Click("btnAll");
  Paste("edtNum", "");
  User().Select(C("edtNum"), 0, 3);
  Paste("edtNum", "1 2 3");  // blanks inside take part but match nothing
  Click("btnDel");
  EXPECT_EQ(Lines("mmoList"), first);
}

TEST_F(Editing, OneDigitRemovesOnlyItsTriple) {
  Click("btnAll");
  Paste("edtNum", " 5 ");
  Click("btnDel");
  EXPECT_EQ(Lines("mmoList").size(), 999u);
  EXPECT_FALSE(Has(Lines("mmoList"), "555"));
  EXPECT_TRUE(Has(Lines("mmoList"), "556"));
}

TEST_F(Editing, AllDigitsRemoveEveryCopy) {
  Generate(true, "1", "2", "3");
  Paste("edt1", "1");  // hundreds 11: 123 twice
  Click("btnGet");
  AddNumbers(true, {"999", "abc"});
  Paste("edtNum", "0123456789");
  Click("btnDel");
  EXPECT_EQ(Lines("mmoList"), Numbers{"abc"});
  EXPECT_EQ(Text("lblCount"), "1");
}

TEST_F(Editing, BlankTypedDigitsAreRefused) {
  Click("btnAll");
  Paste("edtNum", " \t ");
  Click("btnDel");
  ASSERT_EQ(Rec().notices, Numbers{std::string(numbers::kEmptyTypedDigits)});
  EXPECT_TRUE(C("edtNum").Focused());
  EXPECT_TRUE(C("btnDel").Enabled());
  EXPECT_EQ(Lines("mmoList").size(), 1000u);
}

TEST_F(Editing, RepeatedTypedCharactersAreUsedOnceAndTheRunEnds) {
  Click("btnAll");
  Paste("edtNum", "1213");
  Click("btnDel");
  EXPECT_EQ(Lines("mmoList").size(), 973u);
  EXPECT_FALSE(Has(Lines("mmoList"), "333"));
  Click("btnAll");
  User().Select(C("edtNum"), 0, 4);
  Paste("edtNum", "7117");  // F equals L
  Click("btnDel");
  EXPECT_EQ(Lines("mmoList").size(), 992u);
  EXPECT_FALSE(Has(Lines("mmoList"), "171"));
}

TEST_F(Editing, HugePastedDigitTextEndsAndRemovesWhatItSpells) {
  Click("btnAll");
  AddNumbers(true, {"中文字"});
  std::string huge;
  for (char32_t c = 0x4E00; c < 0x4E00 + 5000; ++c) huge += core::EncodeChar(c);
  huge += "文字中9";
  Paste("edtNum", huge);
  Click("btnDel");
  EXPECT_FALSE(Has(Lines("mmoList"), "中文字"));
  EXPECT_FALSE(Has(Lines("mmoList"), "999"));
  EXPECT_EQ(Lines("mmoList").size(), 999u);
  EXPECT_EQ(Text("lblCount"), "999");
  EXPECT_TRUE(C("btnDel").Enabled());
}

// ---- the run of btnDel keeps the window working between candidates ----

class SpelledRun : public Editing {
 protected:
  // Runs `action` inside the run's message processing, at its n-th pump.
  void AtPump(int n, std::function<void()> action) {
    User().Post([this, n, action]() mutable {
      if (n <= 1) {
        action();
      } else {
        AtPump(n - 1, action);
      }
    });
  }
};

TEST_F(SpelledRun, ListRegeneratedMidRunIsTheListTheRunGoesOnWith) {
  Click("btnAll");
  Paste("edtNum", "12");
  // Candidates 111 112 121 122 211 212 221 222; the pump before the 5th
  // candidate regenerates all numbers.
  bool disabledDuringRun = false;
  AtPump(5, [&] {
    disabledDuringRun = !C("btnDel").Enabled();
    Click("btnDel");  // refused: its button is disabled
    Click("btnAll");
  });
  Click("btnDel");
  const auto& lines = Lines("mmoList");
  EXPECT_TRUE(disabledDuringRun);
  EXPECT_EQ(lines.size(), 996u);
  for (const char* back : {"111", "112", "121", "122"}) EXPECT_TRUE(Has(lines, back));
  for (const char* gone : {"211", "212", "221", "222"}) EXPECT_FALSE(Has(lines, gone));
  EXPECT_EQ(Text("lblCount"), "996");
  EXPECT_TRUE(C("btnDel").Enabled());
}

TEST_F(SpelledRun, LineRemovedByHandMidRunIsNotLookedUpAgain) {
  Generate(true, "12", "12", "12");
  Paste("edtNum", "12");
  AtPump(3, [&] {
    User().PlaceCaret(C("mmoList"), 0);  // 111 and 112 are gone: the top line is 121
    Click("btn1");
  });
  Click("btnDel");
  EXPECT_TRUE(Lines("mmoList").empty());
  EXPECT_EQ(Text("lblCount"), "0");
}

TEST_F(SpelledRun, ClosingTheWindowMidRunLetsTheRunFinish) {
  Click("btnAll");
  Paste("edtNum", "0123456789");
  AtPump(10, [&] { User().CloseWindow(Form()); });
  Click("btnDel");
  EXPECT_TRUE(Form().Closed());
  EXPECT_TRUE(Lines("mmoList").empty());
  EXPECT_EQ(Text("lblCount"), "0");
}

}  // namespace
