// The whole program measured on data it makes for itself, printed as one
// table of figures against their goals:
//   a CD of 1,000 songs explored, analysed and recorded through the main
//   window, into an empty catalogue and into one of 200,000 songs; the
//   browser and the full listing over that catalogue; playing times of 5,000
//   files beside TagLib; "Busca" over 20,000 files beside `find`.
// Run: QT_QPA_PLATFORM=offscreen bench_lodrin
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <cstdio>

#include "arbolbusca.h"
#include "casosmp3.h"
#include "catalogogrande.h"
#include "catalogue/navegador_ui.h"
#include "catalogue/objetos.h"
#include "cdprueba.h"
#include "common/lodrinerror.h"
#include "listing/listado.h"
#include "main_window/frmVaro.h"
#include "medida.h"
#include "sinperifericos.h"
#include "store/catalogo.h"
#include "support/electorguionado.h"
#include "support/testsupport.h"
#include "support/unidadesfalsas.h"

namespace {

constexpr int kVueltas = 3;  // timed runs of each measurement; the median is shown

struct Fila {
    QString medida;
    QString cifra;
    QString meta;
    bool cumplida;
};
QList<Fila> tabla;

void Anota(const QString& medida, const QString& cifra, const QString& meta, bool cumplida)
{
    tabla << Fila{medida, cifra, meta, cumplida};
    std::fprintf(stderr, "  %s: %s\n", qPrintable(medida), qPrintable(cifra));
}

QString Segundos(double s)
{
    return QStringLiteral("%1 s").arg(s, 0, 'f', 3);
}

void Falla(const QString& que)
{
    throw LodrinError(que);
}

struct Tiempos {
    QList<double> explora, graba;
};

// One CD catalogued as a person would: the folder shown as a ready CD,
// "Explorar", each folder's first file answered with the mask its names
// follow, a description, "Graba".
void CatalogaCd(Catalogo& bd, const QString& dirPrograma, const QString& cd, qint32 serie, Tiempos& t)
{
    UnidadesFalsas unidades(cd, QStringLiteral("MIL_CANCIONES"), serie);
    AvisosAnotados avisos;
    ElectorGuionado elector;
    elector.responde = ElectorGuionado::Elige(QStringLiteral("a\\d\\p-c"));
    frmVaro w(bd, unidades, avisos, dirPrograma);
    w.Form_Load();
    w.PonElector(&elector);
    w.show();
    QApplication::processEvents();
    const qint64 antes = bd.Abre(QStringLiteral("select count(*) as n from tlcancion")).Entero(QStringLiteral("n"));

    t.explora << Mide([&] { w.cmdExplorar_Click(); });
    if (elector.vistas.size() != kDiscosCdPrueba)
        Falla(QStringLiteral("Explorar asked %1 questions").arg(elector.vistas.size()));
    w.findChild<QLineEdit*>(QStringLiteral("txtCDROM"))->setText(QStringLiteral("Mil canciones %1").arg(serie));
    t.graba << Mide([&] { w.cmdGraba_Click(); });

    const qint64 despues = bd.Abre(QStringLiteral("select count(*) as n from tlcancion")).Entero(QStringLiteral("n"));
    if (!avisos.textos.isEmpty() || despues - antes != kDiscosCdPrueba * kCancionesPorDiscoPrueba)
        Falla(QStringLiteral("Graba recorded %1 songs (%2)").arg(despues - antes).arg(avisos.textos.join(" / ")));
}

void AnotaCd(const QString& donde, const Tiempos& t)
{
    QList<double> juntos;
    for (int i = 0; i < t.explora.size(); ++i)
        juntos << t.explora[i] + t.graba[i];
    const double e = Mediana(t.explora), g = Mediana(t.graba);
    Anota(QStringLiteral("CD of 1,000 songs, %1: Explorar").arg(donde), Segundos(e), QStringLiteral("< 1 s"), e < 1);
    Anota(QStringLiteral("CD of 1,000 songs, %1: Graba").arg(donde), Segundos(g), QStringLiteral("<= 0.25 s"), g <= 0.25);
    Anota(QStringLiteral("CD of 1,000 songs, %1: both").arg(donde), Segundos(Mediana(juntos)), QStringLiteral("< 3 s (1 + 2)"),
          Mediana(juntos) < 3);
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QDir raiz(dir.path());
    try {
        std::fprintf(stderr, "CD of 1,000 songs into an empty catalogue...\n");
        QString mp3, portada;
        if (!CreaModelosCd(dir.path(), mp3, portada))
            Falla(QStringLiteral("the lame encoder failed"));
        CreaCdPrueba(raiz.filePath(QStringLiteral("cd")), mp3, portada);
        Tiempos vacio;
        for (int v = 0; v < kVueltas; ++v) {
            const QString prog = raiz.filePath(QStringLiteral("vacio%1").arg(v));
            QDir().mkpath(prog);
            Catalogo bd(Catalogo::RutaCatalogo(prog), QStringLiteral("vacio%1").arg(v));
            CatalogaCd(bd, prog, raiz.filePath(QStringLiteral("cd")), 1000 + v, vacio);
        }
        AnotaCd(QStringLiteral("empty catalogue"), vacio);

        std::fprintf(stderr, "filling a catalogue of 200,000 songs, a picture per disc...\n");
        const QString prog = raiz.filePath(QStringLiteral("lleno"));
        QDir().mkpath(prog);
        Catalogo bd(Catalogo::RutaCatalogo(prog), QStringLiteral("lleno"));
        bd.AbreBaseDatos();
        std::fprintf(stderr, "  %.1f s\n", Mide([&] { LlenaCatalogoGrande(bd, 1, prog); }));

        {
            SinUnidades unidades;
            SinAvisos avisos;
            frmVaro w(bd, unidades, avisos, prog);
            w.Form_Load();
            QList<double> arbol, autor;
            int nodos = 0, canciones = 0;
            for (int v = 0; v < kVueltas; ++v) {
                arbol << Mide([&] { w.findChild<AreaSuperior*>()->ArbolBD(1); });
                nodos = w.findChild<QTreeWidget*>(QStringLiteral("tvBD"))->topLevelItem(0)->childCount();
                QTreeWidgetItem* grande = NodoDeClave(w.findChild<QTreeWidget*>(QStringLiteral("tvBD")), QStringLiteral("BDau#%1").arg(CatalogoGrande::kIdAutorGrande));
                if (!grande)
                    Falla(QStringLiteral("the browser has no node for the largest author"));
                autor << Mide([&] { w.findChild<AreaSuperior*>()->NodeClick(grande); });
                canciones = w.findChild<QTreeWidget*>(QStringLiteral("lstVBD"))->topLevelItemCount();
            }
            Anota(QStringLiteral("browser tree by authors (%1 authors)").arg(nodos), Segundos(Mediana(arbol)),
                  QStringLiteral("< 0.5 s"), Mediana(arbol) < 0.5);
            Anota(QStringLiteral("expanding an author of %1 songs").arg(canciones), Segundos(Mediana(autor)),
                  QStringLiteral("< 0.5 s"), Mediana(autor) < 0.5);
        }

        OpcionesListado todo;
        todo.canciones = true;
        todo.imagenes = true;
        QList<double> listado;
        for (int v = 0; v < kVueltas; ++v)
            listado << Mide([&] { GeneraListado(bd, prog, QStringLiteral("listado.htm"), todo); });
        const qint64 bytes = QFileInfo(QDir(prog).filePath(QStringLiteral("listado.htm"))).size();
        Anota(QStringLiteral("full listing, songs and pictures (%1 MB)").arg(bytes / 1000000),
              Segundos(Mediana(listado)), QStringLiteral("< 5 s"), Mediana(listado) < 5);

        // The same with 1,000 cover copies gone from the images folder.
        {
            const QDir imagenes(CarpetaImagenes(prog));
            const QStringList copias = imagenes.entryList(QDir::Files, QDir::Name);
            for (int i = 0; i < 1000 && i < copias.size(); ++i)
                QFile::rename(imagenes.filePath(copias[i]), imagenes.filePath(copias[i] + QStringLiteral(".fuera")));
            QList<double> faltan;
            for (int v = 0; v < kVueltas; ++v)
                faltan << Mide([&] { GeneraListado(bd, prog, QStringLiteral("listado.htm"), todo); });
            for (int i = 0; i < 1000 && i < copias.size(); ++i)
                QFile::rename(imagenes.filePath(copias[i] + QStringLiteral(".fuera")), imagenes.filePath(copias[i]));
            const double m = Mediana(faltan), todas = Mediana(listado);
            Anota(QStringLiteral("full listing, 1,000 cover copies missing"), Segundos(m),
                  QStringLiteral("<= all present (%1)").arg(Segundos(todas)), m <= todas * 1.1);
        }

        std::fprintf(stderr, "CD of 1,000 songs into the 200,000-song catalogue...\n");
        Tiempos lleno;
        for (int v = 0; v < kVueltas; ++v) {
            // A CD of new names each time, so every run inserts as much as the first.
            const QString cd = raiz.filePath(QStringLiteral("cd%1").arg(v));
            CreaCdPrueba(cd, mp3, portada, QStringLiteral("v%1").arg(v));
            CatalogaCd(bd, prog, cd, 2000 + v, lleno);
        }
        AnotaCd(QStringLiteral("200,000 songs"), lleno);
        const double razon = Mediana(lleno.graba) / Mediana(vacio.graba);
        Anota(QStringLiteral("Graba, 200,000 songs against empty"), QStringLiteral("%1x").arg(razon, 0, 'f', 2),
              QStringLiteral("<= 1.5x"), razon <= 1.5);

        std::fprintf(stderr, "playing times of 5,000 files...\n");
        const QString mp3s = raiz.filePath(QStringLiteral("mp3s"));
        QDir().mkpath(mp3s);
        const QList<CasoMp3> casos = CreaCasosMp3(mp3s, 5000);
        if (casos.isEmpty())
            Falla(QStringLiteral("the lame encoder failed"));
        const ComparacionLectores c = ComparaLectores(casos);
        Anota(QStringLiteral("DameInfoMp3, %1 files").arg(casos.size()),
              QStringLiteral("%1 ms, %2 wrong").arg(c.msPropio).arg(c.fallosPropio),
              QStringLiteral("<= 0.5x TagLib (%1 ms, %2 wrong), 0 wrong").arg(c.msTagLib).arg(c.fallosTagLib),
              2 * c.msPropio <= c.msTagLib && c.fallosPropio == 0);
        const ContraLecturaMinima m = ComparaConLecturaMinima(DeClase(casos, ClaseMp3::ConCabecera), kVueltas);
        Anota(QStringLiteral("DameInfoMp3 against open+fstat+2 reads+close, files with a header"),
              QStringLiteral("%1 ms = %2x").arg(m.msPropio, 0, 'f', 1).arg(m.msPropio / m.msMinima, 0, 'f', 2),
              QStringLiteral("<= 2x (%1 ms)").arg(m.msMinima, 0, 'f', 1), m.msPropio <= 2 * m.msMinima);
        const QList<CasoMp3> vbr = CreaCasosVbrSinCabecera(mp3s, 500);
        const LecturaPropia v = MideDameInfoMp3(vbr);
        Anota(QStringLiteral("DameInfoMp3, %1 headerless VBR files").arg(vbr.size()),
              QStringLiteral("%1 ms, %2 wrong").arg(v.ms, 0, 'f', 1).arg(v.fallos), QStringLiteral("0 wrong"),
              v.fallos == 0);
        QDir(mp3s).removeRecursively();

        std::fprintf(stderr, "Busca over 20,000 files...\n");
        const QString musica = raiz.filePath(QStringLiteral("Musica"));
        const int ficheros = CreaArbolBusca(musica);
        const double find = Mediana(TiemposFind(musica, kVueltas));
        {
            Catalogo bdBusca(raiz.filePath(QStringLiteral("busca.mdb")), QStringLiteral("busca"));
            SinUnidades unidades;
            SinAvisos avisos;
            frmVaro w(bdBusca, unidades, avisos, dir.path());
            w.Form_Load();
            w.show();
            int filas = 0;
            const double busca = Mediana(TiemposBusca(w, musica, kVueltas, filas));
            Anota(QStringLiteral("Busca, %1 files in 2,000 folders").arg(ficheros),
                  QStringLiteral("%1 ms = %2x find").arg(busca, 0, 'f', 1).arg(busca / find, 0, 'f', 2),
                  QStringLiteral("<= 3x find (%1 ms)").arg(find, 0, 'f', 1), busca <= 3 * find);
        }
    } catch (const LodrinError& e) {
        std::fprintf(stderr, "failed: %s\n", qPrintable(e.message()));
        return 2;
    }

    int ancho = 0;
    for (const Fila& f : tabla)
        ancho = qMax(ancho, int(f.medida.size()));
    bool todas = true;
    std::printf("\n%-*s  %-22s  %s\n", ancho, "measurement (median of 3)", "figure", "goal");
    for (const Fila& f : tabla) {
        std::printf("%-*s  %-22s  %s: %s\n", ancho, qPrintable(f.medida), qPrintable(f.cifra), qPrintable(f.meta),
                    f.cumplida ? "met" : "missed");
        todas = todas && f.cumplida;
    }
    return todas ? 0 : 1;
}
