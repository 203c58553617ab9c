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

// Appends text to the file, creating it if need be. On failure shows
// "Unable to create or open file " + name and returns false.
bool AppendTextToFile(std::string_view text, const std::string& name, FrontEnd& ui);

// Replaces the file's content with text: a new file is written beside the old
// one and moved into place, so the old content survives any failure. On
// failure shows the same message as AppendTextToFile and returns false.
bool ReplaceTextFile(std::string_view text, const std::string& name, FrontEnd& ui);

// Writes a new file; never replaces one. False, with the reason in error,
// when the file exists or cannot be written (a half-written file is taken
// away again).
bool WriteNewFile(const std::string& path, std::string_view text, std::string& error);

}  // namespace tagmora
