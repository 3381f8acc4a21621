#pragma once
#include <QString>

// The form in which a text is compared without regard to case, for every
// letter (titles, CD descriptions, picture paths): what the key columns hold.
QString Pliega(const QString& texto);

// The form a text is searched in: case folded and accents taken off
// ("Ñandú" -> "nandu").
QString PliegaBusqueda(const QString& texto);

// The text a song is searched in: its author, disc, title and CD, folded.
QString TextoBusqueda(const QString& autor, const QString& disco, const QString& cancion, const QString& cd);
