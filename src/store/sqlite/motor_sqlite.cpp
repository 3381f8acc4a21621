#include "store/sqlite/motor_sqlite.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include "store/catalogo.h"
#include "store/pliegue.h"

namespace {

// Text columns compare without regard to ASCII case, as the catalogue has
// always done. Lookups of titles, descriptions and picture paths go through
// a key column the program fills with the case-folded text, so every letter
// compares without regard to case and the file needs nothing but the engine
// itself to be read or checked.
const char* const kTablas[] = {
    "CREATE TABLE tlautor (idautor INTEGER PRIMARY KEY AUTOINCREMENT,"
    " dsautor TEXT COLLATE NOCASE, dsautor_std TEXT COLLATE NOCASE, intautor INTEGER)",
    "CREATE TABLE tldisco (iddisco INTEGER PRIMARY KEY AUTOINCREMENT,"
    " dsdisco TEXT COLLATE NOCASE, dsdisco_std TEXT COLLATE NOCASE, cdautord INTEGER)",
    "CREATE TABLE tlcd (idcd INTEGER PRIMARY KEY AUTOINCREMENT,"
    " dscd TEXT COLLATE NOCASE, sercd TEXT COLLATE NOCASE, lotienecd TEXT COLLATE NOCASE, dtcd DATE,"
    " dscd_clave TEXT)",
    "CREATE TABLE tlcancion (idcancion INTEGER PRIMARY KEY AUTOINCREMENT,"
    " dscancion TEXT COLLATE NOCASE, cdcd INTEGER, cddisco INTEGER, cdautor INTEGER,"
    " wncancion INTEGER, dspath TEXT COLLATE NOCASE, swvarios BOOLEAN, wntime INTEGER,"
    " dscancion_clave TEXT)",
    "CREATE TABLE tlmascara (dsmascara TEXT, wnmascara INTEGER)",
    "CREATE TABLE tlobjetos (idobjeto INTEGER PRIMARY KEY AUTOINCREMENT,"
    " dstabla TEXT COLLATE NOCASE, idtabla INTEGER, dspath TEXT COLLATE NOCASE, dspath_clave TEXT)",
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

// The schema's steps: the number of the last one is kept in the file's
// user_version. 1 adds the folded key columns, 2 the search index.
constexpr int kVersion = 2;

QString textoError(const QSqlError& e) { return e.databaseText().isEmpty() ? e.text() : e.databaseText(); }

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
    for (const char* t : kIndices)
        ejecuta(q, L(t));
    for (const char* t : kIndice)
        ejecuta(q, L(t));
    q.prepare(QStringLiteral("insert into tlmascara (dsmascara, wnmascara) values (?, ?)"));
    for (const QString& m : MascarasTipicas()) {
        q.bindValue(0, m);
        q.bindValue(1, int(m.size()));
        if (!q.exec())
            throw LodrinError(textoError(q.lastError()));
    }
    ejecuta(q, QStringLiteral("PRAGMA user_version = %1").arg(kVersion));
    q.finish();
    if (!d.commit())
        throw LodrinError(textoError(d.lastError()));
}


// Makes a new catalogue file whole (tables, indexes, typical masks) beside
// ruta and puts it in place only once complete, so an interrupted creation
// never leaves a half catalogue. Throws CatalogoNoAbierto.
void creaCatalogo(const QString& ruta, const QString& conexion)
{
    const QString temporal = ruta + QStringLiteral(".nuevo");
    for (const QString& f : {temporal, temporal + QStringLiteral("-journal")})
        QFile::remove(f);
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
    if (fallo.isEmpty() && !QFile::rename(temporal, ruta))
        fallo = QStringLiteral("no se puede poner el fichero en su sitio");
    if (!fallo.isEmpty()) {
        QFile::remove(temporal);
        QFile::remove(temporal + QStringLiteral("-journal"));
        throw CatalogoNoAbierto(QStringLiteral("No se puede crear el catálogo %1: %2").arg(ruta, fallo));
    }
}

// What a look at an existing file tells.
struct Estado {
    int version = 0;
    bool sinClaves = false;  // it lacks the folded key columns
};

// Looks at an existing file without writing to it: it must be a database of
// the engine holding the tables and columns the program uses. Throws
// CatalogoNoAbierto.
Estado comprueba(const QString& ruta, const QString& conexion)
{
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly))
        throw CatalogoNoAbierto(QStringLiteral("No se puede abrir el fichero %1: %2").arg(ruta, f.errorString()));
    const QByteArray cabecera = f.read(16);
    f.close();
    if (cabecera != QByteArray("SQLite format 3\0", 16))
        throw CatalogoNoAbierto(
            QStringLiteral("El fichero %1 no es una base de datos reconocida: file is not a database").arg(ruta));

    QString fallo;
    Estado estado;
    {
        QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), conexion);
        d.setDatabaseName(ruta);
        // A journal left by a program that was killed half-way through an
        // operation must be played back first, which takes writing.
        const bool caliente = QFile::exists(ruta + QStringLiteral("-journal")) && QFileInfo(ruta).isWritable();
        d.setConnectOptions(caliente ? QString() : QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!d.open()) {
            fallo = textoError(d.lastError());
        } else {
            QSqlQuery q(d);
            try {
                for (const auto& tabla : kColumnas) {
                    const QStringList hay = columnas(q, tabla[0]);
                    for (int i = 1; i < 10 && tabla[i] && fallo.isEmpty(); ++i)
                        if (!hay.contains(L(tabla[i])))
                            fallo = QStringLiteral("El fichero %1 no es un catalogo: falta la columna %2 de la tabla %3")
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
                fallo = e.message();
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
}

bool hayIndice(Catalogo& bd)
{
    return bd.PrimerEntero(QStringLiteral("select count(*) from sqlite_master where type = 'table' and"
                                          " name in ('tlbusca', 'tlbusca_pendiente', 'tlbusca_fts')"),
                           {}) == 3;
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
// the version before may have it already.
void pasoIndice(Catalogo& bd)
{
    if (hayIndice(bd))
        return;
    for (const char* s : kIndice)
        bd.Ejecuta(QString::fromLatin1(s));
}

void (*const kPasos[kVersion])(Catalogo&) = {pasoClaves, pasoIndice};

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

QString MotorSQLite::Texto(const QSqlError& e) const { return textoError(e); }

void MotorSQLite::conecta(Catalogo& bd, bool soloLectura)
{
    indice_ = false;
    QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), bd.nombreConexion());
    d.setDatabaseName(bd.ruta());
    d.setConnectOptions(soloLectura ? QStringLiteral("QSQLITE_OPEN_READONLY") : QString());
    if (!d.open())
        throw CatalogoNoAbierto(QStringLiteral("No se puede abrir el catálogo %1: %2").arg(bd.ruta(), textoError(d.lastError())));
}

bool MotorSQLite::Abre(Catalogo& bd, QString& aviso)
{
    const QString ruta = bd.ruta();
    if (!QFileInfo::exists(ruta))
        creaCatalogo(ruta, bd.nombreConexion() + QStringLiteral("_nuevo"));
    const Estado estado = comprueba(ruta, bd.nombreConexion() + QStringLiteral("_prueba"));
    const bool nuevo = estado.version > kVersion;
    if (nuevo)
        aviso = QStringLiteral("El catálogo %1 es de una versión de Lodrin más nueva que esta: se abre solo para leer.")
                    .arg(ruta);
    const bool soloLectura = nuevo || !escribible(ruta);
    conecta(bd, soloLectura);
    try {
        if (soloLectura) {
            if (estado.sinClaves)
                vistasLectura(bd);
            return true;
        }
        configuraEscritura(bd);
        // Files made before the steps were numbered that already hold the
        // key columns start from step 1 done.
        const int desde = estado.version == 0 && !estado.sinClaves ? 1 : estado.version;
        for (int paso = desde + 1; paso <= kVersion; ++paso)
            Operacion(bd, QStringLiteral("poner al día el catálogo"), [&](Transaccion&) {
                kPasos[paso - 1](bd);
                bd.Ejecuta(QStringLiteral("PRAGMA user_version = %1").arg(paso));
            });
        // Songs that others wrote (an earlier version, the engine's own
        // tool) are put in the index now.
        indice_ = hayIndice(bd);
        if (indice_ && hayPendientes(bd))
            Operacion(bd, QStringLiteral("poner al día el índice de búsqueda"), [](Transaccion&) {});
    } catch (const LodrinError& e) {
        bd.Cierra();
        throw CatalogoNoAbierto(e.message());
    }
    return false;
}

void MotorSQLite::AbreParaLeer(Catalogo& bd)
{
    if (!QFileInfo::exists(bd.ruta()))
        throw CatalogoNoAbierto(QStringLiteral("No se puede abrir el catálogo %1: no existe").arg(bd.ruta()));
    conecta(bd, true);
}

bool MotorSQLite::Empieza(Catalogo& bd, QSqlError& fallo)
{
    // A file shared by two programs: the operation takes the right to write
    // at its start, so the other waits for it instead of failing half-way,
    // when both want to write what both have read.
    QSqlQuery q(bd.db());
    if (q.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return true;
    fallo = q.lastError();
    return false;
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

bool MotorSQLite::IndiceAlDia(Catalogo& bd) { return hayIndice(bd) && !hayPendientes(bd); }

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
