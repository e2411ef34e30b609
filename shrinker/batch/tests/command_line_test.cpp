#include "command_line.h"

#include <gtest/gtest.h>

namespace vantilo {
namespace {

using Args = std::vector<std::string>;

TEST(CommandLine, SkipsTheProgramAndSplitsOnSpaces) {
  EXPECT_EQ(SplitCommandLine("\"C:\\Program Files\\Vantilo.exe\""), Args{});
  EXPECT_EQ(SplitCommandLine("Vantilo.exe /sc"), Args{"/sc"});
  EXPECT_EQ(SplitCommandLine("Vantilo.exe  a.jpg\tpics\\*.jpg  "), (Args{"a.jpg", "pics\\*.jpg"}));
}

TEST(CommandLine, QuotesGroupAndAreRemoved) {
  EXPECT_EQ(SplitCommandLine("v.exe \"C:\\my pics\\a.jpg\" b\" c\".png"),
            (Args{"C:\\my pics\\a.jpg", "b c.png"}));
  // A backslash before a quote is a path separator, not an escape.
  EXPECT_EQ(SplitCommandLine("v.exe \"C:\\dir\\\" x"), (Args{"C:\\dir\\", "x"}));
}

TEST(CommandLine, ShiftJisNamesPassUnchanged) {
  // 0x95 0x5C ("表") and 0x83 0x5C ("ソ") end in a backslash byte.
  const std::string name = "\x95\x5C\x83\x5C.jpg";
  EXPECT_EQ(SplitCommandLine("v.exe " + name + " \"" + name + "\""), (Args{name, name}));
}

}  // namespace
}  // namespace vantilo
