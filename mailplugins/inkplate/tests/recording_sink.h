// A PageSink that keeps what the layout asked for, page by page.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "print_layout.h"

struct DrawnLine {
  int x;
  int y;
  std::string text;
  bool operator==(const DrawnLine& o) const { return x == o.x && y == o.y && text == o.text; }
};

class RecordingSink : public inkplate::PageSink {
 public:
  RecordingSink() : pages(1) {}
  void DrawLine(int x, int y, std::string_view text) override {
    pages.back().push_back({x, y, std::string(text)});
  }
  void NextPage() override { pages.emplace_back(); }

  std::vector<std::string> Texts() const {
    std::vector<std::string> all;
    for (const auto& page : pages)
      for (const auto& line : page) all.push_back(line.text);
    return all;
  }

  std::vector<std::vector<DrawnLine>> pages;
};
