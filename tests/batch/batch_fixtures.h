#pragma once
// Folders of generated photographs and a core set up to run over them, shared
// by the batch tests.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "support/folder_rig.h"
#include "support/synthetic_sheet.h"
#include "support/temp_folder.h"

namespace tagmora::support {

// A small sheet without label; the seed makes every file's bytes its own.
inline void WriteBlankPhoto(const TempFolder& folder, std::string_view name, unsigned seed) {
    WriteJpegFile(folder / name, MakeBlankSheet({.width = 300, .height = 200, .seed = seed}), 85);
}

// A whole sheet with a label that the General pipeline reads.
inline void WriteLabelPhoto(const TempFolder& folder, std::string_view name, Symbology symbology, std::string_view text,
                            unsigned seed) {
    const SheetOptions options{.width = 1200,
                               .height = 900,
                               .moduleWidth = 4,
                               .barHeight = 90,
                               .centerX = 700,
                               .centerY = 650,
                               .blurSigma = 0.6,
                               .noiseSigma = 2.0,
                               .seed = seed};
    WriteJpegFile(folder / name, MakeSheet(symbology, text, options), 90);
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

using BatchRig = FolderRig;

}  // namespace tagmora::support
