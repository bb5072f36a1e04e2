// The status line: a random tip every tick, its link on a click.
#include "app/main3d.h"
#include "tips/qmwebtips.h"
#include "toolkit/text.h"

void TForm1::tmr1Timer(tk::Control&) {
  if (!TipsStarted) {
    // Set first: the store is built once per run, whatever the outcome.
    TipsStarted = true;
    WebTips = std::make_unique<qmWebTips>(App().GetPlatform(), TipsPageUrl);
  }
  if (!WebTips || WebTips->TipCount <= 0) return;
  const auto i =
      static_cast<std::size_t>(tips::NextRandom() % static_cast<std::uint32_t>(WebTips->TipCount));
  const std::string text = tk::GbkToUtf8(WebTips->TipText[i]);
  lblTips.SetCaption(text + " >>");
  lblTips.SetHint(text);
  CurrentTipLink = WebTips->TipLink[i];
}

void TForm1::lblTipsClick(tk::Control&) {
  if (CurrentTipLink.empty()) return;
  App().OpenLink(tk::GbkToUtf8(CurrentTipLink));
}
