#include "tagid3.h"

#include <QList>
#include <cerrno>
#include <cstring>

#include "common/lodrinerror.h"
#include "common/ficheroregular.h"

const QString kComentarioTag = QStringLiteral("TAG puesto por Brenvo by Tarn'00").left(30);

namespace {

constexpr qint64 kLargoTag = 128;

QString Falla(const QString& ruta, int error)
{
    return QStringLiteral("No se puede escribir el tag del fichero:\n%1\n%2").arg(ruta, RazonFallo(error));
}

// The last 128 bytes when they are a tag.
bool LeeTag(const FicheroRegular& f, char* tag)
{
    return f.largo() >= kLargoTag && f.Lee(f.largo() - kLargoTag, tag, kLargoTag) == kLargoTag &&
           std::memcmp(tag, "TAG", 3) == 0;
}

// Opens an existing regular file for writing in place; never creates or truncates it.
void AbreParaEscribir(FicheroRegular& f, const QString& ruta)
{
    if (!f.abierto())
        throw LodrinError(Falla(ruta, f.error()));
}

}  // namespace

QByteArray CampoTag(const QString& texto, int largo)
{
    QByteArray campo;
    campo.reserve(largo);
    // A letter typed with a combining accent becomes the one character the
    // 8-bit set has for it.
    for (const char32_t c : texto.normalized(QString::NormalizationForm_C).toUcs4()) {
        if (campo.size() >= largo)
            break;
        campo.append(c <= 0xFF ? char(c) : '?');
    }
    while (campo.size() < largo)
        campo.append(' ');
    return campo;
}

QByteArray BloqueTag(const QString& titulo, const QString& artista, const QString& album, const QString& anio,
                     const QString& comentario, const QString& genero)
{
    QByteArray b("TAG");
    b += CampoTag(titulo, 30);
    b += CampoTag(artista, 30);
    b += CampoTag(album, 30);
    b += CampoTag(anio, 4);
    b += CampoTag(comentario, 30);
    b += CampoTag(genero, 1);
    return b;
}

bool TieneTag(const QString& rutaCompleta)
{
    char tag[kLargoTag];
    return LeeTag(FicheroRegular(rutaCompleta, false), tag);
}

void PonTag(const QString& rutaCompleta, const QString& titulo, const QString& artista, const QString& album,
            const QString& anio, const QString& comentario, const QString& genero)
{
    const QByteArray bloque = BloqueTag(titulo, artista, album, anio, comentario, genero);
    FicheroRegular f(rutaCompleta, true);
    AbreParaEscribir(f, rutaCompleta);
    const qint64 largo = f.largo();
    char viejo[kLargoTag];
    const bool sobreescribe = LeeTag(f, viejo);
    const qint64 pos = sobreescribe ? largo - kLargoTag : largo;
    int error = f.Escribe(pos, bloque.constData(), kLargoTag);
    // Whatever part was written is taken back: the file stays as it was.
    if (error) {
        if (sobreescribe)
            f.Escribe(pos, viejo, kLargoTag);
        else
            f.Trunca(largo);
    }
    const int alCerrar = f.Cierra();
    if (!error && alCerrar && !sobreescribe)
        FicheroRegular(rutaCompleta, true).Trunca(largo);
    if (error || alCerrar)
        throw LodrinError(Falla(rutaCompleta, error ? error : alCerrar));
}

QString FallaTag(const QString& rutaCompleta, int error) { return Falla(rutaCompleta, error); }
