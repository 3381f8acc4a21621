#include "store/catalogo.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QRandomGenerator>
#include <QSqlRecord>
#include <QThread>

#include "search/busqueda.h"
#include "store/esquema.h"

namespace {

QString textoError(const QSqlError& e)
{
    QString t = e.databaseText();
    if (t.isEmpty())
        t = e.text();
    return t;
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

// What the server says when another program's operation got in the way:
// a key recorded at the same moment, a serialization failure, a deadlock.
bool esConflicto(const QSqlError& e)
{
    const QString c = e.nativeErrorCode();
    return c == QLatin1String("23505") || c == QLatin1String("40001") || c == QLatin1String("40P01");
}

[[noreturn]] void lanza(const QSqlError& e)
{
    if (esConflicto(e))
        throw ConflictoCatalogo(textoError(e));
    throw LodrinError(textoError(e));
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
    : Catalogo(UbicacionCatalogo::Fichero(rutaFichero), nombreConexion)
{
}

Catalogo::Catalogo(const UbicacionCatalogo& ubicacion, const QString& nombreConexion)
    : ubicacion_(ubicacion), ruta_(ubicacion.Nombre()), conexion_(nombreConexion)
{
}

bool Catalogo::Reintenta(int intento)
{
    constexpr int kIntentos = 12;
    if (profundidad_ > 0 || intento >= kIntentos)
        return false;
    // Two programs that collided wait different times, so they do not meet again.
    QThread::msleep(QRandomGenerator::global()->bounded(5u, 20u) * unsigned(intento));
    return true;
}

Catalogo::~Catalogo() { cierra(); }

void Catalogo::cierra()
{
    preparadas_.clear();
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
    cierra();
    if (motor() != Motor::SQLite) {
        abreServidor();
        return;
    }
    if (!QFileInfo::exists(ruta_))
        esquema::CreaCatalogo(ruta_, conexion_ + QStringLiteral("_nuevo"));
    const bool antiguo = esquema::Comprueba(ruta_, conexion_ + QStringLiteral("_prueba"));
    soloLectura_ = !escribible(ruta_);

    conecta();
    try {
        if (soloLectura_) {
            if (antiguo)
                esquema::VistasLectura(*this);
        } else {
            esquema::ConfiguraEscritura(*this);
            if (antiguo)
                esquema::Actualiza(*this);
            indice_busqueda::Prepara(*this);
            indiceBusqueda_ = true;
        }
    } catch (const LodrinError& e) {
        cierra();
        throw CatalogoNoAbierto(e.message());
    }
}

void Catalogo::abreServidor()
{
    const UbicacionCatalogo& u = ubicacion_;
    const QString donde = QStringLiteral("la base de datos %1 del servidor %2").arg(u.base, u.host);
    if (!u.error.isEmpty())
        throw CatalogoNoAbierto(QStringLiteral("No se puede abrir el catálogo: %1").arg(u.error));
    QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), conexion_);
    if (!d.isValid())
        throw CatalogoNoAbierto(QStringLiteral("No se puede abrir el catálogo de %1: falta el controlador QPSQL").arg(donde));
    d.setHostName(u.host);
    d.setPort(u.puerto);
    d.setDatabaseName(u.base);
    d.setUserName(u.usuario);
    // A server that does not answer is told within seconds, not minutes.
    d.setConnectOptions(QStringLiteral("connect_timeout=10"));
    if (!d.open()) {
        const QString t = textoError(d.lastError()).trimmed();
        d = QSqlDatabase();
        cierra();
        throw CatalogoNoAbierto(QStringLiteral("No se puede conectar con %1: %2").arg(donde, t));
    }
    d = QSqlDatabase();
    try {
        esquema::PreparaServidor(*this);
    } catch (const LodrinError& e) {
        cierra();
        throw CatalogoNoAbierto(e.message());
    }
}

void Catalogo::AbreParaLeer()
{
    cierra();
    if (!QFileInfo::exists(ruta_))
        throw CatalogoNoAbierto(QStringLiteral("No se puede abrir el catálogo %1: no existe").arg(ruta_));
    soloLectura_ = true;
    conecta();
}

void Catalogo::conecta()
{
    indiceBusqueda_ = false;
    QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), conexion_);
    d.setDatabaseName(ruta_);
    d.setConnectOptions(soloLectura_ ? QStringLiteral("QSQLITE_OPEN_READONLY") : QString());
    if (!d.open())
        throw CatalogoNoAbierto(QStringLiteral("No se puede abrir el catálogo %1: %2").arg(ruta_, textoError(d.lastError())));
}

QSqlQuery& Catalogo::sentencia(const QString& sql, const QVariantList& valores)
{
    auto it = preparadas_.find(sql);
    if (it == preparadas_.end()) {
        // The program's statements are a few dozen fixed texts; a caller
        // that builds texts of its own must not make the cache grow for ever.
        if (preparadas_.size() >= 256)
            preparadas_.clear();
        QSqlQuery q(db());
        q.setForwardOnly(true);
        if (!q.prepare(sql))
            lanza(q.lastError());
        it = preparadas_.insert(sql, q);
    }
    QSqlQuery& q = *it;
    for (int i = 0; i < valores.size(); ++i) {
        // A null text would be stored as NULL; the catalogue holds '' instead.
        const QVariant& v = valores[i];
        if (v.typeId() == QMetaType::QString && v.toString().isNull())
            q.bindValue(i, QStringLiteral(""));
        else
            q.bindValue(i, v);
    }
    if (!q.exec()) {
        const QSqlError e = q.lastError();
        q.finish();
        lanza(e);
    }
    return q;
}

void Catalogo::Ejecuta(const QString& sql, const QVariantList& valores)
{
    sentencia(sql, valores).finish();
}

qint64 Catalogo::PrimerEntero(const QString& sql, const QVariantList& valores)
{
    QSqlQuery& q = sentencia(sql, valores);
    const qint64 n = q.next() ? q.value(0).toLongLong() : 0;
    q.finish();
    return n;
}

qint64 Catalogo::Inserta(const QString& sql, const QVariantList& valores)
{
    QSqlQuery& q = sentencia(sql, valores);
    const qint64 id = q.next() ? q.value(0).toLongLong() : q.lastInsertId().toLongLong();
    q.finish();
    return id;
}

void Catalogo::Recorre(const QString& sql, const QVariantList& valores, const std::function<void(const QSqlQuery&)>& fila)
{
    QSqlQuery& q = sentencia(sql, valores);
    while (q.next())
        fila(q);
    q.finish();
}

Consulta Catalogo::Abre(const QString& sql, const QVariantList& valores)
{
    QSqlQuery& q = sentencia(sql, valores);
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
    q.finish();
    return c;
}

Transaccion::Transaccion(Catalogo& bd, const QString& que) : bd_(bd), exterior_(bd.profundidad_ == 0)
{
    if (bd_.soloLectura_)
        throw LodrinError(QStringLiteral("El catálogo %1 es de solo lectura: no se puede %2.").arg(bd_.ruta_, que));
    if (exterior_) {
        QSqlDatabase d = bd_.db();
        // A file shared by two programs: the operation takes the right to
        // write at its start, so the other waits for it instead of failing
        // half-way, when both want to write what both have read.
        QSqlQuery q(d);
        const bool empezada = bd_.motor() == Motor::SQLite ? q.exec(QStringLiteral("BEGIN IMMEDIATE")) : d.transaction();
        if (!empezada)
            throw LodrinError(QStringLiteral("No se puede %1 en el catálogo %2: %3")
                                  .arg(que, bd_.ruta_, textoError(bd_.motor() == Motor::SQLite ? q.lastError()
                                                                                               : d.lastError())));
        bd_.alDeshacer_.clear();
    }
    ++bd_.profundidad_;
}

void Transaccion::AlDeshacer(std::function<void()> deshacer) { bd_.alDeshacer_.push_back(std::move(deshacer)); }

void Transaccion::Confirma()
{
    if (!exterior_) {
        confirmada_ = true;
        return;
    }
    if (bd_.indiceBusqueda_)
        indice_busqueda::PonAlDia(bd_);
    confirmada_ = true;
    QSqlDatabase d = bd_.db();
    if (!d.commit()) {
        confirmada_ = false;
        lanza(d.lastError());
    }
    bd_.alDeshacer_.clear();
}

Transaccion::~Transaccion()
{
    --bd_.profundidad_;
    if (!exterior_)
        return;
    if (!confirmada_) {
        bd_.db().rollback();
        for (auto it = bd_.alDeshacer_.rbegin(); it != bd_.alDeshacer_.rend(); ++it)
            (*it)();
    }
    bd_.alDeshacer_.clear();
}

LecturaCatalogo::LecturaCatalogo(Catalogo& bd) : bd_(bd)
{
    if (bd_.profundidad_ == 0)
        abierta_ = bd_.db().transaction();
    if (abierta_)
        ++bd_.profundidad_;
}

LecturaCatalogo::~LecturaCatalogo()
{
    if (!abierta_)
        return;
    --bd_.profundidad_;
    bd_.db().rollback();
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
