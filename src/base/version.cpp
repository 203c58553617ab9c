#include "base/version.h"

#include "version_config.h"

namespace tagmora {

std::string FileVersionText() {
    std::string version = TAGMORA_VERSION;
    return version.empty() ? "No Version Found" : version;
}

}  // namespace tagmora
