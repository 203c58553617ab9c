// tagmora-batch: one batch run over a folder, without windows.
#include <unistd.h>

#include <clocale>
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "batch/batch_command.h"

namespace {

volatile std::sig_atomic_t interrupted = 0;

// The first Ctrl-C (or SIGTERM, as a service manager stops a watch) asks the
// run to stop after the photograph in hand; a second one ends the program at
// once.
extern "C" void OnInterrupt(int signal) {
    interrupted = 1;
    std::signal(signal, SIG_DFL);
}

}  // namespace

int main(int argc, char** argv) {
    // The log header's date and time follow the user's locale.
    std::setlocale(LC_TIME, "");
    std::signal(SIGINT, OnInterrupt);
    std::signal(SIGTERM, OnInterrupt);

    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const tagmora::batch::CommandStreams streams{std::cout, std::cerr, isatty(STDERR_FILENO) ? &std::cerr : nullptr,
                                                 &interrupted};
    return tagmora::batch::RunBatchCommand(args, streams);
}
