// Building the bet list, the deletion list and the list of all numbers.
#include <cstdio>
#include <string>
#include <vector>

#include "core/text.h"
#include "harness.h"
#include "lists/lists.h"

namespace {

using Numbers = std::vector<std::string>;
using Generation = Behaviour;

TEST_F(Generation, CombinationsFollowTheTickOrderOfEachRow) {
  Tick(0, "31");
  Tick(1, "0");
  Type("edt3", "95");
  Click("btnGet");
  EXPECT_EQ(Lines("mmoList"), (Numbers{"309", "305", "109", "105"}));
  EXPECT_EQ(Text("lblCount"), "4");
  EXPECT_TRUE(C("btnGet").Enabled());

  Generate(false, "21", "3", "54");
  EXPECT_EQ(Lines("mmoDel"), (Numbers{"235", "234", "135", "134"}));
  EXPECT_EQ(Text("lblDelCnt"), "4");
}

TEST_F(Generation, TenDigitsInEveryRowGiveAllNumbersInTickOrder) {
  Generate(true, "9876543210", "0123456789", "5049382716");
  const auto& lines = Lines("mmoList");
  ASSERT_EQ(lines.size(), 1000u);
  EXPECT_EQ(Text("lblCount"), "1000");
  EXPECT_EQ(lines.front(), "905");
  EXPECT_EQ(lines[1], "900");
  EXPECT_EQ(lines[10], "915");
  EXPECT_EQ(lines.back(), "096");
}

TEST_F(Generation, EmptyOrBlankRowIsRefusedAndTheListStays) {
  Generate(true, "1", "2", "3");
  ASSERT_EQ(Lines("mmoList"), Numbers{"123"});
  Tick(0, "1");  // hundreds empty again
  Click("btnGet");
  ASSERT_EQ(Rec().notices, std::vector<std::string>{std::string(numbers::kEmptyDigits)});
  EXPECT_EQ(Lines("mmoList"), Numbers{"123"});
  EXPECT_EQ(Text("lblCount"), "1");
  EXPECT_TRUE(C("btnGet").Enabled());

  // Blanks only count as empty, in the deletion panel too.
  Paste("edt4", "   ");
  Tick(4, "1");
  Tick(5, "2");
  Click("btnSel");
  EXPECT_EQ(Rec().notices.size(), 2u);
  EXPECT_EQ(Rec().notices.back(), numbers::kEmptyDigits);
  EXPECT_TRUE(Lines("mmoDel").empty());
  EXPECT_EQ(Text("lblDelCnt"), "0");
}

TEST_F(Generation, GeneratingAgainReplacesTheList) {
  Generate(true, "12", "34", "56");
  ASSERT_EQ(Text("lblCount"), "8");
  Tick(0, "2");
  Tick(1, "4");
  Click("btnGet");
  EXPECT_EQ(Lines("mmoList"), (Numbers{"135", "136"}));
  EXPECT_EQ(Text("lblCount"), "2");
}

TEST_F(Generation, EachPanelFillsOnlyItsOwnList) {
  Generate(true, "1", "2", "3");
  Generate(false, "4", "5", "67");
  EXPECT_EQ(Lines("mmoList"), Numbers{"123"});
  EXPECT_EQ(Text("lblCount"), "1");
  EXPECT_EQ(Lines("mmoDel"), (Numbers{"456", "457"}));
  Click("btnAll");
  EXPECT_EQ(Lines("mmoDel"), (Numbers{"456", "457"}));
  EXPECT_EQ(Text("lblDelCnt"), "2");
  // The panels keep their choice across generations.
  EXPECT_EQ(Text("edt6"), "67");
}

TEST_F(Generation, AllNumbersInAscendingOrderWhateverWasThere) {
  Generate(true, "9", "9", "9");
  Click("btnAll");
  const auto& lines = Lines("mmoList");
  ASSERT_EQ(lines.size(), 1000u);
  for (int i = 0; i < 1000; ++i) {
    char expected[12];
    std::snprintf(expected, sizeof expected, "%03d", i);
    ASSERT_EQ(lines[static_cast<std::size_t>(i)], expected);
  }
  EXPECT_EQ(Text("lblCount"), "1000");
  EXPECT_TRUE(C("btnAll").Enabled());
  EXPECT_TRUE(Rec().notices.empty());
}

TEST_F(Generation, PastedTextIsTakenCharacterByCharacter) {
  // Repeats count, and a pasted Chinese character is one whole choice.
  Paste("edt1", "11");
  Paste("edt2", "中");
  Paste("edt3", " 5 ");
  Click("btnGet");
  EXPECT_EQ(Lines("mmoList"), (Numbers{"1中5", "1中5"}));
  EXPECT_EQ(Text("lblCount"), "2");
  for (const auto& l : Lines("mmoList")) EXPECT_TRUE(core::IsValidUtf8(l));
}

TEST_F(Generation, TheWidgetShowsTheListOnceTheHandlerReturns) {
  Generate(true, "12", "3", "4");
  EXPECT_EQ(User().ShownListText(C("mmoList")), "134\n234\n");
}

}  // namespace
