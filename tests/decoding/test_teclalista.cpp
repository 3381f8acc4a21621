#include <QtTest>

#include "decoding/teclalista.h"
#include "worklist/listatrabajo.h"

namespace {

// Adds an analysed row: kind, author, disc, song, position, mask.
int analizada(ListaTrabajo& l, const QString& texto, const QString& tipo, const QStringList& campos,
              bool seleccionada = true)
{
    const int i = l.Anade(texto, "/cd/" + texto, tipo, "mp3");
    for (int k = 0; k < campos.size(); ++k)
        l.PonSubItem(i, k + 2, campos[k]);
    l.Fila(i).seleccionada = seleccionada;
    return i;
}

int indiceDe(const ListaTrabajo& l, const QString& texto)
{
    for (int i = 1; i <= l.Cuenta(); ++i)
        if (l.Fila(i).texto == texto)
            return i;
    return 0;
}

}  // namespace

class TestTeclaLista : public QObject {
    Q_OBJECT
private slots:
    void filasQueNoParticipan_data()
    {
        QTest::addColumn<QString>("tipo");
        QTest::addColumn<int>("campos");
        QTest::newRow("sin analizar") << "f" << 0;
        QTest::newRow("analisis a medias") << "f" << 3;
        QTest::newRow("carpeta") << "#" << 2;
        QTest::newRow("texto") << "c" << 5;
        QTest::newRow("lista") << "l" << 5;
    }
    void filasQueNoParticipan()
    {
        QFETCH(QString, tipo);
        QFETCH(int, campos);
        ListaTrabajo l;
        analizada(l, "a\\", tipo, QStringList{"Dover", "Devil", "Judas", "01", "m"}.mid(0, campos));
        analizada(l, "b\\", tipo, QStringList{"Dover", "Devil", "Judas", "01", "m"}.mid(0, campos));
        analizada(l, "c\\1.mp3", "f", {"Ana", "Disco", "Tema", "02"}, false);
        FilasTrabajo filas(l);
        DatosEntrada d;
        QVERIFY(!RecogeDatos(filas, d));
    }

    void vaciosNoImpidenElCambioEnNingunOrden_data()
    {
        QTest::addColumn<QString>("primero");
        QTest::addColumn<QString>("segundo");
        QTest::addColumn<QString>("tercero");
        QTest::addColumn<QString>("valor");
        QTest::addColumn<bool>("habilitado");
        QTest::newRow("vacio al final") << "Devil" << "Devil" << "" << "Devil" << true;
        QTest::newRow("vacio al principio") << "" << "Devil" << "Devil" << "Devil" << true;
        QTest::newRow("vacio en medio") << "Devil" << "" << "Devil" << "Devil" << true;
        QTest::newRow("todos vacios") << "" << "" << "" << "" << true;
        QTest::newRow("distintos con vacio") << "Devil" << "" << "Late" << "" << false;
        QTest::newRow("distintos con vacio al final") << "Devil" << "Late" << "" << "" << false;
    }
    void vaciosNoImpidenElCambioEnNingunOrden()
    {
        QFETCH(QString, primero);
        QFETCH(QString, segundo);
        QFETCH(QString, tercero);
        QFETCH(QString, valor);
        QFETCH(bool, habilitado);
        ListaTrabajo l;
        analizada(l, "1.mp3", "f", {"Dover", primero, "a", "01"});
        analizada(l, "2.mp3", "f", {"Dover", segundo, "a", "01"});
        analizada(l, "3.mp3", "f", {"Dover", tercero, "a", "01"});
        FilasTrabajo filas(l);
        DatosEntrada d;
        QVERIFY(RecogeDatos(filas, d));
        QCOMPARE(d.textos[1], valor);
        QCOMPARE(d.habilitados[1], habilitado);
        QCOMPARE(d.habilitados[0], true);
        QCOMPARE(d.etiqueta, habilitado ? QString("3.mp3") : QString("Pon datos para varios ficheros"));

        // Accepting fills the empty ones with the shared value.
        if (habilitado && !valor.isEmpty()) {
            EscribeDatos(filas, d);
            for (int i = 1; i <= 3; ++i)
                QCOMPARE(l.SubItem(i, 3), valor);
        }
    }

    void carpetasRecibenLoQueTienen()
    {
        ListaTrabajo l;
        analizada(l, "Dover\\", "#", {"Dover", "Devil"});
        analizada(l, "Dover\\1.mp3", "f", {"Dover", "Devil", "Judas", "01"});
        analizada(l, "Dover\\2.mp3", "f", {});
        analizada(l, "Dover\\tapa.jpg", "p", {"Dover", "Devil"});
        analizada(l, "Dover\\leeme.txt", "c", {"Dover", "Devil", "x", "y"});
        FilasTrabajo filas(l);
        DatosEntrada d;
        QVERIFY(RecogeDatos(filas, d));
        QCOMPARE(d.textos, (std::array<QString, 4>{"Dover", "Devil", "Judas", "01"}));
        d.textos = {"Nuevo", "Otro", "Tema", "07"};
        EscribeDatos(filas, d);
        const int carpeta = indiceDe(l, "Dover\\");
        QCOMPARE(l.CuentaSubItems(carpeta), 3);
        QCOMPARE(l.SubItem(carpeta, 2), QString("Nuevo"));
        QCOMPARE(l.SubItem(carpeta, 3), QString("Otro"));
        QCOMPARE(l.CuentaSubItems(indiceDe(l, "Dover\\2.mp3")), 1);
        QCOMPARE(l.SubItem(indiceDe(l, "Dover\\tapa.jpg"), 2), QString("Nuevo"));
        QCOMPARE(l.CuentaSubItems(indiceDe(l, "Dover\\tapa.jpg")), 3);
        QCOMPARE(l.SubItem(indiceDe(l, "Dover\\leeme.txt"), 2), QString("Dover"));
        QCOMPARE(l.SubItem(indiceDe(l, "Dover\\1.mp3"), 5), QString("07"));
    }

    void borrarQuitaSoloLasSeleccionadas()
    {
        ListaTrabajo l;
        analizada(l, "a\\", "#", {}, true);
        analizada(l, "a\\1.mp3", "f", {"A"}, false);
        analizada(l, "a\\2.mp3", "f", {"A"}, true);
        analizada(l, "a\\3.mp3", "f", {"A"}, false);
        FilasTrabajo filas(l);
        QStringList vistas;
        BorraSeleccionadas(filas, [&](int i) { vistas << l.Fila(i).texto; });
        QCOMPARE(vistas, (QStringList{"a\\2.mp3", "a\\"}));
        QCOMPARE(l.Cuenta(), 2);
        QCOMPARE(l.Fila(1).texto, QString("a\\1.mp3"));
        QCOMPARE(l.Fila(2).texto, QString("a\\3.mp3"));
        BorraSeleccionadas(filas);
        QCOMPARE(l.Cuenta(), 2);
    }
};

QTEST_GUILESS_MAIN(TestTeclaLista)
#include "test_teclalista.moc"
