#include "batch/console_front_end.h"

#include <ostream>

#include "base/text_helpers.h"

namespace tagmora::batch {

namespace {

// Message texts break lines with CR LF as the desktop boxes want; a terminal
// and a captured output want plain line ends.
std::string PlainLines(std::string_view text) { return ReplaceAll(text, kCrLf, "\n"); }

}  // namespace

void ConsoleFrontEnd::PrintEntry(std::string_view caption, std::string_view text) {
    out_ << caption << ": " << PlainLines(text) << '\n' << std::flush;
}

void ConsoleFrontEnd::ShowMessage(std::string_view text) { PrintEntry("Tagmora", text); }

bool ConsoleFrontEnd::AskOkCancel(std::string_view text) {
    PrintEntry("TGM", text);
    return true;
}

void ConsoleFrontEnd::ImageFinished(std::int32_t index, std::int32_t total, std::string_view name) {
    if (progress_ != nullptr) {
        *progress_ << index << '/' << total << ' ' << name << ':';
        if (imageLines_.empty()) *progress_ << " (nothing logged)";
        for (std::size_t i = 0; i < imageLines_.size(); ++i) *progress_ << (i == 0 ? " " : " | ") << imageLines_[i];
        *progress_ << '\n' << std::flush;
    }
    imageLines_.clear();
}

}  // namespace tagmora::batch
