// Arguments of a narrow command line.
#pragma once
#include <string>
#include <vector>

namespace vantilo {

// The arguments after the program name. Arguments are separated by
// characters up to the space; double quotes group and are removed, so a
// quoted folder ending in a backslash stays intact. No wildcard expansion:
// the name lookup of each file resolves wildcards.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

}  // namespace vantilo
