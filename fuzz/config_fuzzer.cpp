// Config.txt as a user or another program may have left it.
#include "app/config_file.h"
#include "fuzz_input.h"
#include "support/fake_front_end.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tagmora::support::FakeFrontEnd ui;
    tagmora::SettingValues values;
    tagmora::ApplyConfigText(std::string(reinterpret_cast<const char*>(data), size), values, ui);
    // Whatever was read must write back as a file that reads back the same.
    tagmora::SettingValues again;
    tagmora::ApplyConfigText(tagmora::ConfigText(values), again, ui);
    if (again.RotationIndex != values.RotationIndex || again.TypeIndex != values.TypeIndex ||
        again.RenameRaw != values.RenameRaw || again.SuffixAll != values.SuffixAll)
        __builtin_trap();
    return 0;
}
