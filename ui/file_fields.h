// The window's file name fields beyond plain typing: a file dragged from the
// desktop onto a field fills it, and a name being typed is completed from the
// file system.
#pragma once

#include <initializer_list>

#include <QCompleter>
#include <QString>

class QFileSystemModel;
class QLineEdit;
class QMimeData;

namespace korvanel::ui {

// Gives each field the drop and the completion. A relative name is completed
// from `baseDirectory` (the window's start directory) and stays relative.
void makeFileFields(std::initializer_list<QLineEdit*> fields, const QString& baseDirectory);

// The local file that a drag carries as its first URL; empty for a folder, a
// remote URL, or a drag without URLs.
QString draggedFile(const QMimeData& data);

// Completes path names from a file-system model, a relative name from a base
// directory.
class PathCompleter : public QCompleter {
  Q_OBJECT

 public:
  PathCompleter(const QString& baseDirectory, QObject* parent);

  QStringList splitPath(const QString& path) const override;
  QString pathFromIndex(const QModelIndex& index) const override;

 private:
  QString baseDirectory_;
  QFileSystemModel* model_ = nullptr;
  // Whether the name being completed was typed relative to the base, and the
  // folder it is completed in.
  mutable bool typedRelative_ = false;
  mutable QString folderBeingCompleted_;
};

}  // namespace korvanel::ui
