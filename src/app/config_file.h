#pragma once
// Config.txt: the stored options, read when the main window is created and
// written by File > Save Settings.
#include <string>
#include <string_view>

#include "base/run_settings.h"

namespace tagmora {

class FrontEnd;

inline constexpr std::string_view kConfigFileName = "Config.txt";

std::string ConfigFilePath(const std::string& startFolder);

// Clamps a radio group index: below -1 to -1, 2 or more to 1.
int ClampRadioIndex(int index);

// The eight CR LF lines that Save Settings writes for these values, then
// "LastFolder: " and the photo folder when there is one.
std::string ConfigText(const SettingValues& values);

// Applies the key/value pairs of a Config.txt text onto values. Reports
// "Config file in old format. Cannot be read." through ui when the marker is
// missing (nothing applied).
void ApplyConfigText(std::string text, SettingValues& values, FrontEnd& ui);

// Reads startFolder/Config.txt, if present, onto values.
void LoadConfig(const std::string& startFolder, SettingValues& values, FrontEnd& ui);

// Writes Config.txt and shows "Settings saved"; false (after the helper's own
// message) when it could not be written.
bool SaveConfig(const std::string& startFolder, const SettingValues& values, FrontEnd& ui);

}  // namespace tagmora
