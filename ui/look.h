#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class QWidget;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tervela {

// The named colours of the layout.
inline const QColor kBlack(0x00, 0x00, 0x00);
inline const QColor kRed(0xFF, 0x00, 0x00);
inline const QColor kGreen(0x00, 0x80, 0x00);
inline const QColor kPurple(0x80, 0x00, 0x80);
inline const QColor kMaroon(0x80, 0x00, 0x00);
// The desktop colours the layout names, as this program renders them.
inline const QColor kMenuColour(0xF0, 0xF0, 0xF0);
inline const QColor kInactiveCaptionTextColour(0xD4, 0xD0, 0xC8);
inline const QColor kGradientActiveCaptionColour(0xB9, 0xD1, 0xEA);

// The font of both windows: narrow enough that every caption fits its control.
// Both fonts are the desktop's (ui/desktop.h).
QFont WindowFont();
// The small serif font of the change readouts.
QFont ReadoutFont();

enum class TWeight { Normal, Bold };

// Text colour of a label, button, check box or radio button.
void SetTextColour(QWidget* widget, const QColor& colour);
void SetWeight(QWidget* widget, TWeight weight);
void SetBackground(QWidget* widget, const QColor& colour);

// Controls named `name`, at `geometry` within `parent`. A label placed at a
// point takes the size of its caption.
QLabel* MakeLabel(QWidget* parent, const char* name, QPoint at, const QString& caption,
                  const QColor& colour = kBlack);
QLabel* MakeUnitLabel(QWidget* parent, const char* name, int right, int top, const QString& caption);
QLineEdit* MakeEdit(QWidget* parent, const char* name, const QRect& geometry,
                    const QString& text = {}, TWeight weight = TWeight::Normal);
QPushButton* MakeButton(QWidget* parent, const char* name, const QRect& geometry,
                        const QString& caption, const QColor& colour = kBlack,
                        TWeight weight = TWeight::Normal);

}  // namespace tervela
