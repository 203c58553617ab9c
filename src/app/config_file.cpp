#include "app/config_file.h"

#include <array>
#include <exception>

#include "base/file_helpers.h"
#include "base/file_system.h"
#include "base/front_end.h"
#include "base/text_helpers.h"

namespace tagmora {

namespace {

constexpr std::string_view kMarker = "TGM";
constexpr std::size_t kIgnoredTail = 5;  // a shorter rest cannot hold another pair

bool FlagValue(std::string_view value) { return DecimalOrZero(value) != 0; }

// The keys of Config.txt by the kind of value they hold: text, radio group
// index or flag.
template <typename Value>
struct Key {
    std::string_view Name;
    Value SettingValues::*Member;
};

constexpr std::array kTextKeys{Key<std::string>{"BarcodeFormat", &SettingValues::BarcodeFormat},
                               Key<std::string>{"SuffixFormat", &SettingValues::SuffixFormat},
                               Key<std::string>{"LastFolder", &SettingValues::PhotoFolder}};
constexpr std::array kRadioKeys{Key<int>{"Rotation", &SettingValues::RotationIndex},
                                Key<int>{"Type", &SettingValues::TypeIndex}};
constexpr std::array kFlagKeys{
    Key<bool>{"RenameRaw", &SettingValues::RenameRaw}, Key<bool>{"RenameWO", &SettingValues::RenameWithoutBarcode},
    Key<bool>{"FirstSuffix", &SettingValues::SuffixAll}, Key<bool>{"DeepSearch", &SettingValues::DeepSearch}};

// Unknown keys do nothing.
void ApplyPair(std::string_view key, const std::string& value, SettingValues& values) {
    for (const auto& k : kTextKeys)
        if (key == k.Name) values.*k.Member = value;
    for (const auto& k : kRadioKeys)
        if (key == k.Name) values.*k.Member = ClampRadioIndex(DecimalOrZero(value));
    for (const auto& k : kFlagKeys)
        if (key == k.Name) values.*k.Member = FlagValue(value);
}

}  // namespace

std::string ConfigFilePath(const std::string& startFolder) { return JoinPath(startFolder, kConfigFileName); }

int ClampRadioIndex(int index) {
    constexpr int kItems = 2;
    if (index < -1) return -1;
    if (index >= kItems) return kItems - 1;
    return index;
}

std::string ConfigText(const SettingValues& values) {
    auto line = [](std::string_view key, std::string_view value) {
        return std::string(key) + ": " + std::string(value) + std::string(kCrLf);
    };
    auto flag = [](bool on) { return on ? "1" : "0"; };
    return std::string(kMarker) + std::string(kCrLf) + line("BarcodeFormat", values.BarcodeFormat) +
           line("Rotation", std::to_string(values.RotationIndex)) + line("Type", std::to_string(values.TypeIndex)) +
           line("RenameRaw", flag(values.RenameRaw)) + line("RenameWO", flag(values.RenameWithoutBarcode)) +
           line("SuffixFormat", values.SuffixFormat) + line("FirstSuffix", flag(values.SuffixAll)) +
           // After the eight lines, so that older versions read the file as before.
           line("DeepSearch", flag(values.DeepSearch)) +
           (values.PhotoFolder.empty() ? std::string() : line("LastFolder", values.PhotoFolder));
}

void ApplyConfigText(std::string text, SettingValues& values, FrontEnd& ui) {
    if (ReadLeadingPiece(text, kCrLf, true) != kMarker) {
        ui.ShowMessage("Config file in old format. Cannot be read.");
        return;
    }
    // At least one pair is read; a short tail (a stray line end) is not.
    do {
        std::string key = ReadLeadingPiece(text, ":", true);
        std::string value = ReadLeadingPiece(text, kCrLf, true);
        ApplyPair(key, value, values);
    } while (text.size() > kIgnoredTail);
}

void LoadConfig(const std::string& startFolder, SettingValues& values, FrontEnd& ui) {
    const std::string path = ConfigFilePath(startFolder);
    // No file (a folder of that name is none either): the defaults stand.
    if (!FileExists(path) || IsDirectory(path)) return;
    try {
        std::optional<std::string> text = ReadTextFile(path, ui);
        if (!text) return;
        ApplyConfigText(std::move(*text), values, ui);
    } catch (const std::exception&) {
        ui.ShowMessage("Error reading config file.  Ignoring.");
    }
}

bool SaveConfig(const std::string& startFolder, const SettingValues& values, FrontEnd& ui) {
    if (!ReplaceTextFile(ConfigText(values), ConfigFilePath(startFolder), ui)) return false;
    ui.ShowMessage("Settings saved");
    return true;
}

}  // namespace tagmora
