#include "support/etiquetasprueba.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <taglib/apeitem.h>
#include <taglib/apetag.h>
#include <taglib/attachedpictureframe.h>
#include <taglib/commentsframe.h>
#include <taglib/id3v2header.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>

#include "support/testsupport.h"

namespace {
TagLib::String T(const QString& s) { return TagLib::String(s.toUtf8().constData(), TagLib::String::UTF8); }
QString Q(const TagLib::String& s) { return QString::fromUtf8(s.toCString(true)); }
TagLib::FileName Nombre(const QByteArray& b) { return b.constData(); }
}  // namespace

QString CreaMp3Etiquetado(const QString& ruta, const QByteArray& audio, ClaseEtiqueta clase, const EtiquetasPrueba& e)
{
    EscribeFichero(ruta, audio);
    const QByteArray nombre = QFile::encodeName(ruta);
    TagLib::MPEG::File f(Nombre(nombre), false);
    if (clase == ClaseEtiqueta::Ape) {
        TagLib::APE::Tag* t = f.APETag(true);
        t->setArtist(T(e.artista));
        t->setAlbum(T(e.album));
        t->setTitle(T(e.titulo));
        t->setTrack(unsigned(e.pista));
        if (!e.artistaAlbum.isEmpty())
            t->addValue("ALBUM ARTIST", T(e.artistaAlbum));
        if (!e.portada.isEmpty()) {
            const QByteArray dato = QByteArray("portada.jpg") + '\0' + e.portada;
            t->setItem("COVER ART (FRONT)",
                       TagLib::APE::Item("COVER ART (FRONT)", TagLib::ByteVector(dato.constData(), unsigned(dato.size())), true));
        }
        f.save(TagLib::MPEG::File::APE, TagLib::File::StripOthers);
        return ruta;
    }
    TagLib::ID3v2::Tag* t = f.ID3v2Tag(true);
    const auto enc = clase == ClaseEtiqueta::Id3v23 ? TagLib::String::UTF16 : TagLib::String::UTF8;
    auto texto = [&](const char* id, const QString& v) {
        if (v.isEmpty())
            return;
        auto* m = new TagLib::ID3v2::TextIdentificationFrame(id, enc);
        m->setText(T(v));
        t->addFrame(m);
    };
    texto("TPE1", e.artista);
    texto("TALB", e.album);
    texto("TPE2", e.artistaAlbum);
    texto("TIT2", e.titulo);
    if (e.pista > 0)
        texto("TRCK", QString::number(e.pista));
    if (!e.comentario.isEmpty()) {
        auto* c = new TagLib::ID3v2::CommentsFrame(enc);
        c->setText(T(e.comentario));
        t->addFrame(c);
    }
    if (!e.portada.isEmpty()) {
        auto* p = new TagLib::ID3v2::AttachedPictureFrame;
        p->setMimeType("image/jpeg");
        p->setType(TagLib::ID3v2::AttachedPictureFrame::FrontCover);
        p->setPicture(TagLib::ByteVector(e.portada.constData(), unsigned(e.portada.size())));
        t->addFrame(p);
    }
    f.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripOthers,
           clase == ClaseEtiqueta::Id3v23 ? TagLib::ID3v2::v3 : TagLib::ID3v2::v4);
    return ruta;
}

QMap<QString, QString> MarcosId3v2(const QString& ruta)
{
    QMap<QString, QString> m;
    const QByteArray nombre = QFile::encodeName(ruta);
    TagLib::MPEG::File f(Nombre(nombre), false);
    if (!f.hasID3v2Tag())
        return m;
    TagLib::ID3v2::Tag* t = f.ID3v2Tag();
    m.insert(QStringLiteral("version"), QString::number(t->header()->majorVersion()));
    for (const auto* marco : t->frameList()) {
        const QString id = QString::fromLatin1(marco->frameID().data(), 4);
        if (const auto* p = dynamic_cast<const TagLib::ID3v2::AttachedPictureFrame*>(marco))
            m.insert(id, QString::number(p->picture().size()));
        else
            m.insert(id, Q(marco->toString()));
    }
    return m;
}

QByteArray SinId3v2(const QByteArray& fichero)
{
    if (!fichero.startsWith("ID3") || fichero.size() < 10)
        return fichero;
    qint64 talla = 0;
    for (int i = 6; i < 10; ++i)
        talla = (talla << 7) | (uchar(fichero[i]) & 0x7F);
    return fichero.mid(10 + talla + ((uchar(fichero[5]) & 0x10) ? 10 : 0));
}
