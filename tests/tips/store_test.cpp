// The tips store against a real HTTP server on 127.0.0.1: what the server
// sees, the cache file beside the program and the tips read back from it.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "../support/http_server.h"
#include "../support/temp_folder.h"
#include "app/main_window.h"
#include "tips/tips_store.h"
#include "toolkit/headless/headless.h"
#include "toolkit/linux/linux_platform.h"

namespace {

using testsupport::HttpServer;
using testsupport::Response;

using Tip = std::pair<std::string, std::string>;

class Store : public ::testing::Test {
 protected:
  void SetUp() override { platform.SetProgramFolder(folder.Slashed()); }

  // Serves `response`, builds a store against it.
  std::unique_ptr<qmWebTips> Build(Response response) {
    server.Answer(std::move(response));
    return std::make_unique<qmWebTips>(platform, server.Url());
  }
  std::unique_ptr<qmWebTips> BuildFrom(std::string page) {
    return Build(Response::Page(std::move(page)));
  }

  static std::vector<Tip> Tips(const qmWebTips& store) {
    std::vector<Tip> tips;
    tips.reserve(static_cast<std::size_t>(store.TipCount));
    for (int i = 0; i < store.TipCount; ++i) {
      tips.emplace_back(store.TipText[static_cast<std::size_t>(i)],
                        store.TipLink[static_cast<std::size_t>(i)]);
    }
    return tips;
  }
  std::string Cache() const { return folder.Read(qmWebTips::kCacheName); }

  testsupport::TempFolder folder;
  tk::LinuxPlatform platform;
  HttpServer server;
};

TEST_F(Store, FetchesThePageOnceAndCachesItsBodyByteForByte) {
  const std::string page =
      "<html>\r\n"
      "\xCC\xE1\xCA\xBE\xD2\xBB@#$http://qelmar.example.com/a\r\n"
      "second tip@#$https://qelmar.example.com/b?x=1&y=2\r\n"
      "</html>\r\n";
  const auto store = BuildFrom(page);

  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1U);
  EXPECT_EQ(requests[0].method, "GET");
  EXPECT_EQ(requests[0].path, "/tips.asp");
  EXPECT_EQ(requests[0].userAgent, "URLCheck");

  EXPECT_EQ(Cache(), page);
  // Texts stay the page's GBK bytes.
  EXPECT_EQ(Tips(*store), (std::vector<Tip>{
                              {"\xCC\xE1\xCA\xBE\xD2\xBB", "http://qelmar.example.com/a"},
                              {"second tip", "https://qelmar.example.com/b?x=1&y=2"},
                          }));
  for (std::size_t i = 2; i < qmWebTips::kCapacity; ++i) {
    EXPECT_TRUE(store->TipText[i].empty() && store->TipLink[i].empty()) << i;
  }
}

TEST_F(Store, EveryByteValueSurvivesTheCache) {
  std::string page;
  for (int round = 0; round < 40; ++round) {
    for (int b = 0; b < 256; ++b) page += static_cast<char>(b);
  }
  BuildFrom(page);
  EXPECT_EQ(Cache(), page);
}

TEST_F(Store, TheSpecifiedLinesParseAsStated) {
  const auto store = BuildFrom(
      "abc@#$def\r\n"
      "\r\n"
      "a@#$b@#$c\r\n"
      "no separator here\r\n"
      " abc @#$ def \r\n"
      "@#\r\n"
      "@#$link only\r\n"
      "text only@#$\r\n"
      "\t@#$\t\r\n"
      "@#$\r\n");
  EXPECT_EQ(Tips(*store), (std::vector<Tip>{
                              {"abc", "def"},
                              {"a", "b@#$c"},
                              {" abc ", " def "},
                              {"", "link only"},
                              {"text only", ""},
                              {"\t", "\t"},
                              {"", ""},
                          }));
}

TEST_F(Store, TheSeparatorIsFoundByteByByteInsideDoubleByteText) {
  // 0x81 0x40 is one GBK character whose second byte is '@'.
  const auto store = BuildFrom("\x81@#$link\r\n\xCC\xE1@#$\x81\x40x\r\n");
  EXPECT_EQ(Tips(*store), (std::vector<Tip>{{"\x81", "link"}, {"\xCC\xE1", "\x81@x"}}));
}

TEST_F(Store, LineEndsMayBeMixed) {
  const auto store = BuildFrom("a@#$1\r\nb@#$2\nc@#$3\rd@#$4\n\re@#$5\r\r\nf@#$6");
  EXPECT_EQ(
      Tips(*store),
      (std::vector<Tip>{{"a", "1"}, {"b", "2"}, {"c", "3"}, {"d", "4"}, {"e", "5"}, {"f", "6"}}));
}

TEST_F(Store, ANulByteEndsTheTextButTheCacheKeepsEverything) {
  const std::string page("a@#$1\r\nb@#$2\0tail\r\nc@#$3\r\n", 26);
  const auto store = BuildFrom(page);
  EXPECT_EQ(Cache(), page);
  EXPECT_EQ(Tips(*store), (std::vector<Tip>{{"a", "1"}, {"b", "2"}}));
}

TEST_F(Store, KeepsExactlyTheFirst128Entries) {
  std::string exact;
  for (int i = 0; i < 128; ++i)
    exact += "t" + std::to_string(i) + "@#$l" + std::to_string(i) + "\r\n";
  auto store = BuildFrom(exact);
  ASSERT_EQ(store->TipCount, 128);
  EXPECT_EQ(store->TipText[127], "t127");
  EXPECT_EQ(store->TipLink[127], "l127");

  // Skipped lines use no entry; entries after the 128th are dropped.
  std::string more = "junk\r\n\r\n";
  for (int i = 0; i < 300; ++i) {
    more += "t" + std::to_string(i) + "@#$l" + std::to_string(i) + "\r\nplain line\r\n";
  }
  store = BuildFrom(more);
  EXPECT_EQ(Cache(), more);
  ASSERT_EQ(store->TipCount, 128);
  for (std::size_t i = 0; i < 128; ++i) {
    EXPECT_EQ(store->TipText[i], "t" + std::to_string(i));
    EXPECT_EQ(store->TipLink[i], "l" + std::to_string(i));
  }
}

TEST_F(Store, AnEmptyBodyLeavesAnEmptyCacheFile) {
  folder.Write(qmWebTips::kCacheName, "old@#$http://old/\r\n");
  const auto store = BuildFrom("");
  ASSERT_TRUE(folder.Has(qmWebTips::kCacheName));
  EXPECT_EQ(Cache(), "");
  EXPECT_EQ(store->TipCount, 0);
}

TEST_F(Store, WithoutAServerAGoodCacheFileIsEmptied) {
  folder.Write(qmWebTips::kCacheName, "old@#$http://old/\r\n");
  const std::string url =
      "http://127.0.0.1:" + std::to_string(HttpServer::ClosedPort()) + "/tips.asp";
  const qmWebTips store(platform, url);
  ASSERT_TRUE(folder.Has(qmWebTips::kCacheName));
  EXPECT_EQ(Cache(), "");
  EXPECT_EQ(store.TipCount, 0);
}

TEST_F(Store, AnErrorPageIsCachedAndReadLikeAnyBody) {
  const std::string page = "<h1>500 Internal Server Error</h1>\r\nstill@#$http://x/\r\n";
  const auto store = Build(Response::Page(page, 500));
  EXPECT_EQ(Cache(), page);
  EXPECT_EQ(Tips(*store), (std::vector<Tip>{{"still", "http://x/"}}));
}

TEST_F(Store, ACutOffTransferKeepsWhatArrived) {
  const std::string sent = "a@#$http://x/1\r\nb@#$http://x/2\r\nc@#$http://x/cu";
  auto store = Build(Response::CutOff(sent, sent.size() + 500));
  EXPECT_EQ(Cache(), sent);
  // The cut-off last line holds the separator, so it counts, its link cut.
  EXPECT_EQ(Tips(*store),
            (std::vector<Tip>{{"a", "http://x/1"}, {"b", "http://x/2"}, {"c", "http://x/cu"}}));

  const std::string shorter = "a@#$http://x/1\r\nb@";
  store = Build(Response::CutOff(shorter, 4096));
  EXPECT_EQ(Cache(), shorter);
  EXPECT_EQ(Tips(*store), (std::vector<Tip>{{"a", "http://x/1"}}));
}

TEST_F(Store, ARedirectIsFollowedToThePage) {
  HttpServer target(Response::Page("moved@#$http://x/\r\n"));
  const auto store = Build(Response::Redirect(target.Url()));
  EXPECT_EQ(Cache(), "moved@#$http://x/\r\n");
  EXPECT_EQ(store->TipCount, 1);
  ASSERT_EQ(target.Requests().size(), 1U);
  EXPECT_EQ(target.Requests()[0].userAgent, "URLCheck");
}

TEST_F(Store, AHugeBodyIsCutAtOneMebibyteWithBoundedMemory) {
  const std::uint64_t huge = std::uint64_t{100} << 20;
  const auto store = Build(Response::Streamed("tip@#$http://x/\r\n", huge));
  const std::string cache = Cache();
  EXPECT_EQ(cache.size(), std::size_t{1} << 20);
  // The bytes kept are the beginning of the body, in order.
  const std::string line = "tip@#$http://x/\r\n";
  for (std::size_t i = 0; i < cache.size(); i += line.size()) {
    ASSERT_EQ(cache.compare(i, line.size(), line, 0, std::min(line.size(), cache.size() - i)), 0)
        << "at " << i;
  }
  EXPECT_EQ(store->TipCount, 128);
  // The transfer stopped early instead of draining the server.
  EXPECT_LT(server.BodyBytesSent(), huge / 4);
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  EXPECT_LT(usage.ru_maxrss, 64L * 1024) << "peak resident set in KiB";
}

TEST_F(Store, ACacheThatCannotBeWrittenEndsTheConstruction) {
  // Root may write anywhere, so the folder is made unusable instead: inside a
  // regular file, or the cache's name taken by a folder.
  folder.Write("plain-file", "x");
  platform.SetProgramFolder((folder.Path() / "plain-file" / "").string());
  server.Answer(Response::Page("a@#$http://x/\r\n"));
  EXPECT_THROW((qmWebTips{platform, server.Url()}), tk::Error);

  platform.SetProgramFolder(folder.Slashed());
  std::filesystem::create_directory(folder.Path() / qmWebTips::kCacheName);
  EXPECT_THROW((qmWebTips{platform, server.Url()}), tk::Error);
  // The page was fetched both times before the write failed.
  EXPECT_EQ(server.Requests().size(), 2U);
}

// The store hands the platform a request with bounded time-outs and a cap.
TEST(StoreRequest, IsBoundedAndNamesTheAgent) {
  testsupport::TempFolder folder;
  tk::headless::HeadlessPlatform platform(folder.Slashed());
  const qmWebTips store(platform, "http://127.0.0.1:9/tips.asp");
  ASSERT_EQ(platform.Requests().size(), 1U);
  const tk::HttpRequest& r = platform.Requests()[0];
  EXPECT_EQ(r.url, "http://127.0.0.1:9/tips.asp");
  EXPECT_EQ(r.userAgent, "URLCheck");
  EXPECT_EQ(r.readSize, 4096U);
  EXPECT_EQ(r.maxBytes, std::size_t{1} << 20);
  EXPECT_GT(r.connectTimeoutMs, 0);
  EXPECT_LE(r.connectTimeoutMs, 15000);
  EXPECT_GT(r.totalTimeoutMs, 0);
  EXPECT_LE(r.totalTimeoutMs, 30000);
}

TEST(StoreRequest, TheDefaultPageIsTipsAspOverHttp) {
  const std::string url = DefaultTipsPageUrl();
  EXPECT_TRUE(url.starts_with("http://")) << url;
  EXPECT_TRUE(url.ends_with("/tips.asp")) << url;
  EXPECT_EQ(url.find('?'), std::string::npos) << url;
}

// The fetch runs apart from the build: it can be cancelled, and the build
// from a body writes and reads the cache exactly as a fetching store does.
TEST(StoreRequest, FetchAndBuildFromTheBodyAreApart) {
  testsupport::TempFolder folder;
  tk::headless::HeadlessPlatform platform(folder.Slashed());
  platform.SetFetch([](const tk::HttpRequest&) { return std::string("a@#$b\r\n"); });
  tk::Cancellation cancel;
  EXPECT_EQ(qmWebTips::FetchPage(platform, "http://127.0.0.1:9/tips.asp", &cancel), "a@#$b\r\n");
  ASSERT_EQ(platform.Requests().size(), 1U);
  EXPECT_EQ(platform.Requests()[0].cancel, &cancel);
  EXPECT_FALSE(folder.Has(qmWebTips::kCacheName)) << "the fetch writes nothing";

  const qmWebTips store(platform, qmWebTips::Body{"x\r\nt@#$l\r\n"});
  EXPECT_EQ(platform.Requests().size(), 1U);
  EXPECT_EQ(folder.Read(qmWebTips::kCacheName), "x\r\nt@#$l\r\n");
  ASSERT_EQ(store.TipCount, 1);
  EXPECT_EQ(store.TipText[0], "t");
  EXPECT_EQ(store.TipLink[0], "l");
}

// A run without a cache folder fetches nothing, writes nothing, has no tips.
TEST(StoreRequest, WithoutACacheFolderNothingIsFetchedOrWritten) {
  tk::headless::HeadlessPlatform platform("");
  ASSERT_EQ(platform.CacheFolder(), "");
  platform.SetFetch([](const tk::HttpRequest&) { return std::string("a@#$b\r\n"); });
  const qmWebTips fetched(platform, "http://127.0.0.1:9/tips.asp");
  EXPECT_TRUE(platform.Requests().empty());
  EXPECT_EQ(fetched.TipCount, 0);
  const qmWebTips built(platform, qmWebTips::Body{"a@#$b\r\n"});
  EXPECT_EQ(built.TipCount, 0);
  EXPECT_FALSE(std::filesystem::exists(qmWebTips::kCacheName)) << "written to the current folder";
}

// A failing fetch drops what it threw; the cache is still rewritten.
TEST(StoreRequest, AnErrorDuringTheFetchIsDropped) {
  testsupport::TempFolder folder;
  folder.Write(qmWebTips::kCacheName, "old@#$x\r\n");
  tk::headless::HeadlessPlatform platform(folder.Slashed());
  platform.SetFetch([](const tk::HttpRequest&) -> std::string { throw std::bad_alloc(); });
  const qmWebTips store(platform, "http://127.0.0.1:9/tips.asp");
  EXPECT_EQ(store.TipCount, 0);
  EXPECT_TRUE(folder.Has(qmWebTips::kCacheName));
  EXPECT_EQ(folder.Read(qmWebTips::kCacheName), "");
}

// The cache goes where the platform says, not beside the program; with no
// cache folder a run has no tips and touches nothing, not even a stale file
// in the working folder.
TEST(StoreCache, LiesInThePlatformsCacheFolderAndWithoutOneNothingHappens) {
  struct Platform : tk::headless::HeadlessPlatform {
    using HeadlessPlatform::HeadlessPlatform;
    std::string CacheFolder() const override { return cache; }
    std::string cache;
  };
  testsupport::TempFolder program;
  testsupport::TempFolder cache;
  Platform platform(program.Slashed());
  platform.SetFetch([](const tk::HttpRequest&) { return std::string("a@#$http://x/\r\n"); });
  platform.cache = cache.Slashed();
  EXPECT_EQ(qmWebTips(platform, "http://127.0.0.1:9/tips.asp").TipCount, 1);
  EXPECT_EQ(cache.Read(qmWebTips::kCacheName), "a@#$http://x/\r\n");
  EXPECT_FALSE(program.Has(qmWebTips::kCacheName));

  platform.cache.clear();
  platform.ClearRequests();
  program.Write(qmWebTips::kCacheName, "stale@#$http://y/\r\n");
  const auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(program.Path());
  const qmWebTips store(platform, "http://127.0.0.1:9/tips.asp");
  std::filesystem::current_path(cwd);
  EXPECT_EQ(store.TipCount, 0);
  EXPECT_TRUE(platform.Requests().empty());
  EXPECT_EQ(program.Read(qmWebTips::kCacheName), "stale@#$http://y/\r\n");
  EXPECT_EQ(cache.Read(qmWebTips::kCacheName), "a@#$http://x/\r\n");
}

std::vector<std::uint32_t> Draws(int n) {
  std::vector<std::uint32_t> out;
  out.reserve(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) out.push_back(tips::NextRandom());
  return out;
}

TEST(StoreRandom, StoresBuiltInTheSameSecondDrawTheSameSequence) {
  testsupport::TempFolder folder;
  tk::headless::HeadlessPlatform platform(folder.Slashed());
  for (int attempt = 0; attempt < 5; ++attempt) {
    const std::time_t before = std::time(nullptr);
    { const qmWebTips first(platform, "http://127.0.0.1:9/tips.asp"); }
    const auto a = Draws(16);
    { const qmWebTips second(platform, "http://127.0.0.1:9/tips.asp"); }
    const auto b = Draws(16);
    if (std::time(nullptr) != before) continue;  // a second boundary fell between
    EXPECT_EQ(a, b);
    tips::SeedRandom(static_cast<std::uint32_t>(before + 1));
    EXPECT_NE(Draws(16), a) << "the next second draws another sequence";
    return;
  }
  FAIL() << "no two stores could be built within one second";
}

TEST(StoreRandom, SmallCountsAreNotDrawnInAFixedPattern) {
  tips::SeedRandom(1700000000U);
  // Low bits of a bare power-of-two congruential generator alternate.
  int repeats = 0;
  std::uint32_t last = 2;
  std::vector<int> seen(8, 0);
  for (int i = 0; i < 400; ++i) {
    const std::uint32_t v = tips::NextRandom();
    if (v % 2 == last) ++repeats;
    last = v % 2;
    ++seen[v % 8];
  }
  EXPECT_GT(repeats, 100);
  for (int count : seen) EXPECT_GT(count, 20);
}

}  // namespace
