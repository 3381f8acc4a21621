#pragma once
#include <QString>

// The special names the whole system shares.
// The value of a field that no mask or person supplied.
inline const QString kVacio = QStringLiteral("<vacio>");
// The author every various-artists disc belongs to.
inline const QString kVariosArtistas = QStringLiteral("<Varios Artistas>");
// The mask column of a decoding taken from the tags the file carries.
inline const QString kMascaraEtiquetas = QStringLiteral("<etiquetas>");
