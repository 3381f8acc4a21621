#include "listing/listado.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringConverter>
#include <QTextStream>
#include <algorithm>

#include "catalogue/listadobd.h"
#include "catalogue/objetos.h"
#include "common/orden.h"
#include "common/rutas.h"
#include "common/textos.h"
#include "store/catalogo.h"

namespace {

QVector<EntradaCombo> entradas(const QString& todos, const QString& imagenTodos, const std::vector<NombreId>& filas,
                               const QString& imagen)
{
    QVector<EntradaCombo> lista{{todos, imagenTodos, 0}};
    for (const NombreId& f : filas)
        lista.append({f.nombre, imagen, f.id});
    return lista;
}

bool mismoFichero(const QString& a, const QString& b)
{
    const QFileInfo fa(a), fb(b);
    if (fa.exists() && fb.exists())
        return fa.canonicalFilePath() == fb.canonicalFilePath();
    return QDir::cleanPath(fa.absoluteFilePath()) == QDir::cleanPath(fb.absoluteFilePath());
}

}  // namespace

QVector<EntradaCombo> EntradasAutor(Catalogo& bd)
{
    return entradas(QStringLiteral("Todos los autores"), QStringLiteral("GrupoAutor"), AutoresOrdenados(bd),
                    QStringLiteral("autor"));
}

QVector<EntradaCombo> EntradasDisco(Catalogo& bd, qint64 idautor)
{
    return entradas(QStringLiteral("Todos los discos"), QStringLiteral("GrupoCD"), DiscosOrdenados(bd, idautor),
                    QStringLiteral("disco"));
}

QVector<EntradaCombo> EntradasCd(Catalogo& bd)
{
    return entradas(QStringLiteral("Todos los Cd's"), QStringLiteral("GrupoCD"), CdsOrdenados(bd),
                    QStringLiteral("cd"));
}

QString FormatoTiempo(qint64 segundos)
{
    if (segundos <= 0)
        return QString();
    const QLatin1Char cero('0');
    return QStringLiteral("(%1:%2)").arg(segundos / 60, 2, 10, cero).arg(segundos % 60, 2, 10, cero);
}

QString EscapaHtml(const QString& texto)
{
    QString t;
    t.reserve(texto.size());
    for (const QChar c : texto) {
        if (c == QLatin1Char('&'))
            t += QStringLiteral("&amp;");
        else if (c == QLatin1Char('<'))
            t += QStringLiteral("&lt;");
        else if (c == QLatin1Char('>'))
            t += QStringLiteral("&gt;");
        else
            t += c;
    }
    return t;
}

QString RutaSalida(const QString& dirPrograma, const QString& nombre) { return rutas::Nativa(dirPrograma, nombre); }

EscritorListado::EscritorListado(Catalogo& bd, const QString& dirPrograma, const OpcionesListado& opciones,
                                 QTextStream& salida)
    : bd_(bd), dirPrograma_(dirPrograma), op_(opciones), out_(salida)
{
    // Choosing the various-artists author itself lists its compilations whole:
    // their songs belong to the real performers.
    if (op_.idautor != 0)
        autorEsVarios_ = nombreAutor(op_.idautor) == kVariosArtistas;
}

void EscritorListado::linea(const QString& texto) { out_ << texto << "\r\n"; }

// Compilations ask for the same few performers again and again.
QString EscritorListado::nombreAutor(qint64 idautor)
{
    auto it = autores_.constFind(idautor);
    if (it != autores_.constEnd())
        return *it;
    const QString nombre = NombreDeAutor(bd_, idautor);
    autores_.insert(idautor, nombre);
    return nombre;
}

void EscritorListado::Cabecera()
{
    linea(QStringLiteral("<html>"));
    linea(QStringLiteral("<head>"));
    linea(QStringLiteral("<meta charset=\"utf-8\">"));
    linea(QStringLiteral("<title>Listado de canciones</title>"));
    linea(QStringLiteral("</head>"));
    linea(QStringLiteral("<body>"));

    QString filtros;
    if (op_.idcd != 0)
        filtros += QStringLiteral(" CD ");
    if (op_.idautor != 0)
        filtros += QStringLiteral(" Autor ");
    if (op_.iddisco != 0)
        filtros += QStringLiteral(" Disco ");
    const QString cd = op_.idcd != 0 ? DescripcionDeCd(bd_, op_.idcd) : QStringLiteral("Cualquier CD");
    const QString autor = op_.idautor != 0 ? nombreAutor(op_.idautor) : QStringLiteral("Cualquier autor");
    const QString disco = op_.iddisco != 0 ? NombreDeDisco(bd_, op_.iddisco) : QStringLiteral("Cualquier disco");
    linea(QStringLiteral("<p align=\"center\"><big><big><big><big>Listado ") + filtros + QStringLiteral("</big></p>"));
    linea(QStringLiteral("<p align=\"center\">") + EscapaHtml(cd) + QStringLiteral("--") + EscapaHtml(autor) +
          QStringLiteral("--") + EscapaHtml(disco) + QStringLiteral("</big></big></big></p>"));
}

QString EscritorListado::lineaImagen(qint64 idobjeto) const
{
    // The copy keeps its picture's extension; name the one that is there.
    const QString copia = CopiaImagen(bd_, dirPrograma_, idobjeto);
    const QString fichero =
        copia.isEmpty() ? QString::number(idobjeto) + QStringLiteral(".jpg") : QFileInfo(copia).fileName();
    return QStringLiteral("<p><img src=\"imagenes/") + fichero + QStringLiteral("\" width=\"150\" height=\"150\" align=\"") +
           (op_.canciones ? QStringLiteral("right") : QStringLiteral("left")) + QStringLiteral("\"></p>");
}

namespace {

// The names as the listing shows them.
QString AutorMostrado(const QString& autor)
{
    if (autor == kVacio)
        return QStringLiteral("Sin Autor");
    if (autor == kVariosArtistas)
        return QStringLiteral("Varios Artistas");
    return autor;
}

QString DiscoMostrado(const QString& disco) { return disco == kVacio ? QStringLiteral("Sin disco") : disco; }

}  // namespace

void EscritorListado::ListaDisco(QString autor, QString disco, const std::vector<CancionListado>& canciones,
                                 const std::vector<qint64>& imagenesDisco, bool& autorEscrito)
{
    if (canciones.empty())
        return;

    autor = AutorMostrado(autor);
    disco = DiscoMostrado(disco);

    if (!autorEscrito)
        linea(QStringLiteral("<p align=\"left\"><h1>") + EscapaHtml(autor) + QStringLiteral("</h1></p>"));
    autorEscrito = true;
    linea(QStringLiteral("<p align=\"left\"><big>") + EscapaHtml(disco) + QStringLiteral("</big></p>"));

    int imagenes = 0;
    if (op_.imagenes) {
        for (const qint64 id : imagenesDisco) {
            linea(lineaImagen(id));
            ++imagenes;
        }
    }

    int escritas = 0;
    if (op_.canciones) {
        for (const CancionListado& c : canciones) {
            linea(QStringLiteral("</div><div align=\"left\">"));
            const QString textoPosicion = c.posicion == 0 ? QString() : QString::number(c.posicion) + QLatin1Char('-');
            const QString interprete = c.varios ? QLatin1Char('-') + c.interprete : QString();
            linea(QStringLiteral("<pre style=\"line-height: 0ex\"> ") + textoPosicion +
                  EscapaHtml(c.titulo + interprete) + FormatoTiempo(c.segundos) + QStringLiteral("</pre>"));
            ++escritas;
        }
    }

    // Floating pictures must end before the next disc starts.
    if (imagenes > 0)
        for (int i = escritas; i < 10; ++i)
            linea(QStringLiteral("<pre style=\"line-height: 0ex\">&nbsp;</pre> "));
}

void EscritorListado::Pie()
{
    linea(QStringLiteral("</body>"));
    linea(QStringLiteral("</html>"));
}

void GeneraListado(Catalogo& bd, const QString& dirPrograma, const QString& nombre, const OpcionesListado& opciones,
                   Avance* progreso)
{
    // The page belongs beside "imagenes", or its pictures do not show.
    if (!rutas::EsNombreSimple(nombre))
        throw FalloSalida(QStringLiteral("No se puede crear el fichero %1: el listado se escribe en la carpeta del "
                                         "programa; pon solo un nombre de fichero, sin carpetas").arg(nombre));
    const QString ruta = RutaSalida(dirPrograma, nombre);
    // The catalogue lives in the same folder; a listing named like it would
    // destroy it under the open connection.
    for (const char* sufijo : {"", "-wal", "-shm", "-journal"})
        if (mismoFichero(ruta, bd.ruta() + QLatin1String(sufijo)))
            throw FalloSalida(QStringLiteral("No se puede escribir el listado sobre el catálogo %1").arg(ruta));
    QSaveFile fichero(ruta);
    if (!fichero.open(QIODevice::WriteOnly))
        throw FalloSalida(QStringLiteral("No se puede crear el fichero %1: %2").arg(ruta, fichero.errorString()));
    QTextStream salida(&fichero);
    salida.setEncoding(QStringConverter::Utf8);

    struct AlTerminar {
        Avance* p;
        ~AlTerminar()
        {
            if (p)
                p->Termina();
        }
    } alTerminar{progreso};

    LecturaCatalogo lectura(bd);

    EscritorListado escritor(bd, dirPrograma, opciones, salida);
    escritor.Cabecera();

    std::vector<ParAutorDisco> pares =
        ParesAutorDisco(bd, opciones.iddisco, opciones.idautor, opciones.idcd, escritor.IdInterprete());
    // In the order of the headings the reader sees; an author's discs together.
    OrdenaPorNombre(pares, [](const ParAutorDisco& p) { return DiscoMostrado(p.disco); });
    std::stable_sort(pares.begin(), pares.end(),
                     [](const ParAutorDisco& a, const ParAutorDisco& b) { return a.idautor < b.idautor; });
    OrdenaPorNombre(pares, [](const ParAutorDisco& p) { return AutorMostrado(p.autor); });
    if (!pares.empty() && progreso)
        progreso->Empieza(int(pares.size()));

    qint64 autorAnterior = 0;
    bool autorEscrito = false;
    int discos = 0;
    // Songs and pictures are read for a thousand discs at a time, in the
    // order they are written.
    constexpr size_t kDiscosPorTanda = 1000;
    for (size_t desde = 0; desde < pares.size(); desde += kDiscosPorTanda) {
        const size_t hasta = std::min(pares.size(), desde + kDiscosPorTanda);
        std::vector<qint64> ids;
        for (size_t i = desde; i < hasta; ++i)
            ids.push_back(pares[i].iddisco);
        const auto canciones = CancionesDeDiscos(bd, ids, escritor.IdInterprete(), opciones.idcd);
        const auto imagenes = opciones.imagenes ? ImagenesDeDiscos(bd, ids) : std::vector<std::vector<qint64>>(ids.size());
        for (size_t i = desde; i < hasta; ++i) {
            const ParAutorDisco& par = pares[i];
            if (par.idautor != autorAnterior) {
                autorAnterior = par.idautor;
                autorEscrito = false;
            }
            escritor.ListaDisco(par.autor, par.disco, canciones[i - desde], imagenes[i - desde], autorEscrito);
            if (progreso)
                progreso->Avanza(++discos);
        }
    }
    escritor.Pie();

    salida.flush();
    if (salida.status() != QTextStream::Ok || !fichero.commit())
        throw FalloSalida(QStringLiteral("No se puede escribir el fichero %1: %2").arg(ruta, fichero.errorString()));
}
