#pragma once
#include "worklist/listatrabajo.h"

// Adds an analysed row to a work list: kind, author, disc, song, position, mask.
inline int AnadeFila(ListaTrabajo& lista, const QString& texto, const QString& tag, const QString& tipo,
                     const QString& autor, const QString& disco, const QString& cancion = QString(),
                     const QString& posicion = QStringLiteral("00"))
{
    const QString icono = tipo == QLatin1String("p") ? QStringLiteral("img") : QStringLiteral("mp3");
    const int i = lista.Anade(texto, tag, tipo, icono);
    lista.PonSubItem(i, columna::kAutor, autor);
    lista.PonSubItem(i, columna::kDisco, disco);
    lista.PonSubItem(i, columna::kCancion, cancion);
    lista.PonSubItem(i, columna::kPosicion, posicion);
    lista.PonSubItem(i, columna::kMascara, QStringLiteral("a\\d\\p-c"));
    return i;
}
