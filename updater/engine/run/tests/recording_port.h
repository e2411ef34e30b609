// A RunWindowPort that records what the run asked of its windows.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "update_engine.h"

class RecordingPort : public qxu::RunWindowPort {
 public:
  bool OpenRunWindow(int confirm, int silent) override {
    opened.push_back(confirm * 10 + silent);
    return true;
  }
  void EndRunWithoutWindow() override {}
  qxu::ProgressCallback ProgressRoutine() override { return nullptr; }
  void SetItemStatus(int index, const wchar_t* text) override { status[index] = text ? text : L""; }
  void SetItemChecked(int index, int value) override { checked[index] = value; }
  int ItemChecked(int index) override { return checked.count(index) ? checked[index] : 0; }
  void CheckPassBegins() override { events.push_back(L"check begins"); }
  void CheckPassEnds() override { events.push_back(L"check ends"); }
  void DownloadPassBegins() override { events.push_back(L"download begins"); }
  void SendRunCommand(int command) override { commands.push_back(command); }
  void ShowMessage(const wchar_t* text, unsigned type) override {
    messages.push_back(text);
    messageTypes.push_back(type);
  }

  std::vector<int> opened;
  std::map<int, std::wstring> status;
  std::map<int, int> checked;
  std::vector<std::wstring> events;
  std::vector<int> commands;
  std::vector<std::wstring> messages;
  std::vector<unsigned> messageTypes;
};

// Adds an item as the command line's second pass would.
void AddItem(qxu::UpdateEngine& e, const std::wstring& urlFolder, const std::wstring& fileName,
             const std::wstring& localPath);
