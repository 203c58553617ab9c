#include "gui/main_form.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QSortFilterProxyModel>
#include <QStorageInfo>
#include <QTreeView>

#include <cstdio>
#include <cstdlib>

#include "app/batch_run.h"
#include "app/config_file.h"
#include "base/file_helpers.h"
#include "base/file_system.h"
#include "app/manual_rename.h"
#include "base/run_log.h"
#include "gui/about_box.h"
#include "gui/application.h"
#include "gui/fixed_layout.h"
#include "gui/help_form.h"
#include "gui/icons.h"
#include "gui/log_viewer_form.h"
#include "gui/manual_form.h"
#include "gui/photo_form.h"

namespace tagmora {

namespace {

std::string Local8Bit(const QString& text) { return text.toLocal8Bit().toStdString(); }

// The folders of one drive: the drive's own folder as the top item, and
// below it every folder on it. Folders above the drive are passed through
// only so that the drive's folder can be reached.
class DriveFolders final : public QSortFilterProxyModel {
public:
    explicit DriveFolders(QObject* parent) : QSortFilterProxyModel(parent) {}

    void SetDrive(const QString& drive) {
        drive_ = drive;
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override {
        const auto* files = static_cast<const QFileSystemModel*>(sourceModel());
        const QString path = files->filePath(files->index(sourceRow, 0, sourceParent));
        return path == drive_ || Inside(path, drive_) || Inside(drive_, path);
    }

private:
    static bool Inside(const QString& path, const QString& folder) {
        return folder.endsWith('/') ? path.startsWith(folder) : path.startsWith(folder + '/');
    }

    QString drive_;
};

// A radio group: a framed caption over two exclusive items, numbered 0 and 1.
QButtonGroup* MakeRadioGroup(QWidget* parent, const char* objectName, const QString& caption,
                             const QStringList& items, QRect geometry) {
    auto* frame = new QGroupBox(caption, parent);
    frame->setObjectName(objectName);
    frame->setGeometry(geometry);
    auto* group = new QButtonGroup(frame);
    for (int i = 0; i < items.size(); ++i) {
        auto* item = new QRadioButton(items[i], frame);
        item->setObjectName(QString(objectName) + "Item" + QString::number(i));
        item->setGeometry(8, 18 + 24 * i, geometry.width() - 12, 20);
        group->addButton(item, i);
    }
    return group;
}

// Index -1 leaves no item selected, as a radio group allows.
void SetRadioIndex(QButtonGroup* group, int index) {
    if (QAbstractButton* item = group->button(index)) {
        item->setChecked(true);
        return;
    }
    group->setExclusive(false);
    for (QAbstractButton* item : group->buttons()) item->setChecked(false);
    group->setExclusive(true);
}

QCheckBox* MakeCheckBox(QWidget* parent, const char* objectName, const QString& caption, QRect geometry,
                        bool checked) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(objectName);
    box->setGeometry(geometry);
    box->setChecked(checked);
    return box;
}

QLineEdit* MakeEdit(QWidget* parent, const char* objectName, QRect geometry) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    edit->setGeometry(geometry);
    return edit;
}

// The current directory, without a trailing separator unless it is the root.
QString CurrentFolder() { return QDir::toNativeSeparators(QDir::currentPath()); }

}  // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent), ui_(*this, this), ctx_(core_.ContextFor(ui_)) {
    setObjectName("Form1");
    setWindowTitle(kApplicationTitle);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFont(CompactFont(font()));

    BuildControls();
    BuildMenu();
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    // The start folder, shown in the folder list; Execute stays enabled
    // whatever it holds until the user picks another folder.
    core_.run.StartFolder = Local8Bit(CurrentFolder());
    folder_ = CurrentFolder();
    FillDrives();
    ShowFolderInList(folder_);

    SettingValues values = ControlValues();
    LoadConfig(core_.run.StartFolder, values, ui_);
    ApplyToControls(values);

    aboutBox_ = new TAboutBox(this);
    photoForm_ = new TPhotoForm(ctx_, this);
    ui_.SetPhotoForm(photoForm_);
    logViewerForm_ = new TLogViewerForm(this);
    manualForm_ = new TManualForm(ctx_, this);
    helpForm_ = new THelpForm(this);

    adjustSize();
    if (QScreen* display = screen()) move(display->availableGeometry().center() - rect().center());
}

TForm1::~TForm1() = default;

void TForm1::BuildControls() {
    auto* client = new QWidget(this);
    client->setObjectName("ClientArea");
    client->setFixedSize(443, 330);
    setCentralWidget(client);

    sourceDriveCombo_ = new QComboBox(client);
    sourceDriveCombo_->setObjectName("SourceDriveCombo");
    sourceDriveCombo_->setGeometry(8, 8, 211, 19);

    folderModel_ = new QFileSystemModel(this);
    folderModel_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    auto* driveFolders = new DriveFolders(this);
    driveFolders->setSourceModel(folderModel_);
    driveFolders->setSortCaseSensitivity(Qt::CaseInsensitive);
    sourceDirCombo_ = new QTreeView(client);
    sourceDirCombo_->setObjectName("SourceDirCombo");
    sourceDirCombo_->setGeometry(8, 32, 211, 217);
    sourceDirCombo_->setModel(driveFolders);
    sourceDirCombo_->setHeaderHidden(true);
    for (int column = 1; column < folderModel_->columnCount(); ++column) sourceDirCombo_->hideColumn(column);
    sourceDirCombo_->setSortingEnabled(true);
    sourceDirCombo_->sortByColumn(0, Qt::AscendingOrder);
    sourceDirCombo_->setToolTip("Double click folder so it appears open ");

    modeRadioGroup_ = MakeRadioGroup(client, "ModeRadioGroup", "Mode", {"Production", "Demo/Debug"},
                                     QRect(240, 8, 97, 73));
    typeRadioGroup_ = MakeRadioGroup(client, "TypeRadioGroup", "Type", {"General", "Close-up"},
                                     QRect(344, 8, 89, 73));
    rotationRadio_ = MakeRadioGroup(client, "RotationRadio", "Orientation", {"Horizontal", "Vertical"},
                                    QRect(240, 96, 97, 73));
    client->findChild<QGroupBox*>("ModeRadioGroup")->setToolTip("Debug doesn't rename images, and shows scan lines");
    client->findChild<QGroupBox*>("TypeRadioGroup")->setToolTip("General works for most ");
    client->findChild<QGroupBox*>("RotationRadio")->setToolTip("Bar code running across the image, or up and down.");

    PlaceLabel(client, "Label1", "Barcode Text Format String", 248, 184);
    formatEdit_ = MakeEdit(client, "FormatEdit", QRect(248, 200, 177, 21));
    formatEdit_->setToolTip(
        "Letters, numbers match.  # is wild digit.  @ is wild alpha char. ? can be anythiing, even blank");
    dontRenameCheckBox_ = MakeCheckBox(client, "DontRenameCheckBox", "Ignore if matches Format String",
                                       QRect(248, 227, 185, 25), true);
    dontRenameCheckBox_->setToolTip("Don't process already renamed images");
    deepSearchCheckBox_ = MakeCheckBox(client, "DeepSearchCheckBox", "Deep Search", QRect(344, 100, 89, 17), true);
    deepSearchCheckBox_->setToolTip(
        "When the fast search finds no barcode, look again at the whole photograph: any angle, every Code 128 code "
        "set");

    auto* groupBox1 = new QGroupBox("Multiple Images", client);
    groupBox1->setObjectName("GroupBox1");
    groupBox1->setGeometry(8, 256, 281, 65);
    renameCheckBox_ = MakeCheckBox(groupBox1, "RenameCheckBox", "Rename Raw files", QRect(8, 15, 113, 25), true);
    renameCheckBox_->setToolTip("Rename all files with same name, different extension");
    renameWOCheckBox_ =
        MakeCheckBox(groupBox1, "RenameWOCheckBox", "Rename W/O Barcode", QRect(8, 40, 129, 17), true);
    renameWOCheckBox_->setToolTip("Raname images without barcodes with the last found barcode.");
    firstSuffixCheckBox_ =
        MakeCheckBox(groupBox1, "FirstSuffixCheckBox", "Suffix All Images", QRect(151, 19, 97, 17), false);
    firstSuffixCheckBox_->setToolTip("Add suffix to every file");
    PlaceLabel(groupBox1, "Label2", "Suffix Format", 151, 42);
    suffixFormatEdit_ = MakeEdit(groupBox1, "SuffixFormatEdit", QRect(225, 40, 41, 21));
    suffixFormatEdit_->setToolTip("@ = a,b,c...# = 1,2,3...  ### = 001, 002, 003,... Other characters are literal.");

    executeButton_ = new QPushButton("Execute", client);
    executeButton_->setObjectName("ExecuteButton");
    executeButton_->setGeometry(312, 272, 97, 25);
    pauseCheckBox_ = MakeCheckBox(client, "PauseCheckBox", "Pause Each Line", QRect(312, 304, 105, 17), false);
    pauseCheckBox_->hide();

    for (QAbstractButton* control : client->findChildren<QAbstractButton*>()) FitCaption(control);

    SetRadioIndex(modeRadioGroup_, 0);
    SetRadioIndex(typeRadioGroup_, 0);
    SetRadioIndex(rotationRadio_, 0);
    formatEdit_->setText("QSZ0######");

    connect(modeRadioGroup_, &QButtonGroup::buttonToggled, this, Guarded([this] { ModeRadioGroupClick(); }));
    connect(sourceDriveCombo_, &QComboBox::activated, this, Guarded([this] { SourceDriveComboChange(); }));
    connect(sourceDirCombo_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            Guarded([this] { FolderListCurrentChanged(); }));
    // The folders arrive from the file system a little later; keep the
    // folder in hand in view as they do.
    connect(folderModel_, &QFileSystemModel::directoryLoaded, this, [this](const QString& loaded) {
        if (folder_ == loaded || folder_.startsWith(loaded.endsWith('/') ? loaded : loaded + '/'))
            sourceDirCombo_->scrollTo(sourceDirCombo_->currentIndex());
    });
    connect(executeButton_, &QPushButton::clicked, this, Guarded([this] { ExecuteButtonClick(); }));
}

void TForm1::BuildMenu() {
    QMenuBar* mainMenu1 = menuBar();
    mainMenu1->setObjectName("MainMenu1");
    auto addItem = [this](QMenu* menu, const char* objectName, const QString& caption, const QIcon& icon,
                          void (TForm1::*handler)()) {
        QAction* item = menu->addAction(icon, caption);
        item->setObjectName(objectName);
        connect(item, &QAction::triggered, this, Guarded([this, handler] { (this->*handler)(); }));
        return item;
    };
    QMenu* file = mainMenu1->addMenu("File");
    addItem(file, "SaveSettings1", "Save Settings", SaveIcon(), &TForm1::SaveSettings1Click);
    addItem(file, "Exit1", "Exit", ExitIcon(), &TForm1::Exit1Click);
    QMenu* view = mainMenu1->addMenu("View");
    addItem(view, "ViewLogFile1", "View Log File", LogIcon(), &TForm1::ViewLogFile1Click);
    addItem(view, "ReviewProblems1", "Manual Rename", QIcon(), &TForm1::ReviewProblems1Click)->setVisible(false);
    QMenu* help = mainMenu1->addMenu("Help");
    addItem(help, "Help2", "Help", HelpIcon(), &TForm1::Help2Click);
    addItem(help, "About1", "About", QIcon(), &TForm1::About1Click);

    // The menu item stays hidden; the review is reached from the keyboard.
    auto* manualRename = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_M), this);
    manualRename->setObjectName("ManualRenameShortcut");
    connect(manualRename, &QShortcut::activated, this, Guarded([this] { ReviewProblems1Click(); }));
}

// The drives are the mounted volumes; each is shown by its mount point.
void TForm1::FillDrives() {
    drive_ = DriveOf(folder_);
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.isReady() && !roots.contains(volume.rootPath())) roots << volume.rootPath();
    if (!roots.contains(drive_)) roots << drive_;
    roots.sort();
    sourceDriveCombo_->clear();
    for (const QString& root : roots) {
        const QString label = QStorageInfo(root).name();
        sourceDriveCombo_->addItem(label.isEmpty() ? root : root + " [" + label + "]", root);
    }
    sourceDriveCombo_->setCurrentIndex(sourceDriveCombo_->findData(drive_));
    driveFolders_[drive_] = folder_;
}

QString TForm1::DriveOf(const QString& folder) const {
    const QString root = QStorageInfo(folder).rootPath();
    return root.isEmpty() ? QDir::rootPath() : root;
}

void TForm1::ShowFolderInList(const QString& folder) {
    movingFolderList_ = true;
    auto* driveFolders = static_cast<DriveFolders*>(sourceDirCombo_->model());
    folderModel_->setRootPath(drive_);
    driveFolders->SetDrive(drive_);
    sourceDirCombo_->setRootIndex(driveFolders->mapFromSource(folderModel_->index(drive_).parent()));
    const QModelIndex current = driveFolders->mapFromSource(folderModel_->index(folder));
    sourceDirCombo_->setCurrentIndex(current);
    sourceDirCombo_->scrollTo(current);
    sourceDirCombo_->expand(current);
    movingFolderList_ = false;
}

void TForm1::FolderListCurrentChanged() {
    if (movingFolderList_) return;
    const auto* driveFolders = static_cast<const DriveFolders*>(sourceDirCombo_->model());
    const QString folder = folderModel_->filePath(driveFolders->mapToSource(sourceDirCombo_->currentIndex()));
    if (folder.isEmpty() || folder == folder_) return;
    folder_ = QDir::toNativeSeparators(folder);
    SourceDirComboChange();
}

void TForm1::SelectFolder(const QString& folder) {
    const QString path = QDir::toNativeSeparators(QDir(folder).absolutePath());
    const QString drive = DriveOf(path);
    if (drive != drive_) {
        const int index = sourceDriveCombo_->findData(drive);
        if (index < 0) return;
        sourceDriveCombo_->setCurrentIndex(index);
        SourceDriveComboChange();
    }
    const auto* driveFolders = static_cast<const DriveFolders*>(sourceDirCombo_->model());
    sourceDirCombo_->setCurrentIndex(driveFolders->mapFromSource(folderModel_->index(path)));
}

int TForm1::ModeIndex() const { return modeRadioGroup_->checkedId(); }
int TForm1::TypeIndex() const { return typeRadioGroup_->checkedId(); }
int TForm1::RotationIndex() const { return rotationRadio_->checkedId(); }
std::string TForm1::BarcodeFormat() const { return Local8Bit(formatEdit_->text()); }
bool TForm1::IgnoreMatching() const { return dontRenameCheckBox_->isChecked(); }
bool TForm1::RenameRaw() const { return renameCheckBox_->isChecked(); }
bool TForm1::RenameWithoutBarcode() const { return renameWOCheckBox_->isChecked(); }
bool TForm1::SuffixAll() const { return firstSuffixCheckBox_->isChecked(); }
std::string TForm1::SuffixFormat() const { return Local8Bit(suffixFormatEdit_->text()); }
bool TForm1::PauseEachLine() const { return pauseCheckBox_->isChecked(); }
std::string TForm1::PhotoFolder() const { return Local8Bit(folder_); }
bool TForm1::DeepSearch() const { return deepSearchCheckBox_->isChecked(); }

SettingValues TForm1::ControlValues() const {
    SettingValues values;
    values.ModeIndex = ModeIndex();
    values.TypeIndex = TypeIndex();
    values.RotationIndex = RotationIndex();
    values.BarcodeFormat = BarcodeFormat();
    values.IgnoreMatching = IgnoreMatching();
    values.RenameRaw = RenameRaw();
    values.RenameWithoutBarcode = RenameWithoutBarcode();
    values.SuffixAll = SuffixAll();
    values.SuffixFormat = SuffixFormat();
    values.PauseEachLine = PauseEachLine();
    values.PhotoFolder = PhotoFolder();
    values.DeepSearch = DeepSearch();
    return values;
}

// The photo folder is not an option of Config.txt and is left alone.
void TForm1::ApplyToControls(const SettingValues& values) {
    SetRadioIndex(modeRadioGroup_, ClampRadioIndex(values.ModeIndex));
    SetRadioIndex(typeRadioGroup_, ClampRadioIndex(values.TypeIndex));
    SetRadioIndex(rotationRadio_, ClampRadioIndex(values.RotationIndex));
    formatEdit_->setText(QString::fromLocal8Bit(values.BarcodeFormat));
    dontRenameCheckBox_->setChecked(values.IgnoreMatching);
    renameCheckBox_->setChecked(values.RenameRaw);
    renameWOCheckBox_->setChecked(values.RenameWithoutBarcode);
    firstSuffixCheckBox_->setChecked(values.SuffixAll);
    suffixFormatEdit_->setText(QString::fromLocal8Bit(values.SuffixFormat));
    pauseCheckBox_->setChecked(values.PauseEachLine);
    deepSearchCheckBox_->setChecked(values.DeepSearch);
}

void TForm1::ModeRadioGroupClick() {
    const bool demo = ModeIndex() == 1;
    pauseCheckBox_->setVisible(demo);
    if (!demo) pauseCheckBox_->setChecked(false);
}

void TForm1::SourceDriveComboChange() {
    const QString drive = sourceDriveCombo_->currentData().toString();
    if (drive == drive_) return;  // the same drive chosen again changes nothing
    drive_ = drive;
    QString folder = driveFolders_.value(drive_, drive_);
    if (!QDir(folder).exists()) folder = drive_;
    ShowFolderInList(folder);
    folder_ = folder;
    SourceDirComboChange();
}

void TForm1::SourceDirComboChange() {
    driveFolders_[drive_] = folder_;
    executeButton_->setEnabled(FolderOffersJpeg(PhotoFolder()));
}

void TForm1::ExecuteButtonClick() { ExecuteRun(ctx_); }

void TForm1::SaveSettings1Click() { SaveConfig(core_.run.StartFolder, ControlValues(), ui_); }

void TForm1::Exit1Click() {
    // At once, also in the middle of a run: unwinding a run from inside its
    // own event processing would only run more of it. Nothing is pending on
    // disk, since every log entry is closed as it is written.
    std::fflush(nullptr);
    std::_Exit(0);
}

void TForm1::ViewLogFile1Click() {
    const std::optional<std::string> log = ReadTextFile(LogFilePath(core_.run), ui_);
    if (!log) return;  // told already; a missing log is no reason to stop
    logViewerForm_->ShowLog(QString::fromLocal8Bit(*log));
}

void TForm1::ReviewProblems1Click() {
    RunManualReview(ctx_, [this](const ReviewItem& item) { manualForm_->ShowItem(item); });
}

void TForm1::Help2Click() { helpForm_->ShowHelp(); }

void TForm1::About1Click() { aboutBox_->ShowAbout(); }

}  // namespace tagmora
