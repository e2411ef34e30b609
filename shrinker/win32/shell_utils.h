// The desktop folder, the desktop shortcut and the help page.
#pragma once
#include <string>

namespace vantilo {

// The current user's desktop folder from the registry, followed by "\";
// "\" alone when the key or value is missing.
std::string DesktopFolder();

// Shortcut DesktopFolder() + name + ".lnk" to this program. Only a failure
// to create the shell link object is reported (as false); the link's own
// steps are not examined.
bool CreateDesktopShortcut(const std::string& name, const std::string& programPath);

// Opens "help\help.html" of the program's own folder with its handler,
// whatever the working folder is.
void OpenHelp(const std::string& programPath);

}  // namespace vantilo
