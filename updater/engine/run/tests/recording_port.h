// A RunWindowPort that records what the run asked of its windows.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "engine/run/win32/update_session.h"

class RecordingPort : public qxu::RunWindowPort {
 public:
  // What the run window does with a stop and with the end of a pass.
  enum Command { kStop = 1, kFinished = 2 };

  bool OpenRunWindow(bool confirm, bool silent) override {
    opened.push_back(confirm * 10 + silent);
    return true;
  }
  void EndRunWithoutWindow() override {}
  void ShowProgress(const wchar_t*, double) override {}
  void ShowItemState(int index, qxu::RowState state, std::uint64_t size) override {
    states[index] = state;
    status[index] = qxu::RowStateText(state, size);
  }
  void SetItemChecked(int index, bool value) override { checked[index] = value; }
  bool ItemChecked(int index) override { return checked.count(index) && checked[index]; }
  void CheckPassBegins() override { events.push_back(L"check begins"); }
  void CheckPassEnds() override { events.push_back(L"check ends"); }
  void DownloadPassBegins() override { events.push_back(L"download begins"); }
  void StopRun() override { commands.push_back(kStop); }
  void RunFinished() override { commands.push_back(kFinished); }
  void ShowMessage(const wchar_t* text, unsigned type) override {
    messages.push_back(text);
    messageTypes.push_back(type);
  }

  std::vector<int> opened;
  std::map<int, qxu::RowState> states;
  std::map<int, std::wstring> status;
  std::map<int, bool> checked;
  std::vector<std::wstring> events;
  std::vector<int> commands;
  std::vector<std::wstring> messages;
  std::vector<unsigned> messageTypes;
};

// Adds an item as the command line's second pass would.
void AddItem(qxu::UpdateSession& s, const std::wstring& urlFolder, const std::wstring& fileName,
             const std::wstring& localPath);
