#pragma once

#include <QObject>

class QWidget;

namespace tervela {

// While it exists, the window `window` takes no input: the mouse, the
// keyboard, shortcuts, drops and context menus meant for it or any control in
// it are dropped. Its other windows (a progress box) and its painting go on,
// and so do close requests.
class TInputBlock final : public QObject {
 public:
  explicit TInputBlock(QWidget* window);
  ~TInputBlock() override;

  TInputBlock(const TInputBlock&) = delete;
  TInputBlock& operator=(const TInputBlock&) = delete;

 protected:
  bool eventFilter(QObject* receiver, QEvent* event) override;

 private:
  QWidget* window_;
};

}  // namespace tervela
