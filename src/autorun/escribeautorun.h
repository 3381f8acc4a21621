#pragma once
#include <QByteArray>
#include <QString>

class ArbolDiscos;

// The text of autorun.dat for a tree: one block per disc node that has
// children, UTF-8, every line ending in CR LF. Picture lines are "\" + the
// picture's relative path, or its full path when rutasRelativas is false (the
// preview loads them where they are now); song path lines are always relative.
// Control characters in names are written as blanks, so no name can add a line.
QByteArray TextoAutorun(const ArbolDiscos& arbol, bool rutasRelativas);

// Writes autorun.dat into carpeta, replacing an old one only once the new one
// is complete. Returns the empty text, or the path that could not be written.
QString EscribeAutorun(const ArbolDiscos& arbol, bool rutasRelativas, const QString& carpeta);
