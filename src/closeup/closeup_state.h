#pragma once
// The Close-up pipeline's values that carry over from row to row, image to
// image and run to run.
#include <cstdint>
#include <string>

namespace tagmora {

struct CloseUpState {
    std::string CloseUpLastBarcode;
    std::string CloseUpSuffix = "a";
    std::int32_t CloseUpSpaceThreshold = 0;
};

}  // namespace tagmora
