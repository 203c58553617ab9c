// The run log read back by Manual Rename: last section, problem lines, names.
#include "app/manual_rename.h"
#include "base/file_system.h"
#include "base/run_log.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string log(reinterpret_cast<const char*>(data), size);
    (void)tagmora::LastRunSection(log);
    for (const std::string& line : tagmora::ReviewLines(log)) {
        std::string name = tagmora::NameFromLogLine(line);
        (void)tagmora::IsPlainFileName(name);
    }
    return 0;
}
