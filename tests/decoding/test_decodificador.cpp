// The file-name decoder with the typical masks of a new catalogue: splits,
// scores, acceptance, the second split, and the text helpers it rests on.
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "catalogue/nombres.h"
#include "decoding/decodificador.h"
#include "decoding/mascaras.h"
#include "store/catalogo.h"
#include "support/electorguionado.h"

namespace {

// A new catalogue (holding the nineteen typical masks), its mask list loaded
// as an analysis run loads it, and a scripted chooser.
struct Banco {
    QTemporaryDir dir;
    Catalogo bd;
    ListaMascaras mascaras;
    ElectorGuionado elector;
    ContextoDecodificacion ctx{bd, mascaras, elector};

    explicit Banco(const QString& conexion, const QStringList& soloEstas = {})
        : bd(dir.filePath("anterior.mdb"), conexion)
    {
        bd.AbreBaseDatos();
        if (!soloEstas.isEmpty()) {
            bd.Ejecuta("delete from tlmascara");
            for (const QString& m : soloEstas)
                AnadeMascara(bd, m);
        }
        mascaras.CargaMascaras(bd);
    }
    // Unrelated values in the fields, as left by some other folder.
    static CamposLlevados Ajenos(const QString& ruta)
    {
        return {ruta, "Otro autor", "Otro disco", "Otra cancion", "09"};
    }
};

QStringList Mascaras(const ElectorGuionado::Vista& v)
{
    QStringList m;
    for (const auto& c : v.candidatos)
        m << c.mascara;
    return m;
}

const CandidatoDecodificacion* DeMascara(const ElectorGuionado::Vista& v, const QString& mascara, int cual = 1)
{
    const int f = ElectorGuionado::FilaDe(v, mascara, cual);
    return f ? &v.candidatos[f - 1] : nullptr;
}

}  // namespace

class TestDecodificador : public QObject {
    Q_OBJECT
private slots:
    void busquedas();
    void esPosicion();
    void comodines_data();
    void comodines();
    void carpetasAutorDiscoCancion();
    void parentesisYBarraEnLaCancion();
    void posicionYPuntos();
    void segundaDivision();
    void segundaDivisionDeVariosSeparadores();
    void posicionDeTrack();
    void posicionQueNoEsNumero();
    void autorConocidoPuntua80();
    void eleccionGuardaMascaraYAutor();
    void cancelarVaciaLosCampos();
    void sinMascarasDialogoVacio();
    void segundoFicheroAceptadoSinDialogo();
    void posicionSacadaDeLaCancion();
    void casillaMismoDirectorio();
    void casillaSeBorraSinContinuacion();
    void mismaLecturaQueElFicheroAnterior();
    void literalesAlPrincipioDeLaMascara();
    void comodinEnElSeparador();
    void componenteVacio();
    void empatesEnOrdenDeLlegada();
};

void TestDecodificador::busquedas()
{
    QCOMPARE(BuscaDesdeFinal("a-b-c", "-"), 4);
    QCOMPARE(BuscaDesdeFinal("abc", "-"), 1);
    QCOMPARE(BuscaDesdeFinal("-bc", "-"), 1);
    QCOMPARE(BuscaDesdeFinal("abc", ""), 5);
    QCOMPARE(BuscaDesdeFinal("a\\b\\c.mp3", "\\"), 4);
    QCOMPARE(BuscaDesdeFinal("ab", "abcd"), 1);  // longer than the text: not there
    QCOMPARE(BuscaDesdeFinal("x) -y) -z", ") -"), 6);
    QCOMPARE(BuscaDesdeInicio("a-b-c", "-"), 2);
    QCOMPARE(BuscaDesdeInicio("abc", "-"), 3);
    QCOMPARE(BuscaDesdeInicio("abc-", "-"), 4);
    QCOMPARE(BuscaDesdeInicio("", "-"), 0);
    QCOMPARE(BuscaDesdeInicio("x) -y) -z", ") -"), 2);
}

void TestDecodificador::esPosicion()
{
    QVERIFY(EsPosicion("07"));
    QVERIFY(EsPosicion(" 7"));
    QVERIFY(EsPosicion(""));
    QVERIFY(!EsPosicion("7a"));
    QVERIFY(!EsPosicion("<vacio>"));
    QVERIFY(!EsPosicion("-1"));
    QCOMPARE(QuitaBlancos("  Judas \t "), QString("Judas \t"));
}

void TestDecodificador::comodines_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("patron");
    QTest::addColumn<bool>("coincide");
    QTest::newRow("estrella vacia") << "\\Judas" << "*\\*" << true;
    QTest::newRow("todo el texto") << "Dover\\Judas" << "*-*" << false;
    QTest::newRow("mayusculas") << "dover\\Judas" << "D*" << false;
    QTest::newRow("interrogacion") << "01-Judas" << "?" "?-*" << true;
    QTest::newRow("interrogacion corta") << "1-Judas" << "?" "?-*" << false;
    QTest::newRow("almohadilla") << "07 Judas" << "## *" << true;
    QTest::newRow("almohadilla letra") << "0x Judas" << "## *" << false;
    QTest::newRow("lista") << "Disco B" << "* [AB]" << true;
    QTest::newRow("lista fuera") << "Disco C" << "* [AB]" << false;
    QTest::newRow("lista negada") << "Disco C" << "* [!AB]" << true;
    QTest::newRow("rango") << "Cd3" << "Cd[1-4]" << true;
    QTest::newRow("rango fuera") << "Cd5" << "Cd[1-4]" << false;
    QTest::newRow("corchete sin cerrar") << "a[b" << "a[b" << true;
    QTest::newRow("vuelta atras") << "a-b-c-d" << "*-*-d" << true;
    QTest::newRow("varias estrellas") << "abc" << "**" << true;
    QTest::newRow("texto vacio") << "" << "*" << true;
    QTest::newRow("texto vacio con separador") << "" << "*-*" << false;
}

void TestDecodificador::comodines()
{
    QFETCH(QString, texto);
    QFETCH(QString, patron);
    QFETCH(bool, coincide);
    QCOMPARE(CoincideComodines(texto, patron), coincide);
}

void TestDecodificador::carpetasAutorDiscoCancion()
{
    Banco b("carpetas");
    CamposLlevados c = Banco::Ajenos("Dover\\Devil come to me\\Judas.mp3");
    QVERIFY(DecodificaFichero(b.ctx, c, false));  // the script gives up
    QCOMPARE(b.elector.vistas.size(), 1);
    const auto& v = b.elector.vistas[0];
    QCOMPARE(v.ruta, QString("Dover\\Devil come to me\\Judas.mp3"));
    QCOMPARE(Mascaras(v), (QStringList{"a\\d\\c", "a\\c", "d\\c", "c"}));
    QCOMPARE(v.candidatos[0], (CandidatoDecodificacion{"Dover", "Devil come to me", "Judas", "<vacio>", "a\\d\\c", 30}));
    QCOMPARE(v.candidatos[1], (CandidatoDecodificacion{"Devil come to me", "<vacio>", "Judas", "<vacio>", "a\\c", 20}));
    QCOMPARE(v.candidatos[2], (CandidatoDecodificacion{"<vacio>", "Devil come to me", "Judas", "<vacio>", "d\\c", 10}));
    QCOMPARE(v.candidatos[3], (CandidatoDecodificacion{"<vacio>", "<vacio>", "Judas", "<vacio>", "c", 0}));
}

void TestDecodificador::parentesisYBarraEnLaCancion()
{
    Banco b("parentesis");
    CamposLlevados c = Banco::Ajenos("Dover(Devil come to me)\\Judas.mp3");
    DecodificaFichero(b.ctx, c, false);
    const auto& v = b.elector.vistas[0];
    QStringList m = Mascaras(v);
    m.sort();
    QCOMPARE(m, (QStringList{"a(d)\\c", "a(d)c", "a\\c", "c", "d\\c"}));
    const auto* conBarra = DeMascara(v, "a(d)\\c");
    QCOMPARE(conBarra->autor, QString("Dover"));
    QCOMPARE(conBarra->disco, QString("Devil come to me"));
    QCOMPARE(conBarra->cancion, QString("Judas"));
    const auto* sinBarra = DeMascara(v, "a(d)c");
    QCOMPARE(sinBarra->cancion, QString("\\Judas"));
    QCOMPARE(sinBarra->disco, QString("Devil come to me"));
}

void TestDecodificador::posicionYPuntos()
{
    Banco b("posicion");
    CamposLlevados c = Banco::Ajenos("Dover\\Devil come to me\\01-Judas.mp3");
    DecodificaFichero(b.ctx, c, false);
    const auto& v = b.elector.vistas[0];
    QCOMPARE(v.candidatos[0], (CandidatoDecodificacion{"Dover", "Devil come to me", "Judas", "01", "a\\d\\p-c", 50}));
    QCOMPARE(v.candidatos[1].puntos, 30);  // nobody else has a position and an author
    const auto* x = DeMascara(v, "a\\d\\x-c");
    QCOMPARE(*x, (CandidatoDecodificacion{"Dover", "Devil come to me", "Judas", "<vacio>", "a\\d\\x-c", 30}));
    QCOMPARE(DeMascara(v, "d\\a-c")->autor, QString("01"));
    QCOMPARE(DeMascara(v, "c-a")->cancion, QString("01"));
    for (const auto& k : v.candidatos)
        QVERIFY2(k.puntos <= 90 && k.puntos % 10 == 0, qPrintable(k.mascara));
}

void TestDecodificador::segundaDivision()
{
    Banco b("segunda");
    CamposLlevados c = Banco::Ajenos("Dover\\Devil come to me\\03-Judas-directo.mp3");
    DecodificaFichero(b.ctx, c, false);
    const auto& v = b.elector.vistas[0];
    // The first split's position "03-Judas" is no number; the second is taken.
    QCOMPARE(ElectorGuionado::FilaDe(v, "a\\d\\p-c", 2), 0);
    const auto* p = DeMascara(v, "a\\d\\p-c");
    QCOMPARE(p->posicion, QString("03"));
    QCOMPARE(p->cancion, QString("Judas-directo"));
    QCOMPARE(p->puntos, 50);
    QCOMPARE(DeMascara(v, "a\\d\\x-c", 1)->cancion, QString("directo"));
    QCOMPARE(DeMascara(v, "a\\d\\x-c", 2)->cancion, QString("Judas-directo"));
    // Folders are never split again: one candidate each.
    QCOMPARE(ElectorGuionado::FilaDe(v, "a\\d\\c", 2), 0);
}

void TestDecodificador::segundaDivisionDeVariosSeparadores()
{
    Banco b("varios", {"a-d-c"});
    CamposLlevados c = Banco::Ajenos("Dover-Devil-come-Judas.mp3");
    DecodificaFichero(b.ctx, c, false);
    const auto& v = b.elector.vistas[0];
    QCOMPARE(v.candidatos.size(), 2);
    QCOMPARE(*DeMascara(v, "a-d-c", 1), (CandidatoDecodificacion{"Dover-Devil", "come", "Judas", "<vacio>", "a-d-c", 30}));
    QCOMPARE(*DeMascara(v, "a-d-c", 2), (CandidatoDecodificacion{"Dover", "Devil", "come-Judas", "<vacio>", "a-d-c", 30}));
}

void TestDecodificador::posicionDeTrack()
{
    Banco b("track");
    CamposLlevados c = Banco::Ajenos("Varios\\Track 07.mp3");
    DecodificaFichero(b.ctx, c, false);
    const auto* d = DeMascara(b.elector.vistas[0], "d\\c");
    QVERIFY(d);
    QCOMPARE(*d, (CandidatoDecodificacion{"<vacio>", "Varios", "Track 07", "07", "d\\c", 30}));
    // The second split of "c-a" reads the same: one candidate, not two.
    c = Banco::Ajenos("Varios\\Track 07-Dover.mp3");
    DecodificaFichero(b.ctx, c, false);
    QCOMPARE(*DeMascara(b.elector.vistas[1], "c-a"),
             (CandidatoDecodificacion{"Dover", "<vacio>", "Track 07", "07", "c-a", 40}));
    QCOMPARE(ElectorGuionado::FilaDe(b.elector.vistas[1], "c-a", 2), 0);
    // Only with that exact case.
    Banco m("track2");
    c = Banco::Ajenos("Varios\\track 07.mp3");
    DecodificaFichero(m.ctx, c, false);
    QCOMPARE(DeMascara(m.elector.vistas[0], "d\\c")->posicion, QString("<vacio>"));
}

void TestDecodificador::posicionQueNoEsNumero()
{
    Banco b("nonumero");
    CamposLlevados c = Banco::Ajenos("Dover\\Devil come to me-Judas.mp3");
    DecodificaFichero(b.ctx, c, false);
    const auto& v = b.elector.vistas[0];
    QCOMPARE(ElectorGuionado::FilaDe(v, "d\\p-c"), 0);
    QVERIFY(ElectorGuionado::FilaDe(v, "a\\d-c") > 0);
}

void TestDecodificador::autorConocidoPuntua80()
{
    Banco b("conocido");
    QString dover = "Dover";
    QVERIFY(DameAutor(b.bd, dover, true) > 0);
    CamposLlevados c = Banco::Ajenos("Dover\\Devil come to me\\01-Judas.mp3");
    DecodificaFichero(b.ctx, c, false);
    const auto& v = b.elector.vistas[0];
    QCOMPARE(v.candidatos[0].mascara, QString("a\\d\\p-c"));
    QCOMPARE(v.candidatos[0].puntos, 80);
    QCOMPARE(v.candidatos[0].autor, QString("Dover"));  // the lookup works on a copy
}

void TestDecodificador::eleccionGuardaMascaraYAutor()
{
    Banco b("eleccion");
    b.elector.responde = ElectorGuionado::Elige("a\\d\\x-c");
    CamposLlevados c = Banco::Ajenos("Dover\\Devil come to me\\01-Judas.mp3");
    QVERIFY(!DecodificaFichero(b.ctx, c, false));
    QCOMPARE(c.ruta, QString("a\\d\\x-c"));
    QCOMPARE(c.autor, QString("Dover"));
    QCOMPARE(c.disco, QString("Devil come to me"));
    QCOMPARE(c.cancion, QString("Judas"));
    QCOMPARE(c.posicion, QString("<vacio>"));
    QCOMPARE(b.mascaras.Mascara(1), QString("a\\d\\x-c"));
    QCOMPARE(b.bd.autoresNuevos().Cuantos(), 1);
    QCOMPARE(b.bd.autoresNuevos().BuscaAutorNuevo("Dover"), 1);
}

void TestDecodificador::cancelarVaciaLosCampos()
{
    Banco b("cancelar");
    CamposLlevados c = Banco::Ajenos("Dover\\Devil come to me\\01-Judas.mp3");
    QVERIFY(DecodificaFichero(b.ctx, c, false));
    QCOMPARE(c.ruta, QString("Dover\\Devil come to me\\01-Judas.mp3"));
    QVERIFY(c.autor.isEmpty() && c.disco.isEmpty() && c.cancion.isEmpty() && c.posicion.isEmpty());
    QCOMPARE(b.mascaras.Mascara(1), QString());
    QCOMPARE(b.bd.autoresNuevos().Cuantos(), 0);
}

void TestDecodificador::sinMascarasDialogoVacio()
{
    Banco b("sinmascaras");
    b.bd.Ejecuta("delete from tlmascara");
    QCOMPARE(b.mascaras.CargaMascaras(b.bd), 1);
    CamposLlevados c = Banco::Ajenos("Dover\\Judas.mp3");
    QVERIFY(DecodificaFichero(b.ctx, c, false));  // nothing to pick: only giving up is left
    QCOMPARE(b.elector.vistas.size(), 1);
    QVERIFY(b.elector.vistas[0].candidatos.isEmpty());
}

void TestDecodificador::segundoFicheroAceptadoSinDialogo()
{
    Banco b("segundo");
    b.elector.responde = ElectorGuionado::Elige("a\\d\\p-c");
    CamposLlevados c = Banco::Ajenos("Dover\\Devil come to me\\01-Judas.mp3");
    QVERIFY(!DecodificaFichero(b.ctx, c, false));
    c.ruta = "Dover\\Devil come to me\\02-Intro.mp3";
    QVERIFY(!DecodificaFichero(b.ctx, c, true));
    QCOMPARE(b.elector.vistas.size(), 1);
    QCOMPARE(c.ruta, QString("a\\d\\p-c"));
    QCOMPARE(c.posicion, QString("02"));
    QCOMPARE(c.cancion, QString("Intro"));
    // The same file without continuation is asked about again.
    c.ruta = "Dover\\Devil come to me\\02-Intro.mp3";
    DecodificaFichero(b.ctx, c, false);
    QCOMPARE(b.elector.vistas.size(), 2);
}

void TestDecodificador::posicionSacadaDeLaCancion()
{
    Banco b("decancion");
    b.elector.responde = ElectorGuionado::Elige("a\\d\\c");
    CamposLlevados c = Banco::Ajenos("Dover\\Devil come to me\\Intro.mp3");
    QVERIFY(!DecodificaFichero(b.ctx, c, false));
    QCOMPARE(c.posicion, QString("<vacio>"));
    c.posicion = "00";  // as the analysis keeps it
    c.ruta = "Dover\\Devil come to me\\02-Judas.mp3";
    QVERIFY(!DecodificaFichero(b.ctx, c, true));
    QCOMPARE(b.elector.vistas.size(), 1);
    QCOMPARE(c.ruta, QString("a\\d\\c"));
    QCOMPARE(c.posicion, QString("02"));
    QCOMPARE(c.cancion, QString("Judas"));
    // A song whose part before "-" is no number keeps its text.
    c.ruta = "Dover\\Devil come to me\\Live-Judas.mp3";
    QVERIFY(!DecodificaFichero(b.ctx, c, true));
    QCOMPARE(c.cancion, QString("Live-Judas"));
    QCOMPARE(c.posicion, QString("<vacio>"));
}

void TestDecodificador::casillaMismoDirectorio()
{
    // A compilation: same disc, a new author each file.
    Banco b("casilla");
    b.elector.responde = ElectorGuionado::Elige("d\\a-c", true);
    CamposLlevados c = Banco::Ajenos("Exitos 2000\\Dover-Judas.mp3");
    QVERIFY(!DecodificaFichero(b.ctx, c, false));
    QCOMPARE(c.disco, QString("Exitos 2000"));
    c.ruta = "Exitos 2000\\Queen-Bohemian.mp3";
    QVERIFY(!DecodificaFichero(b.ctx, c, true));
    QCOMPARE(b.elector.vistas.size(), 1);
    QCOMPARE(c.autor, QString("Queen"));
    QCOMPARE(c.cancion, QString("Bohemian"));
    QCOMPARE(c.ruta, QString("d\\a-c"));

    // Without the tick the dialog comes back, the last chosen mask first with
    // its 10 extra points.
    b.elector.mismoDir = false;
    b.elector.responde = ElectorGuionado::Elige("d\\a-c");
    c.ruta = "Exitos 2000\\Abba-Fernando.mp3";
    QVERIFY(!DecodificaFichero(b.ctx, c, true));
    QCOMPARE(b.elector.vistas.size(), 2);
    const auto& v = b.elector.vistas[1];
    QCOMPARE(v.candidatos[0], (CandidatoDecodificacion{"Abba", "Exitos 2000", "Fernando", "<vacio>", "d\\a-c", 40}));
}

void TestDecodificador::casillaSeBorraSinContinuacion()
{
    Banco b("borracasilla");
    b.elector.mismoDir = true;
    CamposLlevados c = Banco::Ajenos("Dover\\Devil come to me\\01-Judas.mp3");
    DecodificaFichero(b.ctx, c, false);
    QVERIFY(!b.elector.mismoDir);
    // With continuation the tick stays as the person left it.
    b.elector.mismoDir = true;
    c = Banco::Ajenos("Dover\\Devil come to me\\01-Judas.mp3");
    DecodificaFichero(b.ctx, c, true);
    QVERIFY(b.elector.mismoDir);
}

void TestDecodificador::mismaLecturaQueElFicheroAnterior()
{
    // The fields hold exactly what this file reads as (a re-analysis of a
    // one-file folder): that reading must still be offered. "a\\d\\x-c" is the
    // first mask to match this name.
    Banco b("mismalectura");
    CamposLlevados c{"Dover\\Devil come to me\\01-Judas.mp3", "Dover", "Devil come to me", "Judas", "<vacio>"};
    DecodificaFichero(b.ctx, c, false);
    QVERIFY(DeMascara(b.elector.vistas[0], "a\\d\\x-c"));
}

void TestDecodificador::literalesAlPrincipioDeLaMascara()
{
    Banco b("literales", {"MP3\\a\\c", "(a) c"});
    CamposLlevados c = Banco::Ajenos("MP3\\Dover\\Judas.mp3");
    DecodificaFichero(b.ctx, c, false);
    QCOMPARE(*DeMascara(b.elector.vistas[0], "MP3\\a\\c"),
             (CandidatoDecodificacion{"Dover", "<vacio>", "Judas", "<vacio>", "MP3\\a\\c", 20}));
    c = Banco::Ajenos("(Dover) Judas.mp3");
    DecodificaFichero(b.ctx, c, false);
    QCOMPARE(DeMascara(b.elector.vistas[1], "(a) c")->autor, QString("Dover"));
}

void TestDecodificador::comodinEnElSeparador()
{
    // "#" stands for the digit the name has there, in the split too.
    Banco b("comodin", {"a\\#-c"});
    CamposLlevados c = Banco::Ajenos("Dover\\7-Judas.mp3");
    DecodificaFichero(b.ctx, c, false);
    QCOMPARE(*DeMascara(b.elector.vistas[0], "a\\#-c"),
             (CandidatoDecodificacion{"Dover", "<vacio>", "Judas", "<vacio>", "a\\#-c", 20}));
    c = Banco::Ajenos("Dover\\x-Judas.mp3");
    DecodificaFichero(b.ctx, c, false);
    QVERIFY(b.elector.vistas[1].candidatos.isEmpty());
}

void TestDecodificador::componenteVacio()
{
    // Nothing after the separator: the field to its left takes its place.
    Banco b("vacio", {"p-c"});
    CamposLlevados c = Banco::Ajenos("01-.mp3");
    DecodificaFichero(b.ctx, c, false);
    QCOMPARE(b.elector.vistas[0].candidatos,
             (QList<CandidatoDecodificacion>{{"<vacio>", "<vacio>", "01", "", "p-c", 20}}));
    // The fifth component that no split reaches stays "<vacio>", so the author
    // it names scores nothing.
    Banco quinto("quinto", {"a(x) -d\\p-c"});
    c = Banco::Ajenos("Dover(Live) -1992\\-Judas.mp3");
    DecodificaFichero(quinto.ctx, c, false);
    QCOMPARE(quinto.elector.vistas[0].candidatos,
             (QList<CandidatoDecodificacion>{{"<vacio>", "Live", "Judas", "1992", "a(x) -d\\p-c", 30}}));
}

void TestDecodificador::empatesEnOrdenDeLlegada()
{
    CandidatosOrdenados o;
    const int puntos[] = {30, 50, 10, 30, 50};
    for (int i = 0; i < 5; ++i)
        o.Anade({QString::number(i), {}, {}, {}, {}, puntos[i]});
    QStringList orden;
    for (int f = 1; f <= o.Cuenta(); ++f)
        orden << o.Fila(f).autor + ":" + QString::number(o.Fila(f).puntos);
    QCOMPARE(orden, (QStringList{"1:50", "4:50", "0:30", "3:30", "2:10"}));
    QCOMPARE(o.Fila(0), CandidatoDecodificacion{});
    QCOMPARE(o.Fila(6), CandidatoDecodificacion{});
}

QTEST_GUILESS_MAIN(TestDecodificador)
#include "test_decodificador.moc"
