#pragma once
#include <QByteArray>
#include <QString>
#include <vector>

class Catalogo;

// Pictures attached to catalogue rows (covers of discs): a row in tlobjetos and
// a copy in the images folder named after the row's id.

// The images folder beside the catalogue, for a program directory.
QString CarpetaImagenes(const QString& dirPrograma);

// Puts the picture copies made so far on the disk; called once by an
// operation that made copies, before its commit.
void ImagenesAlDisco(const QString& dirPrograma);

// At a writing opening: copies a killed program made for a recording that
// committed (its token stands in tlcd) get their names; anything else no row
// names (half-written copies, copies of undone recordings) is removed.
void OrdenaCopias(Catalogo& bd, const QString& dirPrograma);

// Finds the picture of an owner by its relative path (crear on), or any
// picture of the owner (crear off; on a server the owner's pictures are then
// brought into the local cache, for showing them). With crear on a picture not yet stored is
// inserted and copied from origen; a stored picture whose copy is missing is
// copied again. The copy takes its name, in place of any other extension's
// copy of that id, only when the operation commits. Returns the idobjeto, or 0. Throws LodrinError when the copy
// fails; the row inserted before stays, and the next recording copies it.
// bytes, when given, are origen's, read before the operation began. With
// crear on, token is the recording's (recorded in tlcd within the same
// operation): the new copy waits under it until the commit. Without one, a
// copy a kill left unnamed is not trusted: it goes, and the next recording
// copies the picture again.
qint64 GrabaObjeto(Catalogo& bd, const QString& dirPrograma, const QString& tabla, qint64 idtabla,
                   QString ruta, const QString& origen, bool crear, const QByteArray& bytes = {},
                   const QString& token = {});

// A picture to be recorded with its owner: the row's id in its table, the
// relative path, where its bytes come from and, when already read, the bytes.
struct ObjetoNuevo {
    qint64 idtabla = 0;
    QString ruta;
    QString origen;
    QByteArray bytes;
};

// GrabaObjeto with crear for many pictures of one table at once (the covers
// of a CD): their rows found or inserted together, their bytes stored
// together, each copy made as GrabaObjeto makes it, waiting under token.
// Returns the ids in order.
std::vector<qint64> GrabaObjetos(Catalogo& bd, const QString& dirPrograma, const QString& tabla,
                                 const std::vector<ObjetoNuevo>& objetos, const QString& token = {});

// The bytes of a picture to be stored. Throws LodrinError naming it.
QByteArray LeeImagenOrigen(const QString& origen);

// The picture to show after actual among the owner's pictures, or 0.
qint64 DameSiguienteObjeto(Catalogo& bd, const QString& tabla, qint64 idtabla, qint64 actual);

// The copy's file name: the id and the picture's extension in lower case.
QString NombreCopia(qint64 idobjeto, const QString& ruta);

// The full path of the copy of a picture that exists in the images folder,
// whatever the case of its extension; empty when there is none.
QString CopiaExistente(const QString& dirPrograma, qint64 idobjeto);

// The local copy of a picture: the one in the images folder, or on a server,
// fetched from the catalogue into that folder (a cache) when missing. Empty
// when there is none to be had.
QString CopiaImagen(Catalogo& bd, const QString& dirPrograma, qint64 idobjeto);

// Writes a picture's bytes as its copy in the images folder, replacing any,
// or, given a token, as a copy waiting under it (Diario::ColocaEnEspera
// names it). Returns the copy's full path. Throws LodrinError.
QString EscribeCopia(const QString& dirPrograma, qint64 idobjeto, const QString& ruta, const QByteArray& bytes,
                     const QString& token = {});
