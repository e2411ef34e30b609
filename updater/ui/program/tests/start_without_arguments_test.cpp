// QxUpdate.exe started without a command line, in a folder of its own: the
// first-run question, the options dialog, the end after it, and the
// self-update start that its button asks for.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <string>

#include "ui/lang/resource_ids.h"
#include "engine/settings/win32/first_run.h"
#include "win32/dialogs.h"
#include "win32/files.h"
#include "win32/processes.h"

namespace qxu::testing {
namespace {

using qxtest::Scope;
using qxtest::WaitForDialog;

class StartWithoutArguments : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::wstring built = qxtest::ProgramFolder();
    ASSERT_TRUE(CopyFileW((built + L"updater-program-test\\qxupdate-loopback.exe").c_str(),
                          (folder_ / L"QxUpdate.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileW((built + L"QxUpdate.Jpn.dll").c_str(), (folder_ / L"QxUpdate.Jpn.dll").c_str(), FALSE));
  }

  // Starts the copy without arguments.
  qxtest::ChildProcess& Start() {
    started_.emplace_back(folder_ / L"QxUpdate.exe", L"", folder_.path());
    return started_.back();
  }

  bool SettingFileExists() const {
    for (const std::wstring& name : qxtest::ListFolder(folder_.path()))
      if (name.size() > 4 && _wcsicmp(name.c_str() + name.size() - 4, L".ini") == 0) return true;
    return false;
  }

  qxtest::TempFolder folder_{L"qxu-start"};
  // Ended before their folder goes; a deque keeps them in place.
  std::deque<qxtest::ChildProcess> started_;
};

TEST_F(StartWithoutArguments, FirstRunThenOptionsThenTheEnd) {
  qxtest::ChildProcess& first = Start();
  ASSERT_TRUE(first.started());
  HWND question = WaitForDialog(Scope::Process(first.id()));
  ASSERT_TRUE(question);
  EXPECT_EQ(kFirstRunWelcome, qxtest::MessageBoxText(question));
  qxtest::Answer(question, IDNO);

  HWND options = WaitForDialog(Scope::Process(first.id()), {question}, L"QxUpdate Version 1.10.01");
  ASSERT_TRUE(options);
  EXPECT_TRUE(SettingFileExists());  // written after the questions
  EXPECT_TRUE(GetDlgItem(options, QXU_OPTIONS_ASSOCIATE));
  qxtest::Click(options, IDCANCEL);
  qxtest::PumpUntil([&] { return !IsWindowVisible(options); }, 10000);
  const ULONGLONG closed = GetTickCount64();
  ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(first.handle(), 20000));
  // Reported, not asserted: the timer ends the process about 100 ms later.
  std::printf("process ended %llu ms after the options dialog closed\n",
              static_cast<unsigned long long>(GetTickCount64() - closed));
  EXPECT_EQ(0, first.Wait(0));

  // The second start finds the file and asks nothing.
  qxtest::ChildProcess& again = Start();
  HWND second = WaitForDialog(Scope::Process(again.id()));
  ASSERT_TRUE(second);
  EXPECT_EQ(L"QxUpdate Version 1.10.01", qxtest::WindowText(second));
  qxtest::Click(second, IDCANCEL);
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(again.handle(), 20000));
}

// The program's self-update server on its loopback port, taking connections
// and never answering, so that the own-update copy waits on it until the test
// has seen it.
class SilentServer {
 public:
  explicit SilentServer(int port) {
    WSADATA data;
    started_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    socket_ = started_ ? ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP) : INVALID_SOCKET;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<u_short>(port));
    int length = sizeof(address);
    if (socket_ == INVALID_SOCKET ||
        bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        listen(socket_, 4) != 0 ||
        getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
      return;
    port_ = ntohs(address.sin_port);
  }
  ~SilentServer() {
    if (socket_ != INVALID_SOCKET) closesocket(socket_);
    if (started_) WSACleanup();
  }
  SilentServer(const SilentServer&) = delete;
  SilentServer& operator=(const SilentServer&) = delete;
  int port() const { return port_; }

 private:
  bool started_ = false;
  SOCKET socket_ = INVALID_SOCKET;
  int port_ = 0;
};

TEST_F(StartWithoutArguments, SelfUpdateButtonStartsAnOwnUpdateCopy) {
  const char* port = std::getenv("QX_TEST_SELF_UPDATE_PORT");
  ASSERT_TRUE(port) << "the loopback build's self-update port";
  SilentServer server(std::atoi(port));
  ASSERT_EQ(std::atoi(port), server.port());
  qxtest::ChildProcess& first = Start();
  HWND question = WaitForDialog(Scope::Process(first.id()));
  ASSERT_TRUE(question);
  qxtest::Answer(question, IDNO);
  HWND options = WaitForDialog(Scope::Process(first.id()), {question}, L"QxUpdate Version 1.10.01");
  ASSERT_TRUE(options);

  std::vector<DWORD> known;
  for (const qxtest::ProcessInfo& process : qxtest::ProcessesOf(L"QxUpdate.exe")) known.push_back(process.id);
  qxtest::Click(options, QXU_OPTIONS_SELF_UPDATE);
  qxtest::ProcessInfo copy;
  qxtest::PumpUntil(
      [&] {
        for (const qxtest::ProcessInfo& process : qxtest::ProcessesOf(L"QxUpdate.exe", known))
          if (!process.commandLine.empty()) copy = process;
        return copy.id != 0;
      },
      10000);
  // The copy would wait on the silent server for good: end it here.
  qxtest::KernelHandle copyProcess(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, copy.id));
  ASSERT_NE(0u, copy.id) << "no new start of QxUpdate.exe";
  EXPECT_NE(std::wstring::npos, copy.commandLine.find(L"--own-update")) << copy.commandLine;
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(first.handle(), 20000));
  if (copyProcess) {
    TerminateProcess(copyProcess.get(), 1);
    WaitForSingleObject(copyProcess.get(), 5000);
  }
}

}  // namespace
}  // namespace qxu::testing
