#include "gui/main_form.h"

#include <QAction>
#include <QBoxLayout>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSocketNotifier>
#include <QSortFilterProxyModel>
#include <QStatusBar>
#include <QStorageInfo>
#include <QTimer>
#include <QTreeView>
#include <cstdio>
#include <cstdlib>

#include "app/batch_run.h"
#include "app/config_file.h"
#include "app/manual_rename.h"
#include "app/name_check.h"
#include "app/process_image.h"
#include "app/run_report.h"
#include "app/undo_run.h"
#include "app/watch_run.h"
#include "base/file_helpers.h"
#include "base/file_system.h"
#include "base/run_log.h"
#include "base/text_helpers.h"
#include "gui/about_box.h"
#include "gui/application.h"
#include "gui/help_form.h"
#include "gui/icons.h"
#include "gui/local_text.h"
#include "gui/log_viewer_form.h"
#include "gui/manual_form.h"
#include "gui/name_check_form.h"
#include "gui/photo_form.h"
#include "gui/undo_history_form.h"
#include "gui/widget_makers.h"

namespace tagmora {

namespace {

// The busy cursor for as long as the object lives.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

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
        return folder.endsWith(u'/') ? path.startsWith(folder) : path.startsWith(folder + u'/');
    }

    QString drive_;
};

// A radio group: a framed caption over two exclusive items, numbered 0 and 1.
QButtonGroup* MakeRadioGroup(QWidget* parent, const char* objectName, const QString& caption, const QStringList& items,
                             const QString& tip) {
    auto* frame = new QGroupBox(caption, parent);
    frame->setObjectName(objectName);
    frame->setToolTip(tip);
    auto* column = new QVBoxLayout(frame);
    auto* group = new QButtonGroup(frame);
    for (int i = 0; i < items.size(); ++i) {
        auto* item = new QRadioButton(items[i], frame);
        item->setObjectName(QString::fromLatin1(objectName) + QLatin1StringView("Item") + QString::number(i));
        column->addWidget(item);
        group->addButton(item, i);
    }
    return group;
}

// The framed box a radio group's items sit in: the group's parent.
QWidget* FrameOf(const QButtonGroup* group) { return qobject_cast<QWidget*>(group->parent()); }

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

QCheckBox* MakeCheckBox(QWidget* parent, const char* objectName, const QString& caption, const QString& tip,
                        bool checked) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(objectName);
    box->setToolTip(tip);
    box->setChecked(checked);
    return box;
}

QLineEdit* MakeEdit(QWidget* parent, const char* objectName, const QString& tip) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    edit->setToolTip(tip);
    return edit;
}

QString PhotographCount(std::size_t count) {
    if (count == 0) return TForm1::tr("No JPEG photographs");
    return count == 1 ? TForm1::tr("1 JPEG photograph") : TForm1::tr("%1 JPEG photographs").arg(count);
}

// The size the main window was designed at, for its client area.
constexpr QSize kDesignedClient(443, 330);

// The current directory, without a trailing separator unless it is the root.
QString CurrentFolder() { return QDir::toNativeSeparators(QDir::currentPath()); }

}  // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent), ui_(*this, this), ctx_(core_.ContextFor(ui_)) {
    setObjectName("Form1");
    setWindowTitle(QLatin1StringView(kApplicationTitle));
    setAcceptDrops(true);

    BuildControls();
    BuildMenu();
    runSummary_ = MakeLabel(this, "RunSummaryLabel", QString());
    statusBar()->addWidget(runSummary_, 1);

    // The start folder, shown in the folder list; Execute stays enabled
    // whatever it holds until the user picks another folder.
    core_.run.StartFolder = Local8Bit(CurrentFolder());
    folder_ = CurrentFolder();
    FillDrives();
    ShowFolderInList(folder_);

    SettingValues values = ControlValues();
    values.PhotoFolder.clear();
    LoadConfig(core_.run.StartFolder, values, ui_);
    ApplyToControls(values);
    // The folder of the last session, when it is still there.
    if (!values.PhotoFolder.empty() && IsDirectory(values.PhotoFolder)) SelectFolder(FromLocal8Bit(values.PhotoFolder));
    ShowFolderInfo();

    aboutBox_ = new TAboutBox(this);
    photoForm_ = new TPhotoForm(ctx_, this);
    ui_.SetPhotoForm(photoForm_);
    logViewerForm_ = new TLogViewerForm(this);
    manualForm_ = new TManualForm(ctx_, this);
    nameCheckForm_ = new TNameCheckForm(ui_, this);
    helpForm_ = new THelpForm(this);

    resize(
        sizeHint().expandedTo(QSize(kDesignedClient.width(), kDesignedClient.height() + menuBar()->sizeHint().height() +
                                                                 statusBar()->sizeHint().height())));
    if (QScreen* display = screen()) move(display->availableGeometry().center() - rect().center());
}

TForm1::~TForm1() = default;

// The folder to run on at the left, the options at the right, the options
// for several photographs of one sheet and Execute below them.
void TForm1::BuildControls() {
    auto* client = new QWidget(this);
    client->setObjectName("ClientArea");
    setCentralWidget(client);
    auto* grid = new QGridLayout(client);
    grid->addLayout(BuildFolderColumn(), 0, 0);
    grid->addLayout(BuildOptionsColumn(), 0, 1);
    grid->addWidget(BuildMultipleImages(), 1, 0);
    grid->addLayout(BuildRunButtons(), 1, 1);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(0, 1);

    SetRadioIndex(modeRadioGroup_, 0);
    SetRadioIndex(typeRadioGroup_, 0);
    SetRadioIndex(rotationRadio_, 0);
    formatEdit_->setText(QStringLiteral("QSZ0######"));
    ConnectControls();
}

QLayout* TForm1::BuildFolderColumn() {
    QWidget* client = centralWidget();
    sourceDriveCombo_ = new QComboBox(client);
    sourceDriveCombo_->setObjectName("SourceDriveCombo");

    folderModel_ = new QFileSystemModel(this);
    folderModel_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    auto* driveFolders = new DriveFolders(this);
    driveFolders->setSourceModel(folderModel_);
    driveFolders->setSortCaseSensitivity(Qt::CaseInsensitive);
    sourceDirCombo_ = new QTreeView(client);
    sourceDirCombo_->setObjectName("SourceDirCombo");
    sourceDirCombo_->setModel(driveFolders);
    sourceDirCombo_->setHeaderHidden(true);
    for (int column = 1; column < folderModel_->columnCount(); ++column) sourceDirCombo_->hideColumn(column);
    sourceDirCombo_->setSortingEnabled(true);
    sourceDirCombo_->sortByColumn(0, Qt::AscendingOrder);
    sourceDirCombo_->setToolTip(tr("Double click folder so it appears open "));
    sourceDirCombo_->setMinimumSize(211, 150);

    // The folder a run will rename in, in full, and what it holds.
    folderPath_ = MakeEdit(client, "FolderPath", tr("The folder Execute works on"));
    folderPath_->setReadOnly(true);
    folderPath_->setFrame(false);
    folderCount_ = MakeLabel(client, "FolderCount", QString());

    auto* column = new QVBoxLayout;
    column->addWidget(sourceDriveCombo_);
    column->addWidget(sourceDirCombo_, 1);
    column->addWidget(folderPath_);
    column->addWidget(folderCount_);
    return column;
}

QLayout* TForm1::BuildOptionsColumn() {
    QWidget* client = centralWidget();
    modeRadioGroup_ = MakeRadioGroup(client, "ModeRadioGroup", tr("Mode"), {tr("Production"), tr("Demo/Debug")},
                                     tr("Debug doesn't rename images, and shows scan lines"));
    typeRadioGroup_ = MakeRadioGroup(client, "TypeRadioGroup", tr("Type"), {tr("General"), tr("Close-up")},
                                     tr("General works for most "));
    rotationRadio_ = MakeRadioGroup(client, "RotationRadio", tr("Orientation"), {tr("Horizontal"), tr("Vertical")},
                                    tr("Bar code running across the image, or up and down."));
    formatEdit_ = MakeEdit(client, "FormatEdit",
                           tr("Letters, numbers match.  # is wild digit.  @ is wild alpha char. ? can be anything, "
                              "even blank"));
    dontRenameCheckBox_ = MakeCheckBox(client, "DontRenameCheckBox", tr("Ignore if matches Format String"),
                                       tr("Don't process already renamed images"), true);
    deepSearchCheckBox_ = MakeCheckBox(client, "DeepSearchCheckBox", tr("Deep Search"),
                                       tr("When the fast search finds no barcode, look again at the whole "
                                          "photograph: any angle, every Code 128 code set"),
                                       true);

    auto* groups = new QHBoxLayout;
    groups->addWidget(FrameOf(modeRadioGroup_));
    groups->addWidget(FrameOf(typeRadioGroup_));
    auto* column = new QVBoxLayout;
    column->addLayout(groups);
    column->addWidget(FrameOf(rotationRadio_));
    column->addWidget(MakeLabel(client, "Label1", tr("Barcode Text Format String")));
    column->addWidget(formatEdit_);
    column->addWidget(dontRenameCheckBox_);
    column->addWidget(deepSearchCheckBox_);
    column->addStretch(1);
    return column;
}

QGroupBox* TForm1::BuildMultipleImages() {
    auto* groupBox1 = new QGroupBox(tr("Multiple Images"), centralWidget());
    groupBox1->setObjectName("GroupBox1");
    renameCheckBox_ = MakeCheckBox(groupBox1, "RenameCheckBox", tr("Rename Raw files"),
                                   tr("Rename all files with same name, different extension"), true);
    renameWOCheckBox_ = MakeCheckBox(groupBox1, "RenameWOCheckBox", tr("Rename W/O Barcode"),
                                     tr("Rename images without barcodes with the last found barcode."), true);
    firstSuffixCheckBox_ =
        MakeCheckBox(groupBox1, "FirstSuffixCheckBox", tr("Suffix All Images"), tr("Add suffix to every file"), false);
    suffixFormatEdit_ =
        MakeEdit(groupBox1, "SuffixFormatEdit",
                 tr("@ = a,b,c...  # = 1,2,3...  ### = 001, 002, 003,... Other characters are literal."));
    suffixFormatEdit_->setMaximumWidth(60);

    auto* grid = new QGridLayout(groupBox1);
    grid->addWidget(renameCheckBox_, 0, 0);
    grid->addWidget(renameWOCheckBox_, 1, 0);
    grid->addWidget(firstSuffixCheckBox_, 0, 1, 1, 2);
    grid->addWidget(MakeLabel(groupBox1, "Label2", tr("Suffix Format")), 1, 1);
    grid->addWidget(suffixFormatEdit_, 1, 2);
    return groupBox1;
}

QLayout* TForm1::BuildRunButtons() {
    executeButton_ = MakeButton(centralWidget(), "ExecuteButton", tr("Execute"));
    executeButton_->setDefault(true);
    pauseCheckBox_ = MakeCheckBox(centralWidget(), "PauseCheckBox", tr("Pause Each Line"), QString(), false);
    pauseCheckBox_->hide();
    watchButton_ = MakeButton(centralWidget(), "WatchButton", tr("Watch"));
    watchButton_->setToolTip(tr("Rename each photograph written into the folder as soon as it is complete"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(executeButton_);
    buttons->addWidget(watchButton_);
    auto* column = new QVBoxLayout;
    column->addStretch(1);
    column->addLayout(buttons);
    column->addWidget(pauseCheckBox_);
    // Keeps its place whether Pause Each Line shows or not.
    column->addSpacing(pauseCheckBox_->sizeHint().height());
    return column;
}

void TForm1::ConnectControls() {
    connect(modeRadioGroup_, &QButtonGroup::buttonToggled, this, Guarded([this] { ModeRadioGroupClick(); }));
    connect(sourceDriveCombo_, &QComboBox::activated, this, Guarded([this] { SourceDriveComboChange(); }));
    connect(sourceDirCombo_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            Guarded([this] { FolderListCurrentChanged(); }));
    // The folders arrive from the file system a little later; keep the
    // folder in hand in view as they do.
    connect(folderModel_, &QFileSystemModel::directoryLoaded, this, [this](const QString& loaded) {
        if (folder_ == loaded || folder_.startsWith(loaded.endsWith(u'/') ? loaded : loaded + u'/'))
            sourceDirCombo_->scrollTo(sourceDirCombo_->currentIndex());
    });
    connect(executeButton_, &QPushButton::clicked, this, Guarded([this] { ExecuteButtonClick(); }));
    connect(watchButton_, &QPushButton::clicked, this, Guarded([this] { WatchButtonClick(); }));
}

void TForm1::BuildMenu() {
    QMenuBar* mainMenu1 = menuBar();
    mainMenu1->setObjectName("MainMenu1");
    auto addItem = [this](QMenu* menu, const char* objectName, const QString& caption, const QIcon& icon,
                          void (TForm1::*handler)(), const QKeySequence& keys = {}) {
        QAction* item = menu->addAction(icon, caption);
        item->setObjectName(objectName);
        item->setShortcut(keys);
        connect(item, &QAction::triggered, this, Guarded([this, handler] { (this->*handler)(); }));
        return item;
    };
    QMenu* file = mainMenu1->addMenu(tr("&File"));
    addItem(file, "SaveSettings1", tr("&Save Settings"), SaveIcon(), &TForm1::SaveSettings1Click);
    file->addSeparator();
    addItem(file, "UndoLastRun1", tr("&Undo Last Run"), QIcon(), &TForm1::UndoLastRun1Click);
    addItem(file, "UndoHistory1", tr("Und&o…"), QIcon(), &TForm1::UndoHistory1Click);
    addItem(file, "ExportLastRun1", tr("&Export Last Run…"), QIcon(), &TForm1::ExportLastRun1Click);
    addItem(file, "ExportSymbiota1", tr("Export for S&ymbiota…"), QIcon(), &TForm1::ExportSymbiota1Click);
    addItem(file, "CheckNames1", tr("&Check Named Photographs…"), QIcon(), &TForm1::CheckNames1Click);
    file->addSeparator();
    addItem(file, "Exit1", tr("E&xit"), ExitIcon(), &TForm1::Exit1Click, QKeySequence(Qt::CTRL | Qt::Key_Q));
    QMenu* view = mainMenu1->addMenu(tr("&View"));
    addItem(view, "ViewLogFile1", tr("View &Log File"), LogIcon(), &TForm1::ViewLogFile1Click);
    addItem(view, "ReviewProblems1", tr("&Manual Rename…"), QIcon(), &TForm1::ReviewProblems1Click,
            QKeySequence(Qt::CTRL | Qt::Key_M));
    QMenu* help = mainMenu1->addMenu(tr("&Help"));
    addItem(help, "Help2", tr("&Help"), HelpIcon(), &TForm1::Help2Click, QKeySequence(Qt::Key_F1));
    addItem(help, "About1", tr("&About"), QIcon(), &TForm1::About1Click);
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
        sourceDriveCombo_->addItem(label.isEmpty() ? root : QStringLiteral("%1 [%2]").arg(root, label), root);
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

bool TForm1::SelectFolder(const QString& folder) {
    const QString path = QDir::toNativeSeparators(QDir(folder).absolutePath());
    if (!QFileInfo(path).isDir()) return false;
    const QString drive = DriveOf(path);
    if (drive != drive_) {
        const int index = sourceDriveCombo_->findData(drive);
        if (index < 0) return false;
        sourceDriveCombo_->setCurrentIndex(index);
        SourceDriveComboChange();
    }
    const auto* driveFolders = static_cast<const DriveFolders*>(sourceDirCombo_->model());
    sourceDirCombo_->setCurrentIndex(driveFolders->mapFromSource(folderModel_->index(path)));
    return folder_ == path;
}

void TForm1::OpenFolderArgument(const QString& folder) {
    if (!SelectFolder(folder)) ui_.ShowMessage(Local8Bit(tr("%1 is not a folder that can be opened.").arg(folder)));
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls.front().isLocalFile() && QFileInfo(urls.front().toLocalFile()).isDir())
        event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile()) return;
    RunGuarded([&] {
        if (SelectFolder(urls.front().toLocalFile())) event->acceptProposedAction();
    });
}

void TForm1::ShowFolderInfo() {
    folderPath_->setText(folder_);
    folderPath_->setCursorPosition(0);
    folderPath_->setToolTip(folder_);
    std::vector<std::string> names;
    folderCount_->setText(ListJpegFiles(PhotoFolder(), names) ? PhotographCount(names.size())
                                                              : tr("The folder cannot be read"));
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

// The photo folder is chosen in the folder list, apart from the options.
void TForm1::ApplyToControls(const SettingValues& values) {
    SetRadioIndex(modeRadioGroup_, ClampRadioIndex(values.ModeIndex));
    SetRadioIndex(typeRadioGroup_, ClampRadioIndex(values.TypeIndex));
    SetRadioIndex(rotationRadio_, ClampRadioIndex(values.RotationIndex));
    formatEdit_->setText(FromLocal8Bit(values.BarcodeFormat));
    dontRenameCheckBox_->setChecked(values.IgnoreMatching);
    renameCheckBox_->setChecked(values.RenameRaw);
    renameWOCheckBox_->setChecked(values.RenameWithoutBarcode);
    firstSuffixCheckBox_->setChecked(values.SuffixAll);
    suffixFormatEdit_->setText(FromLocal8Bit(values.SuffixFormat));
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
    executeButton_->setEnabled(!watch_ && FolderOffersJpeg(PhotoFolder()));
    ShowFolderInfo();
}

void TForm1::ExecuteButtonClick() {
    const RunEnd end = RunBatch(ctx_);
    if (quitWhenRunEnds_) {
        // The run is over: the program may end the ordinary way.
        close();
        QCoreApplication::quit();
        return;
    }
    if (end == RunEnd::Refused || end == RunEnd::Busy) return;
    // Execute kept the focus through the end message: Enter would start the
    // same run again at once.
    sourceDirCombo_->setFocus();
    ShowRunSummary(end == RunEnd::NoImages ? std::string(kNoImagesMessage)
                                           : SummaryText(core_.run.ErrorCount, core_.run.ProcessedCount));
}

// The summary's first line stays in view after its box is gone.
void TForm1::ShowRunSummary(const std::string& summary) {
    std::string text = summary;
    runSummary_->setText(tr("Last run: %1").arg(FromLocal8Bit(ReadLeadingPiece(text, kCrLf, true))));
    ShowFolderInfo();
}

void TForm1::WatchButtonClick() {
    if (watch_) {
        stopAsked_ = true;
        if (!inWatchStep_) StepWatch();  // otherwise the step under way ends it
        return;
    }
    if (core_.run.RunInProgress) return;  // Execute's run is pumping events
    stopAsked_ = false;
    watch_ = std::make_unique<FolderWatch>(ctx_, WatchOptions{.StopAsked = [this] { return stopAsked_; }});
    watchButton_->setText(tr("Stop"));
    executeButton_->setEnabled(false);
    inWatchStep_ = true;
    const std::optional<WatchEnd> refused = watch_->Start();
    inWatchStep_ = false;
    if (refused) {
        watch_.reset();
        watchButton_->setText(tr("Watch"));
        SourceDirComboChange();
        return;
    }
    watchNotifier_ = new QSocketNotifier(static_cast<qintptr>(watch_->NoticeFd()), QSocketNotifier::Read, this);
    connect(watchNotifier_, &QSocketNotifier::activated, this, Guarded([this] { StepWatch(); }));
    watchLook_ = new QTimer(this);
    watchLook_->setSingleShot(true);
    connect(watchLook_, &QTimer::timeout, this, Guarded([this] { StepWatch(); }));
    // Abort clicked while the watch waits for the camera ends it at once.
    if (auto* abort = photoForm_->findChild<QPushButton*>(QStringLiteral("Button1")))
        connect(
            abort, &QPushButton::clicked, watchLook_, [this] { watchLook_->start(0); }, Qt::QueuedConnection);
    StepWatch();
}

// Every notice and every due look hands the complete photographs on. The
// events processed during a photograph may call here again: that call waits
// for the step under way.
void TForm1::StepWatch() {
    if (!watch_ || inWatchStep_) return;
    inWatchStep_ = true;
    watch_->Step(std::chrono::milliseconds(0));
    inWatchStep_ = false;
    if (watch_->Ended()) return EndWatch();
    if (const auto look = watch_->TimeToNextLook())
        watchLook_->start(static_cast<int>(look->count()) + 1);
    else
        watchLook_->stop();
}

void TForm1::EndWatch() {
    watchNotifier_->deleteLater();  // this may be its own signal
    watchNotifier_ = nullptr;
    watchLook_->deleteLater();
    watchLook_ = nullptr;
    watch_->Finish();
    watch_.reset();
    watchButton_->setText(tr("Watch"));
    ShowRunSummary(SummaryText(core_.run.ErrorCount, core_.run.ProcessedCount));
    SourceDirComboChange();
}

void TForm1::SaveSettings1Click() { SaveConfig(core_.run.StartFolder, ControlValues(), ui_); }

void TForm1::UndoLastRun1Click() {
    // The run in hand would go on renaming in the folder being undone.
    if (core_.run.RunInProgress)
        return ui_.ShowMessage(Local8Bit(tr("A run is in progress: undo it once it has ended.")));
    const UndoEnd end = UndoLastRun(
        ctx_, [this](const UndoPlan& plan) { return AskOkCancel(this, FromLocal8Bit(UndoQuestionText(plan))); });
    if (end == UndoEnd::Done || end == UndoEnd::Partly) runSummary_->setText(tr("Last run undone"));
    ShowFolderInfo();
}

void TForm1::UndoHistory1Click() {
    if (core_.run.RunInProgress)
        return ui_.ShowMessage(Local8Bit(tr("A run is in progress: undo it once it has ended.")));
    const std::optional<std::string> log = ReadTextFile(LogFilePath(core_.run), ui_);
    if (!log) return;
    const int number = ChooseRunToUndo(this, RunHistory(*log));
    if (number == 0) return;
    const UndoEnd end = UndoRun(ctx_, number, [this](const UndoPlan& plan) {
        return AskOkCancel(this, FromLocal8Bit(UndoQuestionText(plan)));
    });
    if (end == UndoEnd::Done || end == UndoEnd::Partly) runSummary_->setText(tr("Run %1 undone").arg(number));
    ShowFolderInfo();
}

// The log, when its last section is a run to report; else nothing, and the
// user has been told why.
std::optional<std::string> TForm1::LogToReport() {
    std::optional<std::string> log = ReadTextFile(LogFilePath(core_.run), ui_);
    if (!log) return std::nullopt;
    if (const std::string refusal = ReportRefusal(LastLogSection(*log)); !refusal.empty()) {
        ui_.ShowMessage(refusal);
        return std::nullopt;
    }
    return log;
}

void TForm1::SaveReport(const std::string& log, const ReportLayout& layout, const QString& caption,
                        const QString& nameEnd) {
    // Named after the run's folder, beside the log; the dialog asks before
    // it replaces a file that is there.
    const QString folderName = QFileInfo(FromLocal8Bit(LastLogSection(log).Folder)).fileName();
    const QString suggested =
        QDir(FromLocal8Bit(core_.run.StartFolder))
            .filePath((folderName.isEmpty() ? QStringLiteral("Tagmora last run") : folderName) + nameEnd);
    const QString chosen = ChooseCsvFile(this, caption, suggested);
    if (chosen.isEmpty()) return;
    const LastRunReport report = [&] {
        // Reading every photograph for its checksum takes a while on a big run.
        const WaitCursor waiting;
        return ReportOfLastRun(log, BarcodeFormat(), layout);
    }();
    if (ReplaceTextFile(report.Csv, Local8Bit(chosen), ui_))
        runSummary_->setText(tr("Last run exported to %1").arg(chosen));
}

void TForm1::ExportLastRun1Click() {
    if (const std::optional<std::string> log = LogToReport())
        SaveReport(*log, {}, tr("Export Last Run"), QStringLiteral(".csv"));
}

void TForm1::ExportSymbiota1Click() {
    const std::optional<std::string> log = LogToReport();
    if (!log) return;
    const QString prefix = AskText(this,
                                   tr("The web address the photographs will be served from (http:// or https://);\n"
                                      "each photograph's new name is added to it:"),
                                   symbiotaPrefix_);
    if (prefix.isEmpty()) return;
    symbiotaPrefix_ = prefix;  // offered again, to be mended if it is refused
    if (const std::string problem = UrlPrefixProblem(Local8Bit(prefix)); !problem.empty())
        return ui_.ShowMessage(problem);
    SaveReport(*log, {ReportStyle::Symbiota, Local8Bit(prefix)}, tr("Export for Symbiota"),
               QStringLiteral(" for Symbiota.csv"));
}

bool TForm1::MayQuitNow() {
    if (!core_.run.RunInProgress) return true;
    if (quitWhenRunEnds_) return false;  // asked already: the run is stopping
    const QString question = tr("A run is in progress in %1.\nStop the run? The photograph in hand keeps its name.")
                                 .arg(FromLocal8Bit(core_.run.PhotoFolder));
    if (!AskOkCancel(this, question)) return false;
    // The run ends as after Abort; its end is told by the log alone.
    quitWhenRunEnds_ = true;
    ui_.SetQuiet(true);
    if (core_.run.KeepGoing || core_.run.SkipRequested) AbortClicked(ctx_);
    return false;
}

void TForm1::QuitAtOnce() {
    // Not by unwinding: nothing is pending on disk, since every log entry is
    // closed as it is written and every rename is whole.
    std::fflush(nullptr);
    std::_Exit(0);
}

void TForm1::CheckNames1Click() {
    // A run renaming the folder would change the names under the check.
    if (core_.run.RunInProgress)
        return ui_.ShowMessage(Local8Bit(tr("A run is in progress: check the folder once it has ended.")));
    const std::string folder = PhotoFolder();
    const std::optional<std::vector<NameCheckRow>> rows = [&] {
        // Every photograph is read again, on every core.
        const WaitCursor waiting;
        return CheckFolderNames(folder, ControlValues());
    }();
    if (!rows) return ui_.ShowMessage(Local8Bit(tr("Unable to read the folder %1").arg(FromLocal8Bit(folder))));
    nameCheckForm_->ShowRows(FromLocal8Bit(folder), *rows, FromLocal8Bit(core_.run.StartFolder));
}

void TForm1::Exit1Click() {
    if (MayQuitNow()) QuitAtOnce();
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (MayQuitNow()) return QMainWindow::closeEvent(event);
    event->ignore();
}

void TForm1::ViewLogFile1Click() {
    const std::optional<std::string> log = ReadTextFile(LogFilePath(core_.run), ui_);
    if (!log) return;  // told already; a missing log is no reason to stop
    logViewerForm_->ShowLog(FromLocal8Bit(*log));
}

void TForm1::ReviewProblems1Click() {
    RunManualReview(ctx_, [this](const ReviewItem& item) { manualForm_->ShowItem(item); });
}

void TForm1::Help2Click() { helpForm_->ShowHelp(); }

void TForm1::About1Click() { aboutBox_->ShowAbout(); }

}  // namespace tagmora
