#pragma once
#include <QString>
#include <QtGlobal>

// Stream properties of an MP3 file's first MPEG audio frame, plus its playing time.
struct HP {
    qint16 bitrate = 0;          // kbit/s
    qint32 frecuencia = 0;       // sample rate, Hz
    QString modo;                // "stereo", "joint stereo", "dual channel", "single channel"
    QString enfasis;             // "no", "50/15", "reserved", "CCITT J 17"
    qint16 version = 0;          // 1, 2, 25 (MPEG 2.5) or 0 (reserved)
    qint16 capa = 0;             // layer 1, 2, 3 or 0 (reserved)
    QString relleno;             // padding "yes"/"no"
    QString protegido;           // "yes" when the frame carries a CRC
    qint64 tiempo = 0;           // whole seconds
    QString copyright;           // "yes"/"no"
    QString original;            // "yes"/"no"
    QString privado;             // "yes"/"no"
};

// Reads the first MPEG audio frame of the file and its playing time. Returns
// whether a frame was found; otherwise hp is left empty with tiempo 0.
bool DameInfoMp3(const QString& rutaCompleta, HP& hp);
