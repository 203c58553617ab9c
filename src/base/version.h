#pragma once
// The program's version text, as the build stamps it, for the log header
// and the About box.
#include <string>

namespace tagmora {

// The program's version as set in the build, or "No Version Found".
std::string FileVersionText();

}  // namespace tagmora
