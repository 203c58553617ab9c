#pragma once
// The whole tagmora-batch command: arguments in, one run per folder, exit
// status out. Separate from main so that the tests can run it in-process.
#include <csignal>
#include <iosfwd>
#include <span>
#include <string>

namespace tagmora::batch {

// Where the command writes, and the flag its Ctrl-C handler sets (or null).
struct CommandStreams {
    std::ostream& out;
    std::ostream& err;
    std::ostream* progress = nullptr;
    const volatile std::sig_atomic_t* interrupted = nullptr;
};

inline constexpr int kExitClean = 0;
inline constexpr int kExitProblems = 1;
inline constexpr int kExitBadArguments = 2;

// Arguments (without the program name) to exit status. The current folder
// is the start folder, for Config.txt and the log.
int RunBatchCommand(std::span<const std::string> args, const CommandStreams& streams);

}  // namespace tagmora::batch
