#pragma once
#include <QString>
#include <QStringList>

// Real MP3 data for tests, made with the lame encoder from a generated tone.
// seconds may have a fraction; sampleRate and channels describe the PCM given
// to the encoder; extra holds further lame options (e.g. "-b", "192" or "-V", "4").
// Returns the path written, or an empty text when the encoder failed.
QString CreaMp3(const QString& ruta, double segundos, const QStringList& extra = {}, int sampleRate = 44100,
                int canales = 2);

// Frames of a file's first audio stream as a full decode counts them
// (ffprobe), and its sample rate into *frecuencia when given; -1 when it cannot.
qint64 TramasDecodificadas(const QString& ruta, int* frecuencia = nullptr);

// A small picture file (JPEG or GIF by the extension of ruta).
QString CreaImagen(const QString& ruta, int ancho = 40, int alto = 40);
