#include "store/sqlite/motor_sqlite.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QUrl>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <cerrno>
#include <iterator>
#include <unistd.h>

#include "common/ficheroregular.h"
#include "store/catalogo.h"
#include "store/pliegue.h"

namespace {

// The tables as the first version made them: text columns compare without
// regard to ASCII case, as the catalogue has always done. A new catalogue
// starts from them and climbs every step, so a new file and an old one
// brought up to date are the same. Lookups of titles, descriptions and
// picture paths go through the key columns of step 1, which the program
// fills with the case-folded text, so every letter compares without regard
// to case and the file needs nothing but the engine itself to be read or
// checked.
const char* const kTablas[] = {
    "CREATE TABLE tlautor (idautor INTEGER PRIMARY KEY AUTOINCREMENT,"
    " dsautor TEXT COLLATE NOCASE, dsautor_std TEXT COLLATE NOCASE, intautor INTEGER)",
    "CREATE TABLE tldisco (iddisco INTEGER PRIMARY KEY AUTOINCREMENT,"
    " dsdisco TEXT COLLATE NOCASE, dsdisco_std TEXT COLLATE NOCASE, cdautord INTEGER)",
    "CREATE TABLE tlcd (idcd INTEGER PRIMARY KEY AUTOINCREMENT,"
    " dscd TEXT COLLATE NOCASE, sercd TEXT COLLATE NOCASE, lotienecd TEXT COLLATE NOCASE, dtcd DATE)",
    "CREATE TABLE tlcancion (idcancion INTEGER PRIMARY KEY AUTOINCREMENT,"
    " dscancion TEXT COLLATE NOCASE, cdcd INTEGER, cddisco INTEGER, cdautor INTEGER,"
    " wncancion INTEGER, dspath TEXT COLLATE NOCASE, swvarios BOOLEAN, wntime INTEGER)",
    "CREATE TABLE tlmascara (dsmascara TEXT, wnmascara INTEGER)",
    "CREATE TABLE tlobjetos (idobjeto INTEGER PRIMARY KEY AUTOINCREMENT,"
    " dstabla TEXT COLLATE NOCASE, idtabla INTEGER, dspath TEXT COLLATE NOCASE)",
};

// Every lookup has an index, so it costs the same in a small catalogue and
// in a large one. The mask index runs longest first and, within one length,
// in the order the masks were added.
const char* const kIndices[] = {
    "CREATE INDEX IF NOT EXISTS ixautor_std ON tlautor (dsautor_std)",
    "CREATE INDEX IF NOT EXISTS ixdisco_std ON tldisco (dsdisco_std, cdautord)",
    "CREATE INDEX IF NOT EXISTS ixdisco_autor ON tldisco (cdautord)",
    "CREATE INDEX IF NOT EXISTS ixcd_ds ON tlcd (dscd)",
    "CREATE INDEX IF NOT EXISTS ixcd_clave ON tlcd (dscd_clave)",
    "CREATE INDEX IF NOT EXISTS ixcancion_clave ON tlcancion (dscancion_clave, cddisco, cdautor, cdcd)",
    "CREATE INDEX IF NOT EXISTS ixcancion_autor ON tlcancion (cdautor, cddisco)",
    "CREATE INDEX IF NOT EXISTS ixcancion_disco ON tlcancion (cddisco, cdautor)",
    "CREATE INDEX IF NOT EXISTS ixcancion_cd ON tlcancion (cdcd, cdautor, cddisco)",
    "CREATE INDEX IF NOT EXISTS ixobjetos_clave ON tlobjetos (dstabla, idtabla, dspath_clave)",
    "CREATE INDEX IF NOT EXISTS ixmascara ON tlmascara (wnmascara DESC)",
};

// Indexes of earlier versions that the key columns replace.
const char* const kIndicesViejos[] = {"ixcancion_ds", "ixobjetos"};

// The tables and columns the program needs of any catalogue.
const char* const kColumnas[][10] = {
    {"tlautor", "idautor", "dsautor", "dsautor_std", "intautor", nullptr},
    {"tldisco", "iddisco", "dsdisco", "dsdisco_std", "cdautord", nullptr},
    {"tlcd", "idcd", "dscd", "sercd", "lotienecd", "dtcd", nullptr},
    {"tlcancion", "idcancion", "dscancion", "cdcd", "cddisco", "cdautor", "wncancion", "dspath",
     "swvarios", "wntime"},
    {"tlmascara", "dsmascara", "wnmascara", nullptr},
    {"tlobjetos", "idobjeto", "dstabla", "idtabla", "dspath", nullptr},
};

// The key columns of this version: table, id, text column, key column.
const char* const kClaves[][4] = {
    {"tlcd", "idcd", "dscd", "dscd_clave"},
    {"tlcancion", "idcancion", "dscancion", "dscancion_clave"},
    {"tlobjetos", "idobjeto", "dspath", "dspath_clave"},
};

// tlbusca holds the folded text; the full-text table indexes it without a
// copy of its own, by trigrams, so any piece of a word of three letters or
// more is found through the index. The program folds case and accents
// itself (the tokenizer of this engine's version cannot strip accents), so
// the tokenizer compares as written.
//
// Triggers mark a song whose text may have changed, whoever wrote it; the
// store puts marked songs in the index before each operation commits, and on
// opening a file that other programs wrote. They use nothing but the
// engine's own SQL, so the engine's tool can still write the file.
const char* const kIndice[] = {
    "CREATE TABLE tlbusca (idcancion INTEGER PRIMARY KEY, dsbusca TEXT NOT NULL)",
    "CREATE TABLE tlbusca_pendiente (idcancion INTEGER PRIMARY KEY)",
    "CREATE VIRTUAL TABLE tlbusca_fts USING fts5(dsbusca, content='tlbusca', content_rowid='idcancion',"
    " tokenize='trigram case_sensitive 1')",
    "CREATE TRIGGER tlbusca_ai AFTER INSERT ON tlbusca BEGIN"
    " INSERT INTO tlbusca_fts (rowid, dsbusca) VALUES (new.idcancion, new.dsbusca); END",
    "CREATE TRIGGER tlbusca_ad AFTER DELETE ON tlbusca BEGIN"
    " INSERT INTO tlbusca_fts (tlbusca_fts, rowid, dsbusca) VALUES ('delete', old.idcancion, old.dsbusca); END",
    "CREATE TRIGGER tlbusca_au AFTER UPDATE ON tlbusca BEGIN"
    " INSERT INTO tlbusca_fts (tlbusca_fts, rowid, dsbusca) VALUES ('delete', old.idcancion, old.dsbusca);"
    " INSERT INTO tlbusca_fts (rowid, dsbusca) VALUES (new.idcancion, new.dsbusca); END",
    "CREATE TRIGGER tlbusca_cancion_ai AFTER INSERT ON tlcancion BEGIN"
    " INSERT OR IGNORE INTO tlbusca_pendiente VALUES (new.idcancion); END",
    "CREATE TRIGGER tlbusca_cancion_au AFTER UPDATE OF idcancion, dscancion, cdcd, cddisco, cdautor ON tlcancion BEGIN"
    " DELETE FROM tlbusca WHERE idcancion = old.idcancion AND old.idcancion <> new.idcancion;"
    " INSERT OR IGNORE INTO tlbusca_pendiente VALUES (new.idcancion); END",
    "CREATE TRIGGER tlbusca_cancion_ad AFTER DELETE ON tlcancion BEGIN"
    " DELETE FROM tlbusca WHERE idcancion = old.idcancion;"
    " DELETE FROM tlbusca_pendiente WHERE idcancion = old.idcancion; END",
    // The program never renames or removes an author, disc or CD; another
    // tool may.
    "CREATE TRIGGER tlbusca_autor_au AFTER UPDATE OF idautor, dsautor ON tlautor BEGIN"
    " INSERT OR IGNORE INTO tlbusca_pendiente SELECT idcancion FROM tlcancion"
    " WHERE cdautor IN (old.idautor, new.idautor); END",
    // A row added after its songs, or put back by INSERT OR REPLACE (which
    // fires no delete), names songs that are already there.
    "CREATE TRIGGER tlbusca_autor_ai AFTER INSERT ON tlautor BEGIN"
    " INSERT OR IGNORE INTO tlbusca_pendiente SELECT idcancion FROM tlcancion WHERE cdautor = new.idautor; END",
    "CREATE TRIGGER tlbusca_disco_ai AFTER INSERT ON tldisco BEGIN"
    " INSERT OR IGNORE INTO tlbusca_pendiente SELECT idcancion FROM tlcancion WHERE cddisco = new.iddisco; END",
    "CREATE TRIGGER tlbusca_cd_ai AFTER INSERT ON tlcd BEGIN"
    " INSERT OR IGNORE INTO tlbusca_pendiente SELECT idcancion FROM tlcancion WHERE cdcd = new.idcd; END",
    "CREATE TRIGGER tlbusca_autor_ad AFTER DELETE ON tlautor BEGIN"
    " INSERT OR IGNORE INTO tlbusca_pendiente SELECT idcancion FROM tlcancion WHERE cdautor = old.idautor; END",
    "CREATE TRIGGER tlbusca_disco_au AFTER UPDATE OF iddisco, dsdisco ON tldisco BEGIN"
    " INSERT OR IGNORE INTO tlbusca_pendiente SELECT idcancion FROM tlcancion"
    " WHERE cddisco IN (old.iddisco, new.iddisco); END",
    "CREATE TRIGGER tlbusca_disco_ad AFTER DELETE ON tldisco BEGIN"
    " INSERT OR IGNORE INTO tlbusca_pendiente SELECT idcancion FROM tlcancion WHERE cddisco = old.iddisco; END",
    "CREATE TRIGGER tlbusca_cd_au AFTER UPDATE OF idcd, dscd ON tlcd BEGIN"
    " INSERT OR IGNORE INTO tlbusca_pendiente SELECT idcancion FROM tlcancion WHERE cdcd IN (old.idcd, new.idcd); END",
    "CREATE TRIGGER tlbusca_cd_ad AFTER DELETE ON tlcd BEGIN"
    " INSERT OR IGNORE INTO tlbusca_pendiente SELECT idcancion FROM tlcancion WHERE cdcd = old.idcd; END",
    "INSERT INTO tlbusca_pendiente SELECT idcancion FROM tlcancion",
};

// Every table and trigger of the index, by name.
const char* const kObjetosIndice[] = {
    "tlbusca", "tlbusca_pendiente", "tlbusca_fts", "tlbusca_ai", "tlbusca_ad", "tlbusca_au",
    "tlbusca_cancion_ai", "tlbusca_cancion_au", "tlbusca_cancion_ad", "tlbusca_autor_ai", "tlbusca_autor_au",
    "tlbusca_autor_ad", "tlbusca_disco_ai", "tlbusca_disco_au", "tlbusca_disco_ad", "tlbusca_cd_ai",
    "tlbusca_cd_au", "tlbusca_cd_ad",
};

// The number of the last schema step taken is kept in the file's user_version.
constexpr int kVersion = kPasosEsquema;

// What the engine's failures a person can act on mean, said before the
// engine's own text: it cannot be opened, written, read as sound, or another
// program holds it.
QString claseError(const QSqlError& e)
{
    switch (e.nativeErrorCode().toInt() & 0xff) {
    case 14: return QStringLiteral("no se puede abrir");                 // CANTOPEN
    case 8: return QStringLiteral("es de solo lectura");                 // READONLY
    case 11: case 26: return QStringLiteral("está dañado");              // CORRUPT, NOTADB
    case 5: case 6: return QStringLiteral("lo tiene bloqueado otro programa");  // BUSY, LOCKED
    default: return QString();
    }
}

QString textoMotor(const QSqlError& e) { return e.databaseText().isEmpty() ? e.text() : e.databaseText(); }

QString textoError(const QSqlError& e)
{
    const QString clase = claseError(e);
    return clase.isEmpty() ? textoMotor(e) : QStringLiteral("%1 (%2)").arg(clase, textoMotor(e));
}

QString L(const char* t) { return QString::fromLatin1(t); }

void ejecuta(QSqlQuery& q, const QString& sql)
{
    if (!q.exec(sql))
        throw LodrinError(textoError(q.lastError()));
}

QStringList columnas(QSqlQuery& q, const char* tabla)
{
    ejecuta(q, QStringLiteral("PRAGMA table_info(%1)").arg(L(tabla)));
    QStringList c;
    while (q.next())
        c << q.value(1).toString().toLower();
    q.finish();
    return c;
}

void creaEn(QSqlDatabase& d)
{
    QSqlQuery q(d);
    ejecuta(q, QStringLiteral("PRAGMA journal_mode=DELETE"));
    ejecuta(q, QStringLiteral("PRAGMA synchronous=FULL"));
    if (!d.transaction())
        throw LodrinError(textoError(d.lastError()));
    for (const char* t : kTablas)
        ejecuta(q, L(t));
    q.prepare(QStringLiteral("insert into tlmascara (dsmascara, wnmascara) values (?, ?)"));
    for (const QString& m : MascarasTipicas()) {
        q.bindValue(0, m);
        q.bindValue(1, int(m.size()));
        if (!q.exec())
            throw LodrinError(textoError(q.lastError()));
    }
    q.finish();
    if (!d.commit())
        throw LodrinError(textoError(d.lastError()));
}


// Makes a new catalogue file whole (the first version's tables, the typical
// masks) beside ruta and puts it in place only once complete, so an
// interrupted creation never leaves a half catalogue; opening it then climbs
// every step. Two programs starting at the same moment
// each build their own; the first in place wins, the other opens it. Throws
// CatalogoNoAbierto.
void creaCatalogo(const QString& ruta, const QString& conexion)
{
    const QString temporal = QStringLiteral("%1.nuevo-%2-%3")
                                 .arg(ruta)
                                 .arg(QCoreApplication::applicationPid())
                                 .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    QString fallo;
    {
        QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), conexion);
        d.setDatabaseName(temporal);
        if (!d.open()) {
            fallo = textoError(d.lastError());
        } else {
            try {
                creaEn(d);
            } catch (const LodrinError& e) {
                fallo = e.message();
            }
        }
        d.close();
    }
    QSqlDatabase::removeDatabase(conexion);
    if (fallo.isEmpty()) {
        // A link is made only where no file is: never over the other's.
        const QByteArray desde = QFile::encodeName(temporal);
        const QByteArray hasta = QFile::encodeName(ruta);
        if (::link(desde.constData(), hasta.constData()) != 0 && errno != EEXIST &&
            !QFile::rename(temporal, ruta) && !QFileInfo::exists(ruta))
            fallo = QStringLiteral("no se puede poner el fichero en su sitio");
    }
    QFile::remove(temporal);
    QFile::remove(temporal + QStringLiteral("-journal"));
    if (!fallo.isEmpty())
        throw CatalogoNoAbierto(QStringLiteral("No se puede crear el catálogo %1: %2").arg(ruta, fallo));
}

bool escribible(const QString& ruta);

using Estado = MotorSQLite::Estado;

// A file left in write-ahead mode wants side files beside it even to be
// read, and the reader cannot remove them after. Where it is only read: a
// file no one has open (no -wal) is read as a file no one writes, which
// needs none; committed rows in a -wal that cannot be read in place (a
// read-only medium, or no program holding it) are read from a private copy
// of both; a -wal another program holds open is read beside it.
bool enModoWal(const QByteArray& cabecera) { return cabecera.size() >= 20 && cabecera[18] == 2; }

void comoLeeWal(const QString& ruta, bool escribe, Estado& estado)
{
    const QFileInfo wal(ruta + QStringLiteral("-wal"));
    const bool conFilas = wal.exists() && wal.size() > 32;  // more than its header
    const bool abierto = QFileInfo::exists(ruta + QStringLiteral("-shm"));
    if (conFilas && (!escribe || !abierto))
        estado.copia = true;
    else if (!wal.exists() || !escribe)
        estado.inmutable = true;
}

void abreComo(QSqlDatabase& d, const QString& ruta, bool soloLectura, bool inmutable)
{
    if (inmutable) {
        QUrl url = QUrl::fromLocalFile(ruta);
        url.setQuery(QStringLiteral("immutable=1"));
        d.setDatabaseName(url.toString(QUrl::FullyEncoded));
        d.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI"));
        return;
    }
    d.setDatabaseName(ruta);
    d.setConnectOptions(soloLectura ? QStringLiteral("QSQLITE_OPEN_READONLY") : QString());
}

// Looks at an existing file without writing to it: it must be a database of
// the engine holding the tables and columns the program uses. Throws
// CatalogoNoAbierto.
Estado comprueba(const QString& ruta, const QString& conexion, bool soloLeer)
{
    // Through the reader that never waits: a named pipe in the catalogue's
    // place is refused, not waited on.
    FicheroRegular f(ruta, false);
    if (!f.abierto())
        throw CatalogoNoAbierto(QStringLiteral("No se puede abrir el fichero %1: %2").arg(ruta, RazonFallo(f.error())));
    QByteArray cabecera(20, '\0');
    cabecera.truncate(qMax<qint64>(0, f.Lee(0, cabecera.data(), cabecera.size())));
    f.Cierra();
    if (!cabecera.startsWith(QByteArray("SQLite format 3\0", 16)))
        throw CatalogoNoAbierto(
            QStringLiteral("El fichero %1 no es una base de datos reconocida: file is not a database").arg(ruta));

    QString fallo;
    Estado estado;
    if (enModoWal(cabecera) && (soloLeer || !escribible(ruta)))
        comoLeeWal(ruta, escribible(ruta), estado);
    if (estado.copia)
        return estado;
    {
        QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), conexion);
        // A journal left by a program that was killed half-way through an
        // operation must be played back first, which takes writing.
        const bool caliente = QFile::exists(ruta + QStringLiteral("-journal")) && QFileInfo(ruta).isWritable();
        abreComo(d, ruta, !caliente, estado.inmutable);
        if (!d.open()) {
            fallo = textoError(d.lastError());
        } else {
            QSqlQuery q(d);
            try {
                for (const auto& tabla : kColumnas) {
                    const QStringList hay = columnas(q, tabla[0]);
                    for (int i = 1; i < 10 && tabla[i] && fallo.isEmpty(); ++i)
                        if (!hay.contains(L(tabla[i])))
                            fallo = QStringLiteral("El fichero %1 no es un catálogo: falta la columna %2 de la tabla %3")
                                        .arg(ruta, L(tabla[i]), L(tabla[0]));
                    if (!fallo.isEmpty())
                        break;
                }
                for (const auto& c : kClaves)
                    estado.sinClaves = estado.sinClaves || !columnas(q, c[0]).contains(L(c[3]));
                ejecuta(q, QStringLiteral("PRAGMA user_version"));
                estado.version = q.next() ? q.value(0).toInt() : 0;
                q.finish();
            } catch (const LodrinError& e) {
                fallo = QStringLiteral("No se puede abrir el catálogo %1: %2").arg(ruta, e.message());
            }
        }
        d.close();
    }
    QSqlDatabase::removeDatabase(conexion);
    if (!fallo.isEmpty())
        throw CatalogoNoAbierto(fallo);
    return estado;
}

// A connection that writes: rollback journal, each commit on disk before it
// returns. A file left with a write-ahead journal is switched back.
void configuraEscritura(Catalogo& bd)
{
    QSqlQuery q(bd.db());
    ejecuta(q, QStringLiteral("PRAGMA journal_mode=DELETE"));
    const QString modo = q.next() ? q.value(0).toString().toLower() : QString();
    q.finish();
    if (modo != QLatin1String("delete"))
        throw LodrinError(QStringLiteral("No se puede abrir el catálogo %1: otro programa lo tiene abierto").arg(bd.ruta()));
    ejecuta(q, QStringLiteral("PRAGMA synchronous=FULL"));
    ejecuta(q, QStringLiteral("PRAGMA foreign_keys=OFF"));
    // Changed pages stay in memory until the commit, however many (about
    // 1 KB a song), so the file alone is a whole catalogue between commits.
    ejecuta(q, QStringLiteral("PRAGMA cache_spill=OFF"));
}

QString nombresIndice()
{
    QStringList n;
    for (const char* o : kObjetosIndice)
        n << QLatin1Char('\'') + L(o) + QLatin1Char('\'');
    return n.join(u',');
}

// Whether every table and trigger of the index is there: a half index
// (tables dropped by hand, triggers left) is no index.
bool hayIndice(Catalogo& bd)
{
    static const QString sql =
        QStringLiteral("select count(*) from sqlite_master where name in (%1)").arg(nombresIndice());
    return bd.PrimerEntero(sql, {}) == qint64(std::size(kObjetosIndice));
}

// Makes the index again from nothing, every song marked to be put in it:
// whatever part of it is left goes first.
void rehaceIndice(Catalogo& bd)
{
    Consulta r = bd.Abre(QStringLiteral("select name from sqlite_master where type = 'trigger' and name like 'tlbusca%'"));
    for (; !r.Fin(); r.Siguiente())
        bd.Ejecuta(QStringLiteral("DROP TRIGGER IF EXISTS \"%1\"").arg(r.Texto(QStringLiteral("name"))));
    for (const char* t : {"tlbusca_fts", "tlbusca", "tlbusca_pendiente"})
        bd.Ejecuta(QStringLiteral("DROP TABLE IF EXISTS %1").arg(L(t)));
    for (const char* s : kIndice)
        bd.Ejecuta(L(s));
}

// A cheap look at the index against the songs: as many entries and marks
// as songs, or songs written while the triggers were missing are marked
// and entries of songs gone are dropped.
bool indiceCuadra(Catalogo& bd)
{
    return bd.PrimerEntero(QStringLiteral("select (select count(*) from tlcancion) = (select count(*) from tlbusca)"
                                          " and not exists (select 1 from tlbusca_pendiente)"),
                           {}) != 0;
}

void cuadraIndice(Catalogo& bd)
{
    bd.Ejecuta(QStringLiteral("INSERT OR IGNORE INTO tlbusca_pendiente SELECT idcancion FROM tlcancion c"
                              " WHERE NOT EXISTS (SELECT 1 FROM tlbusca b WHERE b.idcancion = c.idcancion)"));
    bd.Ejecuta(QStringLiteral("DELETE FROM tlbusca WHERE idcancion NOT IN (SELECT idcancion FROM tlcancion)"));
}

// The same look where nothing can be mended: every song has an entry or a
// mark, so the search can read the index and look at the marked songs.
bool cuentaCuadra(Catalogo& bd)
{
    return bd.PrimerEntero(QStringLiteral("select (select count(*) from tlcancion) = (select count(*) from tlbusca)"
                                          " + (select count(*) from tlbusca_pendiente p"
                                          " where not exists (select 1 from tlbusca b where b.idcancion = p.idcancion))"),
                           {}) != 0;
}

bool hayPendientes(Catalogo& bd)
{
    return bd.PrimerEntero(QStringLiteral("select exists (select 1 from tlbusca_pendiente)"), {}) != 0;
}

// Step 1: the folded key columns, filled, and their indexes.
void pasoClaves(Catalogo& bd)
{
    QSqlQuery q(bd.db());
    for (const auto& c : kClaves) {
        if (!columnas(q, c[0]).contains(L(c[3])))
            ejecuta(q, QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 TEXT").arg(L(c[0]), L(c[3])));
        const QString rellena = QStringLiteral("update %1 set %2 = ? where %3 = ?").arg(L(c[0]), L(c[3]), L(c[1]));
        Consulta r = bd.Abre(QStringLiteral("select %1, %2 from %3").arg(L(c[1]), L(c[2]), L(c[0])));
        for (; !r.Fin(); r.Siguiente())
            bd.Ejecuta(rellena, {Pliega(r.Texto(L(c[2]))), r.Campo(L(c[1]))});
    }
    for (const char* i : kIndicesViejos)
        ejecuta(q, QStringLiteral("DROP INDEX IF EXISTS %1").arg(L(i)));
    for (const char* i : kIndices)
        ejecuta(q, L(i));
}

// Step 2: the search index, every song marked to be put in it. A file of
// the version before may have it already, in part or whole.
void pasoIndice(Catalogo& bd) { rehaceIndice(bd); }

// Step 3: the index made again with the triggers that catch an author,
// disc or CD added after its songs.
void pasoAltasEnCualquierOrden(Catalogo& bd) { rehaceIndice(bd); }

// Step 4: the keys are not unique in the file, so the shared body alone.
void pasoPliegueEntero(Catalogo& bd) { PliegaDeNuevo(bd); }

struct Paso {
    int numero;
    void (*cuerpo)(Catalogo&);
};
// Step 5: the token of a CD's last recording, under which its picture
// copies wait until they take their own names.
void pasoToken(Catalogo& bd)
{
    QSqlQuery q(bd.db());
    if (!columnas(q, "tlcd").contains(QStringLiteral("dstoken")))
        ejecuta(q, QStringLiteral("ALTER TABLE tlcd ADD COLUMN dstoken TEXT"));
}

const Paso kPasos[] = {
    {1, pasoClaves}, {2, pasoIndice}, {3, pasoAltasEnCualquierOrden}, {4, pasoPliegueEntero}, {5, pasoToken}};

void daPaso(Catalogo& bd, int numero)
{
    for (const Paso& p : kPasos)
        if (p.numero == numero)
            return p.cuerpo(bd);
    throw LodrinError(QStringLiteral("falta el paso %1 del esquema").arg(numero));
}

// The step a writing connection finds the file at, looked at again inside
// the step's transaction: another program may have taken it meanwhile.
// Files made before the steps were numbered that already hold the key
// columns start from step 1 done.
int pasoActual(Catalogo& bd)
{
    const int v = int(bd.PrimerEntero(QStringLiteral("PRAGMA user_version"), {}));
    if (v != 0)
        return v;
    QSqlQuery q(bd.db());
    return columnas(q, kClaves[0][0]).contains(L(kClaves[0][3])) ? 1 : 0;
}

// An older catalogue that cannot be written: copies of its tables that lack
// the key columns, with the keys filled, kept in memory in front of them.
void vistasLectura(Catalogo& bd)
{
    // The engine keeps the temporary schema apart from the file, so a copy
    // with filled keys can stand in front of each table that lacks them.
    QSqlQuery q(bd.db());
    ejecuta(q, QStringLiteral("PRAGMA temp_store=MEMORY"));
    for (const auto& c : kClaves) {
        if (columnas(q, c[0]).contains(L(c[3])))
            continue;
        for (const char* t : kTablas)
            if (QString::fromLatin1(t).startsWith(QStringLiteral("CREATE TABLE %1 ").arg(L(c[0]))))
                ejecuta(q, QString::fromLatin1(t).replace(0, 12, QStringLiteral("CREATE TEMP TABLE")));
        ejecuta(q, QStringLiteral("ALTER TABLE temp.%1 ADD COLUMN %2 TEXT").arg(L(c[0]), L(c[3])));
        QStringList lista;
        for (const auto& t : kColumnas)
            if (L(t[0]) == L(c[0]))
                for (int i = 1; i < 10 && t[i]; ++i)
                    lista << L(t[i]);
        ejecuta(q, QStringLiteral("INSERT INTO temp.%1 (%2) SELECT %2 FROM main.%1").arg(L(c[0]), lista.join(u',')));
        const QString rellena = QStringLiteral("update temp.%1 set %2 = ? where %3 = ?").arg(L(c[0]), L(c[3]), L(c[1]));
        Consulta r = bd.Abre(QStringLiteral("select %1, %2 from temp.%3").arg(L(c[1]), L(c[2]), L(c[0])));
        for (; !r.Fin(); r.Siguiente())
            bd.Ejecuta(rellena, {Pliega(r.Texto(L(c[2]))), r.Campo(L(c[1]))});
    }
    for (const char* i : kIndices)
        q.exec(L(i));  // those of tables in the file cannot be made, and need not be
}

// A file the user marked read-only is respected even by a user the system
// would let write (as root can), and the journal needs the folder too.
bool escribible(const QString& ruta)
{
    const QFileInfo f(ruta);
    const QFileInfo carpeta(f.absolutePath());
    return f.isWritable() && (f.permissions() & QFileDevice::WriteOwner) && carpeta.isWritable() &&
           (carpeta.permissions() & QFileDevice::WriteOwner);
}

}  // namespace

QString MotorSQLite::Texto(const QSqlError& e) const
{
    const QString clase = claseError(e);
    if (clase.isEmpty())
        return textoMotor(e);
    return QStringLiteral("el catálogo %1 %2 (%3)").arg(ruta_, clase, textoMotor(e));
}

void MotorSQLite::conecta(Catalogo& bd, bool soloLectura, bool inmutable)
{
    indice_ = false;
    ruta_ = bd.ruta();
    QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), bd.nombreConexion());
    abreComo(d, origen_.isEmpty() ? bd.ruta() : origen_, soloLectura, inmutable);
    if (!d.open())
        throw CatalogoNoAbierto(QStringLiteral("No se puede abrir el catálogo %1: %2").arg(bd.ruta(), textoError(d.lastError())));
}

std::vector<int> MotorSQLite::Pasos() const
{
    std::vector<int> n;
    for (const Paso& p : kPasos)
        n.push_back(p.numero);
    return n;
}

bool MotorSQLite::Abre(Catalogo& bd, QString& aviso, int hastaPaso)
{
    const QString ruta = bd.ruta();
    if (!QFileInfo::exists(ruta))
        creaCatalogo(ruta, bd.nombreConexion() + QStringLiteral("_nuevo"));
    const Estado estado = mira(bd, !escribible(ruta));
    const bool nuevo = estado.version > kVersion;
    if (nuevo)
        aviso = QStringLiteral("El catálogo %1 es de una versión de Lodrin más nueva que esta: se abre solo para leer.")
                    .arg(ruta);
    const bool soloLectura = nuevo || !escribible(ruta);
    conecta(bd, soloLectura, estado.inmutable);
    try {
        if (soloLectura) {
            if (estado.sinClaves)
                vistasLectura(bd);
            fiable_ = !hayIndice(bd) || cuentaCuadra(bd);
            return true;
        }
        configuraEscritura(bd);
        const int desde = estado.version == 0 && !estado.sinClaves ? 1 : estado.version;
        for (int paso = desde + 1; paso <= hastaPaso; ++paso)
            Operacion(bd, QStringLiteral("poner al día el catálogo"), [&](Transaccion&) {
                if (pasoActual(bd) >= paso)
                    return;
                daPaso(bd, paso);
                bd.Ejecuta(QStringLiteral("PRAGMA user_version = %1").arg(paso));
            });
        if (hastaPaso < kVersion) {
            indice_ = hayIndice(bd);
            return false;
        }
        // An index left in pieces is made again, so the catalogue always
        // opens; songs that others wrote (an earlier version, the engine's
        // own tool) are put in it now.
        if (!hayIndice(bd))
            Operacion(bd, QStringLiteral("rehacer el índice de búsqueda"), [&](Transaccion&) { rehaceIndice(bd); });
        indice_ = true;
        cuadra(bd);
    } catch (const LodrinError& e) {
        bd.Cierra();
        throw CatalogoNoAbierto(e.message());
    }
    return false;
}

void MotorSQLite::cuadra(Catalogo& bd)
{
    versionDatos_ = bd.PrimerEntero(QStringLiteral("PRAGMA data_version"), {});
    if (!indiceCuadra(bd))
        Operacion(bd, QStringLiteral("poner al día el índice de búsqueda"), [&](Transaccion&) { cuadraIndice(bd); });
}

void MotorSQLite::MiraCambiosFuera(Catalogo& bd)
{
    // data_version changes only when another connection commits: a look
    // costs nothing while the program alone writes.
    if (!indice_)
        return;
    const qint64 version = bd.PrimerEntero(QStringLiteral("PRAGMA data_version"), {});
    if (version == versionDatos_)
        return;
    versionDatos_ = version;
    // The triggers mark whatever another program wrote; a look at the marks
    // costs nothing, where counting every entry would cost a scan. An index
    // that lost its triggers is read around until the next opening makes it
    // again.
    if (!hayIndice(bd))
        return;
    // Entries another program removed are read around until mended.
    fiable_ = cuentaCuadra(bd);
    if (fiable_ && !hayPendientes(bd))
        return;
    // The write lock is taken at once or not at all: a search never waits.
    const qint64 espera = bd.esperaMaxima();
    bd.PonEsperaMaxima(0);
    try {
        Operacion(bd, QStringLiteral("poner al día el índice de búsqueda"), [&](Transaccion&) {
            if (!fiable_)
                cuadraIndice(bd);
        });
        fiable_ = true;
    } catch (const LodrinError&) {
        // Another program holds the file: the search reads around the songs
        // still waiting, and the next one tries again.
        versionDatos_ = -1;
    }
    bd.PonEsperaMaxima(espera);
}

bool MotorSQLite::IndiceConPendientes(Catalogo& bd) { return fiable_ && hayIndice(bd); }

void MotorSQLite::AbreParaLeer(Catalogo& bd)
{
    if (!QFileInfo::exists(bd.ruta()))
        throw CatalogoNoAbierto(QStringLiteral("No se puede abrir el catálogo %1: no existe").arg(bd.ruta()));
    const Estado estado = mira(bd, true);
    conecta(bd, true, estado.inmutable);
    fiable_ = !hayIndice(bd) || cuentaCuadra(bd);
}

MotorSQLite::Estado MotorSQLite::mira(Catalogo& bd, bool soloLeer)
{
    origen_.clear();
    copia_.reset();
    const QString prueba = bd.nombreConexion() + QStringLiteral("_prueba");
    const Estado estado = comprueba(bd.ruta(), prueba, soloLeer);
    if (!estado.copia)
        return estado;
    // A private copy of the file and its -wal, played back into one file
    // the copy's own connection reads; it goes with the engine.
    copia_ = std::make_unique<QTemporaryDir>();
    const QString copia = copia_->filePath(QStringLiteral("anterior.mdb"));
    const QString wal = QStringLiteral("-wal");
    if (!copia_->isValid() || !QFile::copy(bd.ruta(), copia) || !QFile::copy(bd.ruta() + wal, copia + wal))
        throw CatalogoNoAbierto(
            QStringLiteral("No se puede abrir el catálogo %1: no se puede copiar para leerlo").arg(bd.ruta()));
    QFile::setPermissions(copia, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QFile::setPermissions(copia + wal, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QString fallo;
    {
        QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), prueba);
        d.setDatabaseName(copia);
        QSqlQuery q(d);
        if (!d.open() || !q.exec(QStringLiteral("PRAGMA journal_mode=DELETE")))
            fallo = textoError(d.open() ? q.lastError() : d.lastError());
        q = QSqlQuery();
        d.close();
    }
    QSqlDatabase::removeDatabase(prueba);
    if (!fallo.isEmpty())
        throw CatalogoNoAbierto(QStringLiteral("No se puede abrir el catálogo %1: %2").arg(bd.ruta(), fallo));
    origen_ = copia;
    return comprueba(copia, prueba, false);
}

bool MotorSQLite::Empieza(Catalogo& bd, int esperaMs, QSqlError& fallo)
{
    // A file shared by two programs: the operation takes the right to write
    // at its start, so the other waits for it instead of failing half-way,
    // when both want to write what both have read. Neither that nor the
    // commit waits longer than esperaMs.
    QSqlQuery q(bd.db());
    q.exec(QStringLiteral("PRAGMA busy_timeout = %1").arg(esperaMs));
    if (q.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return true;
    fallo = q.lastError();
    return false;
}

void MotorSQLite::Acaba(Catalogo& bd)
{
    // Reads wait out another program's commit as the driver does.
    QSqlQuery(bd.db()).exec(QStringLiteral("PRAGMA busy_timeout = 5000"));
}

ClaseFallo MotorSQLite::Clase(const QSqlError& e) const
{
    const int codigo = e.nativeErrorCode().toInt() & 0xff;
    return codigo == 5 || codigo == 6 ? ClaseFallo::Bloqueo : ClaseFallo::Otro;  // BUSY, LOCKED
}

void MotorSQLite::AntesDeConfirmar(Catalogo& bd)
{
    if (!indice_)
        return;
    // The texts go through a staging table of this connection, then to the
    // index in one statement: the index takes many rows in one statement far
    // faster than one per statement.
    bool preparada = false;
    PonAlDiaIndice(bd, [&](const TextosBusqueda& textos) {
        if (!preparada) {
            bd.Ejecuta(QStringLiteral(
                "CREATE TEMP TABLE IF NOT EXISTS tlbusca_nuevo (idcancion INTEGER PRIMARY KEY, dsbusca TEXT)"));
            bd.Ejecuta(QStringLiteral("DELETE FROM temp.tlbusca_nuevo"));
            preparada = true;
        }
        for (const auto& [id, texto] : textos)
            bd.Ejecuta(QStringLiteral("INSERT INTO temp.tlbusca_nuevo (idcancion, dsbusca) VALUES (?, ?)"), {id, texto});
    });
    if (!preparada)
        return;
    // "WHERE true" tells the engine the ON CONFLICT belongs to the insert.
    bd.Ejecuta(QStringLiteral("INSERT INTO tlbusca (idcancion, dsbusca) SELECT idcancion, dsbusca FROM temp.tlbusca_nuevo"
                              " WHERE true ON CONFLICT (idcancion) DO UPDATE SET dsbusca = excluded.dsbusca"));
    bd.Ejecuta(QStringLiteral("DELETE FROM temp.tlbusca_nuevo"));
}

qint64 MotorSQLite::Inserta(Catalogo& bd, const QString& tabla, const QString& columnaId, const QStringList& columnas,
                            const QVariantList& valores)
{
    return bd.PrimerEntero(QStringLiteral("insert into %1 (%2) values (%3) returning %4")
                               .arg(tabla, columnas.join(u','),
                                    QStringList(columnas.size(), QStringLiteral("?")).join(u','), columnaId),
                           valores);
}

bool MotorSQLite::EmpiezaInstantanea(Catalogo& bd)
{
    // In the rollback journal a read transaction keeps its shared lock from
    // its first read to its end: no one writes meanwhile.
    return bd.db().transaction();
}

bool MotorSQLite::IndiceAlDia(Catalogo& bd) { return fiable_ && hayIndice(bd) && !hayPendientes(bd); }

QString MotorSQLite::CancionesConPalabras(const QStringList& palabras, QVariantList& valores, bool leyendoTodas,
                                          qint64 limite)
{
    // Every word of three characters or more is a phrase of the full-text
    // query, written literally between double quotes; the index steps
    // through all of them together. Shorter words are looked for in the
    // texts the index gives, or in every text when all words are short.
    // Characters count, not UTF-16 units.
    QStringList frases;
    QStringList cortas;
    for (const QString& p : palabras) {
        if (leyendoTodas || p.toUcs4().size() < 3)
            cortas << p;
        else
            frases << QLatin1Char('"') + QString(p).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
    }
    QString sql;
    if (!frases.isEmpty()) {
        sql = QStringLiteral("(select t.rowid as idcancion from tlbusca_fts t where tlbusca_fts match ?");
        valores << frases.join(QLatin1Char(' '));
    } else {
        sql = QStringLiteral("(select idcancion from tlbusca t where 1");
    }
    for (const QString& p : cortas) {
        sql += QStringLiteral(" and instr(t.dsbusca, ?) > 0");
        valores << p;
    }
    if (limite >= 0) {
        sql += QStringLiteral(" order by t.rowid limit ?");
        valores << limite;
    }
    return sql + QStringLiteral(") b");
}

qint64 MotorSQLite::BuscaOInserta(Catalogo& bd, const QString& tabla, const QString& columnaId, const QStringList& claves,
                                  const QVariantList& valoresClave, const QStringList& columnas,
                                  const QVariantList& valores)
{
    QStringList donde;
    for (const QString& c : claves)
        donde << c + QStringLiteral(" = ?");
    if (const qint64 id = bd.PrimerEntero(
            QStringLiteral("select %1 from %2 where %3").arg(columnaId, tabla, donde.join(QStringLiteral(" and "))),
            valoresClave))
        return id;
    return Inserta(bd, tabla, columnaId, columnas, valores);
}

void MotorSQLite::InsertaQueFalten(Catalogo& bd, const QString& tabla, const QString& columnaId,
                                   const QStringList& claves, const QStringList& columnas,
                                   const std::vector<QVariantList>& filas)
{
    // A file answers each statement without a round trip: row by row.
    QList<qsizetype> enClave;
    for (const QString& c : claves)
        enClave << columnas.indexOf(c);
    for (const QVariantList& fila : filas) {
        QVariantList valoresClave;
        for (const qsizetype i : enClave)
            valoresClave << fila[i];
        BuscaOInserta(bd, tabla, columnaId, claves, valoresClave, columnas, fila);
    }
}

std::vector<std::pair<qint64, bool>> MotorSQLite::BuscaOInsertaVarias(Catalogo& bd, const QString& tabla,
                                                                      const QString& columnaId,
                                                                      const QStringList& claves,
                                                                      const QStringList& columnas,
                                                                      const std::vector<QVariantList>& filas)
{
    // Row by row, as InsertaQueFalten: no round trips to save.
    QStringList donde;
    QList<qsizetype> enClave;
    for (const QString& c : claves) {
        donde << c + QStringLiteral(" = ?");
        enClave << columnas.indexOf(c);
    }
    const QString select =
        QStringLiteral("select %1 from %2 where %3").arg(columnaId, tabla, donde.join(QStringLiteral(" and ")));
    std::vector<std::pair<qint64, bool>> ids;
    ids.reserve(filas.size());
    for (const QVariantList& fila : filas) {
        QVariantList valoresClave;
        for (const qsizetype i : enClave)
            valoresClave << fila[i];
        if (const qint64 id = bd.PrimerEntero(select, valoresClave))
            ids.emplace_back(id, false);
        else
            ids.emplace_back(Inserta(bd, tabla, columnaId, columnas, fila), true);
    }
    return ids;
}
