#include "gui/display_check.h"

#include <cstdlib>
#include <string_view>

namespace tagmora {

namespace {

bool IsSet(const char* value) { return value != nullptr && *value != '\0'; }

}  // namespace

std::string NoDisplayReason(const char* platform, const char* display, const char* waylandDisplay) {
    // "xcb", "wayland;xcb", "offscreen:fontengine=freetype": the first choice decides.
    const std::string_view chosen = IsSet(platform) ? std::string_view(platform) : std::string_view();
    const std::string_view first = chosen.substr(0, chosen.find_first_of(";:"));
    if (first == "xcb") return IsSet(display) ? std::string() : "QT_QPA_PLATFORM is xcb but DISPLAY is not set";
    if (first.starts_with("wayland"))
        return IsSet(waylandDisplay) ? std::string() : "QT_QPA_PLATFORM is wayland but WAYLAND_DISPLAY is not set";
    // offscreen, vnc, eglfs, linuxfb, ...: a platform that needs no desktop.
    if (!first.empty()) return {};
    if (IsSet(display) || IsSet(waylandDisplay)) return {};
    return "no display (neither DISPLAY nor WAYLAND_DISPLAY is set)";
}

std::string NoDisplayReason() {
    return NoDisplayReason(std::getenv("QT_QPA_PLATFORM"), std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY"));
}

std::string NoDisplayMessage(const std::string& reason) {
    return "tagmora: " + reason +
           "; to rename photographs without windows use tagmora-batch FOLDER "
           "(tagmora-batch --help)";
}

}  // namespace tagmora
