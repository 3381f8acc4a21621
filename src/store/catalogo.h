#pragma once
#include <QElapsedTimer>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

#include "common/lodrinerror.h"
#include "store/motor.h"
#include "store/autoresnuevos.h"
#include "store/ubicacion.h"

// The rows of one select, read forward: at its end or not, a named column of
// the current row, the next row, and the number of rows.
class Consulta {
public:
    int RecordCount() const { return int(filas_.size()); }
    bool Fin() const { return actual_ >= filas_.size(); }
    void Siguiente() { ++actual_; }
    // Column names are compared without regard to case, as the statements
    // write them in either case.
    QVariant Campo(const QString& columna) const;
    QString Texto(const QString& columna) const { return Campo(columna).toString(); }
    qint64 Entero(const QString& columna) const { return Campo(columna).toLongLong(); }
    bool SiNo(const QString& columna) const { return Campo(columna).toLongLong() != 0; }

private:
    friend class Catalogo;
    QStringList columnas_;
    std::vector<QVector<QVariant>> filas_;
    size_t actual_ = 0;
};

// The server refused an operation because another program changed the same
// rows at the same moment (a key recorded twice, a serialization failure).
// The operation is run again from its start.
class ConflictoCatalogo : public LodrinError {
public:
    using LodrinError::LodrinError;
};

// Another program held the catalogue longer than an operation may wait, or
// the person stopped waiting.
class CatalogoBloqueado : public LodrinError {
public:
    using LodrinError::LodrinError;
};

// Told about every fifth of a second while an operation waits for another
// program's lock: milliseconds waited and the most it may wait, then once
// with esperado < 0 when the wait ends. Returns false when the person asked
// to stop waiting.
using AvisoEspera = std::function<bool(qint64 esperado, qint64 limite)>;

// The one catalogue connection. Made once in main() and passed by reference;
// it takes its file and connection name, so tests open their own catalogue.
// Every statement of the program goes through it with its values bound; each
// statement text is prepared once per connection and reused.
class Catalogo {
public:
    Catalogo(const QString& rutaFichero, const QString& nombreConexion = QStringLiteral("catalogo"));
    Catalogo(const UbicacionCatalogo& ubicacion, const QString& nombreConexion = QStringLiteral("catalogo"));
    ~Catalogo();
    Catalogo(const Catalogo&) = delete;
    Catalogo& operator=(const Catalogo&) = delete;

    // Opens the catalogue: the file, or the server database. A missing
    // catalogue is created whole with its tables and the typical masks; an
    // older one climbs the schema steps it lacks, each in one transaction; one
    // that is not a usable catalogue is reported and never touched. A file or
    // folder that cannot be written, or a catalogue of a newer program, opens
    // for reading only (aviso() then says why). Throws CatalogoNoAbierto.
    // hastaPaso stops the climb earlier: a catalogue as an earlier version
    // left it, which tests build.
    void AbreBaseDatos(int hastaPaso = kPasosEsquema);
    // Opens an existing catalogue for reading only, as it is: a second
    // connection for work done beside the program's own (searching on
    // another thread). Throws CatalogoNoAbierto.
    void AbreParaLeer();
    bool SoloLectura() const { return soloLectura_; }
    // What the person should know of the catalogue just opened; empty most
    // of the time.
    const QString& aviso() const { return aviso_; }

    // Runs a select with its values bound to the ? of the text, in order.
    Consulta Abre(const QString& sql, const QVariantList& valores = {});
    // The first column of the first row of a select as a number, 0 when it
    // gives no row: the look-ups of ids, without keeping rows.
    qint64 PrimerEntero(const QString& sql, const QVariantList& valores);
    // Runs a statement that changes rows.
    void Ejecuta(const QString& sql, const QVariantList& valores = {});
    // Inserts a row into tabla and returns its new id (the column columnaId).
    qint64 Inserta(const QString& tabla, const QString& columnaId, const QStringList& columnas,
                   const QVariantList& valores);
    // Walks the rows of a select without keeping them (copying a catalogue).
    void Recorre(const QString& sql, const QVariantList& valores, const std::function<void(const QSqlQuery&)>& fila);

    QSqlDatabase db() const;
    // The catalogue as messages name it: the file, or "base@host:puerto".
    const QString& ruta() const { return ruta_; }
    const UbicacionCatalogo& ubicacion() const { return ubicacion_; }
    // What the engine behind the catalogue does its own way.
    MotorCatalogo& motor() const { return *motor_; }
    // Whether an operation that met a conflict runs again: only the
    // outermost, a few times, each after a short pause.
    bool Reintenta(int intento);
    const QString& nombreConexion() const { return conexion_; }
    // Closes the connection, forgetting its prepared statements.
    void Cierra();

    // The longest an operation waits for another program's lock, in
    // milliseconds (the setting catalogo/esperaSegundos, 10 s by default); 0
    // takes the lock at once or not at all.
    qint64 esperaMaxima() const { return esperaMaxima_; }
    void PonEsperaMaxima(qint64 ms) { esperaMaxima_ = ms; }
    // Who hears of waits (the window's progress bar and "Cancelar").
    void PonAvisoEspera(AvisoEspera aviso) { avisoEspera_ = std::move(aviso); }
    // Whether the operation que, blocked by another program since desde
    // (started at its first block), may try again: only the outermost, within
    // the longest wait, while the person waits. Throws CatalogoBloqueado
    // naming the catalogue and who holds it when not.
    bool EsperaOtraVez(const QString& que, QElapsedTimer& desde);
    // The wait is over: whoever heard of it hears so.
    void AcabaEspera();

    // The authors the user chose while decoding during this run.
    AutoresNuevos& autoresNuevos() { return autores_; }

    // Where the catalogue lives for a program directory: the directory plus
    // "anterior.mdb", with no second separator at the root of a drive.
    static QString RutaCatalogo(const QString& dirPrograma);

private:
    friend class Transaccion;
    friend class LecturaCatalogo;
    QSqlQuery& sentencia(const QString& sql, const QVariantList& valores, bool otraVez = false);
    // Opens the connection again when e says it was lost, outside any
    // transaction: true when the statement may be tried once more.
    bool reabre(const QSqlError& e);
    [[noreturn]] void lanza(const QSqlError& e) const;

    UbicacionCatalogo ubicacion_;
    QString ruta_;
    QString conexion_;
    AutoresNuevos autores_;
    std::unique_ptr<MotorCatalogo> motor_;
    bool soloLectura_ = false;
    QString aviso_;
    QHash<QString, QSqlQuery> preparadas_;
    // Open transactions: only the outermost one begins and ends in the engine.
    int profundidad_ = 0;
    std::vector<std::function<void()>> alDeshacer_;
    std::vector<std::function<void()>> alConfirmar_;
    qint64 esperaMaxima_;
    AvisoEspera avisoEspera_;
    bool avisado_ = false;
};

// One user operation on the catalogue: begins a transaction, and unless
// Confirma() is called before it goes, rolls it back and runs what was
// registered with AlDeshacer (removing picture copies made meanwhile).
// Guards inside an open one join it: the outermost decides. Refuses to start
// on a read-only catalogue, naming the file.
class Transaccion {
public:
    // que says in Spanish what the operation does ("grabar el CD").
    Transaccion(Catalogo& bd, const QString& que);
    ~Transaccion();
    Transaccion(const Transaccion&) = delete;
    Transaccion& operator=(const Transaccion&) = delete;

    void Confirma();
    bool Exterior() const { return exterior_; }
    // Something to undo outside the engine if the operation is rolled back.
    void AlDeshacer(std::function<void()> deshacer);
    // Something to do outside the engine once the operation has committed
    // (giving picture copies their names).
    void AlConfirmar(std::function<void()> hacer);

private:
    Catalogo& bd_;
    bool exterior_;
    bool confirmada_ = false;
};

// A reading that spans many statements (a listing, a search, a copy): every
// statement sees the same catalogue, whatever others commit meanwhile, and
// the engine takes its locks once instead of per statement. Changes nothing.
class LecturaCatalogo {
public:
    explicit LecturaCatalogo(Catalogo& bd);
    ~LecturaCatalogo();
    LecturaCatalogo(const LecturaCatalogo&) = delete;
    LecturaCatalogo& operator=(const LecturaCatalogo&) = delete;

private:
    Catalogo& bd_;
    bool abierta_ = false;
};

namespace detalle {

// " en el catálogo …" for a failure's text, or nothing when its cause names
// the catalogue already: a message names it once.
QString EnElCatalogo(const Catalogo& bd, const QString& causa);

template <class F>
auto UnaVez(Catalogo& bd, const QString& que, F& f) -> decltype(f(std::declval<Transaccion&>()))
{
    Transaccion t(bd, que);
    try {
        if constexpr (std::is_void_v<decltype(f(t))>) {
            f(t);
            t.Confirma();
        } else {
            auto r = f(t);
            t.Confirma();
            return r;
        }
    } catch (const OperacionCancelada&) {
        throw;
    } catch (const LodrinError& e) {
        // Only the outermost operation words the message; inner ones pass
        // the cause on.
        if (!t.Exterior())
            throw;
        const QString texto = QStringLiteral("No se ha podido %1%2: %3").arg(que, EnElCatalogo(bd, e.message()), e.message());
        if (dynamic_cast<const ConflictoCatalogo*>(&e))
            throw ConflictoCatalogo(texto);
        if (dynamic_cast<const CatalogoBloqueado*>(&e))
            throw CatalogoBloqueado(texto);
        throw LodrinError(texto);
    }
}

}  // namespace detalle

// Runs f as one operation: commits at its end, or rolls everything back and
// throws a LodrinError naming the catalogue and what failed. When another
// program's operation collided with it on the server, it is run again whole;
// when another program holds the catalogue, it is run again while the wait
// lasts (Catalogo::EsperaOtraVez), the window heard between tries.
template <class F>
auto Operacion(Catalogo& bd, const QString& que, F&& f) -> decltype(f(std::declval<Transaccion&>()))
{
    QElapsedTimer bloqueado;
    struct Fin {
        Catalogo& bd;
        ~Fin() { bd.AcabaEspera(); }
    } fin{bd};
    for (int intento = 1;; ++intento) {
        try {
            return detalle::UnaVez(bd, que, f);
        } catch (const ConflictoCatalogo& e) {
            if (!bd.Reintenta(intento))
                throw;
        } catch (const CatalogoBloqueado&) {
            if (!bd.EsperaOtraVez(que, bloqueado))
                throw;
        }
    }
}
