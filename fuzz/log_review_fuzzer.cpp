// The run log read back: the last section, the photographs the review
// offers, the moves an undo would take back, and the report's rows.
#include "app/manual_rename.h"
#include "app/run_report.h"
#include "app/run_section.h"
#include "app/undo_run.h"
#include "base/file_system.h"
#include "base/run_log.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string log(reinterpret_cast<const char*>(data), size);
    (void)tagmora::LastRunSection(log);
    const tagmora::LogSection section = tagmora::LastLogSection(log);
    // The review never offers a name that would lead out of the photo folder.
    for (const tagmora::ReviewCandidate& candidate : tagmora::ReviewCandidates(section))
        if (!tagmora::IsPlainFileName(candidate.Name)) __builtin_trap();
    (void)tagmora::PhotoRecords(section);
    (void)tagmora::PlanUndo(log);
    // The rows and both layouts, without the checksums: those read the files
    // the log names, and a fuzzer must not roam the file system.
    const std::vector<tagmora::ReportRow> rows = tagmora::ReportRows(section, "QSZ0######");
    (void)tagmora::ReportCsv(rows);
    (void)tagmora::SymbiotaCsv(rows, "QSZ0######", "https://images.example.org/");
    return 0;
}
