#pragma once
#include <QByteArray>
#include <QList>
#include <QString>

#include "exploring/unidades.h"

// One line of the system's mount table.
struct Montaje {
    QString dispositivo;
    QString punto;  // mount point, as the table gives it (no trailing separator)
    QString tipo;   // file-system type
};

// Parses the mount table text (/proc/self/mounts); octal escapes such as \040
// for a blank are decoded.
QList<Montaje> LeeMontajes(const QByteArray& tabla);

// Names a CD-ROM volume from its device: the volume name and serial of its
// descriptors, or, when the device cannot be read or holds none, the mount's
// label (else the mount folder's name) and a serial derived from the mount.
void CompletaCdRom(Volumen& v, const QString& dispositivo, const QString& etiqueta, qint64 bytesTotales);

// The machine's volumes: every mounted file system. A volume is a CD-ROM when
// its file system is iso9660 or udf.
class UnidadesSistema : public Unidades {
public:
    QList<Volumen> Lista() override;
    int Actual() override;
};
