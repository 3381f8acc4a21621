// The work list's order and sub-items, and the enabling rules of the window.
#include <QtTest>

#include <QRandomGenerator>

#include "common/orden.h"
#include "worklist/habilitacion.h"
#include "worklist/listatrabajo.h"

class TestListaTrabajo : public QObject {
    Q_OBJECT
private slots:
    void ordenEspanol_data();
    void ordenEspanol();
    void clavesAsciiOrdenanComoElCotejo();
    void ordenadaPorTextoSinMayusculas();
    void desordenadaAnadeAlFinal();
    void subItemsCrecenAlEscribir();
    void reglasDeHabilitacion_data();
    void reglasDeHabilitacion();
};

namespace {
QStringList textos(const ListaTrabajo& l)
{
    QStringList t;
    for (int i = 1; i <= l.Cuenta(); ++i)
        t << l.Fila(i).texto;
    return t;
}
}  // namespace

void TestListaTrabajo::ordenEspanol_data()
{
    QTest::addColumn<QString>("antes");
    QTest::addColumn<QString>("despues");
    QTest::addColumn<int>("signo");  // -1 antes goes first, 0 both are equal
    QTest::newRow("N < Ñ") << "Nube" << "Ñandú" << -1;
    QTest::newRow("Ñ < O") << "Ñandú" << "Oso" << -1;
    QTest::newRow("ñ lower case < O") << "ñu" << "Oso" << -1;
    QTest::newRow("Ñ < Z") << "Ñandú" << "Zoë" << -1;
    QTest::newRow("accented capital beside its letter") << "Ópera" << "Oso" << -1;
    QTest::newRow("accent after the plain letter") << "Zoe" << "Zoë" << -1;
    QTest::newRow("accent weighs less than the letters after it") << "Zoë" << "Zof" << -1;
    QTest::newRow("Á before B") << "Árbol" << "Azul" << -1;
    QTest::newRow("case ignored") << "ABEJA" << "abeja" << 0;
    QTest::newRow("case ignored with accents") << "ÉL" << "él" << 0;
    QTest::newRow("Ç beside C") << "Çedilla" << "Cero" << -1;
    QTest::newRow("ch is c then h") << "Chico" << "Cielo" << -1;
    QTest::newRow("ll is l then l") << "Llama" << "Luz" << -1;
    QTest::newRow("a folder before what it holds") << "Autor\\" << "Autor\\01.mp3" << -1;
    QTest::newRow("what a folder holds before a longer name") << "Autor\\01.mp3" << "Autora\\" << -1;
    QTest::newRow("digits before letters") << "2 Autor" << "Autor" << -1;
    QTest::newRow("blank before letters") << "A B" << "AB" << -1;
    QTest::newRow("empty first") << "" << "a" << -1;
    QTest::newRow("numbers by their value") << "2 Minutos" << "10 Años" << -1;
    QTest::newRow("numbers by their value, ASCII") << "Track 9" << "Track 10" << -1;
    QTest::newRow("numbers inside a path") << "Disco 2\\01.mp3" << "Disco 10\\01.mp3" << -1;
    QTest::newRow("a leading zero writes no part of the number") << "Disco 01" << "Disco 2" << -1;
    QTest::newRow("a leading zero, in a path") << "Disco 01\\a.mp3" << "Disco 2\\a.mp3" << -1;
    QTest::newRow("a leading zero, with accents") << "Canción 01" << "Canción 2" << -1;
    QTest::newRow("zeros against a longer number") << "Álbum 009" << "Álbum 10" << -1;
    QTest::newRow("leading zeros write no part of a number") << "Pista 007" << "Pista 8" << -1;
    QTest::newRow("numbers of ten digits and more") << "Pista 999999999" << "Pista 1000000000" << -1;
    QTest::newRow("a number before a letter") << "Pista 10" << "Pista A" << -1;
    QTest::newRow("a slash before letters") << "AC/DC" << "Aca" << -1;
    QTest::newRow("a blank before letters") << "De Luxe" << "Del Amo" << -1;
}

void TestListaTrabajo::ordenEspanol()
{
    QFETCH(QString, antes);
    QFETCH(QString, despues);
    QFETCH(int, signo);
    auto sgn = [](int v) { return (v > 0) - (v < 0); };
    QCOMPARE(sgn(ComparaNombres(antes, despues)), signo);
    QCOMPARE(sgn(ComparaNombres(despues, antes)), -signo);
    QCOMPARE(sgn(ClaveNombre(antes).Compara(ClaveNombre(despues))), signo);
    QCOMPARE(sgn(ClaveNombre(despues).Compara(ClaveNombre(antes))), -signo);

    // The work list puts them in that order whichever comes first.
    for (bool alReves : {false, true}) {
        ListaTrabajo l;
        l.PonOrdenada(false);
        l.Anade(alReves ? despues : antes, "", "f", "mp3");
        l.Anade(alReves ? antes : despues, "", "f", "mp3");
        l.PonOrdenada(true);
        if (signo < 0)
            QCOMPARE(textos(l), (QStringList{antes, despues}));
        ListaTrabajo m;
        m.Anade(alReves ? despues : antes, "", "f", "mp3");
        m.Anade(alReves ? antes : despues, "", "f", "mp3");
        QCOMPARE(textos(m), textos(l));
    }
}

// Plain ASCII texts get a cheap key of their own; it must order them as the
// collator does, mixed with texts that are not plain ASCII.
void TestListaTrabajo::clavesAsciiOrdenanComoElCotejo()
{
    QRandomGenerator azar(15);
    const QString letras = QStringLiteral(" !#$%&'()+,-.00019;=@AMNOZ[]^_`amnoz{}~\\ñÑéÉ");
    QStringList textos;
    for (int i = 0; i < 400; ++i) {
        QString t;
        for (int n = azar.bounded(5); n >= 0; --n)
            t += letras[azar.bounded(int(letras.size()) - (i % 2 ? 0 : 4))];
        textos << t;
    }
    for (int i = 1; i < textos.size(); ++i)
        for (int j : {0, i / 2, i - 1}) {
            const int esperado = ComparaNombres(textos[i], textos[j]);
            const int clave = ClaveNombre(textos[i]).Compara(ClaveNombre(textos[j]));
            QVERIFY2((esperado < 0) == (clave < 0) && (esperado == 0) == (clave == 0),
                     qPrintable(textos[i] + " / " + textos[j]));
        }
}

void TestListaTrabajo::ordenadaPorTextoSinMayusculas()
{
    ListaTrabajo l;
    l.Anade("dover\\Judas.mp3", "/cd/dover/Judas.mp3", "f", "mp3");
    l.Anade("Dover\\", "", "#", "abierta");
    QCOMPARE(l.Anade("Dover\\cover.jpg", "/cd/Dover/cover.jpg", "p", "img"), 2);
    l.Anade("", "/cd/", "#", "abierta");
    QCOMPARE(textos(l), (QStringList{"", "Dover\\", "Dover\\cover.jpg", "dover\\Judas.mp3"}));
    QCOMPARE(l.Tipo(3), QString("p"));
    QCOMPARE(l.Fila(3).tag, QString("/cd/Dover/cover.jpg"));
}

void TestListaTrabajo::desordenadaAnadeAlFinal()
{
    ListaTrabajo l;
    l.PonOrdenada(false);
    l.Anade("b", "", "f", "mp3");
    l.Anade("a", "", "f", "mp3");
    QCOMPARE(l.Anade("c", "", "f", "mp3"), 3);
    QCOMPARE(textos(l), (QStringList{"b", "a", "c"}));
    l.PonOrdenada(true);
    QCOMPARE(textos(l), (QStringList{"a", "b", "c"}));
    l.Quita(2);
    QCOMPARE(textos(l), (QStringList{"a", "c"}));
}

void TestListaTrabajo::subItemsCrecenAlEscribir()
{
    ListaTrabajo l;
    l.Anade("x.mp3", "/x.mp3", "f", "mp3");
    QCOMPARE(l.CuentaSubItems(1), 1);
    QCOMPARE(l.SubItem(1, columna::kAutor), QString());
    l.PonSubItem(1, columna::kMascara, "c");
    QCOMPARE(l.CuentaSubItems(1), 6);
    QCOMPARE(l.SubItem(1, columna::kMascara), QString("c"));
    QCOMPARE(l.SubItem(1, 7), QString());
}

void TestListaTrabajo::reglasDeHabilitacion_data()
{
    QTest::addColumn<QList<int>>("sucesos");  // Suceso values, applied in order
    QTest::addColumn<bool>("cdListo");
    QTest::addColumn<QStringList>("habilitados");
    auto s = [](std::initializer_list<Suceso> l) {
        QList<int> r;
        for (Suceso x : l)
            r << int(x);
        return r;
    };
    QTest::newRow("arranque sin CD") << s({Suceso::Arranque}) << false << QStringList{};
    QTest::newRow("arranque con CD") << s({Suceso::Arranque}) << true << QStringList{"cmdExplorar"};
    QTest::newRow("soltar y buscar") << s({Suceso::Arranque, Suceso::Soltar, Suceso::Busca}) << false
                                     << QStringList{"cmdBusca", "cmdAnaliza"};
    QTest::newRow("analizar") << s({Suceso::Arranque, Suceso::Soltar, Suceso::Busca, Suceso::AnalizaEmpieza,
                                    Suceso::AnalizaTermina})
                              << false << QStringList{"cmdBusca", "cmdAnaliza", "cmdCompara", "cmdGenera"};
    QTest::newRow("generar") << s({Suceso::Arranque, Suceso::Genera, Suceso::Autorun}) << false
                             << QStringList{"cmdauto", "cmdVerAuto", "cmdWriteTag", "cmdDeleteTag"};
    QTest::newRow("explorar entera")
        << s({Suceso::Arranque, Suceso::CambioUnidad, Suceso::Nueva, Suceso::Busca, Suceso::AnalizaEmpieza,
              Suceso::AnalizaTermina, Suceso::Genera, Suceso::Explorar})
        << true
        << QStringList{"cmdAnaliza", "cmdCompara", "cmdGraba", "cmdGenera", "cmdauto", "cmdVerAuto",
                       "cmdExplorar", "cmdWriteTag", "cmdDeleteTag"};
    QTest::newRow("soltar quita Graba") << s({Suceso::Arranque, Suceso::Explorar, Suceso::Soltar}) << true
                                        << QStringList{"cmdBusca", "cmdauto", "cmdExplorar"};
    QTest::newRow("nueva deja Explorar")
        << s({Suceso::Arranque, Suceso::Explorar, Suceso::Genera, Suceso::Nueva}) << true
        << QStringList{"cmdExplorar"};
}

void TestListaTrabajo::reglasDeHabilitacion()
{
    QFETCH(QList<int>, sucesos);
    QFETCH(bool, cdListo);
    QFETCH(QStringList, habilitados);
    Habilitados h;
    h.en.fill(true);
    for (int x : sucesos)
        h = Habilita(h, Suceso(x), cdListo);
    QStringList activos;
    for (int b = 0; b < kBotones; ++b)
        if (h[Boton(b)])
            activos << NombreBoton(Boton(b));
    QCOMPARE(activos, habilitados);
}

QTEST_GUILESS_MAIN(TestListaTrabajo)
#include "test_listatrabajo.moc"
