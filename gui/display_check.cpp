#include "gui/display_check.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <string_view>

#ifdef TAGMORA_HAVE_XCB
#include <xcb/xcb.h>
#endif

namespace tagmora {

namespace {

bool IsSet(const char* value) { return value != nullptr && *value != '\0'; }

// "xcb", "wayland;xcb", "offscreen:fontengine=freetype": the first choice decides.
std::string_view FirstPlatform(const char* platform) {
    const std::string_view chosen = IsSet(platform) ? std::string_view(platform) : std::string_view();
    return chosen.substr(0, chosen.find_first_of(";:"));
}

// Whether an X server answers at display: xcb reads the name, the ssh
// forwarding's TCP port and the authority file just as Qt will.
bool XServerAnswers(const char* display) {
#ifdef TAGMORA_HAVE_XCB
    xcb_connection_t* connection = xcb_connect(display, nullptr);
    const bool answers = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return answers;
#else
    (void)display;
    return true;  // left to Qt
#endif
}

// Whether a Wayland compositor listens on its socket: WAYLAND_DISPLAY is a
// path, or a name in XDG_RUNTIME_DIR.
bool WaylandAnswers(const char* name) {
    std::string path = name;
    if (!path.starts_with('/')) {
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        if (!IsSet(runtime)) return false;
        path = std::string(runtime) + "/" + path;
    }
    sockaddr_un address{};
    if (path.size() >= sizeof address.sun_path) return false;
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, path.size());
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    const bool answers = connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return answers;
}

// Why the display the environment names cannot be reached, or empty.
std::string UnreachableReason(std::string_view first, const char* display, const char* waylandDisplay) {
    const bool tryX = first == "xcb" || (first.empty() && IsSet(display));
    const bool tryWayland = first.starts_with("wayland") || (first.empty() && IsSet(waylandDisplay));
    if (tryX && XServerAnswers(display)) return {};
    if (tryWayland && WaylandAnswers(waylandDisplay)) return {};
    if (!tryX && !tryWayland) return {};  // offscreen and the like need none
    std::string reason = "cannot reach the display";
    if (tryX) reason += std::string(" DISPLAY=") + display;
    if (tryWayland) reason += std::string(" WAYLAND_DISPLAY=") + waylandDisplay;
    return reason;
}

}  // namespace

std::string NoDisplayReason(const char* platform, const char* display, const char* waylandDisplay) {
    const std::string_view first = FirstPlatform(platform);
    if (first == "xcb") return IsSet(display) ? std::string() : "QT_QPA_PLATFORM is xcb but DISPLAY is not set";
    if (first.starts_with("wayland"))
        return IsSet(waylandDisplay) ? std::string() : "QT_QPA_PLATFORM is wayland but WAYLAND_DISPLAY is not set";
    // offscreen, vnc, eglfs, linuxfb, ...: a platform that needs no desktop.
    if (!first.empty()) return {};
    if (IsSet(display) || IsSet(waylandDisplay)) return {};
    return "no display (neither DISPLAY nor WAYLAND_DISPLAY is set)";
}

std::string NoDisplayReason() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const char* display = std::getenv("DISPLAY");
    const char* waylandDisplay = std::getenv("WAYLAND_DISPLAY");
    if (std::string reason = NoDisplayReason(platform, display, waylandDisplay); !reason.empty()) return reason;
    return UnreachableReason(FirstPlatform(platform), display, waylandDisplay);
}

std::string NoDisplayMessage(const std::string& reason) {
    return "tagmora: " + reason +
           "; to rename photographs without windows use tagmora-batch FOLDER "
           "(tagmora-batch --help)";
}

}  // namespace tagmora
