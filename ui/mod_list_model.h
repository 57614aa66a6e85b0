#pragma once

#include <QAbstractListModel>

#include "mods/mod_names.h"

namespace kelvor {

// The mod names as the list on the main window shows them, one row each. Rows are made only
// for the names in view, so a list of millions shows as quickly as a short one.
class ModListModel : public QAbstractListModel {
  Q_OBJECT

 public:
  using QAbstractListModel::QAbstractListModel;

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

  const ModNames& Names() const { return names_; }
  void SetNames(ModNames names);
  void Append(const QString& name);
  void Remove(int row);

 private:
  ModNames names_;
};

}  // namespace kelvor
