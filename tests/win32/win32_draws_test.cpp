// The draws window on native Win32: the canvas paints what it keeps, and a
// picture for ImageMagick (identify_picture.cmake) when asked for one.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "../behaviour/draws_window.h"
#include "app/filter_form.h"
#include "harness_win32.h"

#include <commctrl.h>

namespace {

using numbers::TrendChart;
using tk::win32::HandleOf;

class Win32Draws : public DrawsWindow {
 protected:
  Win32Harness& Wh() { return static_cast<Win32Harness&>(H()); }
};

TEST_F(Win32Draws, ADrawnCellHoldsItsCircleColourOnScreen) {
  folder.Write("draws.txt",
               "期号 日期 号码\r\n2024001 - 012\r\n2024002 - 998\r\n2024003 - 357\r\n");
  InWindow({[&] {
    H().App().FlushViews();
    HWND h = HandleOf(W().cnvChart);
    RECT r{};
    GetClientRect(h, &r);
    HDC screen = GetDC(h);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, r.right, r.bottom);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageW(h, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    const TrendChart& c = W().Chart();
    tk::Canvas& canvas = W().cnvChart;
    auto& app = Wh().app;
    // Beside the digit, inside the circle: each block's colour on 357's row.
    for (int b = 0; b < 3; ++b) {
      const int digit = b == 0 ? 3 : b == 1 ? 5 : 7;
      const tk::Rect cell = c.CellRect(2, TrendChart::kFirstDigitColumn + 10 * b + digit);
      const int x = app.Scale(cell.left + cell.width / 2 - 6 - canvas.ScrollX());
      const int y = app.Scale(cell.top + cell.height / 2 - canvas.ScrollY());
      const std::uint32_t rgb = TrendChart::kBlockColours[b];
      const COLORREF want = RGB(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF);
      EXPECT_EQ(GetPixel(dc, x, y), want) << b;
      EXPECT_NE(GetPixel(dc, x + app.Scale(22), y), want) << b;
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(h, screen);

    // The chart as a picture, for ImageMagick to open after this run.
    if (const char* out = std::getenv("QELMAR3D_DRAWS_PICTURE")) {
      Rec().dialogAnswers = {out};
      Tap("btnSaveChart");
      std::ofstream(std::string(out) + ".size") << "PNG " << c.Width() << " " << c.Height();
    }
    W().Close();
  }});
}

// The window's hints show from one tooltip window: each tooltip is a
// top-level window, made again at every opening.
TEST_F(Win32Draws, EveryHintShowsFromOneTooltipWindow) {
  InWindow({[&] {
    struct Count {
      HWND owner;
      int tips = 0;
    } count{HandleOf(W().Window())};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND h, LPARAM l) -> BOOL {
          auto* c = reinterpret_cast<Count*>(l);
          wchar_t cls[64] = {};
          GetClassNameW(h, cls, 64);
          if (GetWindow(h, GW_OWNER) == c->owner && lstrcmpiW(cls, TOOLTIPS_CLASSW) == 0) {
            ++c->tips;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    EXPECT_EQ(count.tips, 1);
    tk::Control& paste = W().Find("btnPaste");
    for (tk::Control* c : {static_cast<tk::Control*>(&W().edtIssue),
                           static_cast<tk::Control*>(&W().edtDate), &paste}) {
      EXPECT_FALSE(c->Hint().empty());
      EXPECT_EQ(tk::win32::ShownHint(*c), c->Hint());
    }
    // A hint taken away leaves the others.
    W().edtIssue.SetHint("");
    EXPECT_EQ(tk::win32::ShownHint(W().edtIssue), "");
    EXPECT_EQ(tk::win32::ShownHint(W().edtDate), W().edtDate.Hint());
    W().Close();
  }});
}

// At 96, 120 and 144 dpi the draws window and the conditions window open
// wholly on the work area, each side as designed or as long as it allows.
void ExpectFits(HWND h, int dpi, SIZE designed, const char* what) {
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  RECT outer{};
  RECT client{};
  GetWindowRect(h, &outer);
  GetClientRect(h, &client);
  const int borderX = (outer.right - outer.left) - client.right;
  const int borderY = (outer.bottom - outer.top) - client.bottom;
  std::printf("%s at %d dpi: outer %ld,%ld %ldx%ld, client %ldx%ld on work area %ldx%ld\n", what,
              dpi, outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top,
              client.right, client.bottom, work.right - work.left, work.bottom - work.top);
  EXPECT_TRUE(outer.left >= work.left && outer.top >= work.top && outer.right <= work.right &&
              outer.bottom <= work.bottom)
      << what << " at " << dpi;
  EXPECT_EQ(client.right,
            std::min<long>(MulDiv(designed.cx, dpi, 96), work.right - work.left - borderX))
      << what << " at " << dpi;
  EXPECT_EQ(client.bottom,
            std::min<long>(MulDiv(designed.cy, dpi, 96), work.bottom - work.top - borderY))
      << what << " at " << dpi;
}

TEST(Win32WindowFit, TheDrawsAndConditionsWindowsOpenOnTheWorkArea) {
  for (const int dpi : {96, 120, 144}) {
    Win32Harness h(dpi);
    h.form.mniDrawsClick(h.form.mmoList);
    ASSERT_NE(h.form.FormDraws, nullptr);
    ExpectFits(HandleOf(h.form.FormDraws->Window()), dpi, {960, 600}, "draws window");
    h.form.FormDraws->Close();
    h.driver.Click(h.form.btnAll);
    h.driver.Post([&] {
      ExpectFits(HandleOf(h.form.FormFilter->Window()), dpi, {894, 446}, "conditions window");
      h.form.FormFilter->Close();
    });
    h.form.mniFilterClick(h.form.mmoList);
    EXPECT_TRUE(h.rec.errors.empty());
  }
}

}  // namespace
