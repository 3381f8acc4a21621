#include "catalogue/cdanalizado.h"

#include <QDir>
#include <QFile>

#include "common/rutas.h"
#include "store/catalogo.h"
#include "support/mp3s.h"

using namespace Qt::StringLiterals;

CdAnalizado::CdAnalizado(const QString& base_, const QString& cache) : base(base_), cache_(cache)
{
    QDir().mkpath(base);
    QDir().mkpath(cache_);
}

QString CdAnalizado::Ruta(const QString& texto) const
{
    return rutas::Nativa(base, texto);
}

QString CdAnalizado::mp3(int segundos)
{
    // lame is slow; each length is encoded once and copied.
    if (!mp3s_.contains(segundos))
        mp3s_[segundos] = CreaMp3(QDir(cache_).filePath(u"tono%1.mp3"_s.arg(segundos)), segundos);
    return mp3s_[segundos];
}

int CdAnalizado::Carpeta(const QString& texto, const QString& autor, const QString& disco)
{
    QDir().mkpath(Ruta(texto));
    const int i = lista.Anade(texto, Ruta(texto), u"#"_s, u"abierta"_s);
    lista.PonSubItem(i, columna::kAutor, autor);
    lista.PonSubItem(i, columna::kDisco, disco);
    return i;
}

int CdAnalizado::Cancion(const QString& texto, const QString& tipo, const QString& autor, const QString& disco,
                         const QString& cancion, const QString& posicion, int segundos)
{
    const QString ruta = Ruta(texto);
    QDir().mkpath(QFileInfo(ruta).absolutePath());
    QFile::remove(ruta);
    QFile::copy(mp3(segundos), ruta);
    const int i = lista.Anade(texto, ruta, tipo, u"mp3"_s);
    lista.PonSubItem(i, columna::kAutor, autor);
    lista.PonSubItem(i, columna::kDisco, disco);
    lista.PonSubItem(i, columna::kCancion, cancion);
    lista.PonSubItem(i, columna::kPosicion, posicion);
    lista.PonSubItem(i, columna::kMascara, u"a\\d\\p-c"_s);
    return i;
}

int CdAnalizado::Imagen(const QString& texto, const QString& autor, const QString& disco)
{
    const QString ruta = Ruta(texto);
    CreaImagen(ruta);
    const int i = lista.Anade(texto, ruta, u"p"_s, u"img"_s);
    lista.PonSubItem(i, columna::kAutor, autor);
    lista.PonSubItem(i, columna::kDisco, disco);
    for (int k = columna::kCancion; k <= columna::kMascara; ++k) lista.PonSubItem(i, k, QString());
    return i;
}

int CdAnalizado::SinAnalizar(const QString& texto, const QString& tipo)
{
    const QString ruta = Ruta(texto);
    QDir().mkpath(QFileInfo(ruta).absolutePath());
    if (tipo == QLatin1String("f") || tipo == QLatin1String("v")) {
        QFile::remove(ruta);
        QFile::copy(mp3(1), ruta);
    } else if (tipo == QLatin1String("p")) {
        CreaImagen(ruta);
    } else if (tipo == QLatin1String("D") || tipo == QLatin1String("#")) {
        QDir().mkpath(ruta);
    } else {
        QFile f(ruta);
        if (f.open(QIODevice::WriteOnly)) f.write("texto\n");
    }
    return lista.Anade(texto, ruta, tipo, u"nota"_s);
}

qint64 CuentaFilas(Catalogo& bd, const QString& tabla, const QString& donde)
{
    Consulta r =
        bd.Abre(u"select count(*) as n from "_s + tabla + (donde.isEmpty() ? QString() : u" where "_s + donde));
    return r.Entero(u"n"_s);
}

QStringList Ficheros(const QString& carpeta)
{
    QStringList f = QDir(carpeta).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    return f;
}
