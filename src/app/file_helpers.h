#pragma once
// Whole-file read and append/replace helpers. Failures are reported to the
// user through the front end and returned to the caller, never fatal.
#include <optional>
#include <string>
#include <string_view>

namespace tagmora {

class FrontEnd;

// The whole file up to its first zero byte, or nothing after showing
// "Unable to open file: " + name.
std::optional<std::string> ReadTextFile(const std::string& name, FrontEnd& ui);

// Appends (or with replace, replaces) the file's content with text. On failure
// shows "Unable to create or open file " + name and returns false. A replace
// writes a new file beside the old one and moves it into place, so the old
// content survives any failure.
bool AppendTextToFile(std::string_view text, const std::string& name, bool replace, FrontEnd& ui);

}  // namespace tagmora
