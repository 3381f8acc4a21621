#pragma once
#include "exploring/unidades.h"

// Presents volumes the test chooses; by default one hard disk and, when a
// folder is given, that folder as a ready CD-ROM (selected at start).
class UnidadesFalsas : public Unidades {
public:
    UnidadesFalsas() = default;
    explicit UnidadesFalsas(const QString& carpetaCd, const QString& nombre = QStringLiteral("MI_CD"),
                            qint32 serie = -1234567)
    {
        Volumen disco;
        disco.raiz = QStringLiteral("/");
        disco.sistemaFicheros = QStringLiteral("ext4");
        disco.lista = true;
        Volumen cd;
        cd.raiz = carpetaCd.endsWith(QLatin1Char('/')) ? carpetaCd : carpetaCd + QLatin1Char('/');
        cd.sistemaFicheros = QStringLiteral("iso9660");
        cd.lista = true;
        cd.nombre = nombre;
        cd.serie = serie;
        volumenes = {disco, cd};
        actual = 1;
    }
    QList<Volumen> Lista() override { return volumenes; }
    int Actual() override { return actual; }

    QList<Volumen> volumenes;
    int actual = 0;
};
