#pragma once
// A scratch folder that removes itself, with helpers to fill and inspect it.
#include <map>
#include <string>
#include <string_view>

namespace tagmora::support {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(std::string_view name) const;

    void Write(std::string_view name, std::string_view content) const;
    std::string Read(std::string_view name) const;
    bool Exists(std::string_view name) const;
    // Regular files of the folder (not recursive): name -> content.
    std::map<std::string, std::string> Files() const;

private:
    std::string path_;
};

}  // namespace tagmora::support
