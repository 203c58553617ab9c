// The main window: its controls as designed, the options read from and
// written to Config.txt, and the rules that show, hide and enable controls.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStorageInfo>
#include <QTest>
#include <QTreeView>

#include <filesystem>
#include <memory>

#include "gui/main_form.h"
#include "gui/photo_form.h"
#include "gui_test_support.h"

namespace tagmora {

using testing::RecordingHook;
using testing::ScratchStartFolder;

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ScratchStartFolder> start;
    std::unique_ptr<RecordingHook> hook;

    template <typename T>
    static T* Child(QObject& parent, const char* name) {
        T* child = parent.findChild<T*>(name);
        if (!child) qFatal("no control %s", name);
        return child;
    }
    static QString Bytes(const std::string& text) { return QString::fromLatin1(text.data(), qsizetype(text.size())); }

private slots:
    void init() {
        start = std::make_unique<ScratchStartFolder>();
        hook = std::make_unique<RecordingHook>();
    }
    void cleanup() {
        hook.reset();
        start.reset();
    }

    void startsWithTheDesignedControlsAndDefaults() {
        TForm1 form;
        QCOMPARE(form.windowTitle(), QString("Tagmora"));
        QCOMPARE(form.centralWidget()->size(), QSize(443, 330));
        QCOMPARE(form.minimumSize(), form.maximumSize());  // not resizable
        QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(form.windowFlags() & Qt::WindowMinimizeButtonHint);

        const struct {
            const char* name;
            QRect geometry;
        } placed[] = {
            {"SourceDriveCombo", {8, 8, 211, 19}},     {"SourceDirCombo", {8, 32, 211, 217}},
            {"ModeRadioGroup", {240, 8, 97, 73}},      {"TypeRadioGroup", {344, 8, 89, 73}},
            {"RotationRadio", {240, 96, 97, 73}},      {"FormatEdit", {248, 200, 177, 21}},
            {"DontRenameCheckBox", {248, 227, 185, 25}}, {"GroupBox1", {8, 256, 281, 65}},
            {"RenameCheckBox", {8, 15, 113, 25}},      {"RenameWOCheckBox", {8, 40, 129, 17}},
            {"FirstSuffixCheckBox", {151, 19, 97, 17}}, {"SuffixFormatEdit", {225, 40, 41, 21}},
            {"ExecuteButton", {312, 272, 97, 25}},     {"PauseCheckBox", {312, 304, 105, 17}},
        };
        for (const auto& control : placed) QCOMPARE(Child<QWidget>(form, control.name)->geometry(), control.geometry);
        QCOMPARE(Child<QLabel>(form, "Label1")->pos(), QPoint(248, 184));
        QCOMPARE(Child<QLabel>(form, "Label2")->pos(), QPoint(151, 42));

        const struct {
            const char* name;
            const char* caption;
        } captions[] = {
            {"ModeRadioGroupItem0", "Production"}, {"ModeRadioGroupItem1", "Demo/Debug"},
            {"TypeRadioGroupItem0", "General"},    {"TypeRadioGroupItem1", "Close-up"},
            {"RotationRadioItem0", "Horizontal"},  {"RotationRadioItem1", "Vertical"},
            {"DontRenameCheckBox", "Ignore if matches Format String"},
            {"RenameCheckBox", "Rename Raw files"}, {"RenameWOCheckBox", "Rename W/O Barcode"},
            {"FirstSuffixCheckBox", "Suffix All Images"}, {"ExecuteButton", "Execute"},
            {"PauseCheckBox", "Pause Each Line"},
        };
        for (const auto& control : captions)
            QCOMPARE(Child<QAbstractButton>(form, control.name)->text(), QString(control.caption));
        QCOMPARE(Child<QGroupBox>(form, "ModeRadioGroup")->title(), QString("Mode"));
        QCOMPARE(Child<QGroupBox>(form, "TypeRadioGroup")->title(), QString("Type"));
        QCOMPARE(Child<QGroupBox>(form, "RotationRadio")->title(), QString("Orientation"));
        QCOMPARE(Child<QGroupBox>(form, "GroupBox1")->title(), QString("Multiple Images"));
        QCOMPARE(Child<QLabel>(form, "Label1")->text(), QString("Barcode Text Format String"));
        QCOMPARE(Child<QLabel>(form, "Label2")->text(), QString("Suffix Format"));

        // The tool tips as the curators know them, typing slips included.
        const struct {
            const char* name;
            const char* tip;
        } tips[] = {
            {"ModeRadioGroup", "Debug doesn't rename images, and shows scan lines"},
            {"TypeRadioGroup", "General works for most "},
            {"RotationRadio", "Bar code running across the image, or up and down."},
            {"FormatEdit", "Letters, numbers match.  # is wild digit.  @ is wild alpha char. ? can be anythiing, even blank"},
            {"DontRenameCheckBox", "Don't process already renamed images"},
            {"SourceDirCombo", "Double click folder so it appears open "},
            {"RenameCheckBox", "Rename all files with same name, different extension"},
            {"RenameWOCheckBox", "Raname images without barcodes with the last found barcode."},
            {"FirstSuffixCheckBox", "Add suffix to every file"},
            {"SuffixFormatEdit", "@ = a,b,c...# = 1,2,3...  ### = 001, 002, 003,... Other characters are literal."},
        };
        for (const auto& control : tips) QCOMPARE(Child<QWidget>(form, control.name)->toolTip(), QString(control.tip));

        // Defaults.
        QCOMPARE(form.ModeIndex(), 0);
        QCOMPARE(form.TypeIndex(), 0);
        QCOMPARE(form.RotationIndex(), 0);
        QCOMPARE(form.BarcodeFormat(), std::string("QSZ0######"));
        QVERIFY(form.IgnoreMatching());
        QVERIFY(form.RenameRaw());
        QVERIFY(form.RenameWithoutBarcode());
        QVERIFY(!form.SuffixAll());
        QCOMPARE(form.SuffixFormat(), std::string());
        QVERIFY(Child<QCheckBox>(form, "PauseCheckBox")->isHidden());
        QVERIFY(!form.PauseEachLine());

        // The start folder is where the program was started, and the folder
        // list shows it; Execute is enabled although it holds no photograph.
        QCOMPARE(QString::fromLocal8Bit(form.Ctx().run.StartFolder), start->Path());
        QCOMPARE(QString::fromLocal8Bit(form.PhotoFolder()), start->Path());
        QVERIFY(Child<QPushButton>(form, "ExecuteButton")->isEnabled());
        auto* drives = Child<QComboBox>(form, "SourceDriveCombo");
        QCOMPARE(drives->currentData().toString(), QStorageInfo(start->Path()).rootPath());

        // The menu, with the Manual Rename item hidden.
        const struct {
            const char* name;
            const char* caption;
            bool icon;
        } items[] = {
            {"SaveSettings1", "Save Settings", true}, {"Exit1", "Exit", true},
            {"ViewLogFile1", "View Log File", true},  {"ReviewProblems1", "Manual Rename", false},
            {"Help2", "Help", true},                  {"About1", "About", false},
        };
        for (const auto& item : items) {
            auto* action = Child<QAction>(form, item.name);
            QCOMPARE(action->text(), QString(item.caption));
            QCOMPARE(!action->icon().isNull(), item.icon);
        }
        QVERIFY(!Child<QAction>(form, "ReviewProblems1")->isVisible());
        QStringList menus;
        for (QAction* menu : form.menuBar()->actions()) menus << menu->text();
        QCOMPARE(menus, (QStringList{"File", "View", "Help"}));

        // The photo window, made at start-up and hidden until a run.
        TPhotoForm* photo = form.PhotoForm();
        QVERIFY(!photo->isVisible());
        QCOMPARE(photo->windowTitle(), QString("Tagmora"));
        QCOMPARE(photo->size(), QSize(648, 626));
        QCOMPARE(Child<QWidget>(*photo, "Image1")->geometry(), QRect(16, 40, 617, 561));
        QCOMPARE(Child<QPushButton>(*photo, "Button1")->text(), QString("Abort"));
        QCOMPARE(Child<QPushButton>(*photo, "Button1")->geometry(), QRect(256, 8, 65, 25));
        QCOMPARE(Child<QPushButton>(*photo, "Button2")->text(), QString("Skip"));
        QCOMPARE(Child<QPushButton>(*photo, "Button2")->geometry(), QRect(336, 8, 65, 25));
        QCOMPARE(Child<QLabel>(*photo, "StaticText1")->text(), QString("Image Name:"));
        QCOMPARE(Child<QLabel>(*photo, "CountLabel")->text(), QString("0"));
        QCOMPARE(Child<QLabel>(*photo, "Label1")->text(), QString("Labels"));
        QVERIFY(hook->messages.empty());
    }

    void readsConfigOntoTheControlsWhenCreated() {
        start->folder.Write("Config.txt",
                            "TGM \r\nBarcodeFormat: ABC@##\r\nRotation: 7\r\nType: -5\r\nRenameRaw: yes\r\n"
                            "RenameWO: 0\r\nSuffixFormat: -#\r\nFirstSuffix: 1\r\n");
        TForm1 form;
        QCOMPARE(form.BarcodeFormat(), std::string("ABC@##"));
        QCOMPARE(form.RotationIndex(), 1);
        QVERIFY(Child<QRadioButton>(form, "RotationRadioItem1")->isChecked());
        // No type selected at all: both items are clear, and a run reads it as Close-up.
        QCOMPARE(form.TypeIndex(), -1);
        QVERIFY(!Child<QRadioButton>(form, "TypeRadioGroupItem0")->isChecked());
        QVERIFY(!Child<QRadioButton>(form, "TypeRadioGroupItem1")->isChecked());
        QVERIFY(!form.RenameRaw());
        QVERIFY(!form.RenameWithoutBarcode());
        QCOMPARE(form.SuffixFormat(), std::string("-#"));
        QVERIFY(form.SuffixAll());
        // What Config.txt does not hold keeps its default.
        QCOMPARE(form.ModeIndex(), 0);
        QVERIFY(form.IgnoreMatching());
        QVERIFY(hook->messages.empty());
    }

    void anOldConfigIsReportedAndLeavesTheDefaults() {
        start->folder.Write("Config.txt", "tgm\r\nBarcodeFormat: ABC\r\n");
        TForm1 form;
        QCOMPARE(hook->messages, std::vector<std::string>{"Config file in old format. Cannot be read."});
        QCOMPARE(hook->messageCaptions, std::vector<std::string>{"Tagmora"});
        QCOMPARE(form.BarcodeFormat(), std::string("QSZ0######"));
    }

    void demoModeOffersPauseAndProductionTakesItAway() {
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto* pause = Child<QCheckBox>(form, "PauseCheckBox");
        auto* demo = Child<QRadioButton>(form, "ModeRadioGroupItem1");
        QTest::mouseClick(demo, Qt::LeftButton, {}, QPoint(6, demo->height() / 2));
        QCOMPARE(form.ModeIndex(), 1);
        QVERIFY(pause->isVisible());
        QTest::mouseClick(pause, Qt::LeftButton, {}, QPoint(6, pause->height() / 2));
        QVERIFY(form.PauseEachLine());

        auto* production = Child<QRadioButton>(form, "ModeRadioGroupItem0");
        QTest::mouseClick(production, Qt::LeftButton, {}, QPoint(6, production->height() / 2));
        QCOMPARE(form.ModeIndex(), 0);
        QVERIFY(!pause->isVisible());
        QVERIFY(!form.PauseEachLine());  // a hidden box must not pause a run

        QTest::mouseClick(demo, Qt::LeftButton, {}, QPoint(6, demo->height() / 2));
        QVERIFY(pause->isVisible());
        QVERIFY(!pause->isChecked());
    }

    void executeIsEnabledOnlyForAFolderOfferingJpegFiles() {
        namespace fs = std::filesystem;
        const testing::TempFolder& root = start->folder;
        fs::create_directories(root / "photos");
        root.Write("photos/a.JPG", "x");
        fs::create_directories(root / "notes");
        root.Write("notes/a.txt", "x");
        fs::create_directories(root / "folderfirst/a.jpg");  // the first *.jpg entry is a folder
        root.Write("folderfirst/b.jpg", "x");
        fs::create_directories(root / "hidden");
        root.Write("hidden/.a.jpg", "x");  // hidden files count for this test

        TForm1 form;
        auto* execute = Child<QPushButton>(form, "ExecuteButton");
        const struct {
            const char* folder;
            bool enabled;
        } cases[] = {{"notes", false}, {"photos", true}, {"folderfirst", false}, {"hidden", true}, {"notes", false}};
        for (const auto& c : cases) {
            form.SelectFolder(start->Path() + "/" + c.folder);
            QCOMPARE(QString::fromLocal8Bit(form.PhotoFolder()), start->Path() + "/" + c.folder);
            QCOMPARE(execute->isEnabled(), c.enabled);
        }

        // Choosing the drive again shows that drive's folder and runs the test anew.
        form.SelectFolder(start->Path() + "/photos");
        QVERIFY(execute->isEnabled());
        fs::remove(root / "photos/a.JPG");
        auto* drives = Child<QComboBox>(form, "SourceDriveCombo");
        emit drives->activated(drives->currentIndex());
        QCOMPARE(QString::fromLocal8Bit(form.PhotoFolder()), start->Path() + "/photos");
        QVERIFY(!execute->isEnabled());
    }

    void saveSettingsWritesConfigByteForByte() {
        {
            TForm1 form;
            Child<QAction>(form, "SaveSettings1")->trigger();
            QCOMPARE(Bytes(start->folder.Read("Config.txt")),
                     QString("TGM\r\nBarcodeFormat: QSZ0######\r\nRotation: 0\r\nType: 0\r\nRenameRaw: 1\r\n"
                             "RenameWO: 1\r\nSuffixFormat: \r\nFirstSuffix: 0\r\n"));
            QCOMPARE(hook->messages, std::vector<std::string>{"Settings saved"});

            Child<QLineEdit>(form, "FormatEdit")->setText("XY##");
            Child<QRadioButton>(form, "RotationRadioItem1")->click();
            Child<QRadioButton>(form, "TypeRadioGroupItem1")->click();
            Child<QCheckBox>(form, "RenameCheckBox")->click();
            Child<QCheckBox>(form, "FirstSuffixCheckBox")->click();
            Child<QLineEdit>(form, "SuffixFormatEdit")->setText("@");
            Child<QRadioButton>(form, "ModeRadioGroupItem1")->click();  // not stored
            Child<QAction>(form, "SaveSettings1")->trigger();
            QCOMPARE(Bytes(start->folder.Read("Config.txt")),
                     QString("TGM\r\nBarcodeFormat: XY##\r\nRotation: 1\r\nType: 1\r\nRenameRaw: 0\r\n"
                             "RenameWO: 1\r\nSuffixFormat: @\r\nFirstSuffix: 1\r\n"));
        }
        // The next start restores what was saved.
        TForm1 again;
        QCOMPARE(again.BarcodeFormat(), std::string("XY##"));
        QCOMPARE(again.RotationIndex(), 1);
        QCOMPARE(again.TypeIndex(), 1);
        QVERIFY(!again.RenameRaw());
        QVERIFY(again.SuffixAll());
        QCOMPARE(again.SuffixFormat(), std::string("@"));
        QCOMPARE(again.ModeIndex(), 0);
    }

    void aFailedSaveSaysSoAndNothingElse() {
        TForm1 form;
        std::filesystem::create_directory(start->folder / "Config.txt");  // cannot be replaced by a file
        Child<QAction>(form, "SaveSettings1")->trigger();
        QCOMPARE(hook->messages,
                 std::vector<std::string>{"Unable to create or open file " + (start->folder / "Config.txt")});
    }

    void theOptionsAreReadLive() {
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto* format = Child<QLineEdit>(form, "FormatEdit");
        format->clear();
        QTest::keyClicks(format, "AB#");
        QCOMPARE(form.BarcodeFormat(), std::string("AB#"));
        QCOMPARE(form.Ctx().Settings().BarcodeFormat(), std::string("AB#"));
        Child<QCheckBox>(form, "DontRenameCheckBox")->click();
        QVERIFY(!form.Ctx().Settings().IgnoreMatching());
    }
};

}  // namespace tagmora

TAGMORA_GUI_TEST_MAIN(tagmora::MainWindowTest)
#include "main_window_test.moc"
