// The listing page written from a real catalogue, line by line.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include "catalogoprueba.h"
#include "autorun/arbol.h"
#include "autorun/escribeautorun.h"
#include "autorun/filas.h"
#include "catalogue/navegador.h"
#include "catalogue/nombres.h"
#include "decoding/campos.h"
#include "listing/listado.h"
#include "store/catalogo.h"
#include "support/motorprueba.h"
#include "support/testsupport.h"

namespace {

const QString kPre = QStringLiteral("<pre style=\"line-height: 0ex\">");
const QString kDiv = QStringLiteral("</div><div align=\"left\">");
const QString kBlanco = QStringLiteral("<pre style=\"line-height: 0ex\">&nbsp;</pre> ");

QStringList apertura()
{
    return {QStringLiteral("<html>"), QStringLiteral("<head>"), QStringLiteral("<meta charset=\"utf-8\">"),
            QStringLiteral("<title>Listado de canciones</title>"), QStringLiteral("</head>"),
            QStringLiteral("<body>")};
}

QStringList cierre() { return {QStringLiteral("</body>"), QStringLiteral("</html>")}; }

QString autor(const QString& nombre) { return QStringLiteral("<p align=\"left\"><h1>") + nombre + QStringLiteral("</h1></p>"); }
QString disco(const QString& nombre) { return QStringLiteral("<p align=\"left\"><big>") + nombre + QStringLiteral("</big></p>"); }
QStringList cancion(const QString& texto) { return {kDiv, kPre + QLatin1Char(' ') + texto + QStringLiteral("</pre>")}; }
QString imagen(const QString& fichero, const char* lado)
{
    return QStringLiteral("<p><img src=\"imagenes/") + fichero + QStringLiteral("\" width=\"150\" height=\"150\" align=\"") +
           QLatin1String(lado) + QStringLiteral("\"></p>");
}
QStringList blancos(int n) { return QStringList(qsizetype(n), kBlanco); }

QString titulo(const QString& filtros)
{
    return QStringLiteral("<p align=\"center\"><big><big><big><big>Listado ") + filtros + QStringLiteral("</big></p>");
}
QString filtros(const QString& cd, const QString& autor, const QString& disco)
{
    return QStringLiteral("<p align=\"center\">") + cd + QStringLiteral("--") + autor + QStringLiteral("--") + disco +
           QStringLiteral("</big></big></big></p>");
}

}  // namespace

class TestListado : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString programa_;
    Catalogo* bd_ = nullptr;
    CatalogoPrueba c_;

    QStringList genera(const OpcionesListado& op, const QString& nombre = QStringLiteral("listado.htm"))
    {
        GeneraListado(*bd_, programa_, nombre, op);
        return LineasDe(QDir(programa_).filePath(nombre));
    }

    void comparaLineas(const QStringList& real, const QStringList& esperado)
    {
        for (int i = 0; i < qMin(real.size(), esperado.size()); ++i)
            QCOMPARE(real[i], esperado[i]);
        QCOMPARE(real.size(), esperado.size());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        programa_ = dir_.filePath(QStringLiteral("programa"));
        QVERIFY(QDir().mkpath(programa_));
        bd_ = new Catalogo(CatalogoDePrueba(programa_), QStringLiteral("listado"));
        bd_->AbreBaseDatos();
        c_ = LlenaCatalogo(*bd_, programa_, dir_.filePath(QStringLiteral("cd")));
        QVERIFY(c_.portadaPrimero > 0 && c_.portadaLive > 0);
    }
    void cleanupTestCase() { delete bd_; }

    void tiempos_data()
    {
        QTest::addColumn<qint64>("segundos");
        QTest::addColumn<QString>("texto");
        QTest::newRow("nada") << qint64(0) << QString();
        QTest::newRow("negativo") << qint64(-5) << QString();
        QTest::newRow("menos de un minuto") << qint64(45) << QStringLiteral("(00:45)");
        QTest::newRow("minuto justo") << qint64(60) << QStringLiteral("(01:00)");
        QTest::newRow("una cifra") << qint64(245) << QStringLiteral("(04:05)");
        QTest::newRow("dos cifras") << qint64(754) << QStringLiteral("(12:34)");
        QTest::newRow("cien minutos") << qint64(6000) << QStringLiteral("(100:00)");
        QTest::newRow("ultimo segundo") << qint64(5999) << QStringLiteral("(99:59)");
    }
    void tiempos()
    {
        QFETCH(qint64, segundos);
        QFETCH(QString, texto);
        QCOMPARE(FormatoTiempo(segundos), texto);
    }

    // Only authors and discs with songs show; the special names get their
    // display texts and every catalogue text is escaped.
    void sinFiltrosSinCancionesNiImagenes()
    {
        const QStringList lineas = genera({});
        comparaLineas(lineas, apertura() +
                                  QStringList{titulo(QString()),
                                              filtros(QStringLiteral("Cualquier CD"), QStringLiteral("Cualquier autor"),
                                                      QStringLiteral("Cualquier disco")),
                                              autor(QStringLiteral("Ana")), disco(QStringLiteral("Primero")),
                                              autor(QStringLiteral("Bruno")), disco(QStringLiteral("Alfa")),
                                              disco(QStringLiteral("Zeta")),
                                              autor(QStringLiteral("Simon &amp; Garfunkel")),
                                              disco(QStringLiteral("&lt;Live&gt;")), autor(QStringLiteral("Sin Autor")),
                                              disco(QStringLiteral("Sin disco")),
                                              autor(QStringLiteral("Varios Artistas")),
                                              disco(QStringLiteral("Recopilación"))} +
                                  cierre());
    }

    void sinFiltrosTodo()
    {
        OpcionesListado op;
        op.canciones = true;
        op.imagenes = true;
        const QString jpg = QString::number(c_.portadaPrimero) + QStringLiteral(".jpg");
        const QString gif = QString::number(c_.portadaLive) + QStringLiteral(".gif");
        const QStringList esperado =
            apertura() +
            QStringList{titulo(QString()), filtros(QStringLiteral("Cualquier CD"), QStringLiteral("Cualquier autor"),
                                                   QStringLiteral("Cualquier disco")),
                        autor(QStringLiteral("Ana")), disco(QStringLiteral("Primero")), imagen(jpg, "right")} +
            cancion(QStringLiteral("Tres")) + cancion(QStringLiteral("1-Uno(04:05)")) +
            cancion(QStringLiteral("2-Dos(12:34)")) + blancos(7) +
            QStringList{autor(QStringLiteral("Bruno")), disco(QStringLiteral("Alfa"))} +
            cancion(QStringLiteral("1-Aurora(100:00)")) + QStringList{disco(QStringLiteral("Zeta"))} +
            cancion(QStringLiteral("1-Zumbido(00:45)")) +
            QStringList{autor(QStringLiteral("Simon &amp; Garfunkel")), disco(QStringLiteral("&lt;Live&gt;")),
                        imagen(gif, "right")} +
            cancion(QStringLiteral("7-Mrs. &lt;Robinson&gt; &amp; Don't(01:00)")) + blancos(9) +
            QStringList{autor(QStringLiteral("Sin Autor")), disco(QStringLiteral("Sin disco"))} +
            cancion(QStringLiteral("1-Algo(01:40)")) +
            QStringList{autor(QStringLiteral("Varios Artistas")), disco(QStringLiteral("Recopilación"))} +
            cancion(QStringLiteral("3-Intro-Ana(01:35)")) + cancion(QStringLiteral("4-Otra-Bruno(01:01)")) + cierre();
        comparaLineas(genera(op), esperado);
        // The picture lines name copies that are really there.
        QVERIFY(QFile::exists(QDir(programa_).filePath(QStringLiteral("imagenes/") + jpg)));
        QVERIFY(QFile::exists(QDir(programa_).filePath(QStringLiteral("imagenes/") + gif)));
    }

    void imagenesSinCanciones()
    {
        OpcionesListado op;
        op.imagenes = true;
        op.iddisco = c_.primero;
        const QStringList lineas = genera(op);
        comparaLineas(lineas.mid(8), QStringList{autor(QStringLiteral("Ana")), disco(QStringLiteral("Primero")),
                                                 imagen(QString::number(c_.portadaPrimero) + QStringLiteral(".jpg"), "left")} +
                                         blancos(10) + cierre());
    }

    // A picture whose copy went missing keeps its line: under the usual name
    // on the file; on a server its bytes come back into the folder.
    void imagenSinCopia()
    {
        const bool servidor = PruebaEnServidor();
        const QString copia = QDir(programa_).filePath(QStringLiteral("imagenes/%1.gif").arg(c_.portadaLive));
        const QString aparte = copia + QStringLiteral(".aparte");
        QVERIFY(QFile::rename(copia, aparte));
        OpcionesListado op;
        op.imagenes = true;
        op.iddisco = c_.live;
        const QStringList lineas = genera(op);
        const QByteArray vuelta = LeeFichero(copia);
        QFile::remove(copia);
        QFile::rename(aparte, copia);
        QCOMPARE(lineas.mid(10, 1), QStringList{imagen(QString::number(c_.portadaLive) +
                                                           (servidor ? QStringLiteral(".gif") : QStringLiteral(".jpg")),
                                                       "left")});
        QCOMPARE(vuelta, servidor ? LeeFichero(copia) : QByteArray());
    }

    void cabeceras_data()
    {
        QTest::addColumn<bool>("cd");
        QTest::addColumn<bool>("autor");
        QTest::addColumn<bool>("disco");
        QTest::addColumn<QString>("linea1");
        QTest::addColumn<QString>("linea2");
        QTest::newRow("autor y disco") << false << true << true << QStringLiteral(" Autor  Disco ")
                                       << QStringLiteral("Cualquier CD--Bruno--Zeta");
        QTest::newRow("los tres") << true << true << true << QStringLiteral(" CD  Autor  Disco ")
                                  << QStringLiteral("Música &amp; más--Bruno--Zeta");
        QTest::newRow("solo cd") << true << false << false << QStringLiteral(" CD ")
                                 << QStringLiteral("Música &amp; más--Cualquier autor--Cualquier disco");
        QTest::newRow("solo disco") << false << false << true << QStringLiteral(" Disco ")
                                    << QStringLiteral("Cualquier CD--Cualquier autor--Zeta");
    }
    void cabeceras()
    {
        QFETCH(bool, cd);
        QFETCH(bool, autor);
        QFETCH(bool, disco);
        QFETCH(QString, linea1);
        QFETCH(QString, linea2);
        OpcionesListado op;
        op.idcd = cd ? c_.cd2 : 0;
        op.idautor = autor ? c_.bruno : 0;
        op.iddisco = disco ? c_.zeta : 0;
        const QStringList lineas = genera(op);
        QCOMPARE(lineas.value(6), titulo(linea1));
        QCOMPARE(lineas.value(7), QStringLiteral("<p align=\"center\">") + linea2 +
                                      QStringLiteral("</big></big></big></p>"));
    }

    // An author's compilations are listed with that author's songs only.
    void filtroAutorConRecopilaciones()
    {
        OpcionesListado op;
        op.idautor = c_.ana;
        op.canciones = true;
        comparaLineas(genera(op).mid(8),
                      QStringList{autor(QStringLiteral("Ana")), disco(QStringLiteral("Primero"))} +
                          cancion(QStringLiteral("Tres")) + cancion(QStringLiteral("1-Uno(04:05)")) +
                          cancion(QStringLiteral("2-Dos(12:34)")) +
                          QStringList{autor(QStringLiteral("Varios Artistas")), disco(QStringLiteral("Recopilación"))} +
                          cancion(QStringLiteral("3-Intro-Ana(01:35)")) + cierre());
    }

    // Choosing the various-artists author lists its compilations whole.
    void filtroVariosArtistas()
    {
        OpcionesListado op;
        op.idautor = c_.varios;
        op.canciones = true;
        const QStringList lineas = genera(op);
        QCOMPARE(lineas.value(7), filtros(QStringLiteral("Cualquier CD"), QStringLiteral("&lt;Varios Artistas&gt;"),
                                          QStringLiteral("Cualquier disco")));
        comparaLineas(lineas.mid(8), QStringList{autor(QStringLiteral("Varios Artistas")),
                                                 disco(QStringLiteral("Recopilación"))} +
                                         cancion(QStringLiteral("3-Intro-Ana(01:35)")) +
                                         cancion(QStringLiteral("4-Otra-Bruno(01:01)")) + cierre());
    }

    // Bruno's first disc is on the other CD; his heading still comes before
    // the disc that is listed.
    void filtroCd()
    {
        OpcionesListado op;
        op.idcd = c_.cd1;
        const QStringList lineas = genera(op);
        comparaLineas(lineas.mid(8), QStringList{autor(QStringLiteral("Ana")), disco(QStringLiteral("Primero")),
                                                 autor(QStringLiteral("Bruno")), disco(QStringLiteral("Zeta")),
                                                 autor(QStringLiteral("Simon &amp; Garfunkel")),
                                                 disco(QStringLiteral("&lt;Live&gt;")), autor(QStringLiteral("Sin Autor")),
                                                 disco(QStringLiteral("Sin disco")),
                                                 autor(QStringLiteral("Varios Artistas")),
                                                 disco(QStringLiteral("Recopilación"))} +
                                         cierre());
        op.idcd = c_.cd2;
        op.canciones = true;
        comparaLineas(genera(op).mid(8), QStringList{autor(QStringLiteral("Bruno")), disco(QStringLiteral("Alfa"))} +
                                             cancion(QStringLiteral("1-Aurora(100:00)")) + cierre());
    }

    // A filter naming a row that is gone lists nothing and leaves its heading blank.
    void filtroDesaparecido()
    {
        OpcionesListado op;
        op.idautor = 9999;
        const QStringList lineas = genera(op);
        QCOMPARE(lineas.value(7), filtros(QStringLiteral("Cualquier CD"), QString(), QStringLiteral("Cualquier disco")));
        comparaLineas(lineas.mid(8), cierre());
    }

    void progreso()
    {
        struct Anotado : Avance {
            int maximo = -1, pasos = 0, finales = 0;
            void Empieza(int n) override { maximo = n; }
            void Avanza(int valor) override { pasos = valor; }
            void Termina() override { ++finales; }
        } p;
        int &maximo = p.maximo, &pasos = p.pasos, &finales = p.finales;
        GeneraListado(*bd_, programa_, QStringLiteral("listado.htm"), {}, &p);
        // One step per author and disc pair, songs or not (Carla's empty disc too).
        QCOMPARE(maximo, 7);
        QCOMPARE(pasos, 7);
        QCOMPARE(finales, 1);
        maximo = -1;
        OpcionesListado op;
        op.iddisco = 9999;
        GeneraListado(*bd_, programa_, QStringLiteral("listado.htm"), op, &p);
        QCOMPARE(maximo, -1);
        QCOMPARE(finales, 2);
    }

    // A name is a file name in the program's folder: one with folders in it
    // would put the page elsewhere or out of reach of its pictures. It is
    // refused and nothing is written anywhere.
    void salidaImposible()
    {
        QVERIFY(QDir(programa_).mkpath(QStringLiteral("listados")));
        const QStringList antes = QDir(dir_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        for (const QString& nombre : {QStringLiteral("listados\\todo.htm"), QStringLiteral("..\\fuera.htm"),
                                      QStringLiteral("../fuera.htm"), QStringLiteral("falta/x.htm"),
                                      QStringLiteral(".."), QStringLiteral("c:x.htm"), QStringLiteral("a\nb.htm")}) {
            try {
                GeneraListado(*bd_, programa_, nombre, {});
                QFAIL(qPrintable(nombre));
            } catch (const FalloSalida& e) {
                QVERIFY2(e.message().endsWith(QStringLiteral("pon solo un nombre de fichero, sin carpetas")),
                         qPrintable(e.message()));
            }
        }
        QCOMPARE(QDir(dir_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), antes);
        QVERIFY(QDir(QDir(programa_).filePath(QStringLiteral("listados"))).isEmpty());
        // A folder of that name stays a folder.
        QVERIFY_THROWS_EXCEPTION(FalloSalida, GeneraListado(*bd_, programa_, QStringLiteral("imagenes"), {}));
        QVERIFY(QFileInfo(QDir(programa_).filePath(QStringLiteral("imagenes"))).isDir());
    }

    // The listing never replaces the catalogue it reads, whatever case or
    // form the name takes.
    void salidaSobreElCatalogo()
    {
        if (PruebaEnServidor())
            QSKIP("only a catalogue file can stand where the listing is written");
        const QByteArray antes = LeeFichero(bd_->ruta());
        for (const QString& nombre : {QStringLiteral("anterior.mdb"), QStringLiteral(".\\anterior.mdb"),
                                      QStringLiteral("anterior.mdb-wal")})
            QVERIFY_THROWS_EXCEPTION(FalloSalida, GeneraListado(*bd_, programa_, nombre, {}));
        QCOMPARE(LeeFichero(bd_->ruta()), antes);
        QCOMPARE(EntradasCd(*bd_).size(), 3);
    }

    // A listing that fails half way leaves the previous page as it was, and
    // no stray file beside it.
    void fallaAMitadConservaAnterior()
    {
        const QString ruta = QDir(programa_).filePath(QStringLiteral("viejo.htm"));
        EscribeFichero(ruta, "anterior");
        const QStringList antes = QDir(programa_).entryList(QDir::Files);
        Catalogo roto(QDir(programa_).filePath(QStringLiteral("roto.mdb")), QStringLiteral("roto"));
        roto.AbreBaseDatos();
        LlenaCatalogo(roto, dir_.filePath(QStringLiteral("otro")), dir_.filePath(QStringLiteral("cd2")));
        roto.Ejecuta(QStringLiteral("drop table tlcancion"));
        const QStringList conRoto = QDir(programa_).entryList(QDir::Files);
        QVERIFY_THROWS_EXCEPTION(LodrinError, GeneraListado(roto, programa_, QStringLiteral("viejo.htm"), {}));
        QCOMPARE(LeeFichero(ruta), QByteArray("anterior"));
        QCOMPARE(QDir(programa_).entryList(QDir::Files), conRoto);
        QVERIFY(antes.contains(QStringLiteral("viejo.htm")));

        // A complete page does replace it.
        GeneraListado(*bd_, programa_, QStringLiteral("viejo.htm"), {});
        QCOMPARE(LineasDe(ruta).value(0), QStringLiteral("<html>"));
    }

    // One Spanish order on the names as shown, numbers by their value,
    // wherever names are listed: the listing's combo and pages, the
    // browser's tree, the work list and the viewer's file.
    void unOrdenEnTodasPartes()
    {
        const QStringList esperado{"2 Minutos", "10 Años", "AC/DC", "Aca", "De Luxe", "Del Amo", "Nube", "Ñu", "Oso"};
        QTemporaryDir dir;
        Catalogo bd(dir.filePath("anterior.mdb"), "orden");
        bd.AbreBaseDatos();
        ListaTrabajo lista;
        // Recorded in reverse, so no order of recording can pass for the right one.
        for (qsizetype i = esperado.size() - 1; i >= 0; --i) {
            QString autor = esperado[i], disco = "Disco", titulo = "Uno";
            const qint64 idautor = DameAutor(bd, autor, true);
            const qint64 iddisco = DameDisco(bd, disco, idautor, true);
            QString ruta = autor + "\\Disco\\Uno.mp3";
            DameCancion(bd, titulo, idautor, iddisco, DameCd(bd, "CD", "1234-ABCD", true), 1, ruta, false, true, 180);
            AnadeFila(lista, autor + "\\Disco\\01-Uno.mp3", "/cd/x.mp3", "f", autor, "Disco", "Uno", "01");
        }
        QStringList combo;
        for (const EntradaCombo& e : EntradasAutor(bd).mid(1))
            combo << e.texto;
        QCOMPARE(combo, esperado);
        QStringList arbol;
        for (const NodoBD& n : ArbolBD(bd, 1))
            if (!n.padre.isEmpty())
                arbol << n.texto;
        QCOMPARE(arbol, esperado);
        GeneraListado(bd, dir.path(), "orden.htm", {});
        QStringList paginas;
        for (const QString& l : LineasDe(dir.filePath("orden.htm")))
            if (l.startsWith("<p align=\"left\"><h1>"))
                paginas << l.mid(20).chopped(9);
        QCOMPARE(paginas, esperado);
        QStringList filas;
        for (int i = 1; i <= lista.Cuenta(); ++i)
            filas << lista.Fila(i).texto.section(u'\\', 0, 0);
        QCOMPARE(filas, esperado);
        CamposLlevados campos;
        const QStringList visor = QString::fromUtf8(TextoAutorun(GeneraArbol(lista, campos), true)).split("\r\n");
        QStringList autores;
        for (qsizetype i = 0; i + 1 < visor.size(); ++i)
            if (visor[i] == "[label]")
                autores << visor[i + 1];
        QCOMPARE(autores, esperado);
    }

    void entradasDeLosCombos()
    {
        const QVector<EntradaCombo> autores = EntradasAutor(*bd_);
        QStringList textos;
        for (const EntradaCombo& e : autores)
            textos << e.texto;
        // By the names shown: the bracketed ones come before the letters.
        QCOMPARE(textos, (QStringList{QStringLiteral("Todos los autores"), QStringLiteral("<vacio>"),
                                      QStringLiteral("<Varios Artistas>"), QStringLiteral("Ana"), QStringLiteral("Bruno"),
                                      QStringLiteral("Carla"), QStringLiteral("Simon & Garfunkel")}));
        QCOMPARE(autores[0].id, 0);
        QCOMPARE(autores[0].imagen, QStringLiteral("GrupoAutor"));
        QCOMPARE(autores[4].id, c_.bruno);
        QCOMPARE(autores[4].imagen, QStringLiteral("autor"));

        // The lists' contents in the window are checked by the window test;
        // here the pictures of the other two lists.
        QCOMPARE(EntradasDisco(*bd_, c_.bruno).value(0).imagen, QStringLiteral("GrupoCD"));
        QCOMPARE(EntradasDisco(*bd_, c_.bruno).value(1).imagen, QStringLiteral("disco"));
        QCOMPARE(EntradasCd(*bd_).value(0).imagen, QStringLiteral("GrupoCD"));
        QCOMPARE(EntradasCd(*bd_).value(1).imagen, QStringLiteral("cd"));
    }
};

QTEST_GUILESS_MAIN(TestListado)
#include "test_listado.moc"
