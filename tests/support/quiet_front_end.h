#pragma once
// A front end that shows nothing, answers every prompt with OK and keeps
// nothing: for benchmarks, whose runs must not grow memory of their own.
#include "base/silent_front_end.h"

namespace tagmora::support {

class QuietFrontEnd : public SilentFrontEnd {
public:
    bool AskOkCancel(std::string_view) override { return true; }
};

}  // namespace tagmora::support
