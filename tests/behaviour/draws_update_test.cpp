// 从网址更新 in the draws window on every backend, against a real HTTP
// server on 127.0.0.1: a results page in GBK, a CSV and a text file add
// what is new; an error, a page without draws, a conflict, a cut-off body,
// a server that never answers and another scheme change nothing; closing
// the window during a fetch abandons it.
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "../support/http_server.h"
#include "draws_window.h"
#include "toolkit/ask_text.h"

namespace {

using testsupport::HttpServer;
using testsupport::Response;

// Acts posted one after another into the window's own loops. An act that
// opens a dialog posts the next one first, so that it arrives in the
// dialog's loop; an act that answers false is tried again a little later.
struct Plan {
  tk::UserDriver* user = nullptr;
  std::vector<std::function<bool()>> acts;
  std::vector<bool> opens;
  bool done = false;

  void Do(std::function<void()> f) {
    acts.push_back([f = std::move(f)] {
      f();
      return true;
    });
    opens.push_back(false);
  }
  void Opening(std::function<void()> f) {
    Do(std::move(f));
    opens.back() = true;
  }
  void Until(std::function<bool()> f) {
    acts.push_back(std::move(f));
    opens.push_back(false);
  }
};

void Post(const std::shared_ptr<Plan>& plan, std::size_t i) {
  if (i >= plan->acts.size()) return;
  plan->user->Post([weak = std::weak_ptr<Plan>(plan), i] {
    const auto p = weak.lock();
    if (!p) return;
    if (p->opens[i]) Post(p, i + 1);
    if (!p->acts[i]()) {
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
      Post(p, i);
      return;
    }
    if (!p->opens[i]) Post(p, i + 1);
  });
}

// The GBK bytes of 期号, 开奖日期, 开奖号码, 年, 月, 日, 共, 期.
#define QI_HAO "\xC6\xDA\xBA\xC5"
#define KJ_RIQI "\xBF\xAA\xBD\xB1\xC8\xD5\xC6\xDA"
#define KJ_HAOMA "\xBF\xAA\xBD\xB1\xBA\xC5\xC2\xEB"
#define NIAN "\xC4\xEA"
#define YUE "\xD4\xC2"
#define RI "\xC8\xD5"

const std::string kGbkPage =
    "<!DOCTYPE html>\r\n<html><head>"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">"
    "<title>\xB8\xA3\xB2\xCA"
    "3D</title>"
    "<script>var latest = '<tr><td>2024099</td><td>999</td></tr>';</script></head>\r\n"
    "<body><table class=\"kj\">\r\n"
    "<tr><th>" QI_HAO "</th><th>" KJ_RIQI "</th><th>" KJ_HAOMA
    "</th></tr>\r\n"
    "<tr><td>2024001</td><td>2024" NIAN "01" YUE "01" RI
    "</td>"
    "<td><em>3</em><em>5</em><em>7</em></td></tr>\r\n"
    "<tr><td>2024002</td><td>2024" NIAN "1" YUE "2" RI
    "</td>"
    "<td><em>0</em><em>1</em><em>2</em></td></tr>\r\n"
    "<tr><td>2024003</td><td>2024-01-03</td><td>9&nbsp;9&nbsp;9</td></tr>\r\n"
    "</table><p>\xB9\xB2&nbsp;3&nbsp;\xC6\xDA</p></body></html>";

const std::string kKept = "期号 日期 号码\r\n2024001 2024-01-01 357\r\n2024002 - 012\r\n";

class DrawsUpdate : public DrawsWindow {
 protected:
  // Opens the window, runs the plan's acts in it, closes it.
  void InWindow(Plan plan) {
    auto p = std::make_shared<Plan>(std::move(plan));
    p->user = &User();
    TForm1& form = Form();
    p->acts.insert(p->acts.begin(), [&form] {
      form.mniDrawsClick(form.mmoList);
      return true;
    });
    p->opens.insert(p->opens.begin(), true);
    p->Do([this, &form, weak = std::weak_ptr<Plan>(p)] {
      if (form.FormDraws != nullptr && !form.FormDraws->Closed()) W().Close();
      if (const auto locked = weak.lock()) locked->done = true;
    });
    Post(p, 0);
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!p->done && std::chrono::steady_clock::now() < until) H().App().PumpMessages();
    EXPECT_TRUE(p->done);
    EXPECT_EQ(form.FormDraws, nullptr);
    EXPECT_TRUE(Rec().errors.empty()) << Rec().errors.front();
  }

  // One 从网址更新: the button, the dialog answered (`typed` over what it
  // shows, which `shown` gets; nothing typed: 确定 as it is), the fetch awaited.
  void Update(Plan& plan, std::optional<std::string> typed, std::string* shown = nullptr) {
    plan.Opening([this] { Tap("btnUpdate"); });
    plan.Do([this, typed = std::move(typed), shown] {
      tk::Form* dialog = tk::ShownTextDialog();
      ASSERT_NE(dialog, nullptr) << "no address dialog";
      tk::Control& edit = dialog->Find(tk::kAskTextEdit);
      if (shown != nullptr) *shown = edit.Text();
      if (typed) {
        User().Select(edit, 0, static_cast<int>(core::CharCount(edit.Text())));
        if (!edit.Text().empty()) User().TypeChar(edit, tk::kBackspace);
        User().Type(edit, *typed);
      }
      User().Click(dialog->Find(tk::kAskTextOk));
    });
    plan.Until([this] {
      H().ReleaseWork();
      return !W().Updating();
    });
  }

  // The last notice, and that there are `count` in all.
  std::string Told(std::size_t count) {
    EXPECT_EQ(Notices().size(), count);
    return Notices().empty() ? std::string() : Notices().back();
  }

  HttpServer server;
};

TEST_F(DrawsUpdate, APageInGbkACsvAndATextFileAddWhatIsNewFromAKeptAddress) {
  Plan plan;
  std::string shown = "unset";
  plan.Do([&] {
    EXPECT_EQ(D("btnUpdate").Text(), "从网址更新(&U)…");
    server.Answer(Response::Typed(kGbkPage, "text/html"));
  });
  Update(plan, server.Url("/kj.html"), &shown);
  plan.Do([&] {
    EXPECT_EQ(shown, "");  // no address kept yet
    EXPECT_EQ(Told(1), "新增 3 期，最新 第 2024003 期");
    EXPECT_EQ(W().Draws().size(), 3u);
    EXPECT_EQ(D("lblDrawCount").Text(), "共 3 期，最新 第 2024003 期（2024-01-03，999）");
    EXPECT_TRUE(D("btnUpdate").Enabled());
    server.Answer(
        Response::Typed("期号,日期,号码\n2024002,2024-01-02,012\n2024003,2024-01-03,999\n"
                        "2024004,2024-01-04,147\n2024005,2024-01-05,258\n",
                        "text/csv"));
  });
  // The kept address is offered: 确定 fetches.
  Update(plan, std::nullopt, &shown);
  plan.Do([&] {
    EXPECT_EQ(shown, server.Url("/kj.html"));
    EXPECT_EQ(Told(2), "新增 2 期，最新 第 2024005 期");
    server.Answer(Response::Typed("福彩3D 开奖号码\r\n2024005 2024-01-05 2 5 8\r\n2024006 - 3 6 9",
                                  "text/plain; charset=utf-8"));
  });
  Update(plan, server.Url("/kj.txt"));
  plan.Do([&] { EXPECT_EQ(Told(3), "新增 1 期，最新 第 2024006 期"); });
  Update(plan, std::nullopt, &shown);
  plan.Do([&] {
    EXPECT_EQ(shown, server.Url("/kj.txt"));
    EXPECT_EQ(Told(4), "没有新的开奖号码，最新 第 2024006 期");
  });
  InWindow(std::move(plan));

  EXPECT_EQ(folder.Read("draws.txt"),
            "期号 日期 号码\r\n2024001 2024-01-01 357\r\n2024002 2024-01-02 012\r\n"
            "2024003 2024-01-03 999\r\n2024004 2024-01-04 147\r\n2024005 2024-01-05 258\r\n"
            "2024006 - 369\r\n");
  EXPECT_EQ(folder.Read("draws-url.txt"), server.Url("/kj.txt") + "\r\n");
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 4u);
  EXPECT_EQ(requests[0].path, "/kj.html");
  EXPECT_EQ(requests[1].path, "/kj.html");
  EXPECT_EQ(requests[3].path, "/kj.txt");
  EXPECT_EQ(requests[0].userAgent.rfind("Qelmar3D/", 0), 0u) << requests[0].userAgent;

  // The address outlives the run; cancelling the dialog fetches nothing.
  Restart();
  H().SetProgramFolder(folder.Slashed());
  Plan again;
  again.Opening([&] { Tap("btnUpdate"); });
  again.Do([&] {
    tk::Form* dialog = tk::ShownTextDialog();
    ASSERT_NE(dialog, nullptr);
    shown = dialog->Find(tk::kAskTextEdit).Text();
    User().Click(dialog->Find(tk::kAskTextCancel));
  });
  again.Do([&] { EXPECT_FALSE(W().Updating()); });
  InWindow(std::move(again));
  EXPECT_EQ(shown, server.Url("/kj.txt"));
  EXPECT_EQ(server.Requests().size(), 4u);
  EXPECT_TRUE(Notices().empty());
}

TEST_F(DrawsUpdate, FailuresSayWhyAndChangeNothing) {
  folder.Write("draws.txt", kKept);
  Plan plan;
  // Each failure leaves the draws and draws.txt as they were.
  const auto unchanged = [&](std::size_t notices, std::string_view part) {
    plan.Do([&, notices, part] {
      const std::string told = Told(notices);
      EXPECT_NE(told.find(part), std::string::npos) << told;
      EXPECT_NE(told.find("未"), std::string::npos) << told;
      EXPECT_EQ(told.find("新增"), std::string::npos) << told;
      EXPECT_EQ(W().Draws().size(), 2u);
      EXPECT_EQ(folder.Read("draws.txt"), kKept);
      EXPECT_TRUE(D("btnUpdate").Enabled());
    });
  };
  plan.Do([&] {
    server.Answer(Response::Typed("<html><body>Not here</body></html>", "text/html", 404));
  });
  Update(plan, server.Url("/gone.html"));
  unchanged(1, "404");

  plan.Do([&] {
    server.Answer(Response::Typed(
        "<html><body><table><tr><td>暂无数据</td></tr></table><p>2024 年</p></body></html>",
        "text/html; charset=utf-8"));
  });
  Update(plan, server.Url("/empty.html"));
  unchanged(2, "开奖号码");

  plan.Do([&] { server.Answer(Response::Typed("2024003,111\n2024002,013\n", "text/csv")); });
  Update(plan, server.Url("/other.csv"));
  unchanged(3, "2024002");

  plan.Do([&] { server.Answer(Response::CutOff("2024003 111\r\n2024004 222\r\n", 4000)); });
  Update(plan, server.Url("/cut.txt"));
  unchanged(4, "没有完成");

  std::chrono::steady_clock::time_point start;
  plan.Do([&] {
    W().UpdateTimeoutMs = 500;
    server.Answer(Response::Silent());
    start = std::chrono::steady_clock::now();
  });
  Update(plan, server.Url("/silent.txt"));
  plan.Do([&] {
    // The server would hold on for a minute.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
  });
  unchanged(5, "超时");

  // Only web addresses are fetched.
  Update(plan, "ftp://127.0.0.1/kj.txt");
  unchanged(6, "http://");
  Update(plan, "  ");
  unchanged(7, "网址");
  InWindow(std::move(plan));
  EXPECT_EQ(server.Requests().size(), 5u);
  EXPECT_EQ(folder.Read("draws-url.txt"), server.Url("/silent.txt") + "\r\n");
}

TEST_F(DrawsUpdate, ClosingTheWindowDuringAFetchAbandonsIt) {
  server.Hold();
  server.Answer(Response::Typed("2024001 357\r\n", "text/plain"));
  Plan plan;
  plan.Opening([&] { Tap("btnUpdate"); });
  plan.Do([&] {
    tk::Form* dialog = tk::ShownTextDialog();
    ASSERT_NE(dialog, nullptr);
    User().Type(dialog->Find(tk::kAskTextEdit), server.Url("/held.txt"));
    User().Click(dialog->Find(tk::kAskTextOk));
  });
  plan.Do([&] {
    // The headless backend holds the work itself; the others have asked.
    if (!H().HoldsWork()) {
      EXPECT_TRUE(server.AwaitRequests(1));
    }
    EXPECT_TRUE(W().Updating());
    EXPECT_FALSE(D("btnUpdate").Enabled());
    W().Close();
  });
  InWindow(std::move(plan));
  H().ReleaseWork();
  server.Release();
  for (int i = 0; i < 10; ++i) {
    H().App().PumpMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_TRUE(Notices().empty());
  EXPECT_FALSE(folder.Has("draws.txt"));
  EXPECT_EQ(folder.Read("draws-url.txt"), server.Url("/held.txt") + "\r\n");
}

}  // namespace
