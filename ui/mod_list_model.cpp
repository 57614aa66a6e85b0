#include "ui/mod_list_model.h"

namespace kelvor {

int ModListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(names_.size());
}

QVariant ModListModel::data(const QModelIndex& index, int role) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
    return {};
  }
  if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
  return names_.at(index.row());
}

void ModListModel::SetNames(ModNames names) {
  beginResetModel();
  names_ = std::move(names);
  endResetModel();
}

void ModListModel::Append(const QString& name) {
  const int row = rowCount();
  beginInsertRows({}, row, row);
  names_.append(name);
  endInsertRows();
}

void ModListModel::Remove(int row) {
  beginRemoveRows({}, row, row);
  names_.removeAt(row);
  endRemoveRows();
}

}  // namespace kelvor
