#pragma once
// Folders of generated photographs and a core set up to run over them, shared
// by the batch tests.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "app/context.h"
#include "support/fake_front_end.h"
#include "support/synthetic_sheet.h"
#include "support/temp_folder.h"

namespace tagmora::testing {

// A small sheet without label; the seed makes every file's bytes its own.
inline void WriteBlankPhoto(const TempFolder& folder, std::string_view name, unsigned seed) {
    SheetOptions options;
    options.width = 300;
    options.height = 200;
    options.seed = seed;
    WriteJpegFile(folder / name, MakeBlankSheet(options), 85);
}

// A whole sheet with a label that the General pipeline reads.
inline void WriteLabelPhoto(const TempFolder& folder, std::string_view name, Symbology symbology,
                            std::string_view text, unsigned seed) {
    SheetOptions options;
    options.width = 1200;
    options.height = 900;
    options.moduleWidth = 4;
    options.barHeight = 90;
    options.centerX = 700;
    options.centerY = 650;
    options.blurSigma = 0.6;
    options.noiseSigma = 2.0;
    options.seed = seed;
    WriteJpegFile(folder / name, MakeSheet(symbology, text, options), 90);
}

// A close-up of a label: the barcode large across the picture.
inline void WriteCloseUpPhoto(const TempFolder& folder, std::string_view name, std::string_view text, unsigned seed) {
    SheetOptions options;
    options.width = 1000;
    options.height = 600;
    options.moduleWidth = 4;
    options.barHeight = 400;
    options.clutter = false;
    options.background = 230;
    options.blurSigma = 0.6;
    options.noiseSigma = 2.0;
    options.seed = seed;
    WriteJpegFile(folder / name, MakeSheet(Symbology::Code39, text, options), 90);
}

// The folder holds the same files as before, byte for byte, only under
// other names: nothing lost, nothing replaced, nothing added.
inline void ExpectSameContentsRenamed(const std::map<std::string, std::string>& before,
                                      const std::map<std::string, std::string>& after) {
    std::vector<std::string> contentsBefore, contentsAfter;
    for (const auto& [name, content] : before) contentsBefore.push_back(content);
    for (const auto& [name, content] : after) contentsAfter.push_back(content);
    std::sort(contentsBefore.begin(), contentsBefore.end());
    std::sort(contentsAfter.begin(), contentsAfter.end());
    // Every file of a fixture has its own bytes, so a lost or overwritten file
    // shows up as a content missing here.
    ASSERT_EQ(std::adjacent_find(contentsBefore.begin(), contentsBefore.end()), contentsBefore.end())
        << "fixture files must differ";
    EXPECT_EQ(before.size(), after.size());
    EXPECT_TRUE(contentsBefore == contentsAfter) << "file contents changed, lost or duplicated";
}

inline std::vector<std::string> Names(const std::map<std::string, std::string>& files) {
    std::vector<std::string> names;
    for (const auto& [name, content] : files) names.push_back(name);
    return names;
}

// Starts program with args in currentFolder, its output and errors sent to
// the files given. The argument list is made before the fork: the child only
// redirects and execs.
inline pid_t StartProgram(const std::string& program, const std::vector<std::string>& args,
                          const std::string& currentFolder, const std::string& outPath = "/dev/null",
                          const std::string& errPath = "/dev/null") {
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid != 0) return pid;
    const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0 || chdir(currentFolder.c_str()) != 0) _exit(97);
    execv(program.c_str(), argv.data());
    _exit(98);
}

// The exit status, or -1 when the child did not exit by itself.
inline int WaitForExit(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct ProgramResult {
    int status = -1;
    std::string out;
    std::string err;
};

inline ProgramResult RunProgram(const std::string& program, const std::string& currentFolder,
                                const std::vector<std::string>& args) {
    TempFolder capture;
    const int status = WaitForExit(StartProgram(program, args, currentFolder, capture / "out", capture / "err"));
    return {status, capture.Read("out"), capture.Read("err")};
}

// A core whose log lives in one scratch folder and whose photographs lie in
// another.
struct BatchRig {
    TempFolder start;
    TempFolder photos;
    TestCore core;

    BatchRig() {
        core.state.run.StartFolder = start.path();
        core.settings().PhotoFolder = photos.path();
    }
    Context& ctx() { return core.ctx; }
    FakeFrontEnd& ui() { return core.ui; }
    RunState& run() { return core.state.run; }
    std::string Log() const { return start.Exists("Tagmora.log") ? start.Read("Tagmora.log") : std::string(); }
    // The log lines after the run header and the "Directory = " line.
    std::vector<std::string> ImageLines() const {
        std::vector<std::string> lines;
        const std::string log = Log();
        const std::size_t directory = log.rfind("Directory = ");
        if (directory == std::string::npos) return lines;
        std::size_t at = log.find("\r\n\r\n", directory);
        if (at == std::string::npos) return lines;
        at += 4;
        while (at < log.size()) {
            const std::size_t end = log.find("\r\n", at);
            lines.push_back(log.substr(at, end - at));
            if (end == std::string::npos) break;
            at = end + 2;
        }
        return lines;
    }
};

}  // namespace tagmora::testing
