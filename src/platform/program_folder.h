// The platform's answers the core cannot give with the standard library
// alone, for the programs that have no toolkit to ask: wandrix-cli on every
// platform and the Win32 window.
#pragma once

#include <string>

namespace wandrix {

// The folder of the running executable in UTF-8 (for wandrix-cli.js under
// node, the script's folder), or empty when the platform does not say.
std::string program_folder();

}  // namespace wandrix
