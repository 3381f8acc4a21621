#include "store/catalogo.h"

#include <algorithm>

#include <QSqlError>
#include <QRandomGenerator>
#include <QSettings>
#include <QSqlRecord>
#include <QThread>



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
    : ubicacion_(ubicacion),
      ruta_(ubicacion.Nombre()),
      conexion_(nombreConexion),
      motor_(MotorCatalogo::Para(ubicacion)),
      esperaMaxima_(qint64(QSettings(QStringLiteral("Lodrin"), QStringLiteral("Lodrin"))
                                .value(QStringLiteral("catalogo/esperaSegundos"), 10)
                                .toDouble() *
                            1000))
{
}

bool Catalogo::EsperaOtraVez(const QString& que, QElapsedTimer& desde)
{
    if (profundidad_ > 0)
        return false;
    if (!desde.isValid())
        desde.start();
    const qint64 esperado = desde.elapsed();
    bool sigue = esperado < esperaMaxima_;
    if (sigue && avisoEspera_) {
        avisado_ = true;
        sigue = avisoEspera_(esperado, esperaMaxima_);
    }
    if (sigue) {
        // An engine may refuse at once (a lock it sees cannot be waited
        // for): a short pause, so the tries do not spin.
        QThread::msleep(20);
        return true;
    }
    AcabaEspera();
    const QString quien = motor_->QuienBloquea(*this);
    throw CatalogoBloqueado(QStringLiteral("No se ha podido %1 en el catálogo %2: otro programa lo tiene bloqueado%3")
                                .arg(que, ruta_, quien.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(quien)));
}

void Catalogo::AcabaEspera()
{
    if (profundidad_ > 0)
        return;
    if (avisado_ && avisoEspera_)
        avisoEspera_(-1, esperaMaxima_);
    avisado_ = false;
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

Catalogo::~Catalogo() { Cierra(); }

void Catalogo::Cierra()
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

void Catalogo::AbreBaseDatos(int hastaPaso)
{
    Cierra();
    soloLectura_ = false;
    aviso_.clear();
    soloLectura_ = motor_->Abre(*this, aviso_, hastaPaso);
}

void Catalogo::AbreParaLeer()
{
    Cierra();
    soloLectura_ = true;
    motor_->AbreParaLeer(*this);
}

void Catalogo::lanza(const QSqlError& e) const
{
    if (motor_->Clase(e) == ClaseFallo::Conflicto)
        throw ConflictoCatalogo(motor_->Texto(e));
    if (motor_->Clase(e) == ClaseFallo::Bloqueo)
        throw CatalogoBloqueado(motor_->Texto(e));
    throw LodrinError(motor_->Texto(e));
}

bool Catalogo::reabre(const QSqlError& e)
{
    // Inside a transaction what was done is lost with the connection: the
    // operation fails, and the next one opens it again.
    if (profundidad_ > 0)
        return false;
    if (motor_->Clase(e) != ClaseFallo::ConexionPerdida && db().isOpen())
        return false;
    return motor_->Reconecta(*this);
}

QSqlQuery& Catalogo::sentencia(const QString& sql, const QVariantList& valores, bool otraVez)
{
    auto it = preparadas_.find(sql);
    if (it == preparadas_.end()) {
        // The program's statements are a few dozen fixed texts; a caller
        // that builds texts of its own must not make the cache grow for ever.
        if (preparadas_.size() >= 256)
            preparadas_.clear();
        QSqlQuery q(db());
        q.setForwardOnly(true);
        if (!q.prepare(sql)) {
            const QSqlError e = q.lastError();
            if (!otraVez && reabre(e))
                return sentencia(sql, valores, true);
            lanza(e);
        }
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
        if (!otraVez && reabre(e))
            return sentencia(sql, valores, true);
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

qint64 Catalogo::Inserta(const QString& tabla, const QString& columnaId, const QStringList& columnas,
                         const QVariantList& valores)
{
    return motor_->Inserta(*this, tabla, columnaId, columnas, valores);
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

QString detalle::EnElCatalogo(const Catalogo& bd, const QString& causa)
{
    return causa.contains(bd.ruta()) ? QString() : QStringLiteral(" en el catálogo %1").arg(bd.ruta());
}

Transaccion::Transaccion(Catalogo& bd, const QString& que) : bd_(bd), exterior_(bd.profundidad_ == 0)
{
    if (bd_.soloLectura_)
        throw LodrinError(QStringLiteral("El catálogo %1 es de solo lectura: no se puede %2.").arg(bd_.ruta_, que));
    if (exterior_) {
        // A connection the server lost is opened again here, once.
        // No statement waits for a lock longer than a moment: the operation
        // runs again while its wait lasts, the window heard between tries.
        const int espera = int(std::min<qint64>(kRodajaEsperaMs, bd_.esperaMaxima_));
        QSqlError fallo;
        bool empezada = bd_.motor_->Empieza(bd_, espera, fallo);
        if (!empezada && bd_.reabre(fallo))
            empezada = bd_.motor_->Empieza(bd_, espera, fallo);
        if (!empezada) {
            bd_.motor_->Acaba(bd_);
            const QString causa = bd_.motor_->Texto(fallo);
            const QString texto =
                QStringLiteral("No se puede %1%2: %3").arg(que, detalle::EnElCatalogo(bd_, causa), causa);
            if (bd_.motor_->Clase(fallo) == ClaseFallo::Bloqueo)
                throw CatalogoBloqueado(texto);
            throw LodrinError(texto);
        }
        bd_.alDeshacer_.clear();
        bd_.alConfirmar_.clear();
    }
    ++bd_.profundidad_;
}

void Transaccion::AlDeshacer(std::function<void()> deshacer) { bd_.alDeshacer_.push_back(std::move(deshacer)); }

void Transaccion::AlConfirmar(std::function<void()> hacer) { bd_.alConfirmar_.push_back(std::move(hacer)); }

void Transaccion::Confirma()
{
    if (!exterior_) {
        confirmada_ = true;
        return;
    }
    bd_.motor_->AntesDeConfirmar(bd_);
    confirmada_ = true;
    QSqlDatabase d = bd_.db();
    if (!d.commit()) {
        confirmada_ = false;
        bd_.lanza(d.lastError());
    }
    bd_.motor_->Acaba(bd_);
    bd_.alDeshacer_.clear();
    const auto hechos = std::move(bd_.alConfirmar_);
    bd_.alConfirmar_.clear();
    for (const auto& hacer : hechos)
        hacer();
}

Transaccion::~Transaccion()
{
    --bd_.profundidad_;
    if (!exterior_)
        return;
    if (!confirmada_) {
        bd_.db().rollback();
        bd_.motor_->Acaba(bd_);
        for (auto it = bd_.alDeshacer_.rbegin(); it != bd_.alDeshacer_.rend(); ++it)
            (*it)();
    }
    bd_.alDeshacer_.clear();
    bd_.alConfirmar_.clear();
}

LecturaCatalogo::LecturaCatalogo(Catalogo& bd) : bd_(bd)
{
    if (bd_.profundidad_ == 0)
        abierta_ = bd_.motor_->EmpiezaInstantanea(bd_);
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
