#pragma once
#include <QByteArray>
#include <vector>

// An ID3v2 tag at the level of its bytes: where it ends and what frames it
// holds, whole. Enough to keep a tag's space when it is written again and to
// carry over frames the tag library would drop.

// A frame as the tag holds it: its header and its data.
struct MarcoCrudo {
    QByteArray id;
    QByteArray bytes;
};

// A size of seven bits a byte (the tag's, and a 2.4 frame's); -1 when a
// byte has its high bit set.
qint64 Syncsafe(const uchar* b);

// Bytes of a tag unsynchronised on writing, as they were: FF 00 stands for FF.
QByteArray SinSincronizar(const QByteArray& d);

// The whole size of the tag that begins cabeza (at least its first 10
// bytes): header, body and footer; 0 when cabeza is no ID3v2 header.
qint64 LargoEtiquetaId3v2(const QByteArray& cabeza);

// The frames of a whole tag (version 2.3 or 2.4), in order, up to its
// padding or the first frame that does not fit.
std::vector<MarcoCrudo> MarcosCrudos(const QByteArray& etiqueta);

// A tag of the version holding the frames, padded with zero bytes to
// `largo` bytes in all.
QByteArray EtiquetaRellena(int version, const std::vector<MarcoCrudo>& marcos, qint64 largo);
