#pragma once
// The main window: the options of a run, the folder to run on, Execute and
// the menus. It serves the options to the core live, as they stand when read.
#include <QHash>
#include <QMainWindow>
#include <QString>
#include <memory>
#include <optional>
#include <string>

#include "app/context.h"
#include "app/run_report.h"
#include "base/run_settings.h"
#include "gui/qt_front_end.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFileSystemModel;
class QGroupBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QSocketNotifier;
class QTimer;
class QTreeView;

namespace tagmora {

class FolderWatch;
class TAboutBox;
class THelpForm;
class TLogViewerForm;
class TManualForm;
class TNameCheckForm;
class TPhotoForm;

class TForm1 : public QMainWindow, public RunSettings {
    Q_OBJECT
public:
    // Records the current directory as the start folder and reads Config.txt
    // from it; then creates the program's other windows.
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    int ModeIndex() const override;
    int TypeIndex() const override;
    int RotationIndex() const override;
    std::string BarcodeFormat() const override;
    bool IgnoreMatching() const override;
    bool RenameRaw() const override;
    bool RenameWithoutBarcode() const override;
    bool SuffixAll() const override;
    std::string SuffixFormat() const override;
    bool PauseEachLine() const override;
    std::string PhotoFolder() const override;
    bool DeepSearch() const override;

    // The option controls as plain values, and the other way round.
    SettingValues ControlValues() const;
    void ApplyToControls(const SettingValues& values);

    // Opens a folder in the folder list, as a click on it would; false when
    // it is no folder the list can show.
    bool SelectFolder(const QString& folder);
    // The folder named on the command line; a name that is no folder is said so.
    void OpenFolderArgument(const QString& folder);

    Context& Ctx() { return ctx_; }
    TPhotoForm* PhotoForm() const { return photoForm_; }
    TAboutBox* AboutBox() const { return aboutBox_; }
    TLogViewerForm* LogViewerForm() const { return logViewerForm_; }
    TManualForm* ManualForm() const { return manualForm_; }
    THelpForm* HelpForm() const { return helpForm_; }

    void ModeRadioGroupClick();
    void SourceDriveComboChange();
    void SourceDirComboChange();
    void ExecuteButtonClick();
    // Watch starts watching the folder; the same button, then captioned
    // Stop, ends the watch after the photograph in hand.
    void WatchButtonClick();
    void SaveSettings1Click();
    void UndoLastRun1Click();
    void UndoHistory1Click();
    void ExportLastRun1Click();
    void ExportSymbiota1Click();
    void CheckNames1Click();
    void Exit1Click();
    void ViewLogFile1Click();
    void ReviewProblems1Click();
    void Help2Click();
    void About1Click();

protected:
    // Closing the window during a run asks whether to stop it.
    void closeEvent(QCloseEvent* event) override;
    // A folder dropped on the window is chosen.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // True when the program may end now. During a run, asks whether to stop
    // it; stopping aborts the run, and the program ends when it is over.
    bool MayQuitNow();
    [[noreturn]] static void QuitAtOnce();
    void BuildControls();
    QLayout* BuildFolderColumn();
    QLayout* BuildOptionsColumn();
    QGroupBox* BuildMultipleImages();
    QLayout* BuildRunButtons();
    void StepWatch();
    void EndWatch();
    void ShowRunSummary(const std::string& summary);
    void ConnectControls();
    void BuildMenu();
    void ShowFolderInfo();
    void FillDrives();
    void ShowFolderInList(const QString& folder);
    void FolderListCurrentChanged();
    QString DriveOf(const QString& folder) const;
    std::optional<std::string> LogToReport();
    void SaveReport(const std::string& log, const ReportLayout& layout, const QString& caption, const QString& nameEnd);

    CoreState core_;
    QtFrontEnd ui_;
    bool quitWhenRunEnds_ = false;
    Context ctx_;

    QComboBox* sourceDriveCombo_ = nullptr;
    QTreeView* sourceDirCombo_ = nullptr;
    QFileSystemModel* folderModel_ = nullptr;
    QButtonGroup* modeRadioGroup_ = nullptr;
    QButtonGroup* typeRadioGroup_ = nullptr;
    QButtonGroup* rotationRadio_ = nullptr;
    QLineEdit* formatEdit_ = nullptr;
    QCheckBox* dontRenameCheckBox_ = nullptr;
    QCheckBox* renameCheckBox_ = nullptr;
    QCheckBox* renameWOCheckBox_ = nullptr;
    QCheckBox* deepSearchCheckBox_ = nullptr;
    QCheckBox* firstSuffixCheckBox_ = nullptr;
    QLineEdit* suffixFormatEdit_ = nullptr;
    QPushButton* executeButton_ = nullptr;
    QPushButton* watchButton_ = nullptr;
    QCheckBox* pauseCheckBox_ = nullptr;
    QLineEdit* folderPath_ = nullptr;  // the chosen folder in full, under the list
    QLabel* folderCount_ = nullptr;    // how many photographs it holds
    QLabel* runSummary_ = nullptr;     // the status bar's record of the last run

    QString folder_;                        // the folder list's folder
    QString drive_;                         // the drive box's drive (a mount point)
    QHash<QString, QString> driveFolders_;  // each drive's last folder, as Windows keeps them
    bool movingFolderList_ = false;         // the list is being moved by the program, not the user
    QString symbiotaPrefix_;                // the URL prefix last typed for a Symbiota export

    // The watch in hand: the core's watcher, woken by its notices or when a
    // file being written is due for a look.
    std::unique_ptr<FolderWatch> watch_;
    QSocketNotifier* watchNotifier_ = nullptr;
    QTimer* watchLook_ = nullptr;
    bool stopAsked_ = false;
    bool inWatchStep_ = false;

    TAboutBox* aboutBox_ = nullptr;
    TPhotoForm* photoForm_ = nullptr;
    TLogViewerForm* logViewerForm_ = nullptr;
    TManualForm* manualForm_ = nullptr;
    THelpForm* helpForm_ = nullptr;
    TNameCheckForm* nameCheckForm_ = nullptr;
};

}  // namespace tagmora
