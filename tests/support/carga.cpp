#include "support/carga.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <memory>

#include "catalogue/grabacion.h"
#include "common/lodrinerror.h"
#include "search/busqueda.h"
#include "store/catalogo.h"
#include "support/mp3s.h"
#include "worklist/listatrabajo.h"

namespace {

constexpr int kComunes = 3;  // authors (and their discs) every recording program names
constexpr int kPropios = 5;  // authors of one CD alone, each with a disc and a cover

QString autorDe(const QString& cd, int j)
{
    return j % 3 == 0 ? QStringLiteral("Autora Común %1").arg(j / 3 % kComunes + 1)
                      : QStringLiteral("Autor %1 %2").arg(cd).arg(j % kPropios);
}

QString discoDe(const QString& autor) { return QStringLiteral("Disco de %1").arg(autor); }

const QStringList kPalabras = {QStringLiteral("común"), QStringLiteral("canción"), QStringLiteral("autora"),
                               QStringLiteral("disco de autor"), QStringLiteral("carga base"), QStringLiteral("zzz")};

QString marca(const QString& dir, const char* que) { return QDir(dir).filePath(QLatin1String(que)); }

void espera(const QString& fichero)
{
    while (!QFile::exists(fichero))
        QThread::msleep(20);
}

// A recording program: CD after CD until time is up, each said when done.
int graba(const QString& dir, int n, double segundos, int canciones)
{
    Catalogo bd(UbicacionCatalogo::DeCarpeta(dir), QStringLiteral("graba"));
    bd.AbreBaseDatos();
    const QString portada = CreaImagen(QDir(dir).filePath(QStringLiteral("portada%1.jpg").arg(n)), 60 + n);
    espera(marca(dir, "ya"));
    QElapsedTimer t;
    t.start();
    int fallos = 0;
    for (int k = 1; t.elapsed() < segundos * 1000; ++k) {
        const QString cd = QStringLiteral("Carga %1-%2").arg(n).arg(k);
        DatosGrabacion d;
        d.descripcion = cd;
        d.dirPrograma = dir;
        try {
            GrabaCD(bd, CdDeCarga(cd, canciones, portada), d);
            std::printf("cd\t%s\n", qPrintable(cd));
        } catch (const LodrinError& e) {
            std::printf("fallo\t%s\n", qPrintable(e.message()));
            ++fallos;
        }
        std::fflush(stdout);
    }
    return fallos == 0 ? 0 : 1;
}

// A person typing in the search box: every letter a search, as the window's
// search thread makes them, on a connection that only reads.
int busca(const QString& dir, int n)
{
    Catalogo bd(UbicacionCatalogo::DeCarpeta(dir), QStringLiteral("busca"));
    bd.AbreParaLeer();
    espera(marca(dir, "ya"));
    QRandomGenerator azar(quint32(n) + 7);
    int fallos = 0;
    while (!QFile::exists(marca(dir, "fin"))) {
        const QString palabra = kPalabras[azar.bounded(int(kPalabras.size()))];
        for (int largo = 1; largo <= palabra.size(); ++largo) {
            QElapsedTimer t;
            t.start();
            try {
                const ResultadoBusqueda r = BuscaCanciones(bd, palabra.left(largo));
                std::printf("t\t%.3f\n", t.nsecsElapsed() / 1e6);
                if (largo == palabra.size() && palabra != QLatin1String("zzz") && r.total == 0)
                    std::printf("vacia\t%s\n", qPrintable(palabra));
            } catch (const LodrinError& e) {
                std::printf("fallo\t%s\n", qPrintable(e.message()));
                ++fallos;
            }
            // About six letters a second.
            QThread::msleep(120 + azar.bounded(60));
        }
        std::fflush(stdout);
    }
    return fallos == 0 ? 0 : 1;
}

}  // namespace

ListaTrabajo CdDeCarga(const QString& descripcion, int canciones, const QString& portada)
{
    ListaTrabajo l;
    l.PonOrdenada(false);
    const auto fila = [&](const QString& texto, const QString& tag, const QString& tipo, const QString& autor) {
        const int i = l.Anade(texto, tag, tipo, tipo == QLatin1String("p") ? QStringLiteral("img") : QStringLiteral("mp3"));
        l.PonSubItem(i, columna::kAutor, autor);
        l.PonSubItem(i, columna::kDisco, discoDe(autor));
        for (int c = columna::kCancion; c <= columna::kMascara; ++c)
            l.PonSubItem(i, c, QString());
        return i;
    };
    for (int j = 0; j < canciones; ++j) {
        const QString autor = autorDe(descripcion, j);
        const int i = fila(QStringLiteral("%1\\%2.mp3").arg(descripcion).arg(j), QStringLiteral("/no/existe.mp3"),
                           QStringLiteral("f"), autor);
        l.PonSubItem(i, columna::kCancion, QStringLiteral("%1 / %2 / Canción %3").arg(autor, discoDe(autor)).arg(j));
        l.PonSubItem(i, columna::kPosicion, QString::number(j % 20 + 1));
        l.PonSubItem(i, columna::kMascara, QStringLiteral("a\\d\\c"));
    }
    for (int a = 0; a < kPropios && !portada.isEmpty(); ++a)
        fila(QStringLiteral("%1\\%2\\portada.jpg").arg(descripcion).arg(a), portada, QStringLiteral("p"),
             QStringLiteral("Autor %1 %2").arg(descripcion).arg(a));
    return l;
}

bool EsHijoDeCarga(int& salida)
{
    const QStringList papel = qEnvironmentVariable("LODRIN_CARGA").split(u'\t');
    if (papel.size() != 5)
        return false;
    try {
        salida = papel[0] == QLatin1String("graba") ? graba(papel[1], papel[2].toInt(), papel[3].toDouble(), papel[4].toInt())
                                                    : busca(papel[1], papel[2].toInt());
    } catch (const LodrinError& e) {
        std::printf("fallo\t%s\n", qPrintable(e.message()));
        salida = 1;
    }
    return true;
}

ResultadoCarga CorreCarga(const OpcionesCarga& o)
{
    QFile::remove(marca(o.dirPrograma, "ya"));
    QFile::remove(marca(o.dirPrograma, "fin"));
    std::vector<std::unique_ptr<QProcess>> grabadores, buscadores;
    const auto lanza = [&](const QString& papel, int n) {
        auto p = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LODRIN_CARGA"), QStringList{papel, o.dirPrograma, QString::number(n),
                                                                 QString::number(o.segundos),
                                                                 QString::number(o.cancionesPorCd)}
                                                       .join(u'\t'));
        p->setProcessEnvironment(env);
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->start(QCoreApplication::applicationFilePath(), {});
        return p;
    };
    for (int n = 0; n < o.grabadores; ++n)
        grabadores.push_back(lanza(QStringLiteral("graba"), n));
    for (int n = 0; n < o.buscadores; ++n)
        buscadores.push_back(lanza(QStringLiteral("busca"), n));
    ResultadoCarga r;
    for (auto& p : grabadores)
        if (!p->waitForStarted())
            r.fallos << QStringLiteral("un programa no arrancó");
    for (auto& p : buscadores)
        if (!p->waitForStarted())
            r.fallos << QStringLiteral("un programa no arrancó");
    // Every program connected before any starts.
    QThread::msleep(1500);
    QFile(marca(o.dirPrograma, "ya")).open(QIODevice::WriteOnly);
    const auto lee = [&](QProcess& p, int limite) {
        if (!p.waitForFinished(limite)) {
            p.kill();
            p.waitForFinished();
            r.fallos << QStringLiteral("un programa no terminó a tiempo");
        } else if (p.exitStatus() != QProcess::NormalExit) {
            r.fallos << QStringLiteral("un programa acabó mal");
        }
        for (const QByteArray& linea : p.readAllStandardOutput().split('\n')) {
            const QList<QByteArray> c = linea.split('\t');
            if (c.size() < 2)
                continue;
            if (c[0] == "cd")
                r.cds << QString::fromUtf8(c[1]);
            else if (c[0] == "t")
                r.busquedas << c[1].toDouble();
            else if (c[0] == "vacia")
                ++r.sinAciertos;
            else
                r.fallos << QString::fromUtf8(c[1]);
        }
    };
    const int limite = int(o.segundos * 1000) + 120000;
    for (auto& p : grabadores)
        lee(*p, limite);
    QFile(marca(o.dirPrograma, "fin")).open(QIODevice::WriteOnly);
    for (auto& p : buscadores)
        lee(*p, 60000);
    return r;
}

QStringList FaltasTrasCarga(Catalogo& bd, const OpcionesCarga& o, const QStringList& cds)
{
    QStringList faltas;
    const struct {
        const char* que;
        const char* select;
    } repetidos[] = {
        {"autor", "select dsautor_std from tlautor group by dsautor_std having count(*) > 1"},
        {"disco", "select dsdisco_std from tldisco group by dsdisco_std, cdautord having count(*) > 1"},
        {"canción", "select min(dscancion) from tlcancion group by dscancion_clave, cddisco, cdautor, cdcd"
                    " having count(*) > 1"},
        {"imagen", "select min(dspath) from tlobjetos group by dstabla, idtabla, dspath_clave having count(*) > 1"},
        {"CD", "select min(dscd) from tlcd group by dscd_clave having count(*) > 1"},
    };
    for (const auto& k : repetidos)
        for (Consulta r = bd.Abre(QString::fromUtf8(k.select)); !r.Fin(); r.Siguiente())
            faltas << QStringLiteral("%1 repetido").arg(QString::fromUtf8(k.que));
    // Whole: every song there, under the author and disc its title names,
    // and a cover on each disc of the CD's own.
    for (const QString& cd : cds) {
        const qint64 bien = bd.PrimerEntero(
            QStringLiteral("select count(*) from tlcancion c join tlcd k on k.idcd = c.cdcd"
                           " join tlautor a on a.idautor = c.cdautor join tldisco d on d.iddisco = c.cddisco"
                           " where k.dscd = ? and d.cdautord = a.idautor"
                           " and c.dscancion like a.dsautor || ' / ' || d.dsdisco || ' / %'"),
            {cd});
        const qint64 portadas = bd.PrimerEntero(
            QStringLiteral("select count(*) from tlobjetos o join tldisco d on d.iddisco = o.idtabla"
                           " join tlautor a on a.idautor = d.cdautord where o.dstabla = 'd' and a.dsautor like ?"),
            {QStringLiteral("Autor %1 %").arg(cd)});
        if (bien != o.cancionesPorCd || portadas != kPropios)
            faltas << QStringLiteral("el CD %1 no está entero: %2 canciones, %3 portadas").arg(cd).arg(bien).arg(portadas);
    }
    return faltas;
}

double Percentil(QList<double> v, double p)
{
    if (v.isEmpty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(qsizetype(v.size() - 1), qsizetype(p * double(v.size())))];
}
