#include "ui/input_block.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace tervela {
namespace {

bool IsInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::InputMethod:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
      return true;
    default:
      return false;
  }
}

}  // namespace

TInputBlock::TInputBlock(QWidget* window) : window_(window) {
  QCoreApplication::instance()->installEventFilter(this);
}

TInputBlock::~TInputBlock() { QCoreApplication::instance()->removeEventFilter(this); }

bool TInputBlock::eventFilter(QObject* receiver, QEvent* event) {
  if (!receiver->isWidgetType() || !IsInput(event->type())) return false;
  return static_cast<QWidget*>(receiver)->window() == window_;
}

}  // namespace tervela
