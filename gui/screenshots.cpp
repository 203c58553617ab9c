// Writes PNG pictures of the windows for the documentation:
//   tagmora-screenshots OUTPUT_FOLDER
// Run on the offscreen platform (scripts/screenshots does). It works in a
// scratch folder of generated sheet photographs and removes it afterwards.
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <cstdio>
#include <fstream>
#include <string>

#include "gui/about_box.h"
#include "gui/application.h"
#include "gui/main_form.h"
#include "gui/manual_form.h"
#include "gui/photo_form.h"
#include "support/barcode_render.h"
#include "support/hard_sheet.h"
#include "support/synthetic_sheet.h"
#include "support/temp_folder.h"

namespace {

using namespace tagmora;

// Answers every box with OK and takes the photo window's picture at the
// first Demo/Debug result, when the scan lines are on it, and at the result
// of the turned label, when Deep Search's regions are on it.
class ScreenshotHook final : public MessageHook {
public:
    ScreenshotHook(TPhotoForm* photoForm, QString folder) : photoForm_(photoForm), folder_(std::move(folder)) {}

    void Message(std::string_view, std::string_view) override {}
    bool Prompt(std::string_view, std::string_view text) override {
        if (!photoTaken_) photoTaken_ = photoForm_->grab().save(folder_ + QStringLiteral("/photo-window.png"));
        if (text.find(kTurnedNumber) != std::string_view::npos)
            deepSearchTaken_ = photoForm_->grab().save(folder_ + QStringLiteral("/photo-window-deep-search.png"));
        return true;
    }
    static constexpr std::string_view kTurnedNumber = "QSZ0123458";
    bool photoTaken_ = false;
    bool deepSearchTaken_ = false;

private:
    TPhotoForm* photoForm_;
    QString folder_;
};

void WriteSheets(const std::string& folder) {
    support::SheetOptions options;
    options.width = 2000;
    options.height = 1500;
    options.centerX = 1450;
    options.centerY = 1200;
    options.noiseSigma = 3.0;
    support::WriteJpegFile(folder + "/IMG_0041.jpg",
                           support::MakeSheet(support::Symbology::Code39, "QSZ0123456", options), 90);
    options.seed = 2;
    options.centerX = 600;
    options.centerY = 300;
    support::WriteJpegFile(folder + "/IMG_0042.jpg",
                           support::MakeSheet(support::Symbology::Code39, "QSZ0123457", options), 90);
    // Turned too far for the scan lines: Deep Search finds it.
    options.seed = 3;
    support::TurnedLabel turned{.runs = support::RenderModules(support::Symbology::Code128, "QSZ0123458"),
                                .modulePixels = 3.0,
                                .angleDegrees = 35.0,
                                .centreX = 1300,
                                .centreY = 900};
    support::WriteJpegFile(folder + "/IMG_0043.jpg", support::MakeTurnedSheet({turned}, options), 90);
}

}  // namespace

int main(int argc, char* argv[]) {
    TagmoraApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tagmora-screenshots OUTPUT_FOLDER\n");
        return 2;
    }
    const QString output = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QDir().mkpath(output);

    // A volume of its own where there is one, so that the folder list shows
    // the scratch folders and nothing else of the machine.
    if (QFileInfo(QStringLiteral("/dev/shm")).isWritable()) qputenv("TMPDIR", "/dev/shm");
    support::TempFolder scratch;
    const std::string start = scratch / "Herbarium";
    const std::string photos = start + "/Sheets 2024-05-14";
    QDir().mkpath(QString::fromLocal8Bit(photos));
    QDir().mkpath(QString::fromLocal8Bit(start + "/Sheets 2024-05-13"));
    WriteSheets(photos);
    QDir::setCurrent(QString::fromLocal8Bit(start));

    TForm1 form1;
    ScreenshotHook hook(form1.PhotoForm(), output);
    SetMessageHook(&hook);
    form1.show();
    form1.SelectFolder(QString::fromLocal8Bit(photos));
    QCoreApplication::processEvents();
    bool ok = form1.grab().save(output + QStringLiteral("/main-window.png"));

    // A Demo/Debug run: every line tried in black, the line read in red.
    form1.findChild<QRadioButton*>(QStringLiteral("ModeRadioGroupItem1"))->click();
    form1.findChild<QPushButton*>(QStringLiteral("ExecuteButton"))->click();
    ok = ok && hook.photoTaken_ && hook.deepSearchTaken_;

    form1.About1Click();
    QCoreApplication::processEvents();
    ok = ok && form1.AboutBox()->grab().save(output + QStringLiteral("/about-box.png"));
    form1.AboutBox()->close();

    // Manual Rename on a problem line of the log, whole and zoomed in on the label.
    std::ofstream(start + "/Tagmora.log", std::ios::app | std::ios::binary)
        << "\r\nDirectory = " << photos << "\r\n\r\n>>>>>IMG_0042.jpg: Found barcode, but unable to read\r\n";
    QTimer::singleShot(0, [&] {
        TManualForm* manual = form1.ManualForm();
        manual->findChild<QLineEdit*>(QStringLiteral("NewNameEdit"))->setText(QStringLiteral("QSZ0123457.jpg"));
        ok = ok && manual->grab().save(output + QStringLiteral("/manual-rename.png"));
        manual->FullImageMouseDown(QPoint(200, 100), QSize(601, 451));
        ok = ok && manual->grab().save(output + QStringLiteral("/manual-rename-zoomed.png"));
        manual->SkipButtonClick();
    });
    form1.ReviewProblems1Click();
    SetMessageHook(nullptr);
    return ok ? 0 : 1;
}
