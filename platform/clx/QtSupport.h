// QtSupport: the conversions between the component library's values and
// Qt's that the clx sources share. Private to platform/clx (and its tests):
// the public headers keep Qt's types out.
#pragma once

#include "clx/Graphics.h"

#include <QtCore/QString>
#include <QtGui/QFontDatabase>

inline QString ToQString(const AnsiString& S) {
    return QString::fromStdString(S);
}

inline AnsiString FromQString(const QString& S) {
    return S.toStdString();
}

// The writing system a font of the character set must support.
QFontDatabase::WritingSystem CharsetToWritingSystem(TFontCharSet Charset);

// The platform's key code (Keys.h) of a Qt 6 key code: printable keys are
// the same, Qt's function keys move from $01000000 down to $1000.
Integer KeyFromQt(int QtKey);
