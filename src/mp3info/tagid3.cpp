#include "tagid3.h"

#include <QFile>

#include "common/lodrinerror.h"

const QString kComentarioTag = QStringLiteral("TAG puesto por Brenvo by Tarn'00").left(30);

namespace {

constexpr qint64 kLargoTag = 128;

QString Falla(const QString& ruta, const QFile& f)
{
    return QStringLiteral("No se puede escribir el tag del fichero:\n%1\n%2")
        .arg(ruta, f.errorString());
}

bool TieneTagAbierto(QFile& f)
{
    const qint64 largo = f.size();
    return largo >= kLargoTag && f.seek(largo - kLargoTag) && f.read(3) == "TAG";
}

// Opens an existing file for writing in place; never creates or truncates it.
void AbreParaEscribir(QFile& f, const QString& ruta)
{
    if (!f.open(QIODevice::ReadWrite | QIODevice::ExistingOnly))
        throw LodrinError(Falla(ruta, f));
}

void Cierra(QFile& f, const QString& ruta)
{
    if (!f.flush()) {
        const QString texto = Falla(ruta, f);
        f.close();
        throw LodrinError(texto);
    }
    f.close();
}

}  // namespace

QByteArray CampoTag(const QString& texto, int largo)
{
    QByteArray campo;
    campo.reserve(largo);
    for (const char32_t c : texto.toUcs4()) {
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
    QFile f(rutaCompleta);
    return f.open(QIODevice::ReadOnly) && TieneTagAbierto(f);
}

void PonTag(const QString& rutaCompleta, const QString& titulo, const QString& artista, const QString& album,
            const QString& anio, const QString& comentario, const QString& genero)
{
    const QByteArray bloque = BloqueTag(titulo, artista, album, anio, comentario, genero);
    QFile f(rutaCompleta);
    AbreParaEscribir(f, rutaCompleta);
    const qint64 largo = f.size();
    const bool sobreescribe = TieneTagAbierto(f);
    const qint64 pos = sobreescribe ? largo - kLargoTag : largo;
    if (!f.seek(pos) || f.write(bloque) != kLargoTag || !f.flush()) {
        const QString texto = Falla(rutaCompleta, f);
        // An append that did not complete is taken back: the file stays as it was.
        if (!sobreescribe)
            f.resize(largo);
        f.close();
        throw LodrinError(texto);
    }
    Cierra(f, rutaCompleta);
}

void BorraTag(const QString& rutaCompleta)
{
    {
        // Only a file that has a tag is opened for writing, so a read-only
        // file without one is no failure.
        QFile lectura(rutaCompleta);
        if (!lectura.open(QIODevice::ReadOnly))
            throw LodrinError(Falla(rutaCompleta, lectura));
        if (!TieneTagAbierto(lectura))
            return;
    }
    QFile f(rutaCompleta);
    AbreParaEscribir(f, rutaCompleta);
    if (!TieneTagAbierto(f) || !f.seek(f.size() - kLargoTag)) {
        f.close();
        return;
    }
    if (f.write(QByteArray(int(kLargoTag - 1), '\0')) != kLargoTag - 1) {
        const QString texto = Falla(rutaCompleta, f);
        f.close();
        throw LodrinError(texto);
    }
    Cierra(f, rutaCompleta);
}
