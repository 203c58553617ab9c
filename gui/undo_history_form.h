#pragma once
// File > Undo…: the runs of the log in a table, the latest at the bottom and
// chosen; Undo takes back the chosen run.
#include <vector>

#include "app/undo_run.h"

class QWidget;

namespace tagmora {

// Shows the runs modally; the number of the run to undo, or 0 when the
// window was closed without Undo.
int ChooseRunToUndo(QWidget* parent, const std::vector<RunEntry>& runs);

}  // namespace tagmora
