#include "base/file_helpers.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "base/front_end.h"
#include "base/unique_fd.h"

namespace tagmora {

namespace {

bool WriteAll(int fd, std::string_view text) {
    while (!text.empty()) {
        ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

mode_t NewFileMode() {
    // The umask can only be read by setting it; set it straight back.
    mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

std::string FolderOf(const std::string& name) {
    std::size_t slash = name.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : name.substr(0, slash);
}

// Writes the whole text to a new file beside name and moves it over name, so
// that a failure at any point leaves the old file as it was.
bool ReplaceFileContent(std::string_view text, const std::string& name) {
    std::string temporary = FolderOf(name) + "/.tagmora-XXXXXX";
    UniqueFd fd(::mkstemp(temporary.data()));
    if (!fd.valid()) return false;
    struct stat old {};
    mode_t mode = ::stat(name.c_str(), &old) == 0 ? (old.st_mode & 07777) : NewFileMode();
    bool ok = ::fchmod(fd.get(), mode) == 0 && WriteAll(fd.get(), text) && ::fsync(fd.get()) == 0;
    ok = fd.Close() && ok;
    ok = ok && ::rename(temporary.c_str(), name.c_str()) == 0;
    if (!ok) ::unlink(temporary.c_str());
    return ok;
}

bool AppendToFile(std::string_view text, const std::string& name) {
    UniqueFd fd(::open(name.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666));
    if (!fd.valid()) return false;
    bool ok = WriteAll(fd.get(), text);
    return fd.Close() && ok;
}

}  // namespace

std::optional<std::string> ReadTextFile(const std::string& name, FrontEnd& ui) {
    // O_NONBLOCK keeps a FIFO in place of the file from hanging the program.
    UniqueFd fd(::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (!fd.valid() || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        ui.ShowMessage("Unable to open file: " + name);
        return std::nullopt;
    }
    std::string content;
    content.resize(static_cast<std::size_t>(info.st_size));
    std::size_t done = 0;
    while (done < content.size()) {
        ssize_t got = ::read(fd.get(), content.data() + done, content.size() - done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            ui.ShowMessage("Unable to open file: " + name);
            return std::nullopt;
        }
        if (got == 0) break;  // the file shrank meanwhile
        done += static_cast<std::size_t>(got);
    }
    content.resize(done);
    // A zero byte ends the text, as it always has for this file format.
    if (std::size_t zero = content.find('\0'); zero != std::string::npos) content.resize(zero);
    return content;
}

namespace {

bool ReportedWrite(bool ok, const std::string& name, FrontEnd& ui) {
    if (!ok) ui.ShowMessage("Unable to create or open file " + name);
    return ok;
}

}  // namespace

bool WriteNewFile(const std::string& path, std::string_view text, std::string& error) {
    UniqueFd file(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
    if (!file.valid()) {
        error = path + (errno == EEXIST ? ": the file exists already" : ": " + std::string(std::strerror(errno)));
        return false;
    }
    if (WriteAll(file.get(), text) && file.Close()) return true;
    error = path + ": " + std::strerror(errno);
    ::unlink(path.c_str());
    return false;
}

bool AppendTextToFile(std::string_view text, const std::string& name, FrontEnd& ui) {
    return ReportedWrite(AppendToFile(text, name), name, ui);
}

bool ReplaceTextFile(std::string_view text, const std::string& name, FrontEnd& ui) {
    return ReportedWrite(ReplaceFileContent(text, name), name, ui);
}

}  // namespace tagmora
