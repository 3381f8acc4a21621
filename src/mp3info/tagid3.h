#pragma once
#include <QByteArray>
#include <QString>

// ID3v1 tags: a 128-byte block at the very end of an MP3 file, beginning "TAG".

// The comment every tag written here carries (30 characters).
extern const QString kComentarioTag;

// Text fitted to a field of `largo` bytes: ISO-8859-1, one byte per character
// (a character outside it becomes '?'), cut or padded with blanks.
QByteArray CampoTag(const QString& texto, int largo);

// The 128 bytes of a tag; each value is fitted to its field.
QByteArray BloqueTag(const QString& titulo, const QString& artista, const QString& album, const QString& anio,
                     const QString& comentario, const QString& genero);

// Whether the file is at least 128 bytes long and its last 128 bytes begin "TAG".
bool TieneTag(const QString& rutaCompleta);

// Writes the tag over an existing one (the length stays) or appends it. The
// bytes before the tag are never touched; a failed append leaves the file as it
// was. Throws LodrinError, naming the file, when it cannot be written.
void PonTag(const QString& rutaCompleta, const QString& titulo, const QString& artista, const QString& album,
            const QString& anio, const QString& comentario, const QString& genero);

// The message for a file whose tags could not be written, with the reason
// for the errno value (or FicheroRegular::kNoRegular).
QString FallaTag(const QString& rutaCompleta, int error);
