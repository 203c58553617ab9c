// The main window: its controls as designed, the options read from and
// written to Config.txt, and the rules that show, hide and enable controls.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStorageInfo>
#include <QTest>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "app/config_file.h"
#include "base/text_helpers.h"
#include "gui/display_check.h"
#include "gui/main_form.h"
#include "gui/photo_form.h"
#include "gui_test_support.h"

namespace tagmora {

class MainWindowTest : public support::WindowTest {
    Q_OBJECT

    static void Click(QAbstractButton* button) {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }

private slots:
    void startsWithTheDesignedControlsAndDefaults() {
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.windowTitle(), QString("Tagmora"));
        // Opens at least at its designed size, and can be resized.
        QVERIFY(form.centralWidget()->width() >= 443 && form.centralWidget()->height() >= 330);
        QVERIFY(form.minimumSize() != form.maximumSize());
        // The tool tips as the curators know them, spelling slips mended.
        support::CheckControls(
            form,
            {
                {"SourceDirCombo", {}, nullptr, "Double click folder so it appears open "},
                {"ModeRadioGroup", {}, "Mode", "Debug doesn't rename images, and shows scan lines"},
                {"ModeRadioGroupItem0", {}, "Production"},
                {"ModeRadioGroupItem1", {}, "Demo/Debug"},
                {"TypeRadioGroup", {}, "Type", "General works for most "},
                {"TypeRadioGroupItem0", {}, "General"},
                {"TypeRadioGroupItem1", {}, "Close-up"},
                {"RotationRadio", {}, "Orientation", "Bar code running across the image, or up and down."},
                {"RotationRadioItem0", {}, "Horizontal"},
                {"RotationRadioItem1", {}, "Vertical"},
                {"Label1", {}, "Barcode Text Format String"},
                {"FormatEdit",
                 {},
                 nullptr,
                 "Letters, numbers match.  # is wild digit.  @ is wild alpha char. ? can be anything, even blank"},
                {"DontRenameCheckBox", {}, "Ignore if matches Format String", "Don't process already renamed images"},
                {"GroupBox1", {}, "Multiple Images"},
                {"RenameCheckBox", {}, "Rename Raw files", "Rename all files with same name, different extension"},
                {"RenameWOCheckBox",
                 {},
                 "Rename W/O Barcode",
                 "Rename images without barcodes with the last found barcode."},
                {"FirstSuffixCheckBox", {}, "Suffix All Images", "Add suffix to every file"},
                {"Label2", {}, "Suffix Format"},
                {"SuffixFormatEdit",
                 {},
                 nullptr,
                 "@ = a,b,c...  # = 1,2,3...  ### = 001, 002, 003,... Other characters are literal."},
                {"ExecuteButton", {}, "Execute"},
                {"PauseCheckBox", {}, "Pause Each Line"},
            });
        // The layout: the folder at the left, the options at the right, the
        // options of several images and Execute below them.
        using support::CheckOrder;
        CheckOrder(form, Qt::Vertical,
                   {"SourceDriveCombo", "SourceDirCombo", "FolderPath", "FolderCount", "GroupBox1"});
        CheckOrder(form, Qt::Vertical,
                   {"ModeRadioGroup", "RotationRadio", "Label1", "FormatEdit", "DontRenameCheckBox", "ExecuteButton"});
        CheckOrder(form, Qt::Horizontal, {"SourceDirCombo", "ModeRadioGroup", "TypeRadioGroup"});
        CheckOrder(form, Qt::Horizontal, {"GroupBox1", "ExecuteButton"});
        auto* multiple = Child(form, "GroupBox1");
        for (const char* name :
             {"RenameCheckBox", "RenameWOCheckBox", "FirstSuffixCheckBox", "Label2", "SuffixFormatEdit"})
            QCOMPARE(Child(form, name)->parentWidget(), multiple);
        CheckOrder(*multiple, Qt::Horizontal, {"RenameCheckBox", "FirstSuffixCheckBox"});
        CheckOrder(*multiple, Qt::Horizontal, {"Label2", "SuffixFormatEdit"});

        const SettingValues values = form.ControlValues();
        SettingValues expected;
        expected.PhotoFolder = startPath.toStdString();
        QCOMPARE(ConfigText(values), ConfigText(expected));
        QVERIFY(values.ModeIndex == 0 && values.IgnoreMatching && !values.PauseEachLine);
        QVERIFY(Child(form, "PauseCheckBox")->isHidden());
        // The folder list shows the start folder, its path and what it holds,
        // and Execute is enabled although it holds no photograph.
        QCOMPARE(QString::fromLocal8Bit(form.Ctx().run.StartFolder), startPath);
        QCOMPARE(QString::fromLocal8Bit(values.PhotoFolder), startPath);
        QCOMPARE(Child<QLineEdit>(form, "FolderPath")->text(), startPath);
        QCOMPARE(Child<QLabel>(form, "FolderCount")->text(), QString("No JPEG photographs"));
        QVERIFY(Child(form, "ExecuteButton")->isEnabled());
        QCOMPARE(Child<QComboBox>(form, "SourceDriveCombo")->currentData().toString(),
                 QStorageInfo(startPath).rootPath());

        // The menu: icons as before, Manual Rename shown, keys for the frequent items.
        const std::tuple<const char*, const char*, bool, const char*> items[] = {
            {"SaveSettings1", "Save Settings", true, ""},
            {"UndoLastRun1", "Undo Last Run", false, ""},
            {"UndoHistory1", "Undo…", false, ""},
            {"ExportLastRun1", "Export Last Run…", false, ""},
            {"ExportSymbiota1", "Export for Symbiota…", false, ""},
            {"CheckNames1", "Check Named Photographs…", false, ""},
            {"Exit1", "Exit", true, "Ctrl+Q"},
            {"ViewLogFile1", "View Log File", true, ""},
            {"ReviewProblems1", "Manual Rename…", false, "Ctrl+M"},
            {"Help2", "Help", true, "F1"},
            {"About1", "About", false, ""},
        };
        for (const auto& [name, caption, icon, keys] : items) {
            auto* action = Child<QAction>(form, name);
            QCOMPARE(action->iconText(), QString(caption));  // the caption without its access key
            QCOMPARE(!action->icon().isNull(), icon);
            QVERIFY(action->isVisible());
            QCOMPARE(action->shortcut().toString(), QString(keys));
        }
        QStringList menus;
        QStringList keys;
        for (QAction* menu : form.menuBar()->actions()) {
            menus << menu->iconText();
            keys << QKeySequence::mnemonic(menu->text()).toString();
        }
        QCOMPARE(menus, (QStringList{"File", "View", "Help"}));
        QCOMPARE(keys, (QStringList{"Alt+F", "Alt+V", "Alt+H"}));

        // The photo window, made at start-up and hidden until a run.
        TPhotoForm* photo = form.PhotoForm();
        QVERIFY(!photo->isVisible());
        QCOMPARE(photo->windowTitle(), QString("Tagmora"));
        QCOMPARE(photo->size(), QSize(648, 626));
        support::CheckControls(*photo, {
                                           {"StaticText1", {}, "Image Name:"},
                                           {"Button1", {}, "Abort"},
                                           {"Button2", {}, "Skip"},
                                           {"CountLabel", {}, "0"},
                                           {"Label1", {}, "Labels"},
                                       });
        photo->layout()->activate();
        CheckOrder(*photo, Qt::Horizontal,
                   {"StaticText1", "ImageNameLabel", "Button1", "Button2", "CountLabel", "Label1"});
        CheckOrder(*photo, Qt::Vertical, {"Button1", "ProgressBar", "Image1"});
        QVERIFY(Child<QLabel>(*photo, "CountLabel")->alignment() & Qt::AlignRight);
        QVERIFY(hook->messages.empty());
    }

    void demoModeOffersPauseAndProductionTakesItAway() {
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto* pause = Child<QCheckBox>(form, "PauseCheckBox");
        Click(Child<QRadioButton>(form, "ModeRadioGroupItem1"));
        QCOMPARE(form.ModeIndex(), 1);
        QVERIFY(pause->isVisible());
        Click(pause);
        QVERIFY(form.PauseEachLine());
        Click(Child<QRadioButton>(form, "ModeRadioGroupItem0"));
        QCOMPARE(form.ModeIndex(), 0);
        QVERIFY(!pause->isVisible());
        QVERIFY(!form.PauseEachLine());  // a hidden box must not pause a run
        Click(Child<QRadioButton>(form, "ModeRadioGroupItem1"));
        QVERIFY(pause->isVisible() && !pause->isChecked());
    }

    void executeIsEnabledOnlyForAFolderOfferingJpegFiles() {
        namespace fs = std::filesystem;
        const support::TempFolder& root = *start;
        for (const char* folder : {"notes", "folderfirst/a.jpg", "hidden"}) fs::create_directories(root / folder);
        root.Write("photos/a.JPG", "x");
        root.Write("notes/a.txt", "x");
        root.Write("folderfirst/b.jpg", "x");  // after the folder a.jpg, which decides
        root.Write("hidden/.a.jpg", "x");      // hidden files count here

        TForm1 form;
        auto* execute = Child(form, "ExecuteButton");
        const std::pair<const char*, bool> cases[] = {
            {"notes", false}, {"photos", true}, {"folderfirst", false}, {"hidden", true}, {"notes", false}};
        for (const auto& [folder, enabled] : cases) {
            form.SelectFolder(startPath + "/" + folder);
            QCOMPARE(QString::fromLocal8Bit(form.PhotoFolder()), startPath + "/" + folder);
            QCOMPARE(execute->isEnabled(), enabled);
        }
        // The same drive chosen again changes nothing; another drive and back
        // again shows the folder last open on it and tests it anew.
        form.SelectFolder(startPath + "/photos");
        fs::remove(root / "photos/a.JPG");
        auto* drives = Child<QComboBox>(form, "SourceDriveCombo");
        const int here = drives->currentIndex();
        emit drives->activated(here);
        QVERIFY(execute->isEnabled());
        if (drives->count() < 2) QSKIP("only one drive to choose from");
        for (int drive : {here == 0 ? 1 : 0, here}) {
            drives->setCurrentIndex(drive);
            emit drives->activated(drive);
        }
        QCOMPARE(QString::fromLocal8Bit(form.PhotoFolder()), startPath + "/photos");
        QVERIFY(!execute->isEnabled());
    }

    void theOptionsAreReadLiveSavedAndReadAtTheNextStart() {
        const std::string saved =
            "TGM\r\nBarcodeFormat: XY##\r\nRotation: 1\r\nType: 1\r\nRenameRaw: 0\r\n"
            "RenameWO: 1\r\nSuffixFormat: @\r\nFirstSuffix: 1\r\nDeepSearch: 0\r\n";
        {
            TForm1 form;
            form.show();
            QVERIFY(QTest::qWaitForWindowExposed(&form));
            auto* format = Child<QLineEdit>(form, "FormatEdit");
            format->clear();
            QTest::keyClicks(format, "XY##");
            QCOMPARE(form.Ctx().Settings().BarcodeFormat(), std::string("XY##"));
            Child<QCheckBox>(form, "DontRenameCheckBox")->click();
            QVERIFY(!form.Ctx().Settings().IgnoreMatching());
            for (const char* control : {"RotationRadioItem1", "TypeRadioGroupItem1", "RenameCheckBox",
                                        "FirstSuffixCheckBox", "DeepSearchCheckBox", "ModeRadioGroupItem1"})
                Child<QAbstractButton>(form, control)->click();
            Child<QLineEdit>(form, "SuffixFormatEdit")->setText("@");
            Child<QAction>(form, "SaveSettings1")->trigger();
            // Deep Search and the folder chosen come after the eight lines.
            QCOMPARE(start->Read("Config.txt"), saved + "LastFolder: " + start->path() + "\r\n");
            QCOMPARE(hook->messages, std::vector<std::string>{"Settings saved"});
        }
        // The next start restores what was saved, but neither Mode nor the
        // ignore box; a type out of range selects no item, which runs as Close-up.
        start->Write("Config.txt", ReplaceAll(saved, "Type: 1", "Type: -5"));
        TForm1 again;
        QCOMPARE(ConfigText(again.ControlValues()),
                 ReplaceAll(saved, "Type: 1", "Type: -1") + "LastFolder: " + start->path() + "\r\n");
        QVERIFY(!Child<QRadioButton>(again, "TypeRadioGroupItem0")->isChecked());
        QVERIFY(!Child<QRadioButton>(again, "TypeRadioGroupItem1")->isChecked());
        QCOMPARE(again.ModeIndex(), 0);
        QVERIFY(again.IgnoreMatching());
    }

    void theFolderIsShownRememberedGivenAndDropped() {
        start->Write("photos/IMG_1.jpg", "x");
        start->Write("photos/IMG_2.JPG", "x");
        {
            TForm1 form;
            form.SelectFolder(photos);
            QCOMPARE(Child<QLineEdit>(form, "FolderPath")->text(), photos);
            QCOMPARE(Child<QLabel>(form, "FolderCount")->text(), QString("2 JPEG photographs"));
            form.SaveSettings1Click();
        }
        // The next start opens on the folder saved, unless it is gone.
        TForm1 form;
        QCOMPARE(QString::fromLocal8Bit(form.PhotoFolder()), photos);
        // As on the command line: a name that is no folder is said so.
        form.OpenFolderArgument(startPath + "/missing");
        QCOMPARE(hook->messages.back(), (*start / "missing") + " is not a folder that can be opened.");
        form.OpenFolderArgument(startPath);
        QCOMPARE(QString::fromLocal8Bit(form.PhotoFolder()), startPath);

        QMimeData dropped;
        dropped.setUrls({QUrl::fromLocalFile(photos)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&form, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&form, &drop);
        QCOMPARE(QString::fromLocal8Bit(form.PhotoFolder()), photos);
        QCOMPARE(Child<QLabel>(form, "FolderCount")->text(), QString("2 JPEG photographs"));
        // A file is no folder to drop.
        dropped.setUrls({QUrl::fromLocalFile(photos + "/IMG_1.jpg")});
        QDragEnterEvent fileEnter(QPoint(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&form, &fileEnter);
        QVERIFY(!fileEnter.isAccepted());
    }

    void withoutADisplayItSaysSoInOneLineAndExitsOne() {
        const std::tuple<const char*, const char*, const char*, bool> cases[] = {
            {nullptr, nullptr, nullptr, false},    {"", "", "", false},
            {nullptr, ":0", nullptr, true},        {nullptr, nullptr, "wayland-0", true},
            {"xcb", nullptr, "wayland-0", false},  {"wayland", ":0", nullptr, false},
            {"offscreen", nullptr, nullptr, true}, {"xcb;offscreen", ":1", nullptr, true},
        };
        for (const auto& [platform, display, wayland, shows] : cases)
            QCOMPARE(NoDisplayReason(platform, display, wayland).empty(), shows);

        // None at all, or one named that is not there: the same one line.
        for (const auto& [name, value] : {std::pair<const char*, const char*>{nullptr, nullptr},
                                          {"DISPLAY", ":987"},
                                          {"WAYLAND_DISPLAY", "tagmora-no-such-display"}}) {
            QProcess program;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            for (const char* unset : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) environment.remove(unset);
            if (name != nullptr) environment.insert(name, value);
            program.setProcessEnvironment(environment);
            program.setWorkingDirectory(startPath);
            program.start(TAGMORA_PROGRAM, {});
            QVERIFY(program.waitForFinished(20000));
            QCOMPARE(program.exitStatus(), QProcess::NormalExit);
            QCOMPARE(program.exitCode(), 1);
            const QString said = QString::fromLocal8Bit(program.readAllStandardError());
            QCOMPARE(said.count('\n'), 1);
            QVERIFY2(said.contains("display") && said.contains("tagmora-batch"), qPrintable(said));
        }
        QVERIFY(!start->Exists("Tagmora.log"));
    }
};

}  // namespace tagmora

TAGMORA_GUI_TEST_MAIN(tagmora::MainWindowTest)
#include "main_window_test.moc"
