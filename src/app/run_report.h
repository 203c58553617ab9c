#pragma once
// The last run as a table for collection databases: one CSV row per
// photograph (UTF-8, RFC 4180 quoting, a header line), made from the log's
// last section like Undo and Manual Rename.
#include <string>
#include <string_view>
#include <vector>

#include "app/run_section.h"

namespace tagmora {

class FrontEnd;

struct ReportRow {
    std::string Folder;
    std::string Original;
    std::string NewName;  // empty when the photograph keeps its name
    std::string Barcode;
    std::string Outcome;
    std::string RawFiles;  // new names of the files renamed with it, "; " between them
};

// A barcode from a name the run gave: the first stretch of the format's
// length that fits the format (so "A" and suffixes fall away), else the
// name without its extension.
std::string BarcodeFromName(std::string_view name, std::string_view format);

std::vector<ReportRow> ReportRows(const LogSection& section, std::string_view format);

// Bytes as UTF-8: valid sequences stay, any other byte is read as Latin-1.
std::string AsUtf8(std::string_view bytes);

// One field, quoted when it holds a comma, a quote or a line break.
std::string CsvField(std::string_view text);

// The header line and one line per row, each ended by CR LF.
std::string ReportCsv(const std::vector<ReportRow>& rows);

struct LastRunReport {
    std::string Csv;
    std::string Refusal;  // why there is no run to report; empty when Csv holds one
};

LastRunReport ReportOfLastRun(std::string_view log, std::string_view format);

}  // namespace tagmora
