// What the plays window is photographed with, on every backend: a small
// bet list made by the digit rows, then 组六胆拖 with 胆 1 and 拖 2345
// (共 6 注，金额 12 元).
#pragma once

#include <cstddef>
#include <string_view>

#include "app/main_window.h"
#include "app/plays_form.h"
#include "app/plays_table.h"
#include "plays/plays.h"
#include "toolkit/testing/driver.h"

namespace testsupport {

// 135 × 2468 × 079: 36 bets.
inline void FillShotBets(tk::UserDriver& user, TForm1& form) {
  auto tick = [&](int row, std::string_view digits) {
    for (const char d : digits) {
      user.Click(*form.Row(row).boxes[static_cast<std::size_t>(d - '0')]);
    }
  };
  tick(0, "135");
  tick(1, "2468");
  tick(2, "079");
  user.Click(form.btnGet);
}

inline void ChooseShotPlay(tk::UserDriver& user, TFormPlays& plays) {
  user.Choose(plays.cboPlay, static_cast<int>(plays::Play::kZu6DanTuo));
  user.Click(plays.Find(app::PlaysDigitBox(0, 1)));
  for (const int d : {2, 3, 4, 5}) user.Click(plays.Find(app::PlaysDigitBox(1, d)));
}

}  // namespace testsupport
