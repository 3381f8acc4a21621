#include "listing/listado.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QSqlDatabase>
#include <QStringConverter>
#include <QTextStream>

#include "catalogue/catalogo.h"
#include "catalogue/objetos.h"
#include "common/rutas.h"

namespace {

const QString kVarios = QStringLiteral("<Varios Artistas>");
const QString kVacio = QStringLiteral("<vacio>");

QVector<EntradaCombo> entradas(Catalogo& bd, const QString& todos, const QString& imagenTodos, const QString& select,
                               const QString& columnaTexto, const QString& columnaId, const QString& imagen)
{
    QVector<EntradaCombo> lista{{todos, imagenTodos, 0}};
    for (Consulta r = bd.Abre(select); !r.Fin(); r.Siguiente())
        lista.append({r.Texto(columnaTexto), imagen, r.Entero(columnaId)});
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
    return entradas(bd, QStringLiteral("Todos los autores"), QStringLiteral("GrupoAutor"),
                    QStringLiteral("select dsautor, idautor from tlautor order by dsautor_std"),
                    QStringLiteral("dsautor"), QStringLiteral("idautor"), QStringLiteral("autor"));
}

QVector<EntradaCombo> EntradasDisco(Catalogo& bd, qint64 idautor)
{
    QString select = QStringLiteral("select dsdisco, iddisco from tldisco");
    if (idautor != 0)
        select += QStringLiteral(" where cdautord = ") + sql::Entero(idautor);
    select += QStringLiteral(" order by dsdisco_std");
    return entradas(bd, QStringLiteral("Todos los discos"), QStringLiteral("GrupoCD"), select,
                    QStringLiteral("dsdisco"), QStringLiteral("iddisco"), QStringLiteral("disco"));
}

QVector<EntradaCombo> EntradasCd(Catalogo& bd)
{
    return entradas(bd, QStringLiteral("Todos los Cd's"), QStringLiteral("GrupoCD"),
                    QStringLiteral("select dscd, idcd from tlcd order by dscd "), QStringLiteral("dscd"),
                    QStringLiteral("idcd"), QStringLiteral("cd"));
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
        autorEsVarios_ = nombreAutor(op_.idautor) == kVarios;
}

void EscritorListado::linea(const QString& texto) { out_ << texto << "\r\n"; }

QString EscritorListado::textoDe(const QString& select, const QString& columna, const QString& siNinguno)
{
    Consulta r = bd_.Abre(select);
    return r.Fin() ? siNinguno : r.Texto(columna);
}

// Compilations ask for the same few performers again and again.
QString EscritorListado::nombreAutor(qint64 idautor)
{
    auto it = autores_.constFind(idautor);
    if (it != autores_.constEnd())
        return *it;
    const QString nombre =
        textoDe(QStringLiteral("select dsautor from tlautor where idautor = ") + sql::Entero(idautor),
                QStringLiteral("dsautor"), QString());
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
    const QString cd = op_.idcd != 0 ? textoDe(QStringLiteral("select dscd from tlcd where idcd = ") +
                                                   sql::Entero(op_.idcd),
                                               QStringLiteral("dscd"), QString())
                                     : QStringLiteral("Cualquier CD");
    const QString autor = op_.idautor != 0 ? nombreAutor(op_.idautor) : QStringLiteral("Cualquier autor");
    const QString disco = op_.iddisco != 0 ? textoDe(QStringLiteral("select dsdisco from tldisco where iddisco = ") +
                                                         sql::Entero(op_.iddisco),
                                                     QStringLiteral("dsdisco"), QString())
                                           : QStringLiteral("Cualquier disco");
    linea(QStringLiteral("<p align=\"center\"><big><big><big><big>Listado ") + filtros + QStringLiteral("</big></p>"));
    linea(QStringLiteral("<p align=\"center\">") + EscapaHtml(cd) + QStringLiteral("--") + EscapaHtml(autor) +
          QStringLiteral("--") + EscapaHtml(disco) + QStringLiteral("</big></big></big></p>"));
}

QString EscritorListado::lineaImagen(qint64 idobjeto) const
{
    // The copy keeps its picture's extension; name the one that is there.
    const QString copia = CopiaExistente(dirPrograma_, idobjeto);
    const QString fichero =
        copia.isEmpty() ? QString::number(idobjeto) + QStringLiteral(".jpg") : QFileInfo(copia).fileName();
    return QStringLiteral("<p><img src=\"imagenes/") + fichero + QStringLiteral("\" width=\"150\" height=\"150\" align=\"") +
           (op_.canciones ? QStringLiteral("right") : QStringLiteral("left")) + QStringLiteral("\"></p>");
}

void EscritorListado::ListaDisco(qint64 iddisco, QString autor, QString disco, bool& autorEscrito)
{
    QString select = QStringLiteral("select wntime, dscancion, wncancion, cdautor, swvarios from tlcancion where cddisco = ") +
                     sql::Entero(iddisco);
    if (op_.idautor != 0 && !autorEsVarios_)
        select += QStringLiteral(" and cdautor = ") + sql::Entero(op_.idautor);
    if (op_.idcd != 0)
        select += QStringLiteral(" and cdcd = ") + sql::Entero(op_.idcd);
    select += QStringLiteral(" order by wncancion, dscancion ");
    Consulta canciones = bd_.Abre(select);
    if (canciones.Fin())
        return;

    if (autor == kVacio)
        autor = QStringLiteral("Sin Autor");
    else if (autor == kVarios)
        autor = QStringLiteral("Varios Artistas");
    if (disco == kVacio)
        disco = QStringLiteral("Sin disco");

    if (!autorEscrito)
        linea(QStringLiteral("<p align=\"left\"><h1>") + EscapaHtml(autor) + QStringLiteral("</h1></p>"));
    autorEscrito = true;
    linea(QStringLiteral("<p align=\"left\"><big>") + EscapaHtml(disco) + QStringLiteral("</big></p>"));

    int imagenes = 0;
    if (op_.imagenes) {
        for (Consulta r = bd_.Abre(QStringLiteral("select idobjeto from tlobjetos where idtabla = ") +
                                   sql::Entero(iddisco) + QStringLiteral(" and dstabla = 'd'"));
             !r.Fin(); r.Siguiente()) {
            linea(lineaImagen(r.Entero(QStringLiteral("idobjeto"))));
            ++imagenes;
        }
    }

    int escritas = 0;
    if (op_.canciones) {
        for (; !canciones.Fin(); canciones.Siguiente()) {
            linea(QStringLiteral("</div><div align=\"left\">"));
            const qint64 posicion = canciones.Entero(QStringLiteral("wncancion"));
            const QString textoPosicion = posicion == 0 ? QString() : QString::number(posicion) + QLatin1Char('-');
            const QString interprete =
                canciones.SiNo(QStringLiteral("swvarios"))
                    ? QLatin1Char('-') + nombreAutor(canciones.Entero(QStringLiteral("cdautor")))
                    : QString();
            linea(QStringLiteral("<pre style=\"line-height: 0ex\"> ") + textoPosicion +
                  EscapaHtml(canciones.Texto(QStringLiteral("dscancion")) + interprete) +
                  FormatoTiempo(canciones.Entero(QStringLiteral("wntime"))) + QStringLiteral("</pre>"));
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
                   const ProgresoListado& progreso)
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
            throw FalloSalida(QStringLiteral("No se puede escribir el listado sobre el catalogo %1").arg(ruta));
    QSaveFile fichero(ruta);
    if (!fichero.open(QIODevice::WriteOnly))
        throw FalloSalida(QStringLiteral("No se puede crear el fichero %1: %2").arg(ruta, fichero.errorString()));
    QTextStream salida(&fichero);
    salida.setEncoding(QStringConverter::Utf8);

    struct AlTerminar {
        const ProgresoListado& p;
        ~AlTerminar()
        {
            if (p.Termina)
                p.Termina();
        }
    } alTerminar{progreso};

    // One read transaction for the whole page: every statement sees the same
    // catalogue, and the engine takes its locks once instead of per statement.
    struct Lectura {
        QSqlDatabase d;
        bool abierta;
        ~Lectura()
        {
            if (abierta)
                d.rollback();
        }
    } lectura{bd.db(), bd.db().transaction()};

    EscritorListado escritor(bd, dirPrograma, opciones, salida);
    escritor.Cabecera();

    QString select = QStringLiteral("select idautor, dsautor, iddisco, dsdisco from tlautor, tldisco ") +
                     QStringLiteral("where  cdautord = idautor ");
    if (opciones.iddisco != 0)
        select += QStringLiteral(" and iddisco = ") + sql::Entero(opciones.iddisco);
    if (opciones.idautor != 0)
        select += QStringLiteral(" and (idautor = ") + sql::Entero(opciones.idautor) +
                  QStringLiteral(" or dsautor = '") + kVarios + QStringLiteral("')");
    select += QStringLiteral(" order by dsautor_std, dsdisco_std");
    Consulta pares = bd.Abre(select);
    if (pares.RecordCount() > 0 && progreso.Empieza)
        progreso.Empieza(pares.RecordCount());

    qint64 autorAnterior = 0;
    bool autorEscrito = false;
    for (; !pares.Fin(); pares.Siguiente()) {
        const qint64 idautor = pares.Entero(QStringLiteral("idautor"));
        if (idautor != autorAnterior) {
            autorAnterior = idautor;
            autorEscrito = false;
        }
        escritor.ListaDisco(pares.Entero(QStringLiteral("iddisco")), pares.Texto(QStringLiteral("dsautor")),
                            pares.Texto(QStringLiteral("dsdisco")), autorEscrito);
        if (progreso.Avanza)
            progreso.Avanza();
    }
    escritor.Pie();

    salida.flush();
    if (salida.status() != QTextStream::Ok || !fichero.commit())
        throw FalloSalida(QStringLiteral("No se puede escribir el fichero %1: %2").arg(ruta, fichero.errorString()));
}
