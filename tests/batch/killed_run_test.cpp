// A run killed with SIGKILL at any moment leaves every photograph and
// companion file in the folder, under its old name or a name the run gave it,
// none truncated, no temporary file behind.
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

#include "base/folder_lock.h"
#include "batch_fixtures.h"

namespace tagmora::support {
namespace {

using Clock = std::chrono::steady_clock;

pid_t StartBatch(const std::string& startFolder, const std::string& folder) {
    return StartProgram(TAGMORA_BATCH_PROGRAM, {folder}, startFolder);
}

struct Specimen {
    std::string base;     // IMG_000n
    std::string barcode;  // what the label (or the previous label) gives
    bool label;
    bool raw;
};

const std::vector<Specimen>& Specimens() {
    static const std::vector<Specimen> specimens = {
        {"IMG_0001", "QSZ0200001", true, true},   {"IMG_0002", "QSZ0200001", false, true},
        {"IMG_0003", "QSZ0200003", true, false},  {"IMG_0004", "QSZ0200004", true, true},
        {"IMG_0005", "QSZ0200004", false, false}, {"IMG_0006", "QSZ0200006", true, true},
    };
    return specimens;
}

void WriteFolder(const TempFolder& folder, const std::map<std::string, std::string>& files) {
    for (const auto& [name, content] : files) folder.Write(name, content);
}

// Every file is there once, under its old name or one the run may give it.
void ExpectIntact(const std::map<std::string, std::string>& before, const std::map<std::string, std::string>& after,
                  long long killedAfterMicroseconds) {
    SCOPED_TRACE("killed after " + std::to_string(killedAfterMicroseconds) + " us");
    ExpectSameContentsRenamed(before, after);
    for (const auto& [name, content] : after) {
        if (before.count(name) != 0 && before.at(name) == content) continue;
        std::string oldName;
        for (const auto& [n, c] : before)
            if (c == content) oldName = n;
        ASSERT_FALSE(oldName.empty()) << name;
        const Specimen* specimen = nullptr;
        for (const auto& s : Specimens())
            if (oldName.rfind(s.base, 0) == 0) specimen = &s;
        ASSERT_NE(specimen, nullptr) << oldName;
        EXPECT_EQ(name.rfind(specimen->barcode, 0), 0u) << oldName << " became " << name;
        EXPECT_EQ(name.substr(name.rfind('.')), oldName.substr(oldName.rfind('.'))) << name;
    }
}

TEST(KilledRunTest, AKilledRunNeverLosesTruncatesOrDuplicatesAFile) {
    TempFolder source;
    unsigned seed = 1;
    for (const Specimen& s : Specimens()) {
        if (s.label)
            WriteLabelPhoto(source, s.base + ".jpg", Symbology::Code39, s.barcode, seed++);
        else
            WriteBlankPhoto(source, s.base + ".jpg", seed++);
        if (s.raw) source.Write(s.base + ".CR2", "raw sensor data of " + s.base + std::string(3000, 'r'));
    }
    const auto before = source.Files();

    // A whole run first: how long one takes, and that it renames at all.
    TempFolder start;
    TempFolder whole;
    WriteFolder(whole, before);
    const auto began = Clock::now();
    WaitForExit(StartBatch(start.path(), whole.path()));
    const auto fullRun = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - began).count();
    ExpectIntact(before, whole.Files(), fullRun);
    ASSERT_TRUE(whole.Exists("QSZ0200001.jpg"));

    std::mt19937 random(20261208);
    std::uniform_int_distribution<long long> moment(0, fullRun);
    for (int attempt = 0; attempt < 30; ++attempt) {
        TempFolder folder;
        WriteFolder(folder, before);
        const long long wait = moment(random);
        pid_t pid = StartBatch(start.path(), folder.path());
        std::this_thread::sleep_for(std::chrono::microseconds(wait));
        kill(pid, SIGKILL);
        WaitForExit(pid);
        // The empty lock file may stay (the lock itself went with the run).
        auto after = folder.Files();
        const bool lockFileLeft = after.erase(std::string(kFolderLockName)) != 0;
        ExpectIntact(before, after, wait);
        // Nothing else either: no temporary or hidden file, no folder.
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}),
                  static_cast<long>(before.size() + (lockFileLeft ? 1 : 0)));
    }
}

// SIGTERM (kill, systemd, a job scheduler) stops a run as Ctrl-C does: the
// photograph in hand is finished or left whole and the log says so.
TEST(KilledRunTest, SigtermStopsTheRunAfterThePhotographInHand) {
    TempFolder start;
    TempFolder folder;
    for (unsigned n = 1; n <= 16; ++n)
        WriteLabelPhoto(folder, "IMG_" + std::to_string(100 + n) + ".jpg", Symbology::Code39,
                        "QSZ03000" + std::to_string(10 + n), n);
    const auto before = folder.Files();
    const pid_t pid = StartBatch(start.path(), folder.path());
    const auto deadline = Clock::now() + std::chrono::seconds(30);
    while (Clock::now() < deadline &&
           (!start.Exists("Tagmora.log") || start.Read("Tagmora.log").find("Directory = ") == std::string::npos))
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    kill(pid, SIGTERM);
    EXPECT_EQ(WaitForExit(pid), 1);
    const std::string log = start.Read("Tagmora.log");
    EXPECT_TRUE(log.ends_with("Process aborted by user\r\n")) << log;
    ExpectSameContentsRenamed(before, folder.Files());
    EXPECT_FALSE(folder.Exists(std::string(kFolderLockName)));
}

}  // namespace
}  // namespace tagmora::support
