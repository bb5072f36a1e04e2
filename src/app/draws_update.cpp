// 从网址更新: the draws of a results page or a file on the web, fetched off
// the window's thread as the tips page is, read by the same reader as an
// import and merged only when all of it fits the draws kept.
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "app/config.h"
#include "app/draws_form.h"
#include "core/notice.h"
#include "core/text.h"
#include "draws/html.h"
#include "toolkit/ask_text.h"

namespace {

// In the data folder: the address of the last update, so the next one is
// the dialog with it filled in and Enter.
constexpr std::string_view kAddressFileName = "draws-url.txt";
constexpr int kAddressMaxChars = 2000;
constexpr std::size_t kAddressFileMaxBytes = std::size_t{4} * kAddressMaxChars;
// A page carries its markup besides the draws' text.
constexpr std::size_t kPageMaxBytes = 2 * numbers::kDrawsTextMaxBytes;
constexpr long kConnectTimeoutMs = 15000;

constexpr std::string_view kNotUpdated = "开奖号码未更新。";

// The request's whole time is kept here: not every system keeps its own
// time-outs (Wine's WinInet waits for an answer whatever they say). The
// fetch runs apart and is left behind, asked to stop, when its time is up.
tk::HttpResponse FetchWithin(tk::Platform& platform, tk::HttpRequest request,
                             tk::Cancellation& cancel) {
  struct Shared {
    std::mutex mutex;
    std::condition_variable over;
    bool done = false;
    tk::HttpResponse response;
    tk::Cancellation stop;
  };
  auto shared = std::make_shared<Shared>();
  request.cancel = &shared->stop;
  std::thread([shared, request, &platform] {
    tk::HttpResponse response = platform.HttpFetch(request);
    const std::lock_guard lock(shared->mutex);
    shared->response = std::move(response);
    shared->done = true;
    shared->over.notify_all();
  }).detach();
  const tk::WakeOnCancel wake(&cancel, [shared] {
    const std::lock_guard lock(shared->mutex);
    shared->over.notify_all();
  });
  std::unique_lock lock(shared->mutex);
  shared->over.wait_for(lock, std::chrono::milliseconds(request.totalTimeoutMs + 1000),
                        [&] { return shared->done || cancel.Requested(); });
  if (shared->done) return std::move(shared->response);
  lock.unlock();
  shared->stop.Request();
  return {};
}

}  // namespace

std::string TFormDraws::KeptAddress() const {
  if (folder_.empty()) return {};
  tk::Platform& platform = App().GetPlatform();
  const std::string path = PathOf(kAddressFileName);
  try {
    if (!platform.FilePresent(path)) return {};
    const std::string bytes = platform.ReadFileBytes(path, kAddressFileMaxBytes);
    const std::vector<std::string> lines = core::SplitLines(bytes);
    if (lines.empty()) return {};
    const std::string url = core::Trim(lines.front());
    return tk::IsWebAddress(url) && core::IsValidUtf8(url) ? url : std::string();
  } catch (const tk::Error&) {
    // An address that cannot be read is asked for again.
    return {};
  }
}

void TFormDraws::KeepAddress(const std::string& url) {
  if (url == address_) return;
  address_ = url;
  if (folder_.empty()) return;
  try {
    App().GetPlatform().ReplaceFileBytes(PathOf(kAddressFileName), url + "\r\n");
  } catch (const tk::Error&) {
    // The update goes on; the address is asked for again next time.
  }
}

void TFormDraws::btnUpdateClick(tk::Control&) {
  if (update_) return;  // one fetch at a time
  if (address_.empty()) address_ = KeptAddress();
  const std::optional<std::string> typed = tk::AskText(
      App(), *this, "从网址更新开奖号码", "开奖号码网页或文件的网址：", address_, kAddressMaxChars);
  if (!typed) return;
  const std::string url = core::Trim(*typed);
  if (url.empty()) {
    App().ShowNotice("没有填写网址，" + std::string(kNotUpdated));
    return;
  }
  if (!tk::IsWebAddress(url)) {
    App().ShowNotice("网址“" + core::ShownInNotice(url, 60) + "”不是以 http:// 或 https:// 开头，" +
                     std::string(kNotUpdated));
    return;
  }
  KeepAddress(url);

  tk::HttpRequest request;
  request.url = url;
  request.userAgent = "Qelmar3D/" QELMAR3D_VERSION;
  request.maxBytes = kPageMaxBytes;
  request.totalTimeoutMs = UpdateTimeoutMs;
  request.connectTimeoutMs = std::min(kConnectTimeoutMs, UpdateTimeoutMs);
  // Only the fetch runs on the worker; the answer waits in `page` for the
  // completion, which runs after the work has ended.
  auto page = std::make_shared<tk::HttpResponse>();
  tk::Platform& platform = App().GetPlatform();
  Find("btnUpdate").SetEnabled(false);
  lblDrawCount.SetText("正在从网址下载开奖号码…");
  update_ = App().RunOffThread(
      [&platform, request, page](tk::Cancellation& cancel) {
        *page = FetchWithin(platform, request, cancel);
        return std::string();
      },
      [this, url, page](const std::string&) { UpdateArrived(url, *page); });
}

void TFormDraws::UpdateArrived(const std::string& url, const tk::HttpResponse& page) {
  update_.reset();
  Find("btnUpdate").SetEnabled(true);
  ShowStatus();
  const std::string where = "“" + core::ShownInNotice(url, 60) + "”";
  const std::string notUpdated(kNotUpdated);
  if (page.status == 0) {
    App().ShowNotice("无法从" + where + "下载：连接失败或超时，" + notUpdated);
    return;
  }
  if (page.status < 200 || page.status >= 300) {
    App().ShowNotice(where + "回答错误 " + std::to_string(page.status) + "，" + notUpdated);
    return;
  }
  if (!page.complete) {
    App().ShowNotice("从" + where + "下载没有完成（超时、中断或大于 " +
                     std::to_string(kPageMaxBytes >> 20) + " MB），" + notUpdated);
    return;
  }
  const std::optional<std::string> text = numbers::PageText(page.body, page.contentType);
  if (!text) {
    App().ShowNotice(where + "的内容不是文本，" + notUpdated);
    return;
  }
  const core::Read<std::vector<numbers::Draw>> read = numbers::ReadDraws(*text);
  if (!read.Ok()) {
    App().ShowNotice(read.refusal == numbers::kNoDraws
                         ? where + "上没有找到开奖号码，" + notUpdated
                         : "网址上的开奖号码无法读取：" + read.refusal);
    return;
  }
  std::vector<numbers::Draw> next = Draws();
  const std::string refusal = numbers::MergeDraws(next, read.value);
  if (!refusal.empty()) {
    App().ShowNotice("网址上的开奖号码与已有的不符：" + refusal);
    return;
  }
  const std::size_t added = next.size() - Draws().size();
  // Dates filled in for kept draws are kept too.
  if (next != Draws()) {
    store_.Keep(std::move(next));
    Show(true);
  }
  const std::string latest = "最新 第 " + numbers::IssueText(Draws().back()) + " 期";
  App().ShowNotice(added == 0 ? "没有新的开奖号码，" + latest
                              : "新增 " + std::to_string(added) + " 期，" + latest);
}
