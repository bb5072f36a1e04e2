// A tips page of arbitrary bytes, end to end: the first tick of the window's
// timer starts its fetch off the window's thread; once it has arrived the
// window caches it beside the program and reads it back; further ticks show
// random tips and a click on the status line opens the link.
#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "app/main_table.h"
#include "app/main_window.h"
#include "check.h"
#include "core/text.h"
#include "tips/tips_store.h"
#include "toolkit/headless/headless.h"

namespace {

constexpr std::string_view kSep = "@#$";

std::string MakeTempFolder() {
  char pattern[] = "/tmp/qelmar-fuzz-tips-XXXXXX";
  const char* made = mkdtemp(pattern);
  FUZZ_CHECK(made != nullptr);
  return std::string(made) + "/";
}

// The lines of the body that hold the separator, in order: the tips the store
// should keep. Lines end at CR LF, CR or LF; a NUL ends the text.
std::vector<std::string> EntryLines(std::string_view body) {
  body = body.substr(0, body.find('\0'));
  std::vector<std::string> out;
  std::string line;
  auto end_line = [&] {
    if (line.find(kSep) != std::string::npos) out.push_back(line);
    line.clear();
  };
  for (std::size_t i = 0; i < body.size(); ++i) {
    const char c = body[i];
    if (c == '\n' || c == '\r') {
      end_line();
      if (c == '\r' && i + 1 < body.size() && body[i + 1] == '\n') ++i;
    } else {
      line += c;
    }
  }
  end_line();
  return out;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  FUZZ_CHECK(in.good());
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// One folder for the whole process, removed at exit.
struct Folder {
  std::string path = MakeTempFolder();
  ~Folder() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
};

// One window for the whole process (building it costs more than most
// inputs). Each input starts a new run of the tips: no store, nothing shown;
// the store is released when the input ends.
struct World {
  explicit World(const std::string& f) : folder(f) {
    app.SetTitle(app::kTitle);
    rec.Attach(app);
    platform.SetFetch([this](const tk::HttpRequest&) { return body; });
  }

  std::string folder;
  tk::headless::HeadlessPlatform platform{folder};
  tk::headless::HeadlessApplication app{platform};
  TForm1 form{app};
  tk::headless::HeadlessDriver user{app};
  tk::Recorder rec;
  std::string body;
};

void CheckShownTip(const World& w, const qmWebTips& store) {
  const std::string caption = w.form.lblTips.Caption();
  const std::string hint = w.form.lblTips.Hint();
  FUZZ_CHECK(core::IsValidUtf8(caption));
  FUZZ_CHECK(caption == hint + " >>");
  bool shown = false;
  for (int i = 0; i < store.TipCount && !shown; ++i) {
    shown = core::GbkToUtf8(store.TipText[i]) == hint && store.TipLink[i] == w.form.CurrentTipLink;
  }
  FUZZ_CHECK(shown);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Folder folder;
  static World w(folder.path);
  struct Release {
    World& w;
    ~Release() {
      w.form.TipsFetch.reset();
      w.form.WebTips.reset();
      w.platform.ClearRequests();
    }
  } release{w};
  w.body.assign(reinterpret_cast<const char*>(data), size);
  w.rec.Clear();
  w.form.TipsStarted = false;
  const std::string before = "\x01 before";
  w.form.lblTips.SetCaption(before);
  w.form.lblTips.SetHint(before);
  w.form.CurrentTipLink = before;

  w.user.FireTimer(w.form.tmr1);
  // Until the body arrives there is nothing: no store, no file, no tip.
  FUZZ_CHECK(w.form.TipsStarted);
  FUZZ_CHECK(w.form.TipsFetch != nullptr && w.form.WebTips == nullptr);
  FUZZ_CHECK(w.form.lblTips.Caption() == before);
  w.user.FireTimer(w.form.tmr1);
  FUZZ_CHECK(w.form.lblTips.Caption() == before);
  FUZZ_CHECK(w.app.ReleaseWork() == 1);
  FUZZ_CHECK(w.form.TipsFetch == nullptr);
  FUZZ_CHECK(w.rec.errors.empty());
  FUZZ_CHECK(w.platform.Requests().size() == 1);
  FUZZ_CHECK(w.platform.Requests()[0].url == w.form.TipsPageUrl);
  FUZZ_CHECK(w.form.TipsStarted);
  FUZZ_CHECK(w.form.WebTips != nullptr);
  const qmWebTips& store = *w.form.WebTips;

  // The cache holds the body byte for byte.
  FUZZ_CHECK(ReadFile(w.folder + qmWebTips::kCacheName) == w.body);

  // Every line with a separator, up to the capacity, split at its first one.
  const auto entries = EntryLines(w.body);
  const std::size_t want = entries.size() < 128 ? entries.size() : 128;
  FUZZ_CHECK(store.TipCount >= 0 && store.TipCount <= qmWebTips::kCapacity);
  FUZZ_CHECK(static_cast<std::size_t>(store.TipCount) == want);
  for (int i = 0; i < qmWebTips::kCapacity; ++i) {
    const std::string& text = store.TipText[static_cast<std::size_t>(i)];
    const std::string& link = store.TipLink[static_cast<std::size_t>(i)];
    if (i >= store.TipCount) {
      FUZZ_CHECK(text.empty() && link.empty());
      continue;
    }
    FUZZ_CHECK(text.find(kSep) == std::string::npos);
    FUZZ_CHECK(text + std::string(kSep) + link == entries[static_cast<std::size_t>(i)]);
  }

  if (store.TipCount == 0) {
    // Nothing to show: the status line stays as it was.
    FUZZ_CHECK(w.form.lblTips.Caption() == before);
    FUZZ_CHECK(w.form.CurrentTipLink == before);
    return 0;
  }
  CheckShownTip(w, store);
  for (int tick = 0; tick < 3; ++tick) {
    w.user.FireTimer(w.form.tmr1);
    CheckShownTip(w, store);
  }
  FUZZ_CHECK(w.rec.errors.empty());

  // A click opens only a web address, and only the one shown.
  w.user.Click(w.form.lblTips);
  const std::string link = core::GbkToUtf8(w.form.CurrentTipLink);
  if (!w.form.CurrentTipLink.empty() && tk::IsWebAddress(link)) {
    FUZZ_CHECK(w.rec.links.size() == 1 && w.rec.links[0] == link);
  } else {
    FUZZ_CHECK(w.rec.links.empty());
  }
  return 0;
}
