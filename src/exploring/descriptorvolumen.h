#pragma once
#include <QByteArray>
#include <QString>

class QIODevice;

// What a disc's volume descriptors say about it: its volume name and the
// serial number computed from the chosen descriptor, so that a disc catalogued
// here carries the serial it is known by elsewhere.
struct DescriptorVolumen {
    bool leido = false;  // a usable descriptor was found
    QString nombre;
    qint32 serie = 0;
};

namespace descriptor {
constexpr int kSector = 2048;
constexpr int kPrimerSector = 16;
constexpr int kUltimoSector = 19;
}  // namespace descriptor

// Serial of one 2048-byte descriptor: four byte sums, sum k over the bytes at
// offsets k, k+4, k+8, ..., each kept to 8 bits; sum 0 is the most significant
// byte. Read as a signed 32-bit number.
qint32 SerieDeDescriptor(const QByteArray& descriptor);

// Reads the descriptors of an ISO 9660 volume from sectors 16 to 19 of a
// device or image, stopping at the set terminator, and takes the one of the
// highest type that names the volume (a Joliet descriptor over the primary).
DescriptorVolumen LeeDescriptor(QIODevice& dispositivo);
DescriptorVolumen LeeDescriptorDe(const QString& rutaDispositivo);

// For a disc whose device cannot be read: a serial derived from what the mount
// shows (its label, its size and the names and sizes in its root folder), the
// same for the same disc on every run.
qint32 SerieDerivada(const QString& raiz, const QString& etiqueta, qint64 bytesTotales);
