#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

class Catalogo;
class QSqlError;
struct UbicacionCatalogo;

// How the engine classes a failed statement.
enum class ClaseFallo {
    Otro,
    // Another program changed the same rows at the same moment (a key
    // recorded twice, a serialization failure, a deadlock): the operation
    // runs again from its start.
    Conflicto,
    // The connection to the server is gone (restarted, backend killed).
    ConexionPerdida,
    // Another program holds a lock the statement waited for a moment: the
    // operation runs again while its wait lasts.
    Bloqueo,
};

// How long an engine waits at once for another program's lock before the
// operation gives the window a turn and tries again.
constexpr int kRodajaEsperaMs = 200;

// The schema's steps, one numbered list for every engine: each a fact about
// the catalogue, which each engine writes in its own SQL. The number of the
// last one taken is kept in the catalogue; each is one transaction.
//  1 the folded key columns of titles, CD descriptions and picture paths
//  2 the search index, and the marks of songs whose text may have changed
//  3 the marks also catch an author, disc or CD added after its songs
//  4 keys and search texts folded fully ("ß" = "ss"): CDs whose descriptions
//    now fold alike are one CD, songs of one disc or pictures of one disc
//    whose names now fold alike keep keys of their own
//  5 the token of a CD's last recording, under which its picture copies
//    wait until they take their own names
constexpr int kPasosEsquema = 5;

// Everything the two engines do differently, chosen once when the catalogue
// is made: the connection, the schema and its numbered steps, ids, conflicts,
// the search index, picture bytes and the write lock. Each engine lives in
// files named for it; nothing else writes SQL of one engine only.
class MotorCatalogo {
public:
    virtual ~MotorCatalogo() = default;

    // The engine of a location.
    static std::unique_ptr<MotorCatalogo> Para(const UbicacionCatalogo& u);

    // Opens the program's connection: a missing catalogue is made whole, an
    // older one climbs the schema steps it lacks (each one transaction), the
    // search index is made or mended. Returns whether the catalogue can only
    // be read; aviso says why when the person should know. Throws
    // CatalogoNoAbierto, leaving nothing open.
    // hastaPaso stops the climb at an earlier step (a catalogue as an
    // earlier version left it, for tests).
    virtual bool Abre(Catalogo& bd, QString& aviso, int hastaPaso = kPasosEsquema) = 0;
    // The numbers of the schema steps this engine has a body for.
    virtual std::vector<int> Pasos() const = 0;
    // A second connection that only reads, as the catalogue stands (the
    // search thread). Throws CatalogoNoAbierto.
    virtual void AbreParaLeer(Catalogo& bd) = 0;
    // Opens the connection again after the server lost it; false when it
    // cannot be opened.
    virtual bool Reconecta(Catalogo& bd) = 0;

    // Begins an operation that writes, taking the right to write at its
    // start; false with the engine's failure when it could not. No statement
    // of the operation waits for a lock longer than esperaMs.
    virtual bool Empieza(Catalogo& bd, int esperaMs, QSqlError& fallo) = 0;
    // Once the operation has ended, either way.
    virtual void Acaba(Catalogo&) {}
    // Who holds the catalogue when an operation could not take it, as the
    // person reads it after "lo tiene bloqueado": empty when the engine
    // cannot tell.
    virtual QString QuienBloquea(Catalogo&) { return {}; }
    // What tells one catalogue from another however its location is
    // written; empty where the location itself does (a file).
    virtual QString Identidad(Catalogo&) { return {}; }
    // Just before an operation commits: the search index takes what changed.
    virtual void AntesDeConfirmar(Catalogo& bd) = 0;
    virtual ClaseFallo Clase(const QSqlError& e) const = 0;
    // The engine's text of a failure, as the person reads it.
    virtual QString Texto(const QSqlError& e) const = 0;

    // Inserts a row and returns its new id.
    virtual qint64 Inserta(Catalogo& bd, const QString& tabla, const QString& columnaId, const QStringList& columnas,
                           const QVariantList& valores) = 0;
    // The id of the row whose columns claves hold valoresClave, inserting it
    // (columnas, valores, claves among them) when there is none: the
    // find-or-insert of the catalogue's names.
    virtual qint64 BuscaOInserta(Catalogo& bd, const QString& tabla, const QString& columnaId, const QStringList& claves,
                                 const QVariantList& valoresClave, const QStringList& columnas,
                                 const QVariantList& valores) = 0;
    // BuscaOInserta for many rows whose ids are not needed: each row of filas
    // (values of columnas, claves among them), in order, unless a row with
    // its keys is there already. Throws ConflictoCatalogo when another
    // program holds one of those keys not yet committed.
    virtual void InsertaQueFalten(Catalogo& bd, const QString& tabla, const QString& columnaId,
                                  const QStringList& claves, const QStringList& columnas,
                                  const std::vector<QVariantList>& filas) = 0;
    // BuscaOInserta for many rows at once: the id of each row of filas
    // (values of columnas, claves among them), in order, and whether this
    // call inserted it. Rows already there cost no new id; new rows get ids
    // in the order given, a key repeated in filas one row. Throws
    // ConflictoCatalogo when another program holds a key and does not let go.
    virtual std::vector<std::pair<qint64, bool>> BuscaOInsertaVarias(Catalogo& bd, const QString& tabla,
                                                                    const QString& columnaId,
                                                                    const QStringList& claves,
                                                                    const QStringList& columnas,
                                                                    const std::vector<QVariantList>& filas) = 0;
    // The column that keeps the order in which masks were added.
    virtual QString OrdenDeAlta() const = 0;
    // After rows were copied in with their ids: new rows get ids after them.
    virtual void TrasCopia(Catalogo& bd) = 0;
    // A read of many statements that sees one state of the catalogue
    // (copying it): begins it, and returns false when it could not.
    virtual bool EmpiezaInstantanea(Catalogo& bd) = 0;

    // Picture bytes: whether the catalogue itself keeps them (the folder of
    // copies is then only a cache), storing and reading them.
    virtual bool GuardaImagen(Catalogo& bd, qint64 idobjeto, const QByteArray& bytes) = 0;
    virtual QByteArray LeeImagen(Catalogo& bd, qint64 idobjeto) = 0;
    // GuardaImagen for many pictures: (idobjeto, bytes) each.
    virtual bool GuardaImagenes(Catalogo& bd, const std::vector<std::pair<qint64, QByteArray>>& imagenes);
    // Where the folder is only a cache, the catalogue's own id, which the
    // cache is marked with; empty where the folder is the catalogue's store.
    virtual QString IdCache() const = 0;

    // The search index: whether it can be read (it exists and holds every
    // song), and the songs holding every word, as a table `b` with the
    // column idcancion to stand in a from list, in the order of idcancion
    // (at most limite of them when limite >= 0). The words come folded, none
    // empty; their values are appended to valores. leyendoTodas looks in
    // every text instead of going through the index, which costs less when
    // most songs hold the words.
    virtual bool IndiceAlDia(Catalogo& bd) = 0;
    virtual QString CancionesConPalabras(const QStringList& palabras, QVariantList& valores, bool leyendoTodas,
                                         qint64 limite) = 0;
    // Whether the index can be read for every song but those marked in
    // tlbusca_pendiente, which are then looked at one by one.
    // The server: never, its search looks at every song while any wait.
    virtual bool IndiceConPendientes(Catalogo&) { return false; }
    // Before a search of the window: when another program wrote the
    // catalogue since the last look, the index is checked and brought up to
    // date if the catalogue can be written now.
    // The server: nothing; its search reads every song while any wait.
    virtual void MiraCambiosFuera(Catalogo&) {}
};

// The folded texts of songs whose index entries changed, for the engine to
// store: (idcancion, text) in batches.
using TextosBusqueda = std::vector<std::pair<qint64, QString>>;

// Keeping the index, shared by the engines: every song marked in
// tlbusca_pendiente gets its folded text through guarda, a batch at a time,
// and the marks are cleared. Returns at once when nothing is marked.
void PonAlDiaIndice(Catalogo& bd, const std::function<void(const TextosBusqueda&)>& guarda);

// The shared body of step 4: every key folded again; CDs whose keys now
// meet merged into the first (their songs moved), songs and pictures whose
// keys now meet on one disc kept apart by a key of their own, every song
// marked for the index.
void PliegaDeNuevo(Catalogo& bd);

// The key a row keeps when another row of its place already holds the
// plain one: the plain key, a line break (which no typed name holds) and
// its position or id.
QString ClaveAparte(const QString& clave, qint64 numero);

// The typical masks a new catalogue starts with, in the order they are added.
QStringList MascarasTipicas();
