#pragma once

#include <QByteArray>
#include <QString>

// File names are bytes, not always UTF-8. A name taken from the command line keeps every byte that is not
// part of valid UTF-8 as a lone surrogate U+DC80 to U+DCFF, and nativeFileName() turns those back into the
// bytes they stood for, so that any name the file system holds can be named. Other names pass as
// QFile::encodeName passes them.
QString fileNameFromArgument(const char* argument);
QByteArray nativeFileName(const QString& name);
