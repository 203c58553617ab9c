#include "support/temp_folder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;

namespace tagmora::support {

TempFolder::TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "tagmora-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ec;
    // Tests may leave read-only folders behind; make them removable first.
    for (auto it = fs::recursive_directory_iterator(path_, ec); !ec && it != fs::recursive_directory_iterator(); ++it)
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

std::string TempFolder::operator/(std::string_view name) const { return path_ + "/" + std::string(name); }

void TempFolder::Write(std::string_view name, std::string_view content) const {
    std::ofstream out(*this / name, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    if (!out) throw std::runtime_error("cannot write " + std::string(name));
}

std::string TempFolder::Read(std::string_view name) const {
    std::ifstream in(*this / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool TempFolder::Exists(std::string_view name) const { return fs::exists(*this / name); }

std::map<std::string, std::string> TempFolder::Files() const {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(path_)) {
        if (!entry.is_regular_file()) continue;
        std::string name = entry.path().filename().string();
        files[name] = Read(name);
    }
    return files;
}

}  // namespace tagmora::support
