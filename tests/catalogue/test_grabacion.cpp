// Recording an analysed CD into a real catalogue, and comparing a work list
// with it.
#include <QDate>
#include <QDateTime>
#include <ctime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "catalogue/cdanalizado.h"
#include "catalogue/comparacion.h"
#include "catalogue/grabacion.h"
#include "catalogue/objetos.h"
#include "common/lodrinerror.h"
#include "mp3info/infomp3.h"
#include "store/catalogo.h"
#include "support/motorprueba.h"
#include "support/testsupport.h"

using namespace Qt::StringLiterals;

namespace {

// One catalogue, one program folder and one CD folder per test.
struct Banco {
    Banco()
    {
        static int conexiones = 0;
        dirPrograma = dir.filePath(u"prog"_s);
        QDir().mkpath(dirPrograma);
        bd = std::make_unique<Catalogo>(CatalogoDePrueba(dirPrograma), u"grabacion%1"_s.arg(++conexiones));
        bd->AbreBaseDatos();
    }
    CdAnalizado NuevoCd(const QString& nombre = u"cd"_s)
    {
        return CdAnalizado(dir.filePath(nombre), dir.filePath(u"cache"_s));
    }
    void Graba(const ListaTrabajo& lista, const QString& descripcion = u"Rock 1"_s, bool imagenes = true)
    {
        DatosGrabacion d;
        d.descripcion = descripcion;
        d.serial = u"1A2B-3C4D"_s;
        d.grabarImagenes = imagenes;
        d.dirPrograma = dirPrograma;
        GrabaCD(*bd, lista, d);
    }
    qint64 Filas(const QString& tabla, const QString& donde = QString()) { return CuentaFilas(*bd, tabla, donde); }
    qint64 Id(const QString& select)
    {
        Consulta r = bd->Abre(select);
        return r.Fin() ? 0 : r.Entero(u"id"_s);
    }
    QString Imagenes() const { return CarpetaImagenes(dirPrograma); }

    QTemporaryDir dir;
    QString dirPrograma;
    std::unique_ptr<Catalogo> bd;
};

// Counts of every table the recording writes.
QList<qint64> Totales(Banco& b)
{
    return {b.Filas(u"tlautor"_s), b.Filas(u"tldisco"_s), b.Filas(u"tlcd"_s), b.Filas(u"tlcancion"_s),
            b.Filas(u"tlobjetos"_s)};
}

// Records that report how far the recording went.
class AvanceAnotado : public Avance {
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
    // A time zone whose date is not today's date in UTC: the CD gets the
    // person's own date.
    const int horaUtc = QDateTime::currentDateTimeUtc().time().hour();
    qputenv("TZ", horaUtc >= 10 ? "XXX-14" : "XXX12");
    tzset();
    QVERIFY(QDate::currentDate() != QDateTime::currentDateTimeUtc().date());
    Banco b;
    CdAnalizado cd = b.NuevoCd();
    cd.SinAnalizar(u"Dover\\"_s, u"#"_s);
    cd.SinAnalizar(u"Dover\\letras.txt"_s, u"c"_s);
    cd.SinAnalizar(u"Dover\\lista.m3u"_s, u"l"_s);
    cd.SinAnalizar(u"Otros"_s, u"D"_s);
    cd.SinAnalizar(u"Dover\\01 - Serenade.mp3"_s, u"f"_s);
    cd.SinAnalizar(u"Dover\\cover.jpg"_s, u"p"_s);

    AvanceAnotado avance;
    DatosGrabacion d;
    d.descripcion = u"Mi CD"_s;
    d.serial = u"0012-ABCD"_s;
    d.dirPrograma = b.dirPrograma;
    GrabaCD(*b.bd, cd.lista, d, &avance);

    QCOMPARE(Totales(b), (QList<qint64>{0, 0, 1, 0, 0}));
    Consulta r = b.bd->Abre(u"select dscd, sercd, lotienecd, dtcd from tlcd"_s);
    QCOMPARE(r.Texto(u"dscd"_s), u"Mi CD"_s);
    QCOMPARE(r.Texto(u"sercd"_s), u"0012-ABCD"_s);
    QCOMPARE(r.Texto(u"lotienecd"_s), u" "_s);
    QCOMPARE(r.Campo(u"dtcd"_s).toDate(), QDate::currentDate());
    qunsetenv("TZ");
    tzset();
    QVERIFY(!QFileInfo::exists(b.Imagenes()));
    // Every row counts for the progress, skipped or not.
    QCOMPARE(avance.maximo, 6);
    QCOMPARE(avance.valores, (QList<int>{1, 2, 3, 4, 5, 6}));
    QCOMPARE(avance.terminado, 1);

    // An empty list writes the CD row only, and finds it the next time.
    ListaTrabajo vacia;
    b.Graba(vacia, u"Vacio"_s);
    b.Graba(vacia, u"Vacio"_s);
    QCOMPARE(Totales(b), (QList<qint64>{0, 0, 2, 0, 0}));
}

void TestGrabacion::cancionesDeUnDiscoConUnaBusquedaPorAutorYDisco()
{
    Banco b;
    CdAnalizado cd = b.NuevoCd();
    cd.Carpeta(u"Dover\\"_s, u"Dover"_s, u"Devil come to me"_s);
    cd.Cancion(u"Dover\\01 - Serenade.mp3"_s, u"f"_s, u"Dover"_s, u"Devil come to me"_s, u"Serenade"_s, u"01"_s);
    cd.Cancion(u"Dover\\02 - Loli Jackson.mp3"_s, u"f"_s, u"Dover"_s, u"Devil come to me"_s, u"Loli Jackson"_s,
               u"02"_s);
    cd.Cancion(u"Dover\\03 - Devil.mp3"_s, u"f"_s, u"Dover"_s, u"Devil come to me"_s, u"Devil Came to Me"_s, u"03"_s);
    cd.Imagen(u"Dover\\portada.jpg"_s, u"Dover"_s, u"Devil come to me"_s);
    b.Graba(cd.lista);

    QCOMPARE(Totales(b), (QList<qint64>{1, 1, 1, 3, 1}));
    const qint64 idautor = b.Id(u"select idautor as id from tlautor where dsautor = 'Dover'"_s);
    const qint64 iddisco = b.Id(QStringLiteral("select iddisco as id from tldisco where dsdisco = 'Devil come to me'"
                                               " and dsdisco_std = 'DEVILCOMETOME' and cdautord = ") +
                                QString::number(idautor));
    const qint64 idcd = b.Id(u"select idcd as id from tlcd where dscd = 'Rock 1'"_s);
    QVERIFY(idautor > 0 && iddisco > 0 && idcd > 0);
    Consulta r = b.bd->Abre(u"select * from tlcancion order by wncancion"_s);
    const QStringList titulos{u"Serenade"_s, u"Loli Jackson"_s, u"Devil Came to Me"_s};
    const QStringList rutas{u"Dover\\01 - Serenade.mp3"_s, u"Dover\\02 - Loli Jackson.mp3"_s,
                            u"Dover\\03 - Devil.mp3"_s};
    for (int i = 0; i < 3; ++i, r.Siguiente()) {
        QCOMPARE(r.Texto(u"dscancion"_s), titulos[i]);
        QCOMPARE(r.Texto(u"dspath"_s), rutas[i]);
        QCOMPARE(r.Entero(u"wncancion"_s), qint64(i + 1));
        QCOMPARE(r.Entero(u"cdautor"_s), idautor);
        QCOMPARE(r.Entero(u"cddisco"_s), iddisco);
        QCOMPARE(r.Entero(u"cdcd"_s), idcd);
        QCOMPARE(r.SiNo(u"swvarios"_s), false);
    }
    QCOMPARE(b.Filas(u"tlobjetos"_s, u"dstabla = 'd' and idtabla = "_s + QString::number(iddisco) +
                                         u" and dspath = 'Dover\\portada.jpg'"_s),
             qint64(1));

    // The same rows under another CD: the author, the disc and the picture
    // are found; only the CD and its songs are new.
    b.Graba(cd.lista, u"Rock 2"_s);
    QCOMPARE(Totales(b), (QList<qint64>{1, 1, 2, 6, 1}));
    QCOMPARE(b.Filas(u"tlcancion"_s, u"cdautor = %1 and cddisco = %2"_s.arg(idautor).arg(iddisco)), qint64(6));
}

void TestGrabacion::variosArtistas()
{
    Banco b;
    CdAnalizado cd = b.NuevoCd();
    const QString va = u"<Varios Artistas>"_s;
    cd.Carpeta(u"Exitos 99\\"_s, va, u"Exitos 99"_s);
    cd.Cancion(u"Exitos 99\\01 - Ana - Uno.mp3"_s, u"v"_s, u"Ana"_s, u"Exitos 99"_s, u"Uno"_s, u"01"_s);
    cd.Cancion(u"Exitos 99\\02 - Luis - Dos.mp3"_s, u"v"_s, u"Luis"_s, u"Exitos 99"_s, u"Dos"_s, u"02"_s);
    cd.Cancion(u"Exitos 99\\03 - Marta - Tres.mp3"_s, u"v"_s, u"Marta"_s, u"Exitos 99"_s, u"Tres"_s, u"03"_s);
    cd.Imagen(u"Exitos 99\\portada.jpg"_s, va, u"Exitos 99"_s);
    // Ana also has a disc of her own with the same name.
    cd.Carpeta(u"Z Ana\\"_s, u"Ana"_s, u"Exitos 99"_s);
    cd.Cancion(u"Z Ana\\01 - Cuatro.mp3"_s, u"f"_s, u"Ana"_s, u"Exitos 99"_s, u"Cuatro"_s, u"01"_s);
    b.Graba(cd.lista);

    QCOMPARE(b.Filas(u"tlautor"_s), qint64(4));
    QCOMPARE(b.Filas(u"tlautor"_s, u"dsautor = '<Varios Artistas>'"_s), qint64(1));
    const qint64 idva = b.Id(u"select idautor as id from tlautor where dsautor = '<Varios Artistas>'"_s);
    const qint64 idana = b.Id(u"select idautor as id from tlautor where dsautor = 'Ana'"_s);
    const qint64 discoVa = b.Id(u"select iddisco as id from tldisco where cdautord = "_s + QString::number(idva));
    const qint64 discoAna = b.Id(u"select iddisco as id from tldisco where cdautord = "_s + QString::number(idana));
    QCOMPARE(b.Filas(u"tldisco"_s), qint64(2));
    QVERIFY(discoVa > 0 && discoAna > 0 && discoVa != discoAna);

    Consulta r =
        b.bd->Abre(QStringLiteral("select dscancion, cddisco, swvarios, dsautor from tlcancion, tlautor"
                                  " where cdautor = idautor order by dscancion"));
    const QList<std::tuple<QString, QString, qint64, bool>> esperadas{
        {u"Cuatro"_s, u"Ana"_s, discoAna, false},
        {u"Dos"_s, u"Luis"_s, discoVa, true},
        {u"Tres"_s, u"Marta"_s, discoVa, true},
        {u"Uno"_s, u"Ana"_s, discoVa, true},
    };
    for (const auto& [titulo, autor, disco, varios] : esperadas) {
        QVERIFY(!r.Fin());
        QCOMPARE(r.Texto(u"dscancion"_s), titulo);
        QCOMPARE(r.Texto(u"dsautor"_s), autor);
        QCOMPARE(r.Entero(u"cddisco"_s), disco);
        QCOMPARE(r.SiNo(u"swvarios"_s), varios);
        r.Siguiente();
    }
    QVERIFY(r.Fin());
    QCOMPARE(b.Filas(u"tlobjetos"_s, u"idtabla = "_s + QString::number(discoVa)), qint64(1));
}

void TestGrabacion::posiciones_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<qint64>("valor");
    QTest::newRow("cero delante") << u"07"_s << qint64(7);
    QTest::newRow("vacia") << QString() << qint64(0);
    QTest::newRow("letra delante") << u"B2"_s << qint64(0);
    QTest::newRow("blancos delante") << u"  12"_s << qint64(12);
    QTest::newRow("numero y texto") << u"3 de 12"_s << qint64(3);
    QTest::newRow("decimales") << u"4.9"_s << qint64(4);
    QTest::newRow("signo") << u"-2"_s << qint64(-2);
    QTest::newRow("solo signo") << u"-"_s << qint64(0);
    QTest::newRow("sin decodificar") << u"<vacio>"_s << qint64(0);
    QTest::newRow("enorme") << u"99999999999999999999999"_s << qint64(0);
    QTest::newRow("no cabe") << u"40000"_s << qint64(40000);
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
    cd.Cancion(u"A\\07 - Siete.mp3"_s, u"f"_s, u"Ana"_s, u"D"_s, u"Siete"_s, u"07"_s);
    cd.Cancion(u"A\\Nada.mp3"_s, u"f"_s, u"Ana"_s, u"D"_s, u"Nada"_s, QString());
    cd.Cancion(u"A\\B2 - Cara B.mp3"_s, u"f"_s, u"Ana"_s, u"D"_s, u"Cara B"_s, u"B2"_s);
    // A position an edit would refuse is no position when recording either.
    cd.Cancion(u"A\\40000.mp3"_s, u"f"_s, u"Ana"_s, u"D"_s, u"Grande"_s, u"40000"_s);
    cd.Cancion(u"A\\32767.mp3"_s, u"f"_s, u"Ana"_s, u"D"_s, u"Tope"_s, u"32767"_s);
    b.Graba(cd.lista);
    QCOMPARE(b.Id(u"select wncancion as id from tlcancion where dscancion = 'Siete'"_s), qint64(7));
    QCOMPARE(b.Id(u"select wncancion as id from tlcancion where dscancion = 'Tope'"_s), qint64(32767));
    QCOMPARE(b.Filas(u"tlcancion"_s, u"wncancion = 0"_s), qint64(3));
    QCOMPARE(b.Filas(u"tlcancion"_s, u"dscancion in ('Nada', 'Cara B', 'Grande') and wncancion = 0"_s), qint64(3));
}

void TestGrabacion::tiemposDeReproduccion()
{
    Banco b;
    CdAnalizado cd = b.NuevoCd();
    cd.Cancion(u"A\\corta.mp3"_s, u"f"_s, u"Ana"_s, u"D"_s, u"Corta"_s, u"1"_s, 2);
    cd.Cancion(u"A\\larga.mp3"_s, u"f"_s, u"Ana"_s, u"D"_s, u"Larga"_s, u"2"_s, 7);
    // A file that is no MP3 at all is stored with no playing time.
    const int rota = cd.Cancion(u"A\\rota.mp3"_s, u"f"_s, u"Ana"_s, u"D"_s, u"Rota"_s, u"3"_s);
    EscribeFichero(cd.lista.Fila(rota).tag, QByteArray(4000, '\0'));
    b.Graba(cd.lista);

    const qint64 corta = b.Id(u"select wntime as id from tlcancion where dscancion = 'Corta'"_s);
    const qint64 larga = b.Id(u"select wntime as id from tlcancion where dscancion = 'Larga'"_s);
    QVERIFY2(qAbs(corta - 2) <= 1, qPrintable(QString::number(corta)));
    QVERIFY2(qAbs(larga - 7) <= 1, qPrintable(QString::number(larga)));
    QCOMPARE(b.Id(u"select wntime as id from tlcancion where dscancion = 'Rota'"_s), qint64(0));
    QCOMPARE(b.Filas(u"tlcancion"_s), qint64(3));
}

void TestGrabacion::imagenesCopiadasUnaVezPorDisco()
{
    Banco b;
    CdAnalizado cd = b.NuevoCd();
    cd.Carpeta(u"Dover\\"_s, u"Dover"_s, u"Late at night"_s);
    cd.Cancion(u"Dover\\01 - Let me out.mp3"_s, u"f"_s, u"Dover"_s, u"Late at night"_s, u"Let me out"_s, u"01"_s);
    const int portada = cd.Imagen(u"Dover\\COVER.JPG"_s, u"Dover"_s, u"Late at night"_s);
    cd.Imagen(u"Dover\\trasera.Gif"_s, u"Dover"_s, u"Late at night"_s);
    // A picture whose folder gave no disc is not recorded.
    cd.Imagen(u"Varios\\suelta.jpg"_s, QString(), QString());
    b.Graba(cd.lista);

    QCOMPARE(b.Filas(u"tlobjetos"_s), qint64(2));
    const qint64 idJpg = b.Id(u"select idobjeto as id from tlobjetos where dspath = 'Dover\\COVER.JPG'"_s);
    const qint64 idGif = b.Id(u"select idobjeto as id from tlobjetos where dspath = 'Dover\\trasera.Gif'"_s);
    // Copies carry the id and the extension in lower case, whatever the case
    // of the file on the CD.
    QCOMPARE(Ficheros(b.Imagenes()), QStringList({u"%1.jpg"_s.arg(idJpg), u"%1.gif"_s.arg(idGif)}));
    QCOMPARE(LeeFichero(QDir(b.Imagenes()).filePath(u"%1.jpg"_s.arg(idJpg))),
             LeeFichero(cd.Ruta(u"Dover\\COVER.JPG"_s)));
    QCOMPARE(CopiaExistente(b.dirPrograma, idGif), QDir(b.Imagenes()).filePath(u"%1.gif"_s.arg(idGif)));

    // The same file under another disc is stored and copied once more.
    cd.lista.PonSubItem(portada, columna::kDisco, u"Follow the city lights"_s);
    b.Graba(cd.lista);
    QCOMPARE(b.Filas(u"tlobjetos"_s), qint64(3));
    QCOMPARE(b.Filas(u"tlobjetos"_s, u"dspath = 'Dover\\COVER.JPG'"_s), qint64(2));
    QCOMPARE(b.Filas(u"tldisco"_s), qint64(2));
    QCOMPARE(Ficheros(b.Imagenes()).size(), 3);
}

void TestGrabacion::imagenesNoGrabadas()
{
    Banco b;
    CdAnalizado cd = b.NuevoCd();
    cd.Cancion(u"Dover\\01.mp3"_s, u"f"_s, u"Dover"_s, u"D"_s, u"Uno"_s, u"01"_s);
    cd.Imagen(u"Dover\\cover.jpg"_s, u"Dover"_s, u"D"_s);
    b.Graba(cd.lista, u"Rock 1"_s, false);
    QCOMPARE(Totales(b), (QList<qint64>{1, 1, 1, 1, 0}));
    QVERIFY(!QFileInfo::exists(b.Imagenes()));
}

void TestGrabacion::grabarDosVecesNoAnadeNada()
{
    Banco b;
    CdAnalizado cd = b.NuevoCd();
    cd.Carpeta(u"Mix\\"_s, u"<Varios Artistas>"_s, u"Mix"_s);
    cd.Cancion(u"Mix\\01.mp3"_s, u"v"_s, u"Ana"_s, u"Mix"_s, u"Uno"_s, u"01"_s);
    cd.Cancion(u"Mix\\02.mp3"_s, u"v"_s, u"Luis"_s, u"Mix"_s, u"Dos"_s, u"02"_s);
    // The same song twice on one CD: the first one stays.
    cd.Cancion(u"Mix\\09.mp3"_s, u"v"_s, u"Ana"_s, u"Mix"_s, u"UNO"_s, u"09"_s);
    cd.Imagen(u"Mix\\cover.jpg"_s, u"<Varios Artistas>"_s, u"Mix"_s);
    cd.Cancion(u"Vacio\\x.mp3"_s, u"f"_s, u"<vacio>"_s, u"<vacio>"_s, u"x"_s, u"00"_s);
    b.Graba(cd.lista);
    const QList<qint64> antes = Totales(b);
    QCOMPARE(antes, (QList<qint64>{4, 2, 1, 3, 1}));
    QCOMPARE(b.bd->PrimerEntero(u"select count(*) from tlcancion where wncancion = 9"_s, {}), qint64(0));
    const QString copia = QDir(b.Imagenes()).filePath(Ficheros(b.Imagenes()).value(0));
    // Mark the copy: a second recording must not copy the picture again.
    EscribeFichero(copia, "marca");

    b.Graba(cd.lista);
    QCOMPARE(Totales(b), antes);
    QCOMPARE(Ficheros(b.Imagenes()).size(), 1);
    QCOMPARE(LeeFichero(copia), QByteArray("marca"));

    // Rows found cost no ids: the next CD's new rows come right after, in
    // the order its rows name them, whatever order its authors come in.
    CdAnalizado otro = b.NuevoCd(u"otro"_s);
    for (const auto& [autor, disco, titulo] : {std::tuple{u"Íñigo"_s, u"Sol"_s, u"Luz"_s}, {u"Ana"_s, u"Mix"_s, u"Uno"_s},
                                              {u"Eva"_s, u"Mar"_s, u"Ola"_s}, {u"Íñigo"_s, u"Sol"_s, u"Sombra"_s},
                                              {u"Ana"_s, u"Río"_s, u"Agua"_s}})
        otro.Cancion(u"%1.mp3"_s.arg(otro.lista.Cuenta()), u"f"_s, autor, disco, titulo, u"01"_s);
    otro.Imagen(u"9.jpg"_s, u"Eva"_s, u"Mar"_s);
    b.Graba(otro.lista, u"Rock 2"_s);
    QCOMPARE(Totales(b), (QList<qint64>{6, 6, 2, 8, 2}));
    QStringList autores;
    for (Consulta r = b.bd->Abre(u"select dsautor from tlautor order by idautor"_s); !r.Fin(); r.Siguiente())
        autores << r.Texto(u"dsautor"_s);
    QCOMPARE(autores, (QStringList{u"Ana"_s, u"<Varios Artistas>"_s, u"Luis"_s, u"<vacio>"_s, u"Íñigo"_s, u"Eva"_s}));
    for (const auto& [tabla, id] : {std::pair{u"tlautor"_s, u"idautor"_s}, {u"tldisco"_s, u"iddisco"_s},
                                    {u"tlcancion"_s, u"idcancion"_s}, {u"tlobjetos"_s, u"idobjeto"_s}})
        QCOMPARE(b.bd->PrimerEntero(u"select max(%1) from %2"_s.arg(id, tabla), {}), b.Filas(tabla));
}

void TestGrabacion::nombresConApostrofos()
{
    Banco b;
    CdAnalizado cd = b.NuevoCd();
    cd.Carpeta(u"Guns N' Roses\\"_s, u"  Guns N' Roses"_s, u"Use Your Illusion"_s);
    cd.Cancion(u"Guns N' Roses\\01 - Don't Cry.mp3"_s, u"f"_s, u"  Guns N' Roses"_s, u"Use Your Illusion"_s,
               u"Don't Cry"_s, u"01"_s);
    cd.Cancion(u"Guns N' Roses\\02 - You're Crazy.mp3"_s, u"f"_s, u"  Guns N' Roses"_s, u"Use Your Illusion"_s,
               u"You're Crazy"_s, u"02"_s);
    cd.Imagen(u"Guns N' Roses\\cover.jpg"_s, u"  Guns N' Roses"_s, u"Use Your Illusion"_s);
    b.Graba(cd.lista, u"Rock 'n' roll"_s);
    b.Graba(cd.lista, u"Rock 'n' roll"_s);

    QCOMPARE(Totales(b), (QList<qint64>{1, 1, 1, 2, 1}));
    Consulta autor = b.bd->Abre(u"select dsautor from tlautor"_s);
    QCOMPARE(autor.Texto(u"dsautor"_s), u"Guns N' Roses"_s);
    QCOMPARE(b.Filas(u"tlcancion"_s, QStringLiteral("dscancion = 'Don''t Cry' and dspath = 'Guns N'' "
                                                    "Roses\\01 - Don''t Cry.mp3'")),
             qint64(1));
    QCOMPARE(b.Filas(u"tlobjetos"_s, u"dspath = 'Guns N'' Roses\\cover.jpg'"_s), qint64(1));
    QCOMPARE(b.Filas(u"tlcd"_s, u"dscd = 'Rock ''n'' roll'"_s), qint64(1));
}

void TestGrabacion::imagenDeOtroAutorNoCambiaElDiscoDeLaCancion()
{
    // A picture row edited by hand to another author, between two songs of
    // one disc name: each row goes under its own author's disc.
    Banco b;
    CdAnalizado cd = b.NuevoCd();
    cd.lista.PonOrdenada(false);
    cd.Cancion(u"A\\01.mp3"_s, u"f"_s, u"Ana"_s, u"Grandes"_s, u"Uno"_s, u"01"_s);
    cd.Imagen(u"A\\cover.jpg"_s, u"Luis"_s, u"Grandes"_s);
    cd.Cancion(u"A\\02.mp3"_s, u"f"_s, u"Ana"_s, u"Grandes"_s, u"Dos"_s, u"02"_s);
    b.Graba(cd.lista);

    const qint64 idana = b.Id(u"select idautor as id from tlautor where dsautor = 'Ana'"_s);
    const qint64 idluis = b.Id(u"select idautor as id from tlautor where dsautor = 'Luis'"_s);
    QCOMPARE(b.Filas(u"tlcancion, tldisco"_s, u"cddisco = iddisco and cdautord = "_s + QString::number(idana)),
             qint64(2));
    QCOMPARE(b.Filas(u"tlobjetos, tldisco"_s, u"idtabla = iddisco and cdautord = "_s + QString::number(idluis)),
             qint64(1));
}

void TestGrabacion::cancionSinAutorNiDiscoQuedaEnElCatalogo()
{
    // Columns emptied by hand: the song still hangs from an author and a disc
    // row, so the catalogue can reach it.
    Banco b;
    CdAnalizado cd = b.NuevoCd();
    cd.Cancion(u"x.mp3"_s, u"f"_s, QString(), QString(), u"Suelta"_s, u"1"_s);
    cd.Cancion(u"y.mp3"_s, u"f"_s, QString(), QString(), QString(), u"2"_s);
    b.Graba(cd.lista);
    QCOMPARE(Totales(b), (QList<qint64>{1, 1, 1, 1, 0}));  // a song without a title is not stored
    QCOMPARE(
        b.Filas(u"tlcancion, tlautor, tldisco"_s, u"cdautor = idautor and cddisco = iddisco and cdautord = idautor"_s),
        qint64(1));
}

void TestGrabacion::imagenIlegibleAMitad()
{
    Banco b;
    CdAnalizado cd = b.NuevoCd();
    cd.Carpeta(u"A\\"_s, u"Ana"_s, u"Uno"_s);
    cd.Cancion(u"A\\01.mp3"_s, u"f"_s, u"Ana"_s, u"Uno"_s, u"Primera"_s, u"01"_s);
    cd.Imagen(u"A\\bien.jpg"_s, u"Ana"_s, u"Uno"_s);
    cd.Imagen(u"A\\mal.jpg"_s, u"Ana"_s, u"Uno"_s);
    cd.Carpeta(u"B\\"_s, u"Bea"_s, u"Dos"_s);
    cd.Cancion(u"B\\01.mp3"_s, u"f"_s, u"Bea"_s, u"Dos"_s, u"Segunda"_s, u"01"_s);
    // The picture cannot be read: a folder stands where the file was.
    const QString mal = cd.Ruta(u"A\\mal.jpg"_s);
    const QByteArray contenido = LeeFichero(mal);
    QVERIFY(QFile::remove(mal));
    QVERIFY(QDir().mkpath(mal));

    AvanceAnotado avance;
    DatosGrabacion d;
    d.descripcion = u"CD"_s;
    d.dirPrograma = b.dirPrograma;
    try {
        GrabaCD(*b.bd, cd.lista, d, &avance);
        QFAIL("the recording should have failed");
    } catch (const LodrinError& e) {
        // The person is told which picture, before anything is written.
        QVERIFY2(e.message().contains(mal) && e.message().contains(u"no se ha grabado nada"_s),
                 qPrintable(e.message()));
    }
    QCOMPARE(avance.terminado, 1);
    // The CD is recorded whole or not at all: no row, and no copy left of
    // the good picture either.
    QCOMPARE(Totales(b), (QList<qint64>{0, 0, 0, 0, 0}));
    QCOMPARE(Ficheros(b.Imagenes()), QStringList());

    // Once the file can be read, recording again records the CD once.
    QVERIFY(QDir().rmdir(mal));
    EscribeFichero(mal, contenido);
    GrabaCD(*b.bd, cd.lista, d, &avance);
    QCOMPARE(Totales(b), (QList<qint64>{2, 2, 1, 2, 2}));
    const qint64 idmal = b.Id(u"select idobjeto as id from tlobjetos where dspath = 'A\\mal.jpg'"_s);
    QCOMPARE(LeeFichero(CopiaExistente(b.dirPrograma, idmal)), contenido);
    QCOMPARE(Ficheros(b.Imagenes()).size(), 2);
}

void TestGrabacion::sentenciaRechazadaAMitad()
{
    Banco b;
    CdAnalizado cd = b.NuevoCd();
    cd.Cancion(u"A\\01.mp3"_s, u"f"_s, u"Ana"_s, u"Uno"_s, u"Primera"_s, u"01"_s);
    cd.Cancion(u"A\\02.mp3"_s, u"f"_s, u"Ana"_s, u"Uno"_s, u"Veneno"_s, u"02"_s);
    cd.Cancion(u"A\\03.mp3"_s, u"f"_s, u"Ana"_s, u"Uno"_s, u"Tercera"_s, u"03"_s);
    RechazaCanciones(*b.bd, u"Veneno"_s);
    try {
        b.Graba(cd.lista);
        QFAIL("the recording should have failed");
    } catch (const LodrinError& e) {
        QVERIFY2(e.message().contains(u"cancion rechazada"_s), qPrintable(e.message()));
    }
    QCOMPARE(Totales(b), (QList<qint64>{0, 0, 0, 0, 0}));

    RechazaCanciones(*b.bd, QString());
    b.Graba(cd.lista);
    QCOMPARE(Totales(b), (QList<qint64>{1, 1, 1, 3, 0}));
    QCOMPARE(b.Filas(u"tlcancion"_s, u"dscancion = 'Primera'"_s), qint64(1));
}

void TestGrabacion::comparaMarcaLasFilas()
{
    Banco b;
    CdAnalizado uno = b.NuevoCd(u"uno"_s);
    uno.Cancion(u"Dover\\01.mp3"_s, u"f"_s, u"Dover"_s, u"Devil"_s, u"Serenade"_s, u"01"_s);
    uno.Cancion(u"Dover\\02.mp3"_s, u"f"_s, u"Dover"_s, u"Devil"_s, u"Judas"_s, u"02"_s);
    uno.Cancion(u"Nadie\\x.mp3"_s, u"f"_s, u"Nadie"_s, u"<vacio>"_s, u"Sin disco"_s, u"00"_s);
    b.Graba(uno.lista, u"Uno"_s);
    const QList<qint64> antes = Totales(b);

    CdAnalizado otro = b.NuevoCd(u"otro"_s);
    otro.lista.PonOrdenada(false);
    const int serenade = otro.Cancion(u"Dover\\01.mp3"_s, u"f"_s, u"DOVER"_s, u"Devil"_s, u"Serenade"_s, u"1"_s);
    const int judas = otro.Cancion(u"Dover\\02.mp3"_s, u"f"_s, u"Dover"_s, u"devil!"_s, u"JUDAS"_s, u"2"_s);
    const int nueva = otro.Cancion(u"Dover\\03.mp3"_s, u"f"_s, u"Dover"_s, u"Devil"_s, u"Nueva"_s, u"3"_s);
    const int otroDisco = otro.Cancion(u"Dover\\04.mp3"_s, u"f"_s, u"Dover"_s, u"Otro"_s, u"Serenade"_s, u"4"_s);
    const int sinDisco = otro.Cancion(u"Nadie\\x.mp3"_s, u"f"_s, u"Nadie"_s, u"<vacio>"_s, u"Sin disco"_s, u"00"_s);
    const int imagen = otro.Imagen(u"Dover\\cover.jpg"_s, u"Dover"_s, u"Devil"_s);
    const int carpeta = otro.Carpeta(u"Dover\\"_s, u"Dover"_s, u"Devil"_s);
    const int sinAnalizar = otro.SinAnalizar(u"Dover\\05.mp3"_s, u"f"_s);
    otro.lista.Fila(sinDisco).icono = u"true"_s;  // a mark of an earlier comparison

    ComparaCD(*b.bd, otro.lista);
    QCOMPARE(otro.lista.Fila(serenade).icono, u"true"_s);
    QCOMPARE(otro.lista.Fila(judas).icono, u"true"_s);
    QCOMPARE(otro.lista.Fila(nueva).icono, u"false"_s);
    QCOMPARE(otro.lista.Fila(otroDisco).icono, u"false"_s);
    QCOMPARE(otro.lista.Fila(sinDisco).icono, u"false"_s);
    QCOMPARE(otro.lista.Fila(imagen).icono, u"img"_s);
    QCOMPARE(otro.lista.Fila(carpeta).icono, u"abierta"_s);
    QCOMPARE(otro.lista.Fila(sinAnalizar).icono, u"nota"_s);
    // Only icons change, and the catalogue is only read.
    QCOMPARE(otro.lista.SubItem(judas, columna::kAutor), u"Dover"_s);
    QCOMPARE(otro.lista.SubItem(judas, columna::kDisco), u"devil!"_s);
    QCOMPARE(otro.lista.CuentaSubItems(sinAnalizar), 1);
    QCOMPARE(Totales(b), antes);
}

void TestGrabacion::comparaNoTomaAutoresElegidosPorIds()
{
    // An author chosen while decoding but never recorded has no songs in the
    // catalogue, whatever ids the recorded authors have.
    Banco b;
    CdAnalizado uno = b.NuevoCd(u"uno"_s);
    uno.Cancion(u"A\\01.mp3"_s, u"f"_s, u"Dover"_s, u"Devil"_s, u"Serenade"_s, u"01"_s);
    b.Graba(uno.lista);
    QCOMPARE(b.Id(u"select idautor as id from tlautor"_s), qint64(1));
    b.bd->autoresNuevos().AnadeAutorNuevo(u"DOWER"_s);

    CdAnalizado otro = b.NuevoCd(u"otro"_s);
    const int fila = otro.Cancion(u"A\\01.mp3"_s, u"f"_s, u"Dower"_s, u"Devil"_s, u"Serenade"_s, u"01"_s);
    ComparaCD(*b.bd, otro.lista);
    QCOMPARE(otro.lista.Fila(fila).icono, u"false"_s);
    QCOMPARE(b.Filas(u"tlautor"_s), qint64(1));
}

void TestGrabacion::comparaVariosArtistas()
{
    Banco b;
    CdAnalizado uno = b.NuevoCd(u"uno"_s);
    uno.Cancion(u"Mix\\01.mp3"_s, u"v"_s, u"Ana"_s, u"Mix"_s, u"Uno"_s, u"01"_s);
    // Luis has a disc of his own named Mix; his song is not on the compilation.
    uno.Cancion(u"Luis\\02.mp3"_s, u"f"_s, u"Luis"_s, u"Mix"_s, u"Dos"_s, u"02"_s);
    b.Graba(uno.lista);

    CdAnalizado otro = b.NuevoCd(u"otro"_s);
    otro.lista.PonOrdenada(false);
    const int ana = otro.Cancion(u"Mix\\01.mp3"_s, u"v"_s, u"Ana"_s, u"Mix"_s, u"Uno"_s, u"01"_s);
    const int luis = otro.Cancion(u"Mix\\02.mp3"_s, u"v"_s, u"Luis"_s, u"Mix"_s, u"Dos"_s, u"02"_s);
    const int anaSola = otro.Cancion(u"Ana\\01.mp3"_s, u"f"_s, u"Ana"_s, u"Mix"_s, u"Uno"_s, u"01"_s);
    const int luisSolo = otro.Cancion(u"Luis\\02.mp3"_s, u"f"_s, u"Luis"_s, u"Mix"_s, u"Dos"_s, u"02"_s);
    ComparaCD(*b.bd, otro.lista);
    QCOMPARE(otro.lista.Fila(ana).icono, u"true"_s);
    QCOMPARE(otro.lista.Fila(luis).icono, u"false"_s);
    QCOMPARE(otro.lista.Fila(anaSola).icono, u"false"_s);
    QCOMPARE(otro.lista.Fila(luisSolo).icono, u"true"_s);
}

QTEST_GUILESS_MAIN(TestGrabacion)
#include "test_grabacion.moc"
