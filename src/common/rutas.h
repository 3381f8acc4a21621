#pragma once
#include <QString>

// Inside the system relative paths use '\' between folders; only at the file
// system are they turned into native paths.
namespace rutas {

// base (native, any ending) + relative text with '\' as separator -> native path.
QString Nativa(const QString& base, const QString& relativa);

// A native folder path with its trailing separator.
QString ConSeparador(const QString& carpeta);

// The native separator as a one-character text.
QString Separador();

// Joins a folder and a name the way the system joins them: with "\" unless the
// folder already ends in one (the root of a drive).
QString UneConBarra(const QString& carpeta, const QString& nombre);

// Whether nombre is a plain file name, one that stays in the folder it is
// joined to: not empty, not "." or "..", without separators ('\\', '/'),
// drive letters (':') or control characters.
bool EsNombreSimple(const QString& nombre);

}  // namespace rutas
