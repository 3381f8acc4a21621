#pragma once
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <vector>

#include "catalogue/autoresnuevos.h"

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

// The one catalogue connection. Made once in main() and passed by reference;
// it takes its file and connection name, so tests open their own catalogue.
class Catalogo {
public:
    Catalogo(const QString& rutaFichero, const QString& nombreConexion = QStringLiteral("catalogo"));
    ~Catalogo();
    Catalogo(const Catalogo&) = delete;
    Catalogo& operator=(const Catalogo&) = delete;

    // Opens the catalogue file. A missing file is created with its tables and
    // the typical masks; an existing file that is not a usable catalogue is
    // reported (LodrinError with the engine's text) and never touched.
    void AbreBaseDatos();

    // Runs a statement that changes rows; each one is committed on its own.
    void Ejecuta(const QString& sql);
    // Runs a select and keeps its rows.
    Consulta Abre(const QString& sql);

    QSqlDatabase db() const;
    const QString& ruta() const { return ruta_; }
    const QString& nombreConexion() const { return conexion_; }

    // The authors the user chose while decoding during this run.
    AutoresNuevos& autoresNuevos() { return autores_; }

    // Where the catalogue lives for a program directory: the directory plus
    // "anterior.mdb", with no second separator at the root of a drive.
    static QString RutaCatalogo(const QString& dirPrograma);

private:
    void creaCatalogo();
    void compruebaCatalogo();

    QString ruta_;
    QString conexion_;
    AutoresNuevos autores_;
};

// How values enter SQL text.
namespace sql {
QString Comillas(const QString& texto);   // every single quote doubled
QString Entero(qint64 valor);             // decimal, leading minus when negative
QString SiNo(bool valor);                 // the bare words True / False
inline QString Fecha() { return QStringLiteral("DATE()"); }
}  // namespace sql
