#pragma once
#include <QTemporaryDir>
#include <memory>

#include "store/motor.h"

// The catalogue in an SQLite file beside the program: rollback journal, each
// commit on disk before it returns; picture bytes live only in the folder of
// copies; the search index is a full-text table of trigrams.
class MotorSQLite : public MotorCatalogo {
public:
    // What a look at an existing file tells.
    struct Estado {
        int version = 0;
        bool sinClaves = false;  // it lacks the folded key columns
        bool inmutable = false;  // read as a file no one writes
        bool copia = false;      // read through a private copy of it and its -wal
    };

    bool Abre(Catalogo& bd, QString& aviso, int hastaPaso) override;
    std::vector<int> Pasos() const override;
    void AbreParaLeer(Catalogo& bd) override;
    bool Reconecta(Catalogo&) override { return false; }
    bool Empieza(Catalogo& bd, int esperaMs, QSqlError& fallo) override;
    void Acaba(Catalogo& bd) override;
    void AntesDeConfirmar(Catalogo& bd) override;
    ClaseFallo Clase(const QSqlError& e) const override;
    QString Texto(const QSqlError& e) const override;
    qint64 Inserta(Catalogo& bd, const QString& tabla, const QString& columnaId, const QStringList& columnas,
                   const QVariantList& valores) override;
    qint64 BuscaOInserta(Catalogo& bd, const QString& tabla, const QString& columnaId, const QStringList& claves,
                         const QVariantList& valoresClave, const QStringList& columnas,
                         const QVariantList& valores) override;
    void InsertaQueFalten(Catalogo& bd, const QString& tabla, const QString& columnaId, const QStringList& claves,
                          const QStringList& columnas, const std::vector<QVariantList>& filas) override;
    std::vector<std::pair<qint64, bool>> BuscaOInsertaVarias(Catalogo& bd, const QString& tabla,
                                                            const QString& columnaId, const QStringList& claves,
                                                            const QStringList& columnas,
                                                            const std::vector<QVariantList>& filas) override;
    QString OrdenDeAlta() const override { return QStringLiteral("rowid"); }
    void TrasCopia(Catalogo&) override {}  // the file numbers on from the largest id it holds
    bool EmpiezaInstantanea(Catalogo& bd) override;
    bool GuardaImagen(Catalogo&, qint64, const QByteArray&) override { return false; }
    QByteArray LeeImagen(Catalogo&, qint64) override { return {}; }
    QString IdCache() const override { return {}; }
    bool IndiceAlDia(Catalogo& bd) override;
    bool IndiceConPendientes(Catalogo& bd) override;
    void MiraCambiosFuera(Catalogo& bd) override;
    QString CancionesConPalabras(const QStringList& palabras, QVariantList& valores, bool leyendoTodas,
                                 qint64 limite) override;

private:
    void conecta(Catalogo& bd, bool soloLectura, bool inmutable = false);
    // Looks at the file before a connection opens it; one only read whose
    // -wal holds rows that cannot be read in place gets a private copy.
    Estado mira(Catalogo& bd, bool soloLeer);
    // Checks the index against the songs and brings it up to date.
    void cuadra(Catalogo& bd);
    qint64 versionDatos_ = -1;  // the file's data_version when the index was last checked
    QString ruta_;              // the file, for naming it in failures
    // The file holds the search index, which each operation keeps up to date
    // before it commits.
    bool indice_ = false;
    // The index holds an entry or a mark for every song, as far as a count
    // tells; where not, searches read every song.
    bool fiable_ = true;
    // What the connection opens when not the file itself: the private copy.
    QString origen_;
    std::unique_ptr<QTemporaryDir> copia_;
};
