// Recording an analysed CD into a real catalogue, and comparing a work list
// with it.
#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "catalogue/catalogo.h"
#include "catalogue/cdanalizado.h"
#include "catalogue/comparacion.h"
#include "catalogue/grabacion.h"
#include "catalogue/objetos.h"
#include "common/lodrinerror.h"
#include "mp3info/infomp3.h"
#include "support/testsupport.h"

namespace {

// One catalogue, one program folder and one CD folder per test.
struct Banco {
    Banco()
    {
        static int conexiones = 0;
        dirPrograma = dir.filePath(QStringLiteral("prog"));
        QDir().mkpath(dirPrograma);
        bd = std::make_unique<Catalogo>(Catalogo::RutaCatalogo(dirPrograma),
                                        QStringLiteral("grabacion%1").arg(++conexiones));
        bd->AbreBaseDatos();
    }
    CdAnalizado NuevoCd(const QString& nombre = QStringLiteral("cd"))
    {
        return CdAnalizado(dir.filePath(nombre), dir.filePath(QStringLiteral("cache")));
    }
    void Graba(const ListaTrabajo& lista, const QString& descripcion = QStringLiteral("Rock 1"),
               bool imagenes = true)
    {
        DatosGrabacion d;
        d.descripcion = descripcion;
        d.serial = QStringLiteral("1A2B-3C4D");
        d.grabarImagenes = imagenes;
        d.dirPrograma = dirPrograma;
        GrabaCD(*bd, lista, d);
    }
    qint64 Filas(const QString& tabla, const QString& donde = QString()) { return CuentaFilas(*bd, tabla, donde); }
    qint64 Id(const QString& select)
    {
        Consulta r = bd->Abre(select);
        return r.Fin() ? 0 : r.Entero(QStringLiteral("id"));
    }
    QString Imagenes() const { return CarpetaImagenes(dirPrograma); }

    QTemporaryDir dir;
    QString dirPrograma;
    std::unique_ptr<Catalogo> bd;
};

// Counts of every table the recording writes.
QList<qint64> Totales(Banco& b)
{
    return {b.Filas(QStringLiteral("tlautor")), b.Filas(QStringLiteral("tldisco")), b.Filas(QStringLiteral("tlcd")),
            b.Filas(QStringLiteral("tlcancion")), b.Filas(QStringLiteral("tlobjetos"))};
}

// Records that report how far the recording went.
class AvanceAnotado : public AvanceGrabacion {
public:
    void Empieza(int maximo) override { this->maximo = maximo; }
    void Avanza(int valor) override { valores << valor; }
    void Termina() override { ++terminado; }
    int maximo = -1;
    QList<int> valores;
    int terminado = 0;
};

}  // namespace

class TestGrabacion : public QObject {
    Q_OBJECT
private slots:
    void soloElCdSinCancionesAnalizadas();
    void cancionesDeUnDiscoConUnaBusquedaPorAutorYDisco();
    void variosArtistas();
    void posiciones_data();
    void posiciones();
    void posicionesGrabadas();
    void tiemposDeReproduccion();
    void imagenesCopiadasUnaVezPorDisco();
    void imagenesNoGrabadas();
    void grabarDosVecesNoAnadeNada();
    void otroCdAnadeLasCancionesBajoLosMismosNombres();
    void nombresConApostrofos();
    void imagenDeOtroAutorNoCambiaElDiscoDeLaCancion();
    void cancionSinAutorNiDiscoQuedaEnElCatalogo();
    void imagenIlegibleAMitad();
    void sentenciaRechazadaAMitad();
    void comparaMarcaLasFilas();
    void comparaNoTomaAutoresElegidosPorIds();
    void comparaVariosArtistas();
};

void TestGrabacion::soloElCdSinCancionesAnalizadas()
{
    Banco b;
    CdAnalizado cd = b.NuevoCd();
    cd.SinAnalizar(QStringLiteral("Dover\\"), QStringLiteral("#"));
    cd.SinAnalizar(QStringLiteral("Dover\\letras.txt"), QStringLiteral("c"));
    cd.SinAnalizar(QStringLiteral("Dover\\lista.m3u"), QStringLiteral("l"));
    cd.SinAnalizar(QStringLiteral("Otros"), QStringLiteral("D"));
    cd.SinAnalizar(QStringLiteral("Dover\\01 - Serenade.mp3"), QStringLiteral("f"));
    cd.SinAnalizar(QStringLiteral("Dover\\cover.jpg"), QStringLiteral("p"));

    AvanceAnotado avance;
    DatosGrabacion d;
    d.descripcion = QStringLiteral("Mi CD");
    d.serial = QStringLiteral("0012-ABCD");
    d.dirPrograma = b.dirPrograma;
    GrabaCD(*b.bd, cd.lista, d, &avance);

    QCOMPARE(Totales(b), (QList<qint64>{0, 0, 1, 0, 0}));
    Consulta r = b.bd->Abre(QStringLiteral("select dscd, sercd, lotienecd, dtcd from tlcd"));
    QCOMPARE(r.Texto(QStringLiteral("dscd")), QStringLiteral("Mi CD"));
    QCOMPARE(r.Texto(QStringLiteral("sercd")), QStringLiteral("0012-ABCD"));
    QCOMPARE(r.Texto(QStringLiteral("lotienecd")), QStringLiteral(" "));
    QCOMPARE(r.Campo(QStringLiteral("dtcd")).toDate(), QDate::currentDate());
    QVERIFY(!QFileInfo::exists(b.Imagenes()));
    // Every row counts for the progress, skipped or not.
    QCOMPARE(avance.maximo, 6);
    QCOMPARE(avance.valores, (QList<int>{1, 2, 3, 4, 5, 6}));
    QCOMPARE(avance.terminado, 1);

    // An empty list writes the CD row only, and finds it the next time.
    ListaTrabajo vacia;
    b.Graba(vacia, QStringLiteral("Vacio"));
    b.Graba(vacia, QStringLiteral("Vacio"));
    QCOMPARE(Totales(b), (QList<qint64>{0, 0, 2, 0, 0}));
}

void TestGrabacion::cancionesDeUnDiscoConUnaBusquedaPorAutorYDisco()
{
    Banco b;
    CdAnalizado cd = b.NuevoCd();
    cd.Carpeta(QStringLiteral("Dover\\"), QStringLiteral("Dover"), QStringLiteral("Devil come to me"));
    cd.Cancion(QStringLiteral("Dover\\01 - Serenade.mp3"), QStringLiteral("f"), QStringLiteral("Dover"),
               QStringLiteral("Devil come to me"), QStringLiteral("Serenade"), QStringLiteral("01"));
    cd.Cancion(QStringLiteral("Dover\\02 - Loli Jackson.mp3"), QStringLiteral("f"), QStringLiteral("Dover"),
               QStringLiteral("Devil come to me"), QStringLiteral("Loli Jackson"), QStringLiteral("02"));
    cd.Cancion(QStringLiteral("Dover\\03 - Devil.mp3"), QStringLiteral("f"), QStringLiteral("Dover"),
               QStringLiteral("Devil come to me"), QStringLiteral("Devil Came to Me"), QStringLiteral("03"));
    cd.Imagen(QStringLiteral("Dover\\portada.jpg"), QStringLiteral("Dover"), QStringLiteral("Devil come to me"));
    b.Graba(cd.lista);

    QCOMPARE(Totales(b), (QList<qint64>{1, 1, 1, 3, 1}));
    const qint64 idautor = b.Id(QStringLiteral("select idautor as id from tlautor where dsautor = 'Dover'"));
    const qint64 iddisco = b.Id(QStringLiteral("select iddisco as id from tldisco where dsdisco = 'Devil come to me'"
                                               " and dsdisco_std = 'DEVILCOMETOME' and cdautord = ") +
                                QString::number(idautor));
    const qint64 idcd = b.Id(QStringLiteral("select idcd as id from tlcd where dscd = 'Rock 1'"));
    QVERIFY(idautor > 0 && iddisco > 0 && idcd > 0);
    Consulta r = b.bd->Abre(QStringLiteral("select * from tlcancion order by wncancion"));
    const QStringList titulos{QStringLiteral("Serenade"), QStringLiteral("Loli Jackson"),
                              QStringLiteral("Devil Came to Me")};
    const QStringList rutas{QStringLiteral("Dover\\01 - Serenade.mp3"), QStringLiteral("Dover\\02 - Loli Jackson.mp3"),
                            QStringLiteral("Dover\\03 - Devil.mp3")};
    for (int i = 0; i < 3; ++i, r.Siguiente()) {
        QCOMPARE(r.Texto(QStringLiteral("dscancion")), titulos[i]);
        QCOMPARE(r.Texto(QStringLiteral("dspath")), rutas[i]);
        QCOMPARE(r.Entero(QStringLiteral("wncancion")), qint64(i + 1));
        QCOMPARE(r.Entero(QStringLiteral("cdautor")), idautor);
        QCOMPARE(r.Entero(QStringLiteral("cddisco")), iddisco);
        QCOMPARE(r.Entero(QStringLiteral("cdcd")), idcd);
        QCOMPARE(r.SiNo(QStringLiteral("swvarios")), false);
    }
    QCOMPARE(b.Filas(QStringLiteral("tlobjetos"), QStringLiteral("dstabla = 'd' and idtabla = ") +
                                                      QString::number(iddisco) +
                                                      QStringLiteral(" and dspath = 'Dover\\portada.jpg'")),
             qint64(1));

    // The same rows under another CD: the author and the disc are found, each
    // with one lookup for the four consecutive rows.
    TrazaSql traza(*b.bd);
    b.Graba(cd.lista, QStringLiteral("Rock 2"));
    QVERIFY(!traza.sentencias.isEmpty());
    QCOMPARE(traza.Cuenta(QStringLiteral("select idautor from tlautor")), 1);
    QCOMPARE(traza.Cuenta(QStringLiteral("select iddisco from tldisco")), 1);
    QCOMPARE(traza.Cuenta(QStringLiteral("insert into tlautor")), 0);
    QCOMPARE(traza.Cuenta(QStringLiteral("insert into tldisco")), 0);
    QCOMPARE(traza.Cuenta(QStringLiteral("insert into tlcancion")), 3);
    QCOMPARE(traza.Cuenta(QStringLiteral("insert into tlobjetos")), 0);
}

void TestGrabacion::variosArtistas()
{
    Banco b;
    CdAnalizado cd = b.NuevoCd();
    const QString va = QStringLiteral("<Varios Artistas>");
    cd.Carpeta(QStringLiteral("Exitos 99\\"), va, QStringLiteral("Exitos 99"));
    cd.Cancion(QStringLiteral("Exitos 99\\01 - Ana - Uno.mp3"), QStringLiteral("v"), QStringLiteral("Ana"),
               QStringLiteral("Exitos 99"), QStringLiteral("Uno"), QStringLiteral("01"));
    cd.Cancion(QStringLiteral("Exitos 99\\02 - Luis - Dos.mp3"), QStringLiteral("v"), QStringLiteral("Luis"),
               QStringLiteral("Exitos 99"), QStringLiteral("Dos"), QStringLiteral("02"));
    cd.Cancion(QStringLiteral("Exitos 99\\03 - Marta - Tres.mp3"), QStringLiteral("v"), QStringLiteral("Marta"),
               QStringLiteral("Exitos 99"), QStringLiteral("Tres"), QStringLiteral("03"));
    cd.Imagen(QStringLiteral("Exitos 99\\portada.jpg"), va, QStringLiteral("Exitos 99"));
    // Ana also has a disc of her own with the same name.
    cd.Carpeta(QStringLiteral("Z Ana\\"), QStringLiteral("Ana"), QStringLiteral("Exitos 99"));
    cd.Cancion(QStringLiteral("Z Ana\\01 - Cuatro.mp3"), QStringLiteral("f"), QStringLiteral("Ana"),
               QStringLiteral("Exitos 99"), QStringLiteral("Cuatro"), QStringLiteral("01"));
    b.Graba(cd.lista);

    QCOMPARE(b.Filas(QStringLiteral("tlautor")), qint64(4));
    QCOMPARE(b.Filas(QStringLiteral("tlautor"), QStringLiteral("dsautor = '<Varios Artistas>'")), qint64(1));
    const qint64 idva = b.Id(QStringLiteral("select idautor as id from tlautor where dsautor = '<Varios Artistas>'"));
    const qint64 idana = b.Id(QStringLiteral("select idautor as id from tlautor where dsautor = 'Ana'"));
    const qint64 discoVa = b.Id(QStringLiteral("select iddisco as id from tldisco where cdautord = ") +
                                QString::number(idva));
    const qint64 discoAna = b.Id(QStringLiteral("select iddisco as id from tldisco where cdautord = ") +
                                 QString::number(idana));
    QCOMPARE(b.Filas(QStringLiteral("tldisco")), qint64(2));
    QVERIFY(discoVa > 0 && discoAna > 0 && discoVa != discoAna);

    Consulta r = b.bd->Abre(QStringLiteral("select dscancion, cddisco, swvarios, dsautor from tlcancion, tlautor"
                                           " where cdautor = idautor order by dscancion"));
    const QList<std::tuple<QString, QString, qint64, bool>> esperadas{
        {QStringLiteral("Cuatro"), QStringLiteral("Ana"), discoAna, false},
        {QStringLiteral("Dos"), QStringLiteral("Luis"), discoVa, true},
        {QStringLiteral("Tres"), QStringLiteral("Marta"), discoVa, true},
        {QStringLiteral("Uno"), QStringLiteral("Ana"), discoVa, true},
    };
    for (const auto& [titulo, autor, disco, varios] : esperadas) {
        QVERIFY(!r.Fin());
        QCOMPARE(r.Texto(QStringLiteral("dscancion")), titulo);
        QCOMPARE(r.Texto(QStringLiteral("dsautor")), autor);
        QCOMPARE(r.Entero(QStringLiteral("cddisco")), disco);
        QCOMPARE(r.SiNo(QStringLiteral("swvarios")), varios);
        r.Siguiente();
    }
    QVERIFY(r.Fin());
    QCOMPARE(b.Filas(QStringLiteral("tlobjetos"), QStringLiteral("idtabla = ") + QString::number(discoVa)),
             qint64(1));
}

void TestGrabacion::posiciones_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<qint64>("valor");
    QTest::newRow("cero delante") << QStringLiteral("07") << qint64(7);
    QTest::newRow("vacia") << QString() << qint64(0);
    QTest::newRow("letra delante") << QStringLiteral("B2") << qint64(0);
    QTest::newRow("blancos delante") << QStringLiteral("  12") << qint64(12);
    QTest::newRow("numero y texto") << QStringLiteral("3 de 12") << qint64(3);
    QTest::newRow("decimales") << QStringLiteral("4.9") << qint64(4);
    QTest::newRow("signo") << QStringLiteral("-2") << qint64(-2);
    QTest::newRow("solo signo") << QStringLiteral("-") << qint64(0);
    QTest::newRow("sin decodificar") << QStringLiteral("<vacio>") << qint64(0);
    QTest::newRow("enorme") << QStringLiteral("99999999999999999999999") << qint64(0);
}

void TestGrabacion::posiciones()
{
    QFETCH(QString, texto);
    QFETCH(qint64, valor);
    const qint64 v = ValorPosicion(texto);
    if (texto.size() > 20)
        QVERIFY(v > 0);  // saturates instead of wrapping round
    else
        QCOMPARE(v, valor);
}

void TestGrabacion::posicionesGrabadas()
{
    Banco b;
    CdAnalizado cd = b.NuevoCd();
    cd.Cancion(QStringLiteral("A\\07 - Siete.mp3"), QStringLiteral("f"), QStringLiteral("Ana"), QStringLiteral("D"),
               QStringLiteral("Siete"), QStringLiteral("07"));
    cd.Cancion(QStringLiteral("A\\Nada.mp3"), QStringLiteral("f"), QStringLiteral("Ana"), QStringLiteral("D"),
               QStringLiteral("Nada"), QString());
    cd.Cancion(QStringLiteral("A\\B2 - Cara B.mp3"), QStringLiteral("f"), QStringLiteral("Ana"), QStringLiteral("D"),
               QStringLiteral("Cara B"), QStringLiteral("B2"));
    b.Graba(cd.lista);
    QCOMPARE(b.Id(QStringLiteral("select wncancion as id from tlcancion where dscancion = 'Siete'")), qint64(7));
    QCOMPARE(b.Filas(QStringLiteral("tlcancion"), QStringLiteral("wncancion = 0")), qint64(2));
    QCOMPARE(b.Filas(QStringLiteral("tlcancion"), QStringLiteral("dscancion in ('Nada', 'Cara B') and wncancion = 0")),
             qint64(2));
}

void TestGrabacion::tiemposDeReproduccion()
{
    Banco b;
    CdAnalizado cd = b.NuevoCd();
    cd.Cancion(QStringLiteral("A\\corta.mp3"), QStringLiteral("f"), QStringLiteral("Ana"), QStringLiteral("D"),
               QStringLiteral("Corta"), QStringLiteral("1"), 2);
    cd.Cancion(QStringLiteral("A\\larga.mp3"), QStringLiteral("f"), QStringLiteral("Ana"), QStringLiteral("D"),
               QStringLiteral("Larga"), QStringLiteral("2"), 7);
    // A file that is no MP3 at all is stored with no playing time.
    const int rota = cd.Cancion(QStringLiteral("A\\rota.mp3"), QStringLiteral("f"), QStringLiteral("Ana"),
                                QStringLiteral("D"), QStringLiteral("Rota"), QStringLiteral("3"));
    EscribeFichero(cd.lista.Fila(rota).tag, QByteArray(4000, '\0'));
    b.Graba(cd.lista);

    const qint64 corta = b.Id(QStringLiteral("select wntime as id from tlcancion where dscancion = 'Corta'"));
    const qint64 larga = b.Id(QStringLiteral("select wntime as id from tlcancion where dscancion = 'Larga'"));
    QVERIFY2(qAbs(corta - 2) <= 1, qPrintable(QString::number(corta)));
    QVERIFY2(qAbs(larga - 7) <= 1, qPrintable(QString::number(larga)));
    QCOMPARE(b.Id(QStringLiteral("select wntime as id from tlcancion where dscancion = 'Rota'")), qint64(0));
    QCOMPARE(b.Filas(QStringLiteral("tlcancion")), qint64(3));
}

void TestGrabacion::imagenesCopiadasUnaVezPorDisco()
{
    Banco b;
    CdAnalizado cd = b.NuevoCd();
    cd.Carpeta(QStringLiteral("Dover\\"), QStringLiteral("Dover"), QStringLiteral("Late at night"));
    cd.Cancion(QStringLiteral("Dover\\01 - Let me out.mp3"), QStringLiteral("f"), QStringLiteral("Dover"),
               QStringLiteral("Late at night"), QStringLiteral("Let me out"), QStringLiteral("01"));
    const int portada = cd.Imagen(QStringLiteral("Dover\\COVER.JPG"), QStringLiteral("Dover"),
                                  QStringLiteral("Late at night"));
    cd.Imagen(QStringLiteral("Dover\\trasera.Gif"), QStringLiteral("Dover"), QStringLiteral("Late at night"));
    // A picture whose folder gave no disc is not recorded.
    cd.Imagen(QStringLiteral("Varios\\suelta.jpg"), QString(), QString());
    b.Graba(cd.lista);

    QCOMPARE(b.Filas(QStringLiteral("tlobjetos")), qint64(2));
    const qint64 idJpg = b.Id(QStringLiteral("select idobjeto as id from tlobjetos where dspath = 'Dover\\COVER.JPG'"));
    const qint64 idGif =
        b.Id(QStringLiteral("select idobjeto as id from tlobjetos where dspath = 'Dover\\trasera.Gif'"));
    // Copies carry the id and the extension in lower case, whatever the case
    // of the file on the CD.
    QCOMPARE(Ficheros(b.Imagenes()), QStringList({QStringLiteral("%1.jpg").arg(idJpg), QStringLiteral("%1.gif").arg(idGif)}));
    QCOMPARE(LeeFichero(QDir(b.Imagenes()).filePath(QStringLiteral("%1.jpg").arg(idJpg))),
             LeeFichero(cd.Ruta(QStringLiteral("Dover\\COVER.JPG"))));
    QCOMPARE(CopiaExistente(b.dirPrograma, idGif), QDir(b.Imagenes()).filePath(QStringLiteral("%1.gif").arg(idGif)));

    // The same file under another disc is stored and copied once more.
    cd.lista.PonSubItem(portada, columna::kDisco, QStringLiteral("Follow the city lights"));
    b.Graba(cd.lista);
    QCOMPARE(b.Filas(QStringLiteral("tlobjetos")), qint64(3));
    QCOMPARE(b.Filas(QStringLiteral("tlobjetos"), QStringLiteral("dspath = 'Dover\\COVER.JPG'")), qint64(2));
    QCOMPARE(b.Filas(QStringLiteral("tldisco")), qint64(2));
    QCOMPARE(Ficheros(b.Imagenes()).size(), 3);
}

void TestGrabacion::imagenesNoGrabadas()
{
    Banco b;
    CdAnalizado cd = b.NuevoCd();
    cd.Cancion(QStringLiteral("Dover\\01.mp3"), QStringLiteral("f"), QStringLiteral("Dover"), QStringLiteral("D"),
               QStringLiteral("Uno"), QStringLiteral("01"));
    cd.Imagen(QStringLiteral("Dover\\cover.jpg"), QStringLiteral("Dover"), QStringLiteral("D"));
    b.Graba(cd.lista, QStringLiteral("Rock 1"), false);
    QCOMPARE(Totales(b), (QList<qint64>{1, 1, 1, 1, 0}));
    QVERIFY(!QFileInfo::exists(b.Imagenes()));
}

void TestGrabacion::grabarDosVecesNoAnadeNada()
{
    Banco b;
    CdAnalizado cd = b.NuevoCd();
    cd.Carpeta(QStringLiteral("Mix\\"), QStringLiteral("<Varios Artistas>"), QStringLiteral("Mix"));
    cd.Cancion(QStringLiteral("Mix\\01.mp3"), QStringLiteral("v"), QStringLiteral("Ana"), QStringLiteral("Mix"),
               QStringLiteral("Uno"), QStringLiteral("01"));
    cd.Cancion(QStringLiteral("Mix\\02.mp3"), QStringLiteral("v"), QStringLiteral("Luis"), QStringLiteral("Mix"),
               QStringLiteral("Dos"), QStringLiteral("02"));
    cd.Imagen(QStringLiteral("Mix\\cover.jpg"), QStringLiteral("<Varios Artistas>"), QStringLiteral("Mix"));
    cd.Cancion(QStringLiteral("Vacio\\x.mp3"), QStringLiteral("f"), QStringLiteral("<vacio>"),
               QStringLiteral("<vacio>"), QStringLiteral("x"), QStringLiteral("00"));
    b.Graba(cd.lista);
    const QList<qint64> antes = Totales(b);
    QCOMPARE(antes, (QList<qint64>{4, 2, 1, 3, 1}));
    const QString copia = QDir(b.Imagenes()).filePath(Ficheros(b.Imagenes()).value(0));
    // Mark the copy: a second recording must not copy the picture again.
    EscribeFichero(copia, "marca");

    b.Graba(cd.lista);
    QCOMPARE(Totales(b), antes);
    QCOMPARE(Ficheros(b.Imagenes()).size(), 1);
    QCOMPARE(LeeFichero(copia), QByteArray("marca"));
}

void TestGrabacion::otroCdAnadeLasCancionesBajoLosMismosNombres()
{
    Banco b;
    CdAnalizado cd = b.NuevoCd();
    cd.Cancion(QStringLiteral("A\\01.mp3"), QStringLiteral("f"), QStringLiteral("Dover"), QStringLiteral("D"),
               QStringLiteral("Uno"), QStringLiteral("01"));
    cd.Cancion(QStringLiteral("A\\02.mp3"), QStringLiteral("f"), QStringLiteral("Dover"), QStringLiteral("D"),
               QStringLiteral("Dos"), QStringLiteral("02"));
    b.Graba(cd.lista, QStringLiteral("Primero"));
    // Names that differ only in case, accents and punctuation are the same
    // author and disc.
    cd.lista.PonSubItem(1, columna::kAutor, QStringLiteral("DÓVER!"));
    cd.lista.PonSubItem(2, columna::kAutor, QStringLiteral("dover"));
    cd.lista.PonSubItem(2, columna::kDisco, QStringLiteral("d."));
    b.Graba(cd.lista, QStringLiteral("Segundo"));
    QCOMPARE(Totales(b), (QList<qint64>{1, 1, 2, 4, 0}));
    QCOMPARE(b.Filas(QStringLiteral("tlcancion, tlcd"), QStringLiteral("cdcd = idcd and dscd = 'Segundo'")), qint64(2));
    // A CD is found by its description; its first serial stays.
    b.Graba(cd.lista, QStringLiteral("SEGUNDO"));
    QCOMPARE(Totales(b), (QList<qint64>{1, 1, 2, 4, 0}));
}

void TestGrabacion::nombresConApostrofos()
{
    Banco b;
    CdAnalizado cd = b.NuevoCd();
    cd.Carpeta(QStringLiteral("Guns N' Roses\\"), QStringLiteral("  Guns N' Roses"), QStringLiteral("Use Your Illusion"));
    cd.Cancion(QStringLiteral("Guns N' Roses\\01 - Don't Cry.mp3"), QStringLiteral("f"),
               QStringLiteral("  Guns N' Roses"), QStringLiteral("Use Your Illusion"), QStringLiteral("Don't Cry"),
               QStringLiteral("01"));
    cd.Cancion(QStringLiteral("Guns N' Roses\\02 - You're Crazy.mp3"), QStringLiteral("f"),
               QStringLiteral("  Guns N' Roses"), QStringLiteral("Use Your Illusion"), QStringLiteral("You're Crazy"),
               QStringLiteral("02"));
    cd.Imagen(QStringLiteral("Guns N' Roses\\cover.jpg"), QStringLiteral("  Guns N' Roses"),
              QStringLiteral("Use Your Illusion"));
    b.Graba(cd.lista, QStringLiteral("Rock 'n' roll"));
    b.Graba(cd.lista, QStringLiteral("Rock 'n' roll"));

    QCOMPARE(Totales(b), (QList<qint64>{1, 1, 1, 2, 1}));
    Consulta autor = b.bd->Abre(QStringLiteral("select dsautor from tlautor"));
    QCOMPARE(autor.Texto(QStringLiteral("dsautor")), QStringLiteral("Guns N' Roses"));
    QCOMPARE(b.Filas(QStringLiteral("tlcancion"), QStringLiteral("dscancion = 'Don''t Cry' and dspath = 'Guns N'' "
                                                                 "Roses\\01 - Don''t Cry.mp3'")),
             qint64(1));
    QCOMPARE(b.Filas(QStringLiteral("tlobjetos"), QStringLiteral("dspath = 'Guns N'' Roses\\cover.jpg'")), qint64(1));
    QCOMPARE(b.Filas(QStringLiteral("tlcd"), QStringLiteral("dscd = 'Rock ''n'' roll'")), qint64(1));
}

void TestGrabacion::imagenDeOtroAutorNoCambiaElDiscoDeLaCancion()
{
    // A picture row edited by hand to another author, between two songs of
    // one disc name: each row goes under its own author's disc.
    Banco b;
    CdAnalizado cd = b.NuevoCd();
    cd.lista.PonOrdenada(false);
    cd.Cancion(QStringLiteral("A\\01.mp3"), QStringLiteral("f"), QStringLiteral("Ana"), QStringLiteral("Grandes"),
               QStringLiteral("Uno"), QStringLiteral("01"));
    cd.Imagen(QStringLiteral("A\\cover.jpg"), QStringLiteral("Luis"), QStringLiteral("Grandes"));
    cd.Cancion(QStringLiteral("A\\02.mp3"), QStringLiteral("f"), QStringLiteral("Ana"), QStringLiteral("Grandes"),
               QStringLiteral("Dos"), QStringLiteral("02"));
    b.Graba(cd.lista);

    const qint64 idana = b.Id(QStringLiteral("select idautor as id from tlautor where dsautor = 'Ana'"));
    const qint64 idluis = b.Id(QStringLiteral("select idautor as id from tlautor where dsautor = 'Luis'"));
    QCOMPARE(b.Filas(QStringLiteral("tlcancion, tldisco"),
                     QStringLiteral("cddisco = iddisco and cdautord = ") + QString::number(idana)),
             qint64(2));
    QCOMPARE(b.Filas(QStringLiteral("tlobjetos, tldisco"),
                     QStringLiteral("idtabla = iddisco and cdautord = ") + QString::number(idluis)),
             qint64(1));
}

void TestGrabacion::cancionSinAutorNiDiscoQuedaEnElCatalogo()
{
    // Columns emptied by hand: the song still hangs from an author and a disc
    // row, so the catalogue can reach it.
    Banco b;
    CdAnalizado cd = b.NuevoCd();
    cd.Cancion(QStringLiteral("x.mp3"), QStringLiteral("f"), QString(), QString(), QStringLiteral("Suelta"),
               QStringLiteral("1"));
    cd.Cancion(QStringLiteral("y.mp3"), QStringLiteral("f"), QString(), QString(), QString(), QStringLiteral("2"));
    b.Graba(cd.lista);
    QCOMPARE(Totales(b), (QList<qint64>{1, 1, 1, 1, 0}));  // a song without a title is not stored
    QCOMPARE(b.Filas(QStringLiteral("tlcancion, tlautor, tldisco"),
                     QStringLiteral("cdautor = idautor and cddisco = iddisco and cdautord = idautor")),
             qint64(1));
}

void TestGrabacion::imagenIlegibleAMitad()
{
    Banco b;
    CdAnalizado cd = b.NuevoCd();
    cd.Carpeta(QStringLiteral("A\\"), QStringLiteral("Ana"), QStringLiteral("Uno"));
    cd.Cancion(QStringLiteral("A\\01.mp3"), QStringLiteral("f"), QStringLiteral("Ana"), QStringLiteral("Uno"),
               QStringLiteral("Primera"), QStringLiteral("01"));
    cd.Imagen(QStringLiteral("A\\bien.jpg"), QStringLiteral("Ana"), QStringLiteral("Uno"));
    cd.Imagen(QStringLiteral("A\\mal.jpg"), QStringLiteral("Ana"), QStringLiteral("Uno"));
    cd.Carpeta(QStringLiteral("B\\"), QStringLiteral("Bea"), QStringLiteral("Dos"));
    cd.Cancion(QStringLiteral("B\\01.mp3"), QStringLiteral("f"), QStringLiteral("Bea"), QStringLiteral("Dos"),
               QStringLiteral("Segunda"), QStringLiteral("01"));
    // The picture cannot be read: a folder stands where the file was.
    const QString mal = cd.Ruta(QStringLiteral("A\\mal.jpg"));
    const QByteArray contenido = LeeFichero(mal);
    QVERIFY(QFile::remove(mal));
    QVERIFY(QDir().mkpath(mal));

    AvanceAnotado avance;
    DatosGrabacion d;
    d.descripcion = QStringLiteral("CD");
    d.dirPrograma = b.dirPrograma;
    try {
        GrabaCD(*b.bd, cd.lista, d, &avance);
        QFAIL("the recording should have failed");
    } catch (const LodrinError& e) {
        QVERIFY2(e.message().contains(mal), qPrintable(e.message()));
    }
    QCOMPARE(avance.terminado, 1);
    // Everything before the picture stays; nothing after it was written.
    QCOMPARE(Totales(b), (QList<qint64>{1, 1, 1, 1, 2}));
    QCOMPARE(Ficheros(b.Imagenes()).size(), 1);  // the good picture, no half copy
    const qint64 idmal = b.Id(QStringLiteral("select idobjeto as id from tlobjetos where dspath = 'A\\mal.jpg'"));
    QVERIFY(idmal > 0);
    QVERIFY(CopiaExistente(b.dirPrograma, idmal).isEmpty());

    // Once the file can be read, recording again completes the CD.
    QVERIFY(QDir().rmdir(mal));
    EscribeFichero(mal, contenido);
    GrabaCD(*b.bd, cd.lista, d, &avance);
    QCOMPARE(Totales(b), (QList<qint64>{2, 2, 1, 2, 2}));
    QCOMPARE(LeeFichero(CopiaExistente(b.dirPrograma, idmal)), contenido);
    QCOMPARE(Ficheros(b.Imagenes()).size(), 2);
}

void TestGrabacion::sentenciaRechazadaAMitad()
{
    Banco b;
    CdAnalizado cd = b.NuevoCd();
    cd.Cancion(QStringLiteral("A\\01.mp3"), QStringLiteral("f"), QStringLiteral("Ana"), QStringLiteral("Uno"),
               QStringLiteral("Primera"), QStringLiteral("01"));
    cd.Cancion(QStringLiteral("A\\02.mp3"), QStringLiteral("f"), QStringLiteral("Ana"), QStringLiteral("Uno"),
               QStringLiteral("Veneno"), QStringLiteral("02"));
    cd.Cancion(QStringLiteral("A\\03.mp3"), QStringLiteral("f"), QStringLiteral("Ana"), QStringLiteral("Uno"),
               QStringLiteral("Tercera"), QStringLiteral("03"));
    b.bd->Ejecuta(QStringLiteral("create trigger rechaza before insert on tlcancion when new.dscancion = 'Veneno' "
                                 "begin select raise(abort, 'cancion rechazada'); end"));
    try {
        b.Graba(cd.lista);
        QFAIL("the recording should have failed");
    } catch (const LodrinError& e) {
        QVERIFY2(e.message().contains(QStringLiteral("cancion rechazada")), qPrintable(e.message()));
    }
    QCOMPARE(Totales(b), (QList<qint64>{1, 1, 1, 1, 0}));

    b.bd->Ejecuta(QStringLiteral("drop trigger rechaza"));
    b.Graba(cd.lista);
    QCOMPARE(Totales(b), (QList<qint64>{1, 1, 1, 3, 0}));
    QCOMPARE(b.Filas(QStringLiteral("tlcancion"), QStringLiteral("dscancion = 'Primera'")), qint64(1));
}

void TestGrabacion::comparaMarcaLasFilas()
{
    Banco b;
    CdAnalizado uno = b.NuevoCd(QStringLiteral("uno"));
    uno.Cancion(QStringLiteral("Dover\\01.mp3"), QStringLiteral("f"), QStringLiteral("Dover"),
                QStringLiteral("Devil"), QStringLiteral("Serenade"), QStringLiteral("01"));
    uno.Cancion(QStringLiteral("Dover\\02.mp3"), QStringLiteral("f"), QStringLiteral("Dover"),
                QStringLiteral("Devil"), QStringLiteral("Judas"), QStringLiteral("02"));
    uno.Cancion(QStringLiteral("Nadie\\x.mp3"), QStringLiteral("f"), QStringLiteral("Nadie"),
                QStringLiteral("<vacio>"), QStringLiteral("Sin disco"), QStringLiteral("00"));
    b.Graba(uno.lista, QStringLiteral("Uno"));
    const QList<qint64> antes = Totales(b);

    CdAnalizado otro = b.NuevoCd(QStringLiteral("otro"));
    otro.lista.PonOrdenada(false);
    const int serenade = otro.Cancion(QStringLiteral("Dover\\01.mp3"), QStringLiteral("f"), QStringLiteral("DOVER"),
                                      QStringLiteral("Devil"), QStringLiteral("Serenade"), QStringLiteral("1"));
    const int judas = otro.Cancion(QStringLiteral("Dover\\02.mp3"), QStringLiteral("f"), QStringLiteral("Dover"),
                                   QStringLiteral("devil!"), QStringLiteral("JUDAS"), QStringLiteral("2"));
    const int nueva = otro.Cancion(QStringLiteral("Dover\\03.mp3"), QStringLiteral("f"), QStringLiteral("Dover"),
                                   QStringLiteral("Devil"), QStringLiteral("Nueva"), QStringLiteral("3"));
    const int otroDisco = otro.Cancion(QStringLiteral("Dover\\04.mp3"), QStringLiteral("f"), QStringLiteral("Dover"),
                                       QStringLiteral("Otro"), QStringLiteral("Serenade"), QStringLiteral("4"));
    const int sinDisco = otro.Cancion(QStringLiteral("Nadie\\x.mp3"), QStringLiteral("f"), QStringLiteral("Nadie"),
                                      QStringLiteral("<vacio>"), QStringLiteral("Sin disco"), QStringLiteral("00"));
    const int imagen = otro.Imagen(QStringLiteral("Dover\\cover.jpg"), QStringLiteral("Dover"), QStringLiteral("Devil"));
    const int carpeta = otro.Carpeta(QStringLiteral("Dover\\"), QStringLiteral("Dover"), QStringLiteral("Devil"));
    const int sinAnalizar = otro.SinAnalizar(QStringLiteral("Dover\\05.mp3"), QStringLiteral("f"));
    otro.lista.Fila(sinDisco).icono = QStringLiteral("true");  // a mark of an earlier comparison

    ComparaCD(*b.bd, otro.lista);
    QCOMPARE(otro.lista.Fila(serenade).icono, QStringLiteral("true"));
    QCOMPARE(otro.lista.Fila(judas).icono, QStringLiteral("true"));
    QCOMPARE(otro.lista.Fila(nueva).icono, QStringLiteral("false"));
    QCOMPARE(otro.lista.Fila(otroDisco).icono, QStringLiteral("false"));
    QCOMPARE(otro.lista.Fila(sinDisco).icono, QStringLiteral("false"));
    QCOMPARE(otro.lista.Fila(imagen).icono, QStringLiteral("img"));
    QCOMPARE(otro.lista.Fila(carpeta).icono, QStringLiteral("abierta"));
    QCOMPARE(otro.lista.Fila(sinAnalizar).icono, QStringLiteral("nota"));
    // Only icons change, and the catalogue is only read.
    QCOMPARE(otro.lista.SubItem(judas, columna::kAutor), QStringLiteral("Dover"));
    QCOMPARE(otro.lista.SubItem(judas, columna::kDisco), QStringLiteral("devil!"));
    QCOMPARE(otro.lista.CuentaSubItems(sinAnalizar), 1);
    QCOMPARE(Totales(b), antes);
}

void TestGrabacion::comparaNoTomaAutoresElegidosPorIds()
{
    // An author chosen while decoding but never recorded has no songs in the
    // catalogue, whatever ids the recorded authors have.
    Banco b;
    CdAnalizado uno = b.NuevoCd(QStringLiteral("uno"));
    uno.Cancion(QStringLiteral("A\\01.mp3"), QStringLiteral("f"), QStringLiteral("Dover"), QStringLiteral("Devil"),
                QStringLiteral("Serenade"), QStringLiteral("01"));
    b.Graba(uno.lista);
    QCOMPARE(b.Id(QStringLiteral("select idautor as id from tlautor")), qint64(1));
    b.bd->autoresNuevos().AnadeAutorNuevo(QStringLiteral("DOWER"));

    CdAnalizado otro = b.NuevoCd(QStringLiteral("otro"));
    const int fila = otro.Cancion(QStringLiteral("A\\01.mp3"), QStringLiteral("f"), QStringLiteral("Dower"),
                                  QStringLiteral("Devil"), QStringLiteral("Serenade"), QStringLiteral("01"));
    ComparaCD(*b.bd, otro.lista);
    QCOMPARE(otro.lista.Fila(fila).icono, QStringLiteral("false"));
    QCOMPARE(b.Filas(QStringLiteral("tlautor")), qint64(1));
}

void TestGrabacion::comparaVariosArtistas()
{
    Banco b;
    CdAnalizado uno = b.NuevoCd(QStringLiteral("uno"));
    uno.Cancion(QStringLiteral("Mix\\01.mp3"), QStringLiteral("v"), QStringLiteral("Ana"), QStringLiteral("Mix"),
                QStringLiteral("Uno"), QStringLiteral("01"));
    // Luis has a disc of his own named Mix; his song is not on the compilation.
    uno.Cancion(QStringLiteral("Luis\\02.mp3"), QStringLiteral("f"), QStringLiteral("Luis"), QStringLiteral("Mix"),
                QStringLiteral("Dos"), QStringLiteral("02"));
    b.Graba(uno.lista);

    CdAnalizado otro = b.NuevoCd(QStringLiteral("otro"));
    otro.lista.PonOrdenada(false);
    const int ana = otro.Cancion(QStringLiteral("Mix\\01.mp3"), QStringLiteral("v"), QStringLiteral("Ana"),
                                 QStringLiteral("Mix"), QStringLiteral("Uno"), QStringLiteral("01"));
    const int luis = otro.Cancion(QStringLiteral("Mix\\02.mp3"), QStringLiteral("v"), QStringLiteral("Luis"),
                                  QStringLiteral("Mix"), QStringLiteral("Dos"), QStringLiteral("02"));
    const int anaSola = otro.Cancion(QStringLiteral("Ana\\01.mp3"), QStringLiteral("f"), QStringLiteral("Ana"),
                                     QStringLiteral("Mix"), QStringLiteral("Uno"), QStringLiteral("01"));
    const int luisSolo = otro.Cancion(QStringLiteral("Luis\\02.mp3"), QStringLiteral("f"), QStringLiteral("Luis"),
                                      QStringLiteral("Mix"), QStringLiteral("Dos"), QStringLiteral("02"));
    ComparaCD(*b.bd, otro.lista);
    QCOMPARE(otro.lista.Fila(ana).icono, QStringLiteral("true"));
    QCOMPARE(otro.lista.Fila(luis).icono, QStringLiteral("false"));
    QCOMPARE(otro.lista.Fila(anaSola).icono, QStringLiteral("false"));
    QCOMPARE(otro.lista.Fila(luisSolo).icono, QStringLiteral("true"));
}

QTEST_GUILESS_MAIN(TestGrabacion)
#include "test_grabacion.moc"
