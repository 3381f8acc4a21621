#pragma once
#include <QString>
#include <QStringList>

class Catalogo;

// The stored masks (table tlmascara).

// Stores a mask exactly as typed, with its length in characters.
void GuardaMascara(Catalogo& bd, const QString& mascara);

// The stored masks, longest first; within one length, in the order added.
QStringList MascarasGuardadas(Catalogo& bd);
