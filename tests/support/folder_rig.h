#pragma once
// A core whose photographs lie in one scratch folder and whose log lives in
// another, the run going, as the per-image tests and whole runs need it.
#include <set>
#include <string>
#include <vector>

#include "support/fake_front_end.h"
#include "support/temp_folder.h"

namespace tagmora::support {

struct FolderRig {
    TempFolder start;
    TempFolder photos;
    TestCore core;

    FolderRig() {
        core.state.run.StartFolder = start.path();
        core.state.run.PhotoFolder = photos.path();
        core.state.run.KeepGoing = true;
        core.settings().PhotoFolder = photos.path();
    }
    Context& ctx() { return core.ctx; }
    FakeFrontEnd& ui() { return core.ui; }
    RunState& run() { return core.state.run; }

    std::set<std::string> FileNames() const {
        std::set<std::string> names;
        for (const auto& [name, content] : photos.Files()) names.insert(name);
        return names;
    }
    std::string Log() const { return start.Exists("Tagmora.log") ? start.Read("Tagmora.log") : std::string(); }
    // The log lines after the last run header and its "Directory = " line.
    std::vector<std::string> ImageLines() const {
        std::vector<std::string> lines;
        const std::string log = Log();
        const std::size_t directory = log.rfind("Directory = ");
        if (directory == std::string::npos) return lines;
        std::size_t at = log.find("\r\n\r\n", directory);
        if (at == std::string::npos) return lines;
        for (at += 4; at < log.size();) {
            const std::size_t end = log.find("\r\n", at);
            lines.push_back(log.substr(at, end - at));
            if (end == std::string::npos) break;
            at = end + 2;
        }
        return lines;
    }
};

}  // namespace tagmora::support
