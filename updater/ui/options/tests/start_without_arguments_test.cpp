// QxUpdate.exe started without a command line, in a folder of its own: the
// first-run question, the options dialog, the end after it, and the
// self-update start that its button asks for.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "ui/about/tests/dialog_driver.h"
#include "ui/lang/resource_ids.h"
#include "ui/options/tests/process_probe.h"
#include "ui/settings/win32/first_run.h"

namespace qxu::testing {
namespace {

std::wstring ExeFolder() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

class StartWithoutArguments : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(temp) + L"qxu-start-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(folder_.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW((ExeFolder() + L"updater-dialogs-test\\QxUpdate.exe").c_str(),
                          (folder_ + L"QxUpdate.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileW((ExeFolder() + L"QxUpdate.Jpn.dll").c_str(),
                          (folder_ + L"QxUpdate.Jpn.dll").c_str(), FALSE));
  }

  void TearDown() override {
    for (HANDLE process : started_) {
      if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) TerminateProcess(process, 1);
      WaitForSingleObject(process, 5000);
      CloseHandle(process);
    }
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder_ + L"*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring path = folder_ + data.cFileName;
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
      } while (FindNextFileW(find, &data));
      FindClose(find);
    }
    RemoveDirectoryW(folder_.c_str());
  }

  // Starts the copy without arguments; its process id.
  DWORD Start() {
    const std::wstring program = folder_ + L"QxUpdate.exe";
    std::wstring line = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder_.c_str(), &startup, &info))
      return 0;
    CloseHandle(info.hThread);
    started_.push_back(info.hProcess);
    return info.dwProcessId;
  }

  HANDLE Last() const { return started_.back(); }

  bool SettingFileExists() const {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder_ + L"*.ini").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return false;
    FindClose(find);
    return true;
  }

  std::wstring folder_;
  std::vector<HANDLE> started_;
};

TEST_F(StartWithoutArguments, FirstRunThenOptionsThenTheEnd) {
  const DWORD id = Start();
  ASSERT_NE(0u, id);
  HWND question = WaitForProcessDialog(id, {});
  ASSERT_TRUE(question);
  EXPECT_EQ(kFirstRunWelcome, MessageBoxText(question));
  Answer(question, IDNO);

  HWND options = WaitForProcessDialog(id, {question}, L"QxUpdate Version 1.10.01");
  ASSERT_TRUE(options);
  EXPECT_TRUE(SettingFileExists());  // written after the questions
  EXPECT_TRUE(GetDlgItem(options, QXU_OPTIONS_ASSOCIATE));
  Click(options, IDCANCEL);
  for (int i = 0; i < 2000 && IsWindowVisible(options); ++i) Sleep(5);
  const ULONGLONG closed = GetTickCount64();
  ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(Last(), 20000));
  // Reported, not asserted: the timer ends the process about 100 ms later.
  std::printf("process ended %llu ms after the options dialog closed\n",
              static_cast<unsigned long long>(GetTickCount64() - closed));
  DWORD code = 1;
  GetExitCodeProcess(Last(), &code);
  EXPECT_EQ(0u, code);

  // The second start finds the file and asks nothing.
  const DWORD again = Start();
  HWND second = WaitForProcessDialog(again, {});
  ASSERT_TRUE(second);
  EXPECT_EQ(L"QxUpdate Version 1.10.01", WindowText(second));
  Click(second, IDCANCEL);
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(Last(), 20000));
}

// A server that takes connections and never answers, so that the own-update
// copy waits on it until the test has seen it.
class SilentServer {
 public:
  SilentServer() {
    WSADATA data;
    started_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    socket_ = started_ ? ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP) : INVALID_SOCKET;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
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
  SilentServer server;
  ASSERT_NE(0, server.port());
  const std::wstring url = L"http://127.0.0.1:" + std::to_wstring(server.port());
  SetEnvironmentVariableW(L"QXU_TEST_SELF_UPDATE_SERVER", url.c_str());
  const DWORD first = Start();
  HWND question = WaitForProcessDialog(first, {});
  ASSERT_TRUE(question);
  Answer(question, IDNO);
  HWND options = WaitForProcessDialog(first, {question}, L"QxUpdate Version 1.10.01");
  ASSERT_TRUE(options);

  std::vector<DWORD> known;
  for (const StartedProcess& process : ProcessesOf(L"QxUpdate.exe", {})) known.push_back(process.id);
  Click(options, QXU_OPTIONS_SELF_UPDATE);
  StartedProcess copy;
  for (int i = 0; i < 2000 && !copy.id; ++i) {
    for (const StartedProcess& process : ProcessesOf(L"QxUpdate.exe", known))
      if (!process.commandLine.empty()) copy = process;
    if (!copy.id) Sleep(5);
  }
  ASSERT_NE(0u, copy.id) << "no new start of QxUpdate.exe";
  EXPECT_NE(std::wstring::npos, copy.commandLine.find(L"--own-update")) << copy.commandLine;
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(Last(), 20000));
  // The copy would go on to the publisher's server: end it here.
  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, copy.id);
  if (process) started_.push_back(process);
  SetEnvironmentVariableW(L"QXU_TEST_SELF_UPDATE_SERVER", nullptr);
}

}  // namespace
}  // namespace qxu::testing
