// A shared catalogue under a household's load: six programs record CDs that
// share authors and discs while six others search as a person types. Needs
// the test server; the searches' times are printed, never asserted.
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>

#include "catalogue/grabacion.h"
#include "store/catalogo.h"
#include "support/carga.h"
#include "support/motorprueba.h"
#include "support/mp3s.h"
#include "worklist/listatrabajo.h"

using namespace Qt::StringLiterals;

class TestCarga : public QObject {
    Q_OBJECT
private slots:
    void grabanYBuscanALaVez();
};

void TestCarga::grabanYBuscanALaVez()
{
    if (!PruebaEnServidor())
        QSKIP("needs the test server (LODRIN_PRUEBA_MOTOR=postgresql)");
    QTemporaryDir dir;
    OpcionesCarga o;
    o.dirPrograma = dir.path();
    o.segundos = 30;
    {
        Catalogo bd(CatalogoDePrueba(dir.path()), u"base"_s);
        bd.AbreBaseDatos();
        DatosGrabacion d;
        d.descripcion = kCdBaseCarga;
        d.dirPrograma = dir.path();
        GrabaCD(bd, CdDeCarga(kCdBaseCarga, o.cancionesPorCd, CreaImagen(dir.filePath(u"base.jpg"_s))), d);
    }
    const ResultadoCarga r = CorreCarga(o);
    std::printf("%lld CDs recorded, %lld searches: median %.1f ms, 99th percentile %.1f ms; %lld failures\n",
                qlonglong(r.cds.size()), qlonglong(r.busquedas.size()), Percentil(r.busquedas, 0.5),
                Percentil(r.busquedas, 0.99), qlonglong(r.fallos.size()));
    QVERIFY2(r.fallos.isEmpty(), qPrintable(r.fallos.join(u'\n')));
    QVERIFY(r.cds.size() >= o.grabadores);
    QVERIFY(r.busquedas.size() >= o.buscadores);
    QCOMPARE(r.sinAciertos, 0);
    Catalogo bd(UbicacionCatalogo::DeCarpeta(dir.path()), u"mira"_s);
    bd.AbreBaseDatos();
    QCOMPARE(FaltasTrasCarga(bd, o, QStringList(r.cds) << kCdBaseCarga), QStringList());
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int salida = 0;
    if (EsHijoDeCarga(salida))
        return salida;
    TestCarga t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_carga.moc"
