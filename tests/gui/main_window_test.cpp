// The main window: its controls as designed, the options read from and
// written to Config.txt, and the rules that show, hide and enable controls.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStorageInfo>
#include <QTest>

#include <filesystem>
#include <tuple>
#include <string>
#include <vector>

#include "app/config_file.h"
#include "base/text_helpers.h"
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
        QCOMPARE(form.windowTitle(), QString("Tagmora"));
        QCOMPARE(form.centralWidget()->size(), QSize(443, 330));
        QCOMPARE(form.minimumSize(), form.maximumSize());  // not resizable
        QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(form.windowFlags() & Qt::WindowMinimizeButtonHint);
        // The tool tips as the curators know them, typing slips included.
        support::CheckControls(form, {
            {"SourceDriveCombo", QRect(8, 8, 211, 19)},
            {"SourceDirCombo", QRect(8, 32, 211, 217), nullptr, "Double click folder so it appears open "},
            {"ModeRadioGroup", QRect(240, 8, 97, 73), "Mode", "Debug doesn't rename images, and shows scan lines"},
            {"ModeRadioGroupItem0", {}, "Production"}, {"ModeRadioGroupItem1", {}, "Demo/Debug"},
            {"TypeRadioGroup", QRect(344, 8, 89, 73), "Type", "General works for most "},
            {"TypeRadioGroupItem0", {}, "General"}, {"TypeRadioGroupItem1", {}, "Close-up"},
            {"RotationRadio", QRect(240, 96, 97, 73), "Orientation",
             "Bar code running across the image, or up and down."},
            {"RotationRadioItem0", {}, "Horizontal"}, {"RotationRadioItem1", {}, "Vertical"},
            {"Label1", QRect(248, 184, 0, 0), "Barcode Text Format String"},
            {"FormatEdit", QRect(248, 200, 177, 21), nullptr,
             "Letters, numbers match.  # is wild digit.  @ is wild alpha char. ? can be anythiing, even blank"},
            {"DontRenameCheckBox", QRect(248, 227, 185, 25), "Ignore if matches Format String",
             "Don't process already renamed images"},
            {"GroupBox1", QRect(8, 256, 281, 65), "Multiple Images"},
            {"RenameCheckBox", QRect(8, 15, 113, 25), "Rename Raw files",
             "Rename all files with same name, different extension"},
            {"RenameWOCheckBox", QRect(8, 40, 129, 17), "Rename W/O Barcode",
             "Raname images without barcodes with the last found barcode."},
            {"FirstSuffixCheckBox", QRect(151, 19, 97, 17), "Suffix All Images", "Add suffix to every file"},
            {"Label2", QRect(151, 42, 0, 0), "Suffix Format"},
            {"SuffixFormatEdit", QRect(225, 40, 41, 21), nullptr,
             "@ = a,b,c...# = 1,2,3...  ### = 001, 002, 003,... Other characters are literal."},
            {"ExecuteButton", QRect(312, 272, 97, 25), "Execute"},
            {"PauseCheckBox", QRect(312, 304, 105, 17), "Pause Each Line"},
        });

        const SettingValues values = form.ControlValues();
        QCOMPARE(ConfigText(values), ConfigText(SettingValues{}));
        QVERIFY(values.ModeIndex == 0 && values.IgnoreMatching && !values.PauseEachLine);
        QVERIFY(Child(form, "PauseCheckBox")->isHidden());
        // The folder list shows the start folder, and Execute is enabled
        // although it holds no photograph.
        QCOMPARE(QString::fromLocal8Bit(form.Ctx().run.StartFolder), startPath);
        QCOMPARE(QString::fromLocal8Bit(values.PhotoFolder), startPath);
        QVERIFY(Child(form, "ExecuteButton")->isEnabled());
        QCOMPARE(Child<QComboBox>(form, "SourceDriveCombo")->currentData().toString(),
                 QStorageInfo(startPath).rootPath());

        // The menu, Manual Rename hidden; icons on all but it and About.
        const std::tuple<const char*, const char*, bool> items[] = {
            {"SaveSettings1", "Save Settings", true}, {"Exit1", "Exit", true},
            {"ViewLogFile1", "View Log File", true},  {"ReviewProblems1", "Manual Rename", false},
            {"Help2", "Help", true},                  {"About1", "About", false},
        };
        for (const auto& [name, caption, icon] : items) {
            auto* action = Child<QAction>(form, name);
            QCOMPARE(action->text(), QString(caption));
            QCOMPARE(!action->icon().isNull(), icon);
            QCOMPARE(action->isVisible(), name != std::string("ReviewProblems1"));
        }
        QStringList menus;
        for (QAction* menu : form.menuBar()->actions()) menus << menu->text();
        QCOMPARE(menus, (QStringList{"File", "View", "Help"}));

        // The photo window, made at start-up and hidden until a run.
        TPhotoForm* photo = form.PhotoForm();
        QVERIFY(!photo->isVisible());
        QCOMPARE(photo->windowTitle(), QString("Tagmora"));
        QCOMPARE(photo->size(), QSize(648, 626));
        support::CheckControls(*photo, {
            {"StaticText1", QRect(16, 16, 85, 20), "Image Name:"},
            {"ImageNameLabel", QRect(112, 16, 0, 0)},
            {"Button1", QRect(256, 8, 65, 25), "Abort"},
            {"Button2", QRect(336, 8, 65, 25), "Skip"},
            {"CountLabel", {}, "0"},
            {"Label1", QRect(488, 16, 0, 0), "Labels"},
            {"Image1", QRect(16, 40, 617, 561)},
        });
        // Right-aligned, placed where its first text "0" begins at 467.
        auto* count = Child<QLabel>(*photo, "CountLabel");
        QCOMPARE(count->x() + count->width() - count->sizeHint().width(), 467);
        QVERIFY(count->alignment() & Qt::AlignRight);
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
        const std::string saved = "TGM\r\nBarcodeFormat: XY##\r\nRotation: 1\r\nType: 1\r\nRenameRaw: 0\r\n"
                                  "RenameWO: 1\r\nSuffixFormat: @\r\nFirstSuffix: 1\r\n";
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
                                        "FirstSuffixCheckBox", "ModeRadioGroupItem1"})
                Child<QAbstractButton>(form, control)->click();
            Child<QLineEdit>(form, "SuffixFormatEdit")->setText("@");
            Child<QAction>(form, "SaveSettings1")->trigger();
            QCOMPARE(start->Read("Config.txt"), saved);
            QCOMPARE(hook->messages, std::vector<std::string>{"Settings saved"});
        }
        // The next start restores what was saved, but neither Mode nor the
        // ignore box; a type out of range selects no item, which runs as Close-up.
        start->Write("Config.txt", ReplaceAll(saved, "Type: 1", "Type: -5"));
        TForm1 again;
        QCOMPARE(ConfigText(again.ControlValues()), ReplaceAll(saved, "Type: 1", "Type: -1"));
        QVERIFY(!Child<QRadioButton>(again, "TypeRadioGroupItem0")->isChecked());
        QVERIFY(!Child<QRadioButton>(again, "TypeRadioGroupItem1")->isChecked());
        QCOMPARE(again.ModeIndex(), 0);
        QVERIFY(again.IgnoreMatching());
    }
};

}  // namespace tagmora

TAGMORA_GUI_TEST_MAIN(tagmora::MainWindowTest)
#include "main_window_test.moc"
