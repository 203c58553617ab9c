#pragma once
// A front end that records what the core shows and answers its prompts from
// a script, so that tests can drive whole runs without windows.
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/context.h"
#include "base/front_end.h"
#include "base/run_settings.h"

namespace tagmora::support {

struct DrawnStrip {
    PixelRect Rect;
    StripColour Colour;
};

struct DrawnOutline {
    std::vector<PicturePoint> Points;
    bool Closed = false;
    StripColour Colour = StripColour::Black;
};

class FakeFrontEnd final : public FrontEnd {
public:
    // Deep Search starts off, so that every table of the scan-line pipelines
    // holds them to their own behaviour; the Deep Search rows turn it on.
    FakeFrontEnd() { settings.Values.DeepSearch = false; }

    PlainRunSettings settings;

    std::vector<std::string> messages;  // ShowMessage texts, in order
    std::vector<std::string> prompts;   // AskOkCancel texts, in order
    std::deque<bool> promptAnswers;     // answers to give; OK once exhausted
    std::vector<DrawnStrip> strips;
    std::vector<DrawnOutline> outlines;
    std::vector<std::string> logLines;    // lines the core appended to the log
    std::vector<std::string> imageNames;  // SetImageName calls
    std::string countText;
    int picturesShown = 0;
    int photoWindowShown = 0;
    int photoWindowHidden = 0;
    int eventsProcessed = 0;
    // Runs at each ProcessPendingEvents, with its 1-based call number: the
    // place where a test "clicks" Abort or Skip.
    std::function<void(int)> onProcessEvents;
    // The same for the event processing between the scan lines of an image,
    // counted apart so that the driver's calls keep their numbers.
    int eventsDuringImage = 0;
    std::function<void(int)> onEventsDuringImage;

    const RunSettings& Settings() const override { return settings; }
    void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
    bool AskOkCancel(std::string_view text) override {
        prompts.emplace_back(text);
        if (promptAnswers.empty()) return true;
        bool answer = promptAnswers.front();
        promptAnswers.pop_front();
        return answer;
    }
    void ShowPhotoWindow(std::int32_t) override { ++photoWindowShown; }
    void HidePhotoWindow() override { ++photoWindowHidden; }
    void SetImageName(std::string_view name) override { imageNames.emplace_back(name); }
    void SetCountText(std::string_view text) override { countText = text; }
    void ShowPicture(const WorkBitmap&) override { ++picturesShown; }
    void DrawStrip(const PixelRect& rect, StripColour colour) override { strips.push_back({rect, colour}); }
    void DrawOutline(std::span<const PicturePoint> points, bool closed, StripColour colour) override {
        outlines.push_back({{points.begin(), points.end()}, closed, colour});
    }
    void ProcessPendingEvents() override {
        ++eventsProcessed;
        if (onProcessEvents) onProcessEvents(eventsProcessed);
    }
    void ProcessEventsDuringImage() override {
        ++eventsDuringImage;
        if (onEventsDuringImage) onEventsDuringImage(eventsDuringImage);
    }
    void LogLineAppended(std::string_view line) override { logLines.emplace_back(line); }

    int StripsOf(StripColour colour) const {
        int n = 0;
        for (const auto& s : strips) n += s.Colour == colour ? 1 : 0;
        return n;
    }
};

// A fresh set of program-wide state with a fake front end.
struct TestCore {
    FakeFrontEnd ui;
    CoreState state;
    Context ctx = state.ContextFor(ui);

    SettingValues& settings() { return ui.settings.Values; }
};

}  // namespace tagmora::support
