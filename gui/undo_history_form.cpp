#include "gui/undo_history_form.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "gui/local_text.h"

namespace tagmora {

namespace {

QStringList RowTexts(const RunEntry& run) {
    return {QString::number(run.Number),
            FromLocal8Bit(run.When),
            FromLocal8Bit(run.Folder),
            run.Kind == SectionKind::Production ? QObject::tr("Production") : QObject::tr("Demo/Debug"),
            QString::number(run.Moves.size()),
            run.Undone ? QObject::tr("undone") : QString()};
}

QTableWidget* MakeRunTable(QWidget* parent, const std::vector<RunEntry>& runs) {
    auto* table = new QTableWidget(static_cast<int>(runs.size()), 6, parent);
    table->setObjectName("RunTable");
    table->setHorizontalHeaderLabels({QObject::tr("Run"), QObject::tr("Date and time"), QObject::tr("Folder"),
                                      QObject::tr("Mode"), QObject::tr("Renamed"), QObject::tr("Undone")});
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    for (int row = 0; row < table->rowCount(); ++row) {
        const QStringList texts = RowTexts(runs[static_cast<std::size_t>(row)]);
        for (int column = 0; column < texts.size(); ++column)
            table->setItem(row, column, new QTableWidgetItem(texts[column]));
    }
    table->resizeColumnsToContents();
    return table;
}

}  // namespace

int ChooseRunToUndo(QWidget* parent, const std::vector<RunEntry>& runs) {
    QDialog dialog(parent);
    dialog.setObjectName("UndoHistoryForm");
    dialog.setWindowTitle(QObject::tr("Undo"));
    QTableWidget* table = MakeRunTable(&dialog, runs);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    QPushButton* undo = buttons->addButton(QObject::tr("Undo"), QDialogButtonBox::AcceptRole);
    undo->setObjectName("UndoButton");
    undo->setEnabled(false);
    // Only a run that renamed something and is not undone yet can be undone.
    QObject::connect(table, &QTableWidget::itemSelectionChanged, &dialog, [&] {
        const int row = table->currentRow();
        const RunEntry* run = row >= 0 ? &runs[static_cast<std::size_t>(row)] : nullptr;
        undo->setEnabled(run != nullptr && !run->Undone && !run->Moves.empty());
    });
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(table);
    layout->addWidget(buttons);
    dialog.resize(720, 360);
    if (!runs.empty()) table->selectRow(table->rowCount() - 1);
    if (dialog.exec() != QDialog::Accepted || table->currentRow() < 0) return 0;
    return runs[static_cast<std::size_t>(table->currentRow())].Number;
}

}  // namespace tagmora
