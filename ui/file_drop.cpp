#include "ui/file_drop.h"

#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>

namespace tervela {
namespace {

// The local path of the one file that `data` carries; empty for anything else.
QString DroppedFile(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls()) return {};
  const QList<QUrl> urls = data->urls();
  if (urls.size() != 1 || !urls.constFirst().isLocalFile()) return {};
  return urls.constFirst().toLocalFile();
}

class TFileDropFilter final : public QObject {
 public:
  using QObject::QObject;

 protected:
  // QDragEnterEvent is a QDragMoveEvent, and that a QDropEvent.
  bool eventFilter(QObject* receiver, QEvent* event) override {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) return false;
    auto* drop = static_cast<QDropEvent*>(event);
    const QString file = DroppedFile(drop->mimeData());
    if (file.isEmpty() || !(drop->possibleActions() & Qt::CopyAction)) return false;
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (type == QEvent::Drop) static_cast<QLineEdit*>(receiver)->setText(file);
    return true;
  }
};

}  // namespace

void AcceptFileDrops(QLineEdit* edit) {
  edit->setAcceptDrops(true);
  edit->installEventFilter(new TFileDropFilter(edit));
}

}  // namespace tervela
