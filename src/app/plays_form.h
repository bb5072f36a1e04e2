// The plays window (投注方式): a play of other tools chosen, its inputs
// counted and priced as they are typed, and its bets put into the bet list.
#pragma once

#include "lists/lists.h"
#include "plays/plays.h"
#include "toolkit/history.h"
#include "toolkit/toolkit.h"

class TFormPlays : public tk::Form {
 public:
  // Each run of a list button is one step of `history` on the bet list.
  TFormPlays(tk::Application& app, tk::History& history, const numbers::CountedList& bets);

  // Puts a choice into the window, then counts once.
  void Restore(const plays::Choice& choice);
  const plays::Choice& Chosen() const { return choice_; }

  tk::ComboBox& cboPlay;
  tk::Edit& edtPlaysValues;
  tk::Control& lblPlaysCount;
  tk::Control& btnPlaysReplace;
  tk::Control& btnPlaysAdd;
  tk::Control& btnPlaysCancel;

  void PlayChanged(tk::Control& sender);
  void InputChanged(tk::Control& sender);
  void btnPlaysReplaceClick(tk::Control& sender);
  void btnPlaysAddClick(tk::Control& sender);
  void btnPlaysCancelClick(tk::Control& sender);

 private:
  tk::CheckBox& DigitBox(int row, int digit) const;
  // Reads the boxes and the edit into the choice.
  void ReadInputs();
  // Only the inputs the play uses are enabled; the count line follows.
  void ShowPlay();
  void ShowCount();
  void Put(bool replace);

  tk::History& history_;
  numbers::CountedList bets_;
  plays::Choice choice_;
  bool restoring_ = false;
};
