#include "gui/name_check_form.h"

#include <QBoxLayout>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <algorithm>

#include "base/file_helpers.h"
#include "gui/application.h"
#include "gui/local_text.h"

namespace tagmora {

namespace {

// The CSV's columns but the folder, which the window names once above.
QStringList RowTexts(const NameCheckRow& row) {
    const std::string_view verdict = VerdictText(row.Verdict);
    return {FromLocal8Bit(row.File), FromLocal8Bit(row.NameNumber), FromLocal8Bit(row.LabelNumber),
            QString::fromUtf8(verdict.data(), static_cast<qsizetype>(verdict.size()))};
}

}  // namespace

TNameCheckForm::TNameCheckForm(FrontEnd& ui, QWidget* parent) : QDialog(parent), ui_(ui) {
    setObjectName("NameCheckForm");
    setWindowTitle(tr("Check Named Photographs"));

    summary_ = new QLabel(this);
    summary_->setObjectName("SummaryLabel");
    summary_->setWordWrap(true);
    table_ = new QTableWidget(0, 4, this);
    table_->setObjectName("CheckTable");
    table_->setHorizontalHeaderLabels({tr("File"), tr("Number in name"), tr("Number on label"), tr("Verdict")});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->verticalHeader()->setVisible(false);

    auto* saveButton = new QPushButton(tr("&Save…"), this);
    saveButton->setObjectName("SaveButton");
    auto* closeButton = new QPushButton(tr("&Close"), this);
    closeButton->setObjectName("CloseButton");
    connect(saveButton, &QPushButton::clicked, this, Guarded([this] { SaveButtonClick(); }));
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(saveButton);
    buttons->addWidget(closeButton);
    auto* column = new QVBoxLayout(this);
    column->addWidget(summary_);
    column->addWidget(table_, 1);
    column->addLayout(buttons);
    resize(640, 520);
}

void TNameCheckForm::ShowRows(const QString& folder, std::span<const NameCheckRow> rows, const QString& saveFolder) {
    folder_ = folder;
    saveFolder_ = saveFolder;
    rows_.assign(rows.begin(), rows.end());
    const auto attention =
        std::ranges::count_if(rows, [](const NameCheckRow& row) { return NeedsAttention(row.Verdict); });
    summary_->setText(tr("%1\n%2 photographs checked, %3 to look at (nothing was renamed).")
                          .arg(QDir::toNativeSeparators(folder))
                          .arg(rows.size())
                          .arg(attention));
    table_->setRowCount(static_cast<int>(rows.size()));
    for (std::size_t at = 0; at < rows.size(); ++at) {
        const QStringList texts = RowTexts(rows[at]);
        for (int column = 0; column < texts.size(); ++column)
            table_->setItem(static_cast<int>(at), column, new QTableWidgetItem(texts[column]));
    }
    table_->resizeColumnsToContents();
    exec();
}

void TNameCheckForm::SaveButtonClick() {
    // The dialog asks before it replaces a file that is there.
    const QString suggested = QDir(saveFolder_).filePath(QFileInfo(folder_).fileName() + tr(" check.csv"));
    const QString chosen = ChooseCsvFile(this, tr("Save Check"), suggested);
    if (chosen.isEmpty()) return;
    ReplaceTextFile(NameCheckCsv(rows_, true), Local8Bit(chosen), ui_);
}

}  // namespace tagmora
