#pragma once

#include <QItemSelectionModel>

namespace arcavio {

// A single-selection list (QListWidget, QListView) that keeps its selection once it has one.
// Qt's single selection lets Ctrl+click or Ctrl+Space take the selected row away; here only
// selecting another row, or the program, changes it.
template <class List> class SelectionKeepingList : public List {
  public:
    using List::List;

  protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event = nullptr) const override
    {
        const QItemSelectionModel::SelectionFlags command = List::selectionCommand(index, event);
        const bool onlyDeselects =
            (command & QItemSelectionModel::Deselect) && !(command & QItemSelectionModel::Select);
        return onlyDeselects ? QItemSelectionModel::NoUpdate : command;
    }
};

} // namespace arcavio
