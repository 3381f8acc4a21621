#pragma once
#include "store/motor.h"

// The catalogue in a database on a PostgreSQL server, shared by several
// computers: ids numbered by the server, folded keys unique, picture bytes in
// a table of their own, the search index a trigram index where the server
// lets it be made.
class MotorPostgreSQL : public MotorCatalogo {
public:
    bool Abre(Catalogo& bd, QString& aviso, int hastaPaso) override;
    std::vector<int> Pasos() const override;
    void AbreParaLeer(Catalogo& bd) override;
    bool Reconecta(Catalogo& bd) override;
    bool Empieza(Catalogo& bd, int esperaMs, QSqlError& fallo) override;
    QString QuienBloquea(Catalogo& bd) override;
    QString Identidad(Catalogo& bd) override;
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
    QString OrdenDeAlta() const override { return QStringLiteral("idmascara"); }
    void TrasCopia(Catalogo& bd) override;
    bool EmpiezaInstantanea(Catalogo& bd) override;
    bool GuardaImagen(Catalogo& bd, qint64 idobjeto, const QByteArray& bytes) override;
    QByteArray LeeImagen(Catalogo& bd, qint64 idobjeto) override;
    bool GuardaImagenes(Catalogo& bd, const std::vector<std::pair<qint64, QByteArray>>& imagenes) override;
    QString IdCache() const override { return id_; }
    bool IndiceAlDia(Catalogo& bd) override;
    QString CancionesConPalabras(const QStringList& palabras, QVariantList& valores, bool leyendoTodas,
                                 qint64 limite) override;

private:
    // Opens the connection; the message of a failure names host and port.
    void conecta(Catalogo& bd);
    void leeId(Catalogo& bd);
    // The catalogue has the search index (its second step), which each
    // operation keeps up to date before it commits.
    bool indice_ = false;
    // The catalogue's id, made with it: the picture cache belongs to it.
    QString id_;
};
