#include "ui/help_text.h"

#include <QStringList>

namespace tervela {

QString HelpText() {
  const QString rule63(63, u'_');
  const QString rule64(64, u'_');
  const QString indent(13, u' ');
  const QStringList lines = {
      rule63,
      QStringLiteral("Input file structure data example:"),
      QString(),
      QStringLiteral("For WGS84  to  TM-A  &  WGS84  to  TM-B*"),
      QString(),
      QStringLiteral("degreeWGS84 North; space; degreeWGS84 East; space; string to end of line"),
      QStringLiteral("line example: 45.22568 13.58477 free text"),
      QString(),
      QStringLiteral("For TM-B to WGS84  & TM-A to WGS84  &  TM-A to TM-B  &  TM-B to TM-A"),
      QString(),
      QStringLiteral("meters North; space; meters East; space; string to end of line"),
      QStringLiteral("line example: 5012567 2455817 free text"),
      QString(),
      QStringLiteral("File Decimal Separator must be point"),
      rule63,
      QStringLiteral("Input data structure data example:"),
      QString(),
      QString::fromUtf8("wrong : °N  45° 13' 32.45''"),
      indent + QString::fromUtf8("°E  13° 35' 5.17''"),
      QString::fromUtf8("correct: °N  45.22568"),
      indent + QString::fromUtf8("°E  13.58477"),
      QString(),
      QStringLiteral("Data Decimal Separator must be point or comma depend upon Windows settings"),
      rule64,
      QString(),
      QStringLiteral(" TM = Transverse Mercator projection"),
      QStringLiteral(" A = first local system"),
      QStringLiteral(" B = second local system"),
  };
  return lines.join(u'\n');
}

}  // namespace tervela
