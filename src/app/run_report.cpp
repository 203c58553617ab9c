#include "app/run_report.h"

#include <array>

#include "base/text_helpers.h"
#include "symbology/format_match.h"

namespace tagmora {

namespace {

struct OutcomeName {
    LineKind Kind;
    std::string_view Word;
};

constexpr std::array kOutcomeNames{
    OutcomeName{LineKind::Read, "read"},
    OutcomeName{LineKind::PreviousBarcode, "previous barcode"},
    OutcomeName{LineKind::Unreadable, "seen but unreadable"},
    OutcomeName{LineKind::FormatMismatch, "format mismatch"},
    OutcomeName{LineKind::NoBarcode, "no barcode"},
    OutcomeName{LineKind::UnableToOpen, "unable to open"},
    OutcomeName{LineKind::UnableToRename, "unable to rename"},
    OutcomeName{LineKind::Skipped, "skipped"},
};

constexpr std::array<std::string_view, 6> kColumns{"folder",  "original name", "new name",
                                                   "barcode", "outcome",       "raw files"};

std::string NameWithoutExtension(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    return std::string(dot == std::string_view::npos || dot == 0 ? name : name.substr(0, dot));
}

}  // namespace

std::string_view OutcomeWord(LineKind outcome) {
    for (const OutcomeName& name : kOutcomeNames)
        if (name.Kind == outcome) return name.Word;
    return {};
}

std::string BarcodeFromName(std::string_view name, std::string_view format) {
    const std::string base = NameWithoutExtension(name);
    // Counted in characters: a barcode may hold extended characters.
    const std::size_t length = CharacterCount(format);
    if (format.empty()) return base;
    for (std::size_t at = 0; at < base.size(); at += CharacterAt(base, at).size()) {
        const std::string_view stretch = FirstCharacters(std::string_view(base).substr(at), length);
        if (CharacterCount(stretch) < length) break;
        if (MatchesFormat(stretch, format)) return std::string(stretch);
    }
    return base;
}

std::vector<ReportRow> ReportRows(const LogSection& section, std::string_view format) {
    std::vector<ReportRow> rows;
    for (const PhotoRecord& record : PhotoRecords(section)) {
        ReportRow row;
        row.Folder = section.Folder;
        row.Original = record.Name;
        if (record.Current != record.Name) row.NewName = record.Current;
        row.Barcode = record.Barcode;
        if (row.Barcode.empty() && !record.RunTarget.empty()) row.Barcode = BarcodeFromName(record.RunTarget, format);
        row.Outcome = OutcomeWord(record.Outcome);
        for (const FileMove& companion : record.Companions)
            row.RawFiles += (row.RawFiles.empty() ? "" : "; ") + companion.To;
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string AsUtf8(std::string_view bytes) {
    std::string text;
    for (std::size_t at = 0; at < bytes.size();) {
        if (const std::size_t length = Utf8SequenceLength(bytes, at); length > 0) {
            text += bytes.substr(at, length);
            at += length;
            continue;
        }
        text += Latin1ToUtf8(bytes.substr(at++, 1));
    }
    return text;
}

std::string CsvField(std::string_view text) {
    const std::string utf8 = AsUtf8(text);
    if (utf8.find_first_of(",\"\r\n") == std::string::npos) return utf8;
    std::string quoted = "\"";
    for (const char c : utf8) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string ReportCsv(const std::vector<ReportRow>& rows) {
    std::string csv;
    const auto addLine = [&csv](const std::array<std::string_view, 6>& fields) {
        for (std::size_t i = 0; i < fields.size(); ++i) csv += (i == 0 ? "" : ",") + CsvField(fields[i]);
        csv += "\r\n";
    };
    addLine(kColumns);
    for (const ReportRow& row : rows)
        addLine({row.Folder, row.Original, row.NewName, row.Barcode, row.Outcome, row.RawFiles});
    return csv;
}

LastRunReport ReportOfLastRun(std::string_view log, std::string_view format) {
    const LogSection section = LastLogSection(log);
    if (section.Kind != SectionKind::Production && section.Kind != SectionKind::DemoDebug)
        return {{},
                section.Kind == SectionKind::Undo ? "The last run has been undone: there is no run to report."
                                                  : "The end of the log is not a run: there is nothing to report."};
    return {ReportCsv(ReportRows(section, format)), {}};
}

}  // namespace tagmora
