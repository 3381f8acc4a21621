#pragma once
#include <QList>
#include <QString>

class frmVaro;

// A music tree for "Busca": 50 authors with 39 discs each, 2,000 folders;
// ten files in each disc and author folder, 20,000 files, eight in ten of
// them MP3s. Returns the number of files made.
int CreaArbolBusca(const QString& raiz);

// Milliseconds of each of `vueltas` runs of `find` over raiz, after one run
// that only warms the cache; the processor time of each into *cpu when given
// (on a machine shared with other work the wall clock says little).
QList<double> TiemposFind(const QString& raiz, int vueltas, QList<double>* cpu = nullptr);

// Milliseconds of each of `vueltas` runs of "Busca" in the window over raiz
// dropped on an empty work list, the rows drawn; one warming run first.
// `filas` gets the rows listed.
QList<double> TiemposBusca(frmVaro& w, const QString& raiz, int vueltas, int& filas, QList<double>* cpu = nullptr);
