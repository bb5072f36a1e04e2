// The status line: a random tip every tick, its link on a click. The page is
// fetched off the window's thread, so the window answers while it comes.
#include "app/main_window.h"
#include "core/text.h"
#include "tips/tips_store.h"

void TForm1::tmr1Timer(tk::Control&) {
  if (!TipsStarted) {
    // Set first: the store is built once per run, whatever the outcome.
    TipsStarted = true;
    StartTips();
  }
  ShowRandomTip();
}

void TForm1::StartTips() {
  tk::Platform& platform = App().GetPlatform();
  if (platform.CacheFolder().empty()) {
    // Nowhere to cache the page: nothing is fetched and there are no tips.
    WebTips = std::make_unique<qmWebTips>(platform, qmWebTips::Body{});
    return;
  }
  // Only the fetch runs on the worker; it touches nothing of the window.
  TipsFetch = App().RunOffThread(
      [&platform, url = TipsPageUrl](tk::Cancellation& cancel) {
        return qmWebTips::FetchPage(platform, url, &cancel);
      },
      [this](std::string body) { TipsArrived(std::move(body)); });
}

void TForm1::TipsArrived(std::string body) {
  TipsFetch.reset();
  // An error of the cache file leaves here for the error box, once: no store
  // comes into being and later ticks show nothing.
  WebTips = std::make_unique<qmWebTips>(App().GetPlatform(), qmWebTips::Body{std::move(body)});
  ShowRandomTip();
}

void TForm1::ShowRandomTip() {
  if (!WebTips || WebTips->TipCount <= 0) return;
  const auto i =
      static_cast<std::size_t>(tips::NextRandom() % static_cast<std::uint32_t>(WebTips->TipCount));
  const std::string text = core::GbkToUtf8(WebTips->TipText[i]);
  lblTips.SetCaption(text + " >>");
  lblTips.SetHint(text);
  CurrentTipLink = WebTips->TipLink[i];
}

void TForm1::lblTipsClick(tk::Control&) {
  if (CurrentTipLink.empty()) return;
  App().OpenLink(core::GbkToUtf8(CurrentTipLink));
}
