#pragma once
#include <QList>
#include <QString>

// One volume of the machine as the drive list shows it.
struct Volumen {
    QString raiz;             // root path, native, ending in a separator
    QString sistemaFicheros;  // e.g. "iso9660", "udf", "ext4"
    bool lista = false;       // ready (mounted and readable)
    QString nombre;           // volume name
    qint32 serie = 0;         // volume serial number, signed 32-bit
    bool EsCdRom() const
    {
        return sistemaFicheros == QLatin1String("iso9660") || sistemaFicheros == QLatin1String("udf");
    }
};

// The small interface through which the program sees the machine's drives;
// tests put a fake behind it that presents a folder as a ready CD.
class Unidades {
public:
    virtual ~Unidades() = default;
    virtual QList<Volumen> Lista() = 0;
    // Index in Lista() of the volume that holds the current working folder.
    virtual int Actual() = 0;
};
