#pragma once
// The last run as a table for collection databases: one CSV row per
// photograph (UTF-8, RFC 4180 quoting, a header line), made from the log's
// last section like Undo and Manual Rename; or, for a Symbiota portal's
// image import, the catalogue number and web address of each photograph
// renamed.
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
    std::string Sha256;    // of the photograph under its present name (hex); empty when it is not there
};

enum class ReportStyle { Default, Symbiota };

struct ReportLayout {
    ReportStyle Style = ReportStyle::Default;
    std::string UrlPrefix;  // Symbiota: the web address of the folder the photographs are served from
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

// Fills in the SHA-256 of every row's photograph, the rows spread over the
// cores (the photographs are large).
void AddChecksums(std::vector<ReportRow>& rows);

// Why a URL prefix cannot be used, for a message; empty when it can.
std::string UrlPrefixProblem(std::string_view prefix);

// The address of a photograph: the prefix, a "/" unless it ends in one, and
// the name percent-encoded (all but letters, digits and "-._~").
std::string PhotographUrl(std::string_view prefix, std::string_view name);

// "catalogNumber,originalUrl" and one line per renamed photograph: the
// number the new name carries, and its address under the prefix.
std::string SymbiotaCsv(const std::vector<ReportRow>& rows, std::string_view format, std::string_view urlPrefix);

struct LastRunReport {
    std::string Csv;
    std::string Refusal;  // why there is no run to report; empty when Csv holds one
};

// Why the section cannot be reported (it is an undo, or no run); empty when it can.
std::string ReportRefusal(const LogSection& section);

LastRunReport ReportOfLastRun(std::string_view log, std::string_view format, const ReportLayout& layout = {});

}  // namespace tagmora
