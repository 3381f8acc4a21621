#pragma once
#include <QString>
#include <QStringList>
#include <vector>

class Catalogo;

// Songs taken elsewhere as CSV (RFC 4180: fields parted by commas, records
// by CR LF, a field holding a comma, a quote or a line break between quotes
// with its quotes doubled), in UTF-8. One header row, then one row a song:
// CD, serial, author, disc, song, position, playing time (mm:ss, empty when
// unknown) and the song's path on its CD.

extern const QStringList kCabeceraCsv;
// One record, ending in CR LF.
QString LineaCsv(const QStringList& campos);

// Writes every song of the catalogue, CD by CD in the order they were
// recorded, into fichero, which appears whole or not at all. Returns how
// many songs. Throws LodrinError naming the file. Only reads the catalogue.
qint64 ExportaCanciones(Catalogo& bd, const QString& fichero);
// The same for the songs given (a search's rows, the repeated songs), in
// that order; a song the catalogue no longer holds is left out.
qint64 ExportaCanciones(Catalogo& bd, const QString& fichero, const std::vector<qint64>& idcanciones);
