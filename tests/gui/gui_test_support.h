#pragma once
// What the window tests share: a hook that answers the program's message
// boxes, a scratch start folder made current, a way to act on modal windows
// while they run, and generated sheet photographs.
#include <QElapsedTimer>
#include <QObject>
#include <QRect>
#include <QString>
#include <QTimer>

#include <deque>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "gui/application.h"
#include "support/temp_folder.h"

class QWidget;

namespace tagmora::testing {

// Records every message and prompt instead of showing it; prompts are
// answered from answers (OK once they run out). Installed for its lifetime.
class RecordingHook final : public MessageHook {
public:
    RecordingHook();
    ~RecordingHook() override;
    RecordingHook(const RecordingHook&) = delete;
    RecordingHook& operator=(const RecordingHook&) = delete;

    void Message(std::string_view caption, std::string_view text) override;
    bool Prompt(std::string_view caption, std::string_view text) override;
    void BeforeProcessEvents() override;

    std::vector<std::string> messages;
    std::vector<std::string> messageCaptions;
    std::vector<std::string> prompts;
    std::vector<std::string> promptCaptions;
    std::deque<bool> answers;
    std::function<void()> beforeProcessEvents;
};

// A scratch folder that is the current directory for the object's lifetime:
// the main window takes it as its start folder.
class ScratchStartFolder {
public:
    ScratchStartFolder();
    ~ScratchStartFolder();
    ScratchStartFolder(const ScratchStartFolder&) = delete;
    ScratchStartFolder& operator=(const ScratchStartFolder&) = delete;

    TempFolder folder;
    QString Path() const { return QString::fromLocal8Bit(folder.path()); }

private:
    QString previous_;
};

// Steps run in turn against the active modal window, from a timer while that
// window's own loop runs. A step returns false to be tried again later (the
// window it waits for is not up yet). A script still waiting after 20 s
// closes the modal window in hand, so that a failing test ends instead of
// hanging, and is left unfinished.
class ModalScript : public QObject {
public:
    using Step = std::function<bool(QWidget* modal)>;
    ModalScript();
    void Then(Step step);
    bool Finished() const { return steps_.empty(); }

private:
    void Tick();
    std::deque<Step> steps_;
    QTimer timer_;
    QElapsedTimer waiting_;
};

// A sheet photograph 1200 x 900 with a Code 39 label that the General
// pipeline reads; a blank sheet when text is empty.
void WriteSheetPhoto(const std::string& path, std::string_view text, unsigned seed);

// The names in a folder, sorted.
std::set<std::string> FileNames(const QString& folder);

// The base of every window test: each test function starts in a fresh
// scratch start folder, holding an empty folder "photos", with a hook
// recording the messages.
class WindowTest : public QObject {
    Q_OBJECT
protected:
    std::unique_ptr<ScratchStartFolder> start;
    std::unique_ptr<RecordingHook> hook;
    QString photos;

    // The named child, which must exist.
    template <typename T = QWidget>
    static T* Child(const QObject& parent, const char* name) {
        T* child = parent.findChild<T*>(name);
        if (!child) qFatal("no control %s", name);
        return child;
    }

private slots:
    void init();
    void cleanup();
};

// A control as designed: where it is (its top-left corner only when the size
// is 0 x 0; not checked when absent), its caption (a button's text, a frame's
// title or a label's text) and its tool tip (not checked when null).
struct Control {
    const char* name;
    std::optional<QRect> place;
    const char* caption = nullptr;
    const char* tip = nullptr;
};

// Fails the running test for every control of window that is not as designed.
void CheckControls(const QWidget& window, std::initializer_list<Control> controls);

}  // namespace tagmora::testing

// The main of one window test program: the program's own application object
// (so that its error guard is in force), then the Qt Test class.
#define TAGMORA_GUI_TEST_MAIN(TestClass)                        \
    int main(int argc, char* argv[]) {                          \
        tagmora::TagmoraApplication application(argc, argv);    \
        TestClass test;                                         \
        return QTest::qExec(&test, argc, argv);                 \
    }
