#pragma once
// What the window tests share: a hook that takes the program's message boxes,
// a fresh start folder per test, a way to act on modal windows while they
// run, a check of controls against their design, and sheet photographs.
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

namespace tagmora::support {

// Records every message and prompt (answered OK) instead of showing it, while
// it is installed; beforeProcessEvents is where a test "clicks" during a run.
class RecordingHook final : public MessageHook {
public:
    void Message(std::string_view caption, std::string_view text) override {
        messageCaptions.emplace_back(caption);
        messages.emplace_back(text);
    }
    bool Prompt(std::string_view caption, std::string_view text) override {
        promptCaptions.emplace_back(caption);
        prompts.emplace_back(text);
        return true;
    }
    void BeforeProcessEvents() override {
        if (beforeProcessEvents) beforeProcessEvents();
    }

    std::optional<std::string> SaveFileName(std::string_view suggested) override {
        suggestedFiles.emplace_back(suggested);
        return saveFileAnswer;
    }

    std::optional<std::string> AskText(std::string_view /*question*/, std::string_view suggested) override {
        suggestedTexts.emplace_back(suggested);
        return textAnswer;
    }

    std::vector<std::string> messages, messageCaptions, prompts, promptCaptions, suggestedFiles, suggestedTexts;
    std::function<void()> beforeProcessEvents;
    std::optional<std::string> saveFileAnswer;  // what a save dialog answers; cancelled when empty
    std::optional<std::string> textAnswer;      // what a question for a text answers; cancelled when empty
};

// The base of every window test. Each test function starts in a fresh start
// folder made the current directory (the main window takes it as its start
// folder), holding an empty folder "photos", with a hook installed.
class WindowTest : public QObject {
    Q_OBJECT
protected:
    std::unique_ptr<TempFolder> start;
    std::unique_ptr<RecordingHook> hook;
    QString startPath, photos;

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

private:
    QString previousFolder_;
};

// Steps run in turn against the active modal window, from a timer while that
// window's own loop runs; a step returns false to be tried again later. A
// script still waiting after 20 s closes the modal window and stays
// unfinished, so that a failing test ends instead of hanging.
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

// A control as designed: where it is (its top-left corner only when the size
// is 0 x 0; unchecked when absent, as in windows laid out by Qt), its caption
// (a button's text, a frame's title or a label's text) and its tool tip
// (unchecked when null).
struct Control {
    const char* name;
    std::optional<QRect> place;
    const char* caption = nullptr;
    const char* tip = nullptr;
};

// Fails the running test for every control of window that is not as designed.
void CheckControls(const QWidget& window, std::initializer_list<Control> controls);

// Fails the running test unless each named control of window lies wholly to
// the left of (Qt::Horizontal) or above (Qt::Vertical) the next, and is shown.
void CheckOrder(const QWidget& window, Qt::Orientation orientation, std::initializer_list<const char*> names);

// A sheet photograph 1200 x 900 with a Code 39 label that the General
// pipeline reads; a blank sheet when text is empty.
void WriteSheetPhoto(const std::string& path, std::string_view text, unsigned seed);

std::set<std::string> FileNames(const QString& folder);

}  // namespace tagmora::support

// The main of one window test program: the program's own application object
// (so that its error guard is in force), then the Qt Test class.
#define TAGMORA_GUI_TEST_MAIN(TestClass)                     \
    int main(int argc, char* argv[]) {                       \
        tagmora::TagmoraApplication application(argc, argv); \
        TestClass test;                                      \
        return QTest::qExec(&test, argc, argv);              \
    }
