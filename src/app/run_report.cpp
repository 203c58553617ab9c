#include "app/run_report.h"

#include <array>

#include "symbology/format_match.h"

namespace tagmora {

namespace {

constexpr std::array<std::string_view, 6> kColumns{"folder",  "original name", "new name",
                                                   "barcode", "outcome",       "raw files"};

// The length of the UTF-8 sequence starting at text[at], 0 when it is none.
std::size_t Utf8Length(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = 0;
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4;
    else
        return 0;
    if (at + length > text.size()) return 0;
    for (std::size_t i = 1; i < length; ++i)
        if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) return 0;
    return length;
}

std::string NameWithoutExtension(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    return std::string(dot == std::string_view::npos || dot == 0 ? name : name.substr(0, dot));
}

}  // namespace

std::string BarcodeFromName(std::string_view name, std::string_view format) {
    const std::string base = NameWithoutExtension(name);
    if (format.empty() || base.size() < format.size()) return base;
    for (std::size_t at = 0; at + format.size() <= base.size(); ++at) {
        const std::string_view stretch = std::string_view(base).substr(at, format.size());
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
        row.Outcome = ReportWord(record.Outcome);
        for (const FileMove& companion : record.Companions)
            row.RawFiles += (row.RawFiles.empty() ? "" : "; ") + companion.To;
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string AsUtf8(std::string_view bytes) {
    std::string text;
    for (std::size_t at = 0; at < bytes.size();) {
        if (const std::size_t length = Utf8Length(bytes, at); length > 0) {
            text += bytes.substr(at, length);
            at += length;
            continue;
        }
        const auto byte = static_cast<unsigned char>(bytes[at++]);
        text += static_cast<char>(0xC0 | (byte >> 6));
        text += static_cast<char>(0x80 | (byte & 0x3F));
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
