#include "store/esquema.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include "catalogue/nombres.h"
#include "store/catalogo.h"

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

constexpr int kVersion = 1;

// The typical masks a new catalogue starts with, in the order they are added.
const char* const kMascarasTipicas[] = {
    "a(x) -d\\p-c", "a(d)\\a-c", "a(d)\\p-c", "a\\d\\x-c", "a-d\\a-c", "x-d\\p-c", "a(d)\\c",
    "a\\d\\p-c", "d-a\\c", "d\\p-c", "d\\a-c", "a\\d-c", "a\\d\\c", "a(d)c", "c-a", "d\\c",
    "c_a", "a\\c", "c",
};

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
    q.prepare(QStringLiteral("insert into tlmascara (dsmascara, wnmascara) values (?, ?)"));
    for (const char* m : kMascarasTipicas) {
        q.bindValue(0, L(m));
        q.bindValue(1, int(qstrlen(m)));
        if (!q.exec())
            throw LodrinError(textoError(q.lastError()));
    }
    ejecuta(q, QStringLiteral("PRAGMA user_version = %1").arg(kVersion));
    q.finish();
    if (!d.commit())
        throw LodrinError(textoError(d.lastError()));
}

}  // namespace

namespace esquema {

QStringList MascarasTipicas()
{
    QStringList m;
    for (const char* t : kMascarasTipicas)
        m << L(t);
    return m;
}

void CreaCatalogo(const QString& ruta, const QString& conexion)
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

bool Comprueba(const QString& ruta, const QString& conexion)
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
    bool antiguo = false;
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
                    antiguo = antiguo || !columnas(q, c[0]).contains(L(c[3]));
            } catch (const LodrinError& e) {
                fallo = e.message();
            }
        }
        d.close();
    }
    QSqlDatabase::removeDatabase(conexion);
    if (!fallo.isEmpty())
        throw CatalogoNoAbierto(fallo);
    return antiguo;
}

void ConfiguraEscritura(Catalogo& bd)
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

void Actualiza(Catalogo& bd)
{
    Operacion(bd, QStringLiteral("poner al día el catálogo"), [&](Transaccion&) {
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
        ejecuta(q, QStringLiteral("PRAGMA user_version = %1").arg(kVersion));
    });
}

void VistasLectura(Catalogo& bd)
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

}  // namespace esquema
