#include "ui/file_fields.h"

#include <QAbstractItemView>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>

namespace korvanel::ui {
namespace {

// Takes a file dragged onto a field. Drags without URLs (plain text) are left
// to the field; a drag of URLs that are not a local file is refused, so that
// no "file://" text lands in the field.
class FileDropFilter : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const bool dragging = event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove;
    if (!dragging && event->type() != QEvent::Drop) return false;
    auto* drop = static_cast<QDropEvent*>(event);
    if (!drop->mimeData()->hasUrls()) return false;
    const QString file = draggedFile(*drop->mimeData());
    // Only the name is taken: the file manager must neither move nor delete it.
    const Qt::DropAction action = drop->possibleActions() & Qt::CopyAction ? Qt::CopyAction : Qt::LinkAction;
    if (file.isEmpty() || !(drop->possibleActions() & action)) {
      drop->ignore();
      return true;
    }
    drop->setDropAction(action);
    drop->accept();
    if (event->type() == QEvent::Drop) {
      auto* field = static_cast<QLineEdit*>(watched);
      field->setText(QDir::toNativeSeparators(file));
      field->setFocus(Qt::OtherFocusReason);
    }
    return true;
  }
};

}  // namespace

QString draggedFile(const QMimeData& data) {
  const QList<QUrl> urls = data.urls();
  if (urls.isEmpty() || !urls.first().isLocalFile()) return {};
  const QString file = urls.first().toLocalFile();
  return QFileInfo(file).isDir() ? QString() : file;
}

PathCompleter::PathCompleter(const QString& baseDirectory, QObject* parent)
    : QCompleter(parent), baseDirectory_(baseDirectory) {
  model_ = new QFileSystemModel(this);
  // The whole tree, read as far as the completion asks for it.
  model_->setRootPath(QString());
  setModel(model_);
  // Qt completes again once the folder of an absolute name has been read;
  // a relative name gets the same.
  connect(model_, &QFileSystemModel::directoryLoaded, this, [this](const QString& folder) {
    const bool waitedFor = typedRelative_ && folder == folderBeingCompleted_;
    if (waitedFor && widget() != nullptr && widget()->hasFocus() && !popup()->isVisible()) complete();
  });
}

QStringList PathCompleter::splitPath(const QString& path) const {
  typedRelative_ = QDir::isRelativePath(path);
  QString absolute = typedRelative_ ? QDir::cleanPath(QDir(baseDirectory_).filePath(path)) : path;
  // "boards/" lists the folder's contents, as an absolute "/home/boards/" does.
  const bool inFolder = path.endsWith(QLatin1Char('/'));
  if (inFolder && !absolute.endsWith(QLatin1Char('/'))) absolute += QLatin1Char('/');
  // The model reads a folder when asked for it; asking here completes also a
  // name pasted or typed faster than the folders on its way were read.
  folderBeingCompleted_ = inFolder ? QDir::cleanPath(absolute) : QFileInfo(absolute).path();
  model_->index(folderBeingCompleted_);
  return QCompleter::splitPath(absolute);
}

QString PathCompleter::pathFromIndex(const QModelIndex& index) const {
  const QString path = QCompleter::pathFromIndex(index);
  return typedRelative_ ? QDir(baseDirectory_).relativeFilePath(path) : path;
}

void makeFileFields(std::initializer_list<QLineEdit*> fields, const QString& baseDirectory) {
  for (QLineEdit* field : fields) {
    field->installEventFilter(new FileDropFilter(field));
    field->setCompleter(new PathCompleter(baseDirectory, field));
  }
}

}  // namespace korvanel::ui
