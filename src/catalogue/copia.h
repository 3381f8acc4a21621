#pragma once
#include <QString>

class Catalogo;
struct UbicacionCatalogo;

// Copies the open catalogue, its rows with their ids and its pictures, into
// an empty one: a server database that holds no catalogue yet or only an
// empty one, or a new SQLite file. dirOrigen is the folder of the open
// catalogue's pictures. One operation on the target: a failure leaves it as
// it was (a new file is removed). Returns a line saying what was copied.
// Throws LodrinError.
QString CopiaCatalogo(Catalogo& origen, const QString& dirOrigen, const UbicacionCatalogo& destino);

// The target a command line names: an INI file naming a server (".ini"),
// otherwise the path of a new SQLite file.
UbicacionCatalogo DestinoDeCopia(const QString& texto);
