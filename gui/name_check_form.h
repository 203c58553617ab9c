#pragma once
// File > Check Named Photographs…: the rows of a check, one per photograph,
// in a table that can be saved as the CSV tagmora-batch --check writes.
#include <QDialog>
#include <span>
#include <vector>

#include "app/name_check.h"

class QLabel;
class QTableWidget;

namespace tagmora {

class FrontEnd;

class TNameCheckForm : public QDialog {
    Q_OBJECT
public:
    TNameCheckForm(FrontEnd& ui, QWidget* parent);

    // Shows the rows of folder modally; returns when the window is closed.
    // Save offers a file in saveFolder.
    void ShowRows(const QString& folder, std::span<const NameCheckRow> rows, const QString& saveFolder);

    void SaveButtonClick();

private:
    FrontEnd& ui_;
    QLabel* summary_;
    QTableWidget* table_;
    QString folder_;
    QString saveFolder_;
    std::vector<NameCheckRow> rows_;
};

}  // namespace tagmora
