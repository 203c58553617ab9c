#pragma once
// The options of a run. Every reader asks for the value at the moment it needs
// it, so a change in the main window takes effect at the next read.
#include <string>

namespace tagmora {

class RunSettings {
public:
    virtual ~RunSettings() = default;

    virtual int ModeIndex() const = 0;      // 0 Production, 1 Demo/Debug
    virtual int TypeIndex() const = 0;      // 0 General, 1 Close-up, -1 none selected
    virtual int RotationIndex() const = 0;  // 0 Horizontal, 1 Vertical, -1 none selected
    virtual std::string BarcodeFormat() const = 0;
    virtual bool IgnoreMatching() const = 0;        // "Ignore if matches Format String"
    virtual bool RenameRaw() const = 0;             // "Rename Raw files"
    virtual bool RenameWithoutBarcode() const = 0;  // "Rename W/O Barcode": take the previous number
    virtual bool SuffixAll() const = 0;             // "Suffix All Images"
    virtual std::string SuffixFormat() const = 0;
    virtual bool PauseEachLine() const = 0;
    virtual std::string PhotoFolder() const = 0;  // the folder list's folder
    // "Deep Search": when the scan lines read nothing, look again at the
    // whole photograph, at any angle.
    virtual bool DeepSearch() const = 0;

    bool IsProduction() const { return ModeIndex() == 0; }
    // Anything but Production only reports: files are renamed only when
    // Production was chosen.
    bool IsDemoDebug() const { return !IsProduction(); }
    bool IsGeneralType() const { return TypeIndex() == 0; }
};

// The settings as plain values: the defaults of a fresh main window, what
// Config.txt stores, and what tests and the headless command run with.
struct SettingValues {
    int ModeIndex = 0;
    int TypeIndex = 0;
    int RotationIndex = 0;
    std::string BarcodeFormat = "QSZ0######";
    bool IgnoreMatching = true;
    bool RenameRaw = true;
    bool RenameWithoutBarcode = true;
    bool SuffixAll = false;
    std::string SuffixFormat;
    bool PauseEachLine = false;
    std::string PhotoFolder;
    bool DeepSearch = true;
};

class PlainRunSettings final : public RunSettings {
public:
    PlainRunSettings() = default;
    explicit PlainRunSettings(SettingValues values) : Values(std::move(values)) {}

    SettingValues Values;

    int ModeIndex() const override { return Values.ModeIndex; }
    int TypeIndex() const override { return Values.TypeIndex; }
    int RotationIndex() const override { return Values.RotationIndex; }
    std::string BarcodeFormat() const override { return Values.BarcodeFormat; }
    bool IgnoreMatching() const override { return Values.IgnoreMatching; }
    bool RenameRaw() const override { return Values.RenameRaw; }
    bool RenameWithoutBarcode() const override { return Values.RenameWithoutBarcode; }
    bool SuffixAll() const override { return Values.SuffixAll; }
    std::string SuffixFormat() const override { return Values.SuffixFormat; }
    bool PauseEachLine() const override { return Values.PauseEachLine; }
    std::string PhotoFolder() const override { return Values.PhotoFolder; }
    bool DeepSearch() const override { return Values.DeepSearch; }
};

}  // namespace tagmora
