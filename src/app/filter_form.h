// The conditions window: trims the bet list by the usual conditions, shown
// modal over the main window.
#pragma once

#include "numbers/filter.h"
#include "numbers/numbers.h"
#include "toolkit/toolkit.h"

class TFormFilter : public tk::Form {
 public:
  TFormFilter(tk::Application& app, const numbers::CountedList& bets,
              const numbers::CountedList& deletions);

  // What the window's boxes, options and edits hold now.
  numbers::FilterSettings Settings() const;
  // Puts settings into the window, then counts once.
  void Restore(const numbers::FilterSettings& settings);

  tk::Control& lblFilterCount;
  tk::Control& btnFilterDelete;
  tk::Control& btnFilterToDel;
  tk::Control& btnFilterCancel;

  void SettingChanged(tk::Control& sender);
  void btnFilterDeleteClick(tk::Control& sender);
  void btnFilterToDelClick(tk::Control& sender);
  void btnFilterCancelClick(tk::Control& sender);

 private:
  bool Box(std::string_view name) const { return Get<tk::CheckBox>(name).Checked(); }
  void Recount();
  // The lines of the bet list that go with the settings shown; none while
  // they are not valid.
  std::vector<bool> Going();

  numbers::CountedList bets_;
  numbers::CountedList deletions_;
  bool restoring_ = false;
};
