// The status line's tips, end to end: the window fetches the page from a
// loopback server on its first tick, off its own thread, rotates the tips and
// opens their links.
#include <chrono>
#include <ctime>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "../support/http_server.h"
#include "../support/temp_folder.h"
#include "harness.h"
#include "tips/tips_store.h"

namespace {

using testsupport::HttpServer;
using testsupport::Response;

class TipsRotation : public Behaviour {
 protected:
  void SetUp() override {
    Behaviour::SetUp();
    H().SetProgramFolder(folder.Slashed());
    Form().TipsPageUrl = server.Url();
  }

  void Serve(std::string page) { server.Answer(Response::Page(std::move(page))); }
  // A tick as the loop delivers it; the first one only starts the fetch.
  void TickNow() { User().FireTimer(Form().tmr1); }
  // A tick, and the page it fetches handled.
  void Tick() {
    TickNow();
    if (!AwaitTips()) ADD_FAILURE() << "the tips page never arrived";
  }
  // Handles messages until no fetch is running, for at most 20 seconds.
  bool AwaitTips() {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (Form().TipsFetch) {
      if (std::chrono::steady_clock::now() > until) return false;
      H().ReleaseWork();
      H().App().PumpMessages();
      if (Form().TipsFetch) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
  }
  // The worker has asked and the server holds its answer back.
  void AwaitHeldRequest() {
    if (!H().HoldsWork()) {
      ASSERT_TRUE(server.AwaitRequests(1));
    }
  }
  std::string Caption() { return Text("lblTips"); }
  std::string Hint() { return C("lblTips").Hint(); }
  // Ticks until the status line shows `caption`.
  bool TickUntil(const std::string& caption) {
    for (int i = 0; i < 2000; ++i) {
      Tick();
      if (Caption() == caption) return true;
    }
    return false;
  }

  testsupport::TempFolder folder;
  HttpServer server;
};

TEST_F(TipsRotation, BeforeTheFirstTickNothingIsFetchedOrShown) {
  Serve("tip@#$http://qelmar.example.com/\r\n");
  Click("lblTips");
  EXPECT_EQ(Caption(), "");
  EXPECT_EQ(Hint(), "");
  EXPECT_TRUE(Rec().links.empty());
  EXPECT_TRUE(server.Requests().empty());
  EXPECT_FALSE(Form().TipsStarted);
  EXPECT_EQ(Form().WebTips, nullptr);
  EXPECT_FALSE(folder.Has(qmWebTips::kCacheName));
}

TEST_F(TipsRotation, TheFirstTickFetchesOnceAndEveryTickShowsTheOnlyTip) {
  // GBK for 提示 and 提.
  const std::string page = "\xCC\xE1\xCA\xBE@#$http://qelmar.example.com/\xCC\xE1\r\n";
  Serve(page);
  Tick();
  EXPECT_TRUE(Form().TipsStarted);
  ASSERT_NE(Form().WebTips, nullptr);
  EXPECT_EQ(Caption(), "提示 >>");
  EXPECT_EQ(Hint(), "提示");
  EXPECT_EQ(folder.Read(qmWebTips::kCacheName), page);
  for (int i = 0; i < 10; ++i) {
    Tick();
    EXPECT_EQ(Caption(), "提示 >>");
    EXPECT_EQ(Hint(), "提示");
  }
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1U);
  EXPECT_EQ(requests[0].path, "/tips.asp");
  EXPECT_EQ(requests[0].userAgent, "URLCheck");

  Click("lblTips");
  EXPECT_EQ(Rec().links, std::vector<std::string>{"http://qelmar.example.com/提"});
  EXPECT_TRUE(Rec().errors.empty());
}

TEST_F(TipsRotation, AnEmptyLinkOpensNothingAndDropsThePreviousLink) {
  Serve("with@#$http://a.example/\r\nwithout@#$\r\n");
  ASSERT_TRUE(TickUntil("with >>"));
  Click("lblTips");
  ASSERT_EQ(Rec().links, std::vector<std::string>{"http://a.example/"});
  ASSERT_TRUE(TickUntil("without >>"));
  EXPECT_EQ(Hint(), "without");
  Click("lblTips");
  EXPECT_EQ(Rec().links.size(), 1U);
}

TEST_F(TipsRotation, ATipWithoutTextShowsOnlyTheSuffix) {
  Serve("@#$https://a.example/x\r\n");
  Tick();
  EXPECT_EQ(Caption(), " >>");
  EXPECT_EQ(Hint(), "");
  Click("lblTips");
  EXPECT_EQ(Rec().links, std::vector<std::string>{"https://a.example/x"});
}

TEST_F(TipsRotation, OnlyWebAddressesAreOpened) {
  Serve(
      "1@#$file:///etc/passwd\r\n"
      "2@#$javascript:alert(1)\r\n"
      "3@#$C:\\x.exe\r\n"
      "4@#$\\\\host\\share\r\n"
      "5@#$calc.exe\r\n"
      "6@#$ftp://a.example/\r\n"
      "7@#$HTTP://UPPER.example/\r\n"
      "8@#$hTTpS://mixed.example/\r\n");
  for (const char* shown : {"1 >>", "2 >>", "3 >>", "4 >>", "5 >>", "6 >>"}) {
    ASSERT_TRUE(TickUntil(shown));
    Click("lblTips");
    EXPECT_TRUE(Rec().links.empty()) << shown;
  }
  ASSERT_TRUE(TickUntil("7 >>"));
  Click("lblTips");
  ASSERT_TRUE(TickUntil("8 >>"));
  Click("lblTips");
  EXPECT_EQ(Rec().links,
            (std::vector<std::string>{"HTTP://UPPER.example/", "hTTpS://mixed.example/"}));
}

TEST_F(TipsRotation, AStoreThatCannotBeBuiltFailsOnceAndIsNotRetried) {
  Serve("tip@#$http://qelmar.example.com/\r\n");
  // The cache file would lie inside a regular file.
  folder.Write("plain", "x");
  H().SetProgramFolder((folder.Path() / "plain" / "").string());
  Tick();
  ASSERT_EQ(Rec().errors.size(), 1U);
  EXPECT_FALSE(Rec().errors[0].empty());
  EXPECT_TRUE(Form().TipsStarted);
  EXPECT_EQ(Form().WebTips, nullptr);
  for (int i = 0; i < 3; ++i) Tick();
  Click("lblTips");
  EXPECT_EQ(Rec().errors.size(), 1U);
  EXPECT_EQ(server.Requests().size(), 1U);
  EXPECT_EQ(Caption(), "");
  EXPECT_TRUE(Rec().links.empty());
}

TEST_F(TipsRotation, WithoutTipsTicksChangeNothing) {
  Serve("<html>no tips today</html>\r\n\r\n");
  Form().CurrentTipLink = "http://earlier.example/";
  for (int i = 0; i < 3; ++i) Tick();
  EXPECT_EQ(Caption(), "");
  EXPECT_EQ(Hint(), "");
  EXPECT_EQ(Form().CurrentTipLink, "http://earlier.example/");
  EXPECT_EQ(server.Requests().size(), 1U);
  EXPECT_TRUE(Rec().errors.empty());
}

TEST_F(TipsRotation, WithoutAServerTheStatusLineStaysEmpty) {
  Form().TipsPageUrl = "http://127.0.0.1:" + std::to_string(HttpServer::ClosedPort()) + "/tips.asp";
  folder.Write(qmWebTips::kCacheName, "old@#$http://old.example/\r\n");
  for (int i = 0; i < 3; ++i) Tick();
  EXPECT_EQ(Caption(), "");
  EXPECT_EQ(folder.Read(qmWebTips::kCacheName), "");
  EXPECT_TRUE(Rec().errors.empty());
  Click("lblTips");
  EXPECT_TRUE(Rec().links.empty());
}

TEST_F(TipsRotation, ClosingTheWindowReleasesTheStore) {
  Serve("tip@#$http://qelmar.example.com/\r\n");
  Tick();
  ASSERT_NE(Form().WebTips, nullptr);
  User().CloseWindow(Form());
  EXPECT_EQ(Form().WebTips, nullptr);
}

TEST_F(TipsRotation, ClicksKeysAndTicksAreHandledWhileTheServerHoldsItsAnswer) {
  const std::string page = "held@#$http://qelmar.example.com/\r\n";
  server.Hold();
  Serve(page);
  TickNow();
  EXPECT_TRUE(Form().TipsStarted);
  AwaitHeldRequest();

  Click("btnAll");
  EXPECT_EQ(Text("lblCount"), "1000");
  Type("edt1", "3");
  EXPECT_EQ(Text("edt1"), "3");
  EXPECT_TRUE(Box("chk4").Checked());
  Click("chk15");
  EXPECT_EQ(Text("edt2"), "4");
  // Ticks while the page is on its way: no store yet, nothing shown or written.
  TickNow();
  EXPECT_EQ(Caption(), "");
  EXPECT_EQ(Form().WebTips, nullptr);
  EXPECT_NE(Form().TipsFetch, nullptr);
  EXPECT_FALSE(folder.Has(qmWebTips::kCacheName));

  // The first tip shows as soon as the body is there, without another tick.
  server.Release();
  ASSERT_TRUE(AwaitTips());
  EXPECT_EQ(Caption(), "held >>");
  EXPECT_EQ(folder.Read(qmWebTips::kCacheName), page);
  EXPECT_EQ(server.Requests().size(), 1U);
  EXPECT_EQ(Text("lblCount"), "1000");
  EXPECT_TRUE(Rec().errors.empty());
}

TEST_F(TipsRotation, AWindowClosedDuringTheFetchAbandonsItAndWritesNothing) {
  folder.Write(qmWebTips::kCacheName, "old@#$http://old.example/\r\n");
  server.Hold();
  Serve("new@#$http://qelmar.example.com/\r\n");
  TickNow();
  AwaitHeldRequest();
  User().CloseWindow(Form());
  EXPECT_TRUE(Form().Closed());
  EXPECT_EQ(Form().TipsFetch, nullptr);
#ifndef _WIN32
  // libcurl gives the transfer up at once. (WinInet under Wine goes on with
  // a closed handle: that worker is let go, holding nothing of the window.)
  if (!H().HoldsWork()) {
    EXPECT_TRUE(server.AwaitHangUps(1));
  }
#endif

  server.Release();
  for (int i = 0; i < 50; ++i) {
    H().ReleaseWork();
    H().App().PumpMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  EXPECT_EQ(folder.Read(qmWebTips::kCacheName), "old@#$http://old.example/\r\n");
  EXPECT_EQ(Form().WebTips, nullptr);
  EXPECT_EQ(Caption(), "");
  EXPECT_TRUE(Rec().errors.empty());
}

TEST_F(TipsRotation, WithoutACacheFolderNothingIsFetchedOrWritten) {
  H().SetProgramFolder("");
  if (!H().App().GetPlatform().CacheFolder().empty()) GTEST_SKIP() << "a cache folder of its own";
  Serve("tip@#$http://qelmar.example.com/\r\n");
  for (int i = 0; i < 3; ++i) Tick();
  EXPECT_TRUE(Form().TipsStarted);
  EXPECT_EQ(Caption(), "");
  EXPECT_TRUE(server.Requests().empty());
  EXPECT_FALSE(folder.Has(qmWebTips::kCacheName));
  EXPECT_TRUE(Rec().errors.empty());
}

TEST_F(TipsRotation, StoresBuiltInTheSameSecondDrawTheSameTips) {
  std::string page;
  for (int i = 0; i < 50; ++i) page += "tip " + std::to_string(i) + "@#$http://x.example/\r\n";
  Serve(page);
  Tick();
  auto run = [&] {
    std::vector<std::string> shown;
    for (int i = 0; i < 20; ++i) {
      Tick();
      shown.push_back(Caption());
    }
    return shown;
  };
  for (int attempt = 0; attempt < 5; ++attempt) {
    const std::time_t before = std::time(nullptr);
    { const qmWebTips again(H().App().GetPlatform(), server.Url()); }
    const auto first = run();
    { const qmWebTips again(H().App().GetPlatform(), server.Url()); }
    const auto second = run();
    if (std::time(nullptr) != before) continue;  // a second boundary fell between
    EXPECT_EQ(first, second);
    EXPECT_GT(std::set<std::string>(first.begin(), first.end()).size(), 5U);
    return;
  }
  FAIL() << "no two stores could be built within one second";
}

}  // namespace
