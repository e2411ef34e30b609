#include "command_line.h"

namespace vantilo {

namespace {
// Reads one argument starting at pos; pos ends past it.
bool NextArgument(const std::string& s, std::size_t& pos, std::string& out) {
  while (pos < s.size() && static_cast<unsigned char>(s[pos]) <= ' ') ++pos;
  if (pos >= s.size()) return false;
  out.clear();
  bool quoted = false;
  // Trail bytes of Shift-JIS are never <= ' ' nor '"', so bytes suffice.
  for (; pos < s.size(); ++pos) {
    const char c = s[pos];
    if (c == '"') {
      quoted = !quoted;
    } else if (!quoted && static_cast<unsigned char>(c) <= ' ') {
      break;
    } else {
      out += c;
    }
  }
  return true;
}
}  // namespace

std::vector<std::string> SplitCommandLine(const std::string& commandLine) {
  std::vector<std::string> args;
  std::size_t pos = 0;
  std::string arg;
  if (!NextArgument(commandLine, pos, arg)) return args;  // the program name
  while (NextArgument(commandLine, pos, arg)) args.push_back(arg);
  return args;
}

}  // namespace vantilo
