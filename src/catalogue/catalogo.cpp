#include "catalogue/catalogo.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include "common/lodrinerror.h"

namespace {

// Text columns compare without regard to case, as the catalogue has always
// done; ids are 64-bit.
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
    // The mask index runs longest first and, within one length, in the order
    // the masks were added.
    // Every lookup has an index, so it costs the same in a small catalogue
    // and in a large one.
    "CREATE INDEX ixautor_std ON tlautor (dsautor_std)",
    "CREATE INDEX ixdisco_std ON tldisco (dsdisco_std, cdautord)",
    "CREATE INDEX ixdisco_autor ON tldisco (cdautord)",
    "CREATE INDEX ixcd_ds ON tlcd (dscd)",
    "CREATE INDEX ixcancion_ds ON tlcancion (dscancion, cddisco, cdautor, cdcd)",
    "CREATE INDEX ixcancion_autor ON tlcancion (cdautor, cddisco)",
    "CREATE INDEX ixcancion_disco ON tlcancion (cddisco, cdautor)",
    "CREATE INDEX ixcancion_cd ON tlcancion (cdcd, cdautor, cddisco)",
    "CREATE INDEX ixobjetos ON tlobjetos (dstabla, idtabla, dspath)",
    "CREATE INDEX ixmascara ON tlmascara (wnmascara DESC)",
};

// The typical masks a new catalogue starts with, in the order they are added.
const char* const kMascarasTipicas[] = {
    "a(x) -d\\p-c", "a(d)\\a-c", "a(d)\\p-c", "a\\d\\x-c", "a-d\\a-c", "x-d\\p-c", "a(d)\\c",
    "a\\d\\p-c", "d-a\\c", "d\\p-c", "d\\a-c", "a\\d-c", "a\\d\\c", "a(d)c", "c-a", "d\\c",
    "c_a", "a\\c", "c",
};

// The tables and columns the program reads and writes.
const char* const kColumnas[][10] = {
    {"tlautor", "idautor", "dsautor", "dsautor_std", "intautor", nullptr},
    {"tldisco", "iddisco", "dsdisco", "dsdisco_std", "cdautord", nullptr},
    {"tlcd", "idcd", "dscd", "sercd", "lotienecd", "dtcd", nullptr},
    {"tlcancion", "idcancion", "dscancion", "cdcd", "cddisco", "cdautor", "wncancion", "dspath",
     "swvarios", "wntime"},
    {"tlmascara", "dsmascara", "wnmascara", nullptr},
    {"tlobjetos", "idobjeto", "dstabla", "idtabla", "dspath", nullptr},
};

QString textoError(const QSqlError& e)
{
    QString t = e.databaseText();
    if (t.isEmpty())
        t = e.text();
    return t;
}

}  // namespace

QVariant Consulta::Campo(const QString& columna) const
{
    if (Fin())
        throw LodrinError(QStringLiteral("No hay fila actual para el campo %1").arg(columna));
    for (int i = 0; i < columnas_.size(); ++i)
        if (columnas_[i].compare(columna, Qt::CaseInsensitive) == 0)
            return filas_[actual_][i];
    throw LodrinError(QStringLiteral("El campo %1 no existe en la consulta").arg(columna));
}

Catalogo::Catalogo(const QString& rutaFichero, const QString& nombreConexion)
    : ruta_(rutaFichero), conexion_(nombreConexion)
{
}

Catalogo::~Catalogo()
{
    {
        QSqlDatabase d = QSqlDatabase::database(conexion_, false);
        if (d.isValid())
            d.close();
    }
    if (QSqlDatabase::contains(conexion_))
        QSqlDatabase::removeDatabase(conexion_);
}

QString Catalogo::RutaCatalogo(const QString& dirPrograma)
{
    if (dirPrograma.endsWith(QLatin1Char('/')) || dirPrograma.endsWith(QLatin1Char('\\')))
        return dirPrograma + QStringLiteral("anterior.mdb");
    return dirPrograma + QStringLiteral("/anterior.mdb");
}

QSqlDatabase Catalogo::db() const { return QSqlDatabase::database(conexion_, false); }

void Catalogo::AbreBaseDatos()
{
    const bool existia = QFileInfo::exists(ruta_);
    if (existia)
        compruebaCatalogo();

    QSqlDatabase d = QSqlDatabase::contains(conexion_)
                         ? QSqlDatabase::database(conexion_, false)
                         : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), conexion_);
    d.setDatabaseName(ruta_);
    d.setConnectOptions(QString());
    if (!d.open())
        throw LodrinError(textoError(d.lastError()));

    // Each statement commits on its own; with a write-ahead journal that stays
    // fast, and a committed row survives a crash of the program.
    QSqlQuery q(d);
    for (const char* pragma : {"PRAGMA journal_mode=WAL", "PRAGMA synchronous=NORMAL",
                               "PRAGMA foreign_keys=OFF"}) {
        if (!q.exec(QString::fromLatin1(pragma)))
            throw LodrinError(textoError(q.lastError()));
    }
    if (!existia)
        creaCatalogo();
}

// Looks at an existing file without writing to it: it must be a database of
// the engine and hold the six tables with the columns the program uses.
void Catalogo::compruebaCatalogo()
{
    QFile f(ruta_);
    if (!f.open(QIODevice::ReadOnly))
        throw LodrinError(QStringLiteral("No se puede abrir el fichero %1: %2").arg(ruta_, f.errorString()));
    const QByteArray cabecera = f.read(16);
    f.close();
    if (cabecera != QByteArray("SQLite format 3\0", 16))
        throw LodrinError(QStringLiteral("El fichero %1 no es una base de datos reconocida: file is not a database").arg(ruta_));

    const QString prueba = conexion_ + QStringLiteral("_prueba");
    QString fallo;
    {
        QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), prueba);
        d.setDatabaseName(ruta_);
        d.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!d.open()) {
            fallo = textoError(d.lastError());
        } else {
            QSqlQuery q(d);
            for (const auto& tabla : kColumnas) {
                if (!q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(QLatin1String(tabla[0])))) {
                    fallo = textoError(q.lastError());
                    break;
                }
                QStringList columnas;
                while (q.next())
                    columnas << q.value(1).toString().toLower();
                for (int i = 1; i < 10 && tabla[i]; ++i) {
                    if (!columnas.contains(QLatin1String(tabla[i]))) {
                        fallo = QStringLiteral("El fichero %1 no es un catalogo: falta la columna %2 de la tabla %3")
                                    .arg(ruta_, QLatin1String(tabla[i]), QLatin1String(tabla[0]));
                        break;
                    }
                }
                if (!fallo.isEmpty())
                    break;
            }
            q.finish();
        }
        d.close();
    }
    QSqlDatabase::removeDatabase(prueba);
    if (!fallo.isEmpty())
        throw LodrinError(fallo);
}

void Catalogo::creaCatalogo()
{
    for (const char* t : kTablas)
        Ejecuta(QString::fromLatin1(t));
    for (const char* m : kMascarasTipicas) {
        const QString texto = QString::fromLatin1(m);
        Ejecuta(QStringLiteral("insert into tlmascara (dsmascara, wnmascara) values ('") + sql::Comillas(texto) +
                QStringLiteral("',") + sql::Entero(texto.size()) + QStringLiteral(")"));
    }
}

void Catalogo::Ejecuta(const QString& sentencia)
{
    QSqlQuery q(db());
    if (!q.exec(sentencia))
        throw LodrinError(textoError(q.lastError()));
}

Consulta Catalogo::Abre(const QString& sentencia)
{
    QSqlQuery q(db());
    q.setForwardOnly(true);
    if (!q.exec(sentencia))
        throw LodrinError(textoError(q.lastError()));
    Consulta c;
    const QSqlRecord r = q.record();
    const int n = r.count();
    for (int i = 0; i < n; ++i)
        c.columnas_ << r.fieldName(i);
    while (q.next()) {
        QVector<QVariant> fila(n);
        for (int i = 0; i < n; ++i)
            fila[i] = q.value(i);
        c.filas_.push_back(std::move(fila));
    }
    return c;
}

void AutoresNuevos::AnadeAutorNuevo(const QString& nombre)
{
    if (nombre == QLatin1String("<vacio>") || nombres_.size() >= kMaximo)
        return;
    nombres_.append(nombre);
}

int AutoresNuevos::BuscaAutorNuevo(const QString& estandar) const
{
    for (int i = 0; i < nombres_.size(); ++i)
        if (nombres_[i] == estandar)
            return i + 1;
    return estandar.isEmpty() ? 0 : -1;
}

namespace sql {
QString Comillas(const QString& texto)
{
    QString t = texto;
    t.replace(QLatin1Char('\''), QStringLiteral("''"));
    return t;
}
QString Entero(qint64 valor) { return QString::number(valor); }
QString SiNo(bool valor) { return valor ? QStringLiteral("True") : QStringLiteral("False"); }
}  // namespace sql
