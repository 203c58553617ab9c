#pragma once
#include <string>

namespace tagmora {

// The program's version as set in the build, or "No Version Found".
std::string FileVersionText();

}  // namespace tagmora
