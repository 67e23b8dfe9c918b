#include "ui/look.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tervela {

void SetTextColour(QWidget* widget, const QColor& colour) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, colour);
  palette.setColor(QPalette::ButtonText, colour);
  palette.setColor(QPalette::Text, colour);
  widget->setPalette(palette);
}

void SetWeight(QWidget* widget, TWeight weight) {
  QFont font = widget->font();
  font.setBold(weight == TWeight::Bold);
  widget->setFont(font);
}

void SetBackground(QWidget* widget, const QColor& colour) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Base, colour);
  palette.setColor(QPalette::Window, colour);
  widget->setPalette(palette);
}

QLabel* MakeLabel(QWidget* parent, const char* name, QPoint at, const QString& caption,
                  const QColor& colour) {
  auto* label = new QLabel(caption, parent);
  label->setObjectName(QString::fromLatin1(name));
  SetTextColour(label, colour);
  label->move(at);
  label->adjustSize();
  return label;
}

// Unit labels are right-aligned against the field they name, so their right
// edge stays put whatever the unit.
QLabel* MakeUnitLabel(QWidget* parent, const char* name, int right, int top, const QString& caption) {
  constexpr int kWidth = 18;
  constexpr int kHeight = 13;
  auto* label = new QLabel(caption, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setAlignment(Qt::AlignRight | Qt::AlignTop);
  label->setGeometry(right - kWidth, top, kWidth, kHeight);
  return label;
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, const QRect& geometry, const QString& text,
                    TWeight weight) {
  auto* edit = new QLineEdit(text, parent);
  edit->setObjectName(QString::fromLatin1(name));
  edit->setFrame(false);
  edit->setGeometry(geometry);
  SetWeight(edit, weight);
  return edit;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QRect& geometry,
                        const QString& caption, const QColor& colour, TWeight weight) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(geometry);
  button->setAutoDefault(false);
  SetTextColour(button, colour);
  SetWeight(button, weight);
  return button;
}

}  // namespace tervela
