// The Linux platform: HTTP through libcurl against a loopback server, the
// program's folder, and GBK decoding for what is shown.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "../support/http_server.h"
#include "../support/temp_folder.h"
#include "core/text.h"
#include "toolkit/linux/linux_platform.h"

namespace {

using testsupport::HttpServer;
using testsupport::Response;

tk::HttpRequest Request(const std::string& url) {
  tk::HttpRequest r;
  r.url = url;
  r.userAgent = "URLCheck";
  return r;
}

TEST(LinuxHttp, SendsTheAgentAndReturnsTheBody) {
  HttpServer server(Response::Page("hello\r\nworld"));
  tk::LinuxPlatform platform;
  EXPECT_EQ(platform.HttpGet(Request(server.Url("/some/page.asp"))), "hello\r\nworld");
  ASSERT_EQ(server.Requests().size(), 1U);
  EXPECT_EQ(server.Requests()[0].path, "/some/page.asp");
  EXPECT_EQ(server.Requests()[0].userAgent, "URLCheck");
}

TEST(LinuxHttp, ANetworkFailureGivesNothing) {
  tk::LinuxPlatform platform;
  const auto port = std::to_string(HttpServer::ClosedPort());
  EXPECT_EQ(platform.HttpGet(Request("http://127.0.0.1:" + port + "/tips.asp")), "");
}

TEST(LinuxHttp, OnlyHttpAndHttpsAreFetched) {
  const std::filesystem::path local = std::filesystem::temp_directory_path() / "qelmar-local.txt";
  { std::ofstream(local) << "secret@#$x"; }
  tk::LinuxPlatform platform;
  EXPECT_EQ(platform.HttpGet(Request("file://" + local.string())), "");
  std::filesystem::remove(local);

  // Nor may a redirect lead elsewhere.
  HttpServer server(Response::Redirect("file:///etc/hostname"));
  EXPECT_EQ(platform.HttpGet(Request(server.Url())), "");
}

TEST(LinuxHttp, TheBodyIsCappedAndTheTransferStops) {
  tk::LinuxPlatform platform;
  HttpServer server(Response::Page(std::string(50000, 'x')));
  tk::HttpRequest r = Request(server.Url());
  r.maxBytes = 10000;
  EXPECT_EQ(platform.HttpGet(r), std::string(10000, 'x'));

  // A body of exactly the cap arrives whole.
  server.Answer(Response::Page(std::string(10000, 'y')));
  EXPECT_EQ(platform.HttpGet(r), std::string(10000, 'y'));

  // A body far beyond the cap is not read to its end.
  const std::uint64_t huge = std::uint64_t{64} << 20;
  server.Answer(Response::Streamed("0123456789", huge));
  const std::string got = platform.HttpGet(r);
  EXPECT_EQ(got.size(), 10000U);
  EXPECT_EQ(got.substr(0, 12), "012345678901");
  EXPECT_LT(server.BodyBytesSent(), huge / 4);
}

TEST(LinuxHttp, AServerThatNeverAnswersIsGivenUpOn) {
  HttpServer server(Response::Silent());
  tk::LinuxPlatform platform;
  tk::HttpRequest r = Request(server.Url());
  r.totalTimeoutMs = 300;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(platform.HttpGet(r), "");
  // The server would hold the connection for a minute; the time-out ends it.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
  EXPECT_EQ(server.Requests().size(), 1U);
}

// A cancellation from another thread ends a transfer that waits for its
// answer at once, long before any time-out; one that came first asks nothing.
TEST(LinuxHttp, ACancelledTransferEndsAtOnce) {
  HttpServer server(Response::Page("late@#$x\r\n"));
  server.Hold();
  tk::LinuxPlatform platform;
  tk::Cancellation cancel;
  tk::HttpRequest r = Request(server.Url());
  r.connectTimeoutMs = r.totalTimeoutMs = 600000;
  r.cancel = &cancel;
  std::string got = "unset";
  std::thread worker([&] { got = platform.HttpGet(r); });
  ASSERT_TRUE(server.AwaitRequests(1));
  cancel.Request();
  EXPECT_TRUE(server.AwaitHangUps(1)) << "the transfer went on";
  worker.join();
  EXPECT_EQ(got, "");

  server.Release();
  tk::Cancellation before;
  before.Request();
  r.cancel = &before;
  EXPECT_EQ(platform.HttpGet(r), "");
  EXPECT_EQ(server.Requests().size(), 1U);
}

// A listener whose accept queue is full drops new connection attempts, so
// the connection is never made.
TEST(LinuxHttp, AConnectionThatIsNeverMadeIsGivenUpOn) {
  const int listener = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof addr;
  ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  ASSERT_EQ(listen(listener, 0), 0);
  ASSERT_EQ(getsockname(listener, reinterpret_cast<sockaddr*>(&addr), &len), 0);
  std::vector<int> fillers;
  for (int i = 0; i < 4; ++i) {
    const int c = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    // Non-blocking: the attempt stays pending in the queue.
    (void)connect(c, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    fillers.push_back(c);
  }
  tk::LinuxPlatform platform;
  tk::HttpRequest r = Request("http://127.0.0.1:" + std::to_string(ntohs(addr.sin_port)) + "/");
  r.connectTimeoutMs = 300;
  r.totalTimeoutMs = 60000;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(platform.HttpGet(r), "");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
  for (int c : fillers) close(c);
  close(listener);
}

TEST(LinuxPlatformFolder, IsTheExecutablesFolderWhichHoldsTheCacheInABuild) {
  const tk::LinuxPlatform platform;
  const std::string folder = platform.ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '/');
  EXPECT_TRUE(std::filesystem::is_regular_file(folder + "tips_tests"));
  EXPECT_EQ(platform.CacheFolder(), folder);
}

// A system folder is never used, whatever the user's rights: root, who may
// write to /usr/bin, gets the same folder as anyone else.
TEST(LinuxCacheFolder, IsBesideAProgramOutsideTheSystemFoldersElseInTheUsersCache) {
  testsupport::TempFolder root;
  const std::string home = (root.Path() / "home").string();
  std::filesystem::create_directory(home);
  const std::string own = home + "/.cache/qelmar3d/";
  const std::string build = root.Slashed() + "build/";
  std::filesystem::create_directories(build);
  EXPECT_EQ(tk::LinuxPlatform::ChooseCacheFolder(build, "/usr/local/bin", "", home), build);
  EXPECT_FALSE(std::filesystem::exists(home + "/.cache"));

  EXPECT_EQ(tk::LinuxPlatform::ChooseCacheFolder("/usr/bin/", "/usr/local/bin", "", home), own);
  EXPECT_TRUE(std::filesystem::is_directory(own));
  EXPECT_EQ(std::filesystem::status(own).permissions(), std::filesystem::perms::owner_all);
  EXPECT_EQ(tk::LinuxPlatform::ChooseCacheFolder("/usr/games/x/", "", "", home + "/"), own);

  // A prefix of the installer's choosing, however written, that this user may write.
  const std::string prefixBin = root.Slashed() + "opt/bin/";
  std::filesystem::create_directories(prefixBin);
  EXPECT_EQ(tk::LinuxPlatform::ChooseCacheFolder(prefixBin, root.Slashed() + "opt//bin", "", home),
            own);
  std::filesystem::create_directory(prefixBin + "sub");
  EXPECT_EQ(tk::LinuxPlatform::ChooseCacheFolder(prefixBin + "sub/", prefixBin, "", home),
            prefixBin + "sub/");
}

TEST(LinuxCacheFolder, FollowsXdgCacheHomeAndMakesItWhenMissing) {
  testsupport::TempFolder root;
  const std::string home = root.Slashed() + "home";
  std::filesystem::create_directory(home);
  const std::string xdg = root.Slashed() + "elsewhere/cache";
  EXPECT_EQ(tk::LinuxPlatform::ChooseCacheFolder("/usr/bin/", "", xdg, home), xdg + "/qelmar3d/");
  EXPECT_TRUE(std::filesystem::is_directory(xdg + "/qelmar3d"));
  EXPECT_FALSE(std::filesystem::exists(home + "/.cache"));
  // A relative one is no valid setting and is passed over.
  EXPECT_EQ(tk::LinuxPlatform::ChooseCacheFolder("/usr/bin/", "", "rel/cache", home),
            home + "/.cache/qelmar3d/");
  EXPECT_FALSE(std::filesystem::exists("rel"));
}

TEST(LinuxCacheFolder, IsNoneWithoutAUsableHomeAndNothingIsMade) {
  testsupport::TempFolder root;
  const std::string gone = root.Slashed() + "gone";
  EXPECT_EQ(tk::LinuxPlatform::ChooseCacheFolder("/usr/bin/", "", "", gone), "");
  EXPECT_FALSE(std::filesystem::exists(gone));
  EXPECT_EQ(tk::LinuxPlatform::ChooseCacheFolder("/usr/bin/", "", "", ""), "");
  // Root may write anywhere, so these are made unusable by a regular file.
  root.Write("file", "x");
  EXPECT_EQ(tk::LinuxPlatform::ChooseCacheFolder("/usr/bin/", "", "", root.Slashed() + "file"), "");
  EXPECT_EQ(tk::LinuxPlatform::ChooseCacheFolder("/usr/bin/", "", root.Slashed() + "file/c", gone),
            "");
  EXPECT_FALSE(std::filesystem::exists(gone));
}

TEST(LinuxDataFolder, IsTheProgramsOwnUnlessInstalledThenXdgDataHome) {
  testsupport::TempFolder root;
  const std::string home = root.Slashed() + "home";
  std::filesystem::create_directory(home);
  const std::string build = root.Slashed() + "build/";
  std::filesystem::create_directory(build);
  EXPECT_EQ(tk::LinuxPlatform::ChooseDataFolder(build, "/usr/local/bin", "", home).folder, build);
  // The probe of the rights leaves nothing behind.
  EXPECT_TRUE(std::filesystem::is_empty(build));
  EXPECT_EQ(tk::LinuxPlatform::ChooseDataFolder("/usr/bin/", "", "", home).folder,
            home + "/.local/share/qelmar3d/");
  EXPECT_TRUE(std::filesystem::is_directory(home + "/.local/share/qelmar3d"));
  EXPECT_FALSE(std::filesystem::exists(home + "/.cache"));
  const std::string xdg = root.Slashed() + "data";
  EXPECT_EQ(tk::LinuxPlatform::ChooseDataFolder("/usr/bin/", "", xdg, home).folder,
            xdg + "/qelmar3d/");
}

// Folders no file can be made in, for any user: a path through a regular
// file and /proc; without root, a folder without write permission too
// (root passes the permission bits, which is why they are never trusted).
std::vector<std::string> UnwritableFolders(const testsupport::TempFolder& root) {
  root.Write("file", "x");
  std::vector<std::string> folders{root.Slashed() + "file/bin/", "/proc/"};
  const std::string locked = root.Slashed() + "locked/";
  std::filesystem::create_directory(locked);
  std::filesystem::permissions(
      locked, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  if (geteuid() != 0) folders.push_back(locked);
  return folders;
}

TEST(LinuxDataFolder, IsTheUsersWhenNoFileCanBeMadeBesideTheProgram) {
  testsupport::TempFolder root;
  const std::string home = root.Slashed() + "home";
  std::filesystem::create_directory(home);
  for (const std::string& program : UnwritableFolders(root)) {
    const tk::FolderChoice data = tk::LinuxPlatform::ChooseDataFolder(program, "", "", home);
    EXPECT_EQ(data.folder, home + "/.local/share/qelmar3d/") << program;
    EXPECT_EQ(data.notice, "");
    EXPECT_EQ(tk::LinuxPlatform::ChooseCacheFolder(program, "", "", home),
              home + "/.cache/qelmar3d/")
        << program;
  }
  EXPECT_TRUE(std::filesystem::is_directory(home + "/.local/share/qelmar3d"));
}

TEST(LinuxDataFolder, IsNoneWithANoticeWhenNeitherCanBeWritten) {
  testsupport::TempFolder root;
  const std::string gone = root.Slashed() + "gone";
  root.Write("file", "x");
  const tk::FolderChoice data =
      tk::LinuxPlatform::ChooseDataFolder("/proc/", "", root.Slashed() + "file/data", gone);
  EXPECT_EQ(data.folder, "");
  EXPECT_EQ(data.notice, "无法在程序所在的文件夹“/proc/”或用户文件夹“" + root.Slashed() +
                             "file/data/qelmar3d/”中写入文件：本次运行的开奖号码、奖金、方案和"
                             "关闭时的列表都不会保存。");
  // An installed program names only the user's folder, and without one says so.
  EXPECT_EQ(tk::LinuxPlatform::ChooseDataFolder("/usr/bin/", "", "", gone).notice,
            "无法在用户文件夹中写入文件：本次运行的开奖号码、奖金、方案和关闭时的列表都不会保存。");
  EXPECT_FALSE(std::filesystem::exists(gone));
}

TEST(Gbk, IsDecodedToUtf8) {
  EXPECT_EQ(core::GbkToUtf8("\xCC\xE1\xCA\xBE >>"), "提示 >>");
  // A trail byte may be '@' and the euro sign is the single byte 0x80.
  EXPECT_EQ(core::GbkToUtf8("\x81@\x80"), "丂€");
  EXPECT_EQ(core::GbkToUtf8("http://x/\xCC\xE1"), "http://x/提");
  // A lead byte cut off at the end is replaced, not dropped or kept raw.
  EXPECT_EQ(core::GbkToUtf8("ab\xCC"), "ab\xEF\xBF\xBD");
  EXPECT_EQ(core::GbkToUtf8("\xFF"
                            "a"),
            "\xEF\xBF\xBD"
            "a");
}

}  // namespace
