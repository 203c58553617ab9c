#pragma once
// Whether Qt will find a display to open windows on, asked before the
// application object is made: without one Qt would abort the program.
#include <string>

namespace tagmora {

// Why no window can be shown, from the values of QT_QPA_PLATFORM, DISPLAY
// and WAYLAND_DISPLAY (null when unset); empty when one can.
std::string NoDisplayReason(const char* platform, const char* display, const char* waylandDisplay);

// The same for this process's environment, and whether the display it
// names answers (an X server gone, a broken ssh forwarding).
std::string NoDisplayReason();

// The one line printed when there is no display.
std::string NoDisplayMessage(const std::string& reason);

}  // namespace tagmora
