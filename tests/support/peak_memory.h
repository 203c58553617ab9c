#pragma once
// The peak resident size of this process, for the benchmarks that show
// memory staying flat.
#include <fstream>
#include <string>

namespace tagmora::support {

// The peak resident size in kilobytes since the start, or since the last
// ResetPeakResident.
inline long PeakResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string key;
    long kilobytes = 0;
    while (status >> key) {
        if (key == "VmHWM:") {
            status >> kilobytes;
            break;
        }
    }
    return kilobytes;
}

// Starts the peak afresh from the present resident size.
inline void ResetPeakResident() { std::ofstream("/proc/self/clear_refs") << "5"; }

}  // namespace tagmora::support
