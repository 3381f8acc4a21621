// The work list's order and sub-items, and the enabling rules of the window.
#include <QtTest>

#include "worklist/habilitacion.h"
#include "worklist/listatrabajo.h"

class TestListaTrabajo : public QObject {
    Q_OBJECT
private slots:
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
