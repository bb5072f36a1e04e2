// Digit rows: boxes and digit edits stay in step.
#include "core/text.h"
#include "harness.h"

namespace {

class Panels : public Behaviour {
 protected:
  tk::Edit& RowEdit(int row) { return *Form().Row(row).edit; }
  bool Ticked(int row, int digit) {
    return Form().Row(row).boxes[static_cast<std::size_t>(digit)]->Checked();
  }
  std::string TickedDigits(int row) {
    std::string out;
    for (int d = 0; d < 10; ++d) out += Ticked(row, d) ? char('0' + d) : '.';
    return out;
  }
};

TEST_F(Panels, TickingAppendsAndUntickingRemovesInEveryRow) {
  for (int row = 0; row < 6; ++row) {
    SCOPED_TRACE(row);
    Tick(row, "317");
    EXPECT_EQ(RowEdit(row).Text(), "317");
    Tick(row, "1");  // unticks 1
    EXPECT_EQ(RowEdit(row).Text(), "37");
    Tick(row, "1");
    EXPECT_EQ(RowEdit(row).Text(), "371");
  }
}

TEST_F(Panels, RowsAndPanelsAreIndependent) {
  Tick(0, "9");
  Tick(4, "28");
  EXPECT_EQ(RowEdit(0).Text(), "9");
  EXPECT_EQ(RowEdit(1).Text(), "");
  EXPECT_EQ(RowEdit(3).Text(), "");
  EXPECT_EQ(RowEdit(4).Text(), "28");
  EXPECT_EQ(TickedDigits(1), "..........");
  EXPECT_EQ(TickedDigits(4), "..2.....8.");
}

TEST_F(Panels, TypedDigitsTickBoxesAndAreAppendedOnce) {
  for (int row : {2, 5}) {
    Type(RowEdit(row).Name(), "525");
    EXPECT_EQ(RowEdit(row).Text(), "52");
    EXPECT_EQ(TickedDigits(row), "..2..5....");
    EXPECT_EQ(RowEdit(row).CaretOffset(), 2);
  }
}

TEST_F(Panels, TypedDigitGoesToTheEndWhateverTheCaret) {
  Type("edt1", "84");
  User().PlaceCaret(RowEdit(0), 0);
  Type("edt1", "1");
  EXPECT_EQ(Text("edt1"), "841");
  // A selection is not replaced either.
  User().Select(RowEdit(0), 0, 3);
  Type("edt1", "8");
  EXPECT_EQ(Text("edt1"), "841");
  EXPECT_EQ(RowEdit(0).CaretOffset(), 3);
}

TEST_F(Panels, OtherCharactersAreDroppedSilently) {
  Type("edt2", "a -.\t中😀\r");
  EXPECT_EQ(Text("edt2"), "");
  EXPECT_EQ(TickedDigits(1), "..........");
  EXPECT_TRUE(Rec().notices.empty());
}

TEST_F(Panels, BackspaceUnticksTheDigitLeftOfTheCaret) {
  Type("edt1", "52");
  Type("edt1", "\b");
  EXPECT_EQ(Text("edt1"), "5");
  EXPECT_FALSE(Ticked(0, 2));
  EXPECT_EQ(RowEdit(0).CaretOffset(), 1);

  Tick(3, "317");
  User().PlaceCaret(RowEdit(3), 2);
  Type("edt4", "\b");
  EXPECT_EQ(Text("edt4"), "37");
  EXPECT_EQ(RowEdit(3).CaretOffset(), 1);
  EXPECT_EQ(TickedDigits(3), "...3...7..");
}

TEST_F(Panels, BackspaceOnASelectionUnticksTheDigitBeforeItsStart) {
  Tick(1, "1234");
  User().Select(RowEdit(1), 1, 2);
  Type("edt2", "\b");
  EXPECT_EQ(Text("edt2"), "234");
  EXPECT_EQ(RowEdit(1).CaretOffset(), 0);
}

TEST_F(Panels, BackspaceAtTheStartChangesNothing) {
  Tick(0, "46");
  User().PlaceCaret(RowEdit(0), 0);
  Type("edt1", "\b");
  EXPECT_EQ(Text("edt1"), "46");
  EXPECT_EQ(TickedDigits(0), "....4.6...");
}

TEST_F(Panels, TenTicksGiveTheLongestTextInTickOrder) {
  Tick(2, "7301894562");
  EXPECT_EQ(Text("edt3"), "7301894562");
  // Typing more changes nothing: every digit is already there.
  Type("edt3", "0123456789");
  EXPECT_EQ(Text("edt3"), "7301894562");
}

TEST_F(Panels, DigitRemovedBehindTheBoxesBackIsAppendedOnlyAfterARetick) {
  Tick(0, "123");
  // The Delete key edits the text directly: remove the 2 behind the box's back.
  User().Select(RowEdit(0), 1, 1);
  Paste("edt1", "");
  ASSERT_EQ(Text("edt1"), "13");
  Type("edt1", "2");  // box already ticked: nothing
  EXPECT_EQ(Text("edt1"), "13");
  Tick(0, "2");  // unticks: the digit is not in the text, nothing to remove
  EXPECT_EQ(Text("edt1"), "13");
  Tick(0, "2");
  EXPECT_EQ(Text("edt1"), "132");
}

TEST_F(Panels, BlanksGoAtTheNextBoxChange) {
  Paste("edt6", "  4 ");
  Tick(5, "9");
  EXPECT_EQ(Text("edt6"), "49");
}

TEST_F(Panels, BackspaceWithTheCaretPastTheTrimmedTextOnlyMovesTheCaret) {
  Tick(0, "5");
  User().PlaceCaret(RowEdit(0), 1);
  Paste("edt1", "   ");
  ASSERT_EQ(RowEdit(0).CaretOffset(), 4);
  Type("edt1", "\b");
  EXPECT_EQ(Text("edt1"), "5   ");
  EXPECT_TRUE(Ticked(0, 5));
  EXPECT_EQ(RowEdit(0).CaretOffset(), 3);
}

TEST_F(Panels, PastedMultiByteTextIsNeverSplit) {
  Tick(0, "5");
  User().PlaceCaret(RowEdit(0), 0);
  Paste("edt1", "中");
  ASSERT_EQ(Text("edt1"), "中5");
  // Backspace right after the Chinese character: not a digit, no box.
  User().PlaceCaret(RowEdit(0), 1);
  Type("edt1", "\b");
  EXPECT_EQ(Text("edt1"), "中5");
  EXPECT_EQ(RowEdit(0).CaretOffset(), 0);
  // After the 5: unticks it, and the text stays valid UTF-8.
  User().PlaceCaret(RowEdit(0), 2);
  Type("edt1", "\b");
  EXPECT_EQ(Text("edt1"), "中");
  EXPECT_TRUE(core::IsValidUtf8(Text("edt1")));
}

}  // namespace
