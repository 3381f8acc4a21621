// "Graba" and "Compara" driven through the main window.
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>
#include <utility>

#include "catalogue/cdanalizado.h"
#include "catalogue/objetos.h"
#include "common/barraavance.h"
#include "common/listasimagenes.h"
#include "common/lodrinerror.h"
#include "main_window/frmVaro.h"
#include "store/catalogo.h"
#include "support/testsupport.h"
#include "support/unidadesfalsas.h"
#include "support/ventana.h"

using namespace Qt::StringLiterals;

namespace {

struct Ventana {
    Ventana() : dirPrograma(dir.filePath(u"prog"_s)), cd(dir.filePath(u"cd"_s), dir.filePath(u"cache"_s))
    {
        static int conexiones = 0;
        QDir().mkpath(dirPrograma);
        bd = std::make_unique<Catalogo>(Catalogo::RutaCatalogo(dirPrograma), u"ventana%1"_s.arg(++conexiones));
        w = std::make_unique<frmVaro>(*bd, unidades, avisos, dirPrograma);
        w->Form_Load();
        Hijo<QLineEdit>(*w, "txtCDROM")->setText(u"Rock 1"_s);
        Hijo<QLabel>(*w, "lbserial")->setText(u"1A2B-3C4D"_s);
    }
    // Puts the rows made on disk into the window's work list.
    void Pasa()
    {
        w->Lista() = cd.lista;
        w->Lista().Cambiada();
        w->RefrescaLista();
    }

    QTemporaryDir dir;
    QString dirPrograma;
    CdAnalizado cd;
    UnidadesFalsas unidades;
    AvisosAnotados avisos;
    std::unique_ptr<Catalogo> bd;
    std::unique_ptr<frmVaro> w;
};

QImage DibujoDe(const QIcon& icono)
{
    return icono.pixmap(16, 16).toImage();
}

}  // namespace

class TestGrabacionVentana : public QObject {
    Q_OBJECT
private slots:
    void grabaConBarraDeProgreso();
    void grabaSinImagenes();
    void grabaQueFallaEscondeLaBarra();
    void grabaSinDescripcionOSerieNoGraba_data();
    void grabaSinDescripcionOSerieNoGraba();
    void comparaCambiaLosIconosDeLaVista();
};

void TestGrabacionVentana::grabaConBarraDeProgreso()
{
    Ventana v;
    v.cd.Carpeta(u"Dover\\"_s, u"Dover"_s, u"Devil"_s);
    v.cd.Cancion(u"Dover\\01.mp3"_s, u"f"_s, u"Dover"_s, u"Devil"_s, u"Serenade"_s, u"01"_s);
    v.cd.Imagen(u"Dover\\cover.jpg"_s, u"Dover"_s, u"Devil"_s);
    v.Pasa();
    QVERIFY(Hijo<QCheckBox>(*v.w, "chkGrabImg")->isChecked());
    QVERIFY(Hijo<QProgressBar>(*v.w, "prgLoad")->isHidden());

    v.w->cmdGraba_Click();
    QVERIFY(Hijo<QProgressBar>(*v.w, "prgLoad")->isHidden());
    QCOMPARE(Hijo<QProgressBar>(*v.w, "prgLoad")->maximum(), 3);
    QCOMPARE(Hijo<QProgressBar>(*v.w, "prgLoad")->value(), 3);
    QCOMPARE(CuentaFilas(*v.bd, u"tlcd"_s, u"dscd = 'Rock 1' and sercd = '1A2B-3C4D'"_s), qint64(1));
    QCOMPARE(CuentaFilas(*v.bd, u"tlcancion"_s), qint64(1));
    QCOMPARE(Ficheros(CarpetaImagenes(v.dirPrograma)).size(), 1);
    // The work list is read, not changed, and no message is shown.
    QCOMPARE(v.w->Lista().Cuenta(), 3);
    QCOMPARE(v.w->Lista().SubItem(2, columna::kCancion), u"Serenade"_s);
    QVERIFY(v.avisos.textos.isEmpty());
    // What was recorded is said on the status line instead.
    QCOMPARE(Hijo<QLabel>(*v.w, "lblEstado")->text(), u"Grabado el CD «Rock 1»: 1 disco, 1 canción"_s);
}

void TestGrabacionVentana::grabaSinImagenes()
{
    Ventana v;
    v.cd.Cancion(u"Dover\\01.mp3"_s, u"f"_s, u"Dover"_s, u"Devil"_s, u"Serenade"_s, u"01"_s);
    v.cd.Imagen(u"Dover\\cover.jpg"_s, u"Dover"_s, u"Devil"_s);
    v.Pasa();
    Hijo<QCheckBox>(*v.w, "chkGrabImg")->setChecked(false);
    v.w->cmdGraba_Click();
    QCOMPARE(CuentaFilas(*v.bd, u"tlcancion"_s), qint64(1));
    QCOMPARE(CuentaFilas(*v.bd, u"tlobjetos"_s), qint64(0));
    QVERIFY(!QFileInfo::exists(CarpetaImagenes(v.dirPrograma)));
}

void TestGrabacionVentana::grabaQueFallaEscondeLaBarra()
{
    Ventana v;
    v.cd.Imagen(u"A\\cover.jpg"_s, u"Ana"_s, u"Uno"_s);
    v.cd.Cancion(u"B\\01.mp3"_s, u"f"_s, u"Bea"_s, u"Dos"_s, u"Tarde"_s, u"01"_s);
    v.cd.Cancion(u"B\\02.mp3"_s, u"f"_s, u"Bea"_s, u"Dos"_s, u"Noche"_s, u"02"_s);
    v.Pasa();
    Hijo<QLabel>(*v.w, "lblEstado")->setText(u"Grabado el CD «Rock 0»: 1 disco, 1 canción"_s);
    // The CD's folder goes away once its first file has been read.
    auto* barra = qobject_cast<BarraAvance*>(Hijo<QProgressBar>(*v.w, "prgLoad"));
    bool quitado = false;
    auto quita = connect(barra, &BarraAvance::Avanzado, this, [&] {
        if (!std::exchange(quitado, true))
            QVERIFY(QDir(v.cd.base).removeRecursively());
    });
    v.w->cmdGraba_Click();
    disconnect(quita);
    // Nothing recorded, and one warning names the files it could not read
    // and why; the program and the work list carry on.
    QCOMPARE(v.avisos.fallos, v.avisos.textos);
    QCOMPARE(v.avisos.textos,
             QStringList{u"No se ha podido grabar el CD «Rock 1»: no se pueden leer 2 de sus 3 ficheros, así que no se "
                         u"ha grabado nada.\n\n%1: el fichero no existe\n%2: el fichero no existe"_s
                             .arg(v.cd.Ruta(u"B\\01.mp3"_s), v.cd.Ruta(u"B\\02.mp3"_s))});
    QCOMPARE(v.w->Lista().Cuenta(), 3);
    QCOMPARE(Hijo<QLabel>(*v.w, "lblEstado")->text(), QString());  // an earlier recording's line goes
    QVERIFY(Hijo<QProgressBar>(*v.w, "prgLoad")->isHidden());
    QCOMPARE(CuentaFilas(*v.bd, u"tlcd"_s), qint64(0));
    QCOMPARE(CuentaFilas(*v.bd, u"tlcancion"_s), qint64(0));
    QCOMPARE(CuentaFilas(*v.bd, u"tlobjetos"_s), qint64(0));

    // Cancelled with Escape after its first row, it records nothing either.
    EscribeFichero(v.cd.Ruta(u"A\\cover.jpg"_s), "JPEG");
    v.w->show();
    QVERIFY(QTest::qWaitForWindowActive(v.w.get()));
    bool pulsada = false;
    connect(barra, &BarraAvance::Avanzado, this, [&] {
        if (!std::exchange(pulsada, true))
            QTest::keyClick(v.w.get(), Qt::Key_Escape);
    });
    v.w->cmdGraba_Click();
    QCOMPARE(v.avisos.textos.last(), u"Grabación cancelada: no se ha grabado nada del CD."_s);
    QCOMPARE(v.avisos.fallos.size(), 1);
    QVERIFY(barra->isHidden());
    QCOMPARE(CuentaFilas(*v.bd, u"tlcd"_s), qint64(0));
    QCOMPARE(CuentaFilas(*v.bd, u"tlcancion"_s), qint64(0));
    QVERIFY(Ficheros(CarpetaImagenes(v.dirPrograma)).isEmpty());  // the copy went with the rollback
}

void TestGrabacionVentana::grabaSinDescripcionOSerieNoGraba_data()
{
    QTest::addColumn<QString>("descripcion");
    QTest::addColumn<QString>("serie");
    QTest::newRow("sin descripcion") << QString() << u"1A2B-3C4D"_s;
    QTest::newRow("descripcion en blanco") << u"   "_s << u"1A2B-3C4D"_s;
    QTest::newRow("sin serie") << u"Rock 1"_s << QString();
}

void TestGrabacionVentana::grabaSinDescripcionOSerieNoGraba()
{
    QFETCH(QString, descripcion);
    QFETCH(QString, serie);
    Ventana v;
    v.cd.Cancion(u"Dover\\01.mp3"_s, u"f"_s, u"Dover"_s, u"Devil"_s, u"Serenade"_s, u"01"_s);
    v.Pasa();
    Hijo<QLineEdit>(*v.w, "txtCDROM")->setText(descripcion);
    Hijo<QLabel>(*v.w, "lbserial")->setText(serie);
    v.w->Aplica(Suceso::Explorar);
    Pulsa(*v.w, "cmdGraba");
    QCOMPARE(v.avisos.textos, QStringList{u"Para grabar el CD hace falta su descripción y su número de serie. "
                                          u"No se ha grabado nada."_s});
    QCOMPARE(CuentaFilas(*v.bd, u"tlcd"_s), qint64(0));
    QCOMPARE(CuentaFilas(*v.bd, u"tlcancion"_s), qint64(0));
}

void TestGrabacionVentana::comparaCambiaLosIconosDeLaVista()
{
    Ventana v;
    v.cd.Cancion(u"Dover\\01.mp3"_s, u"f"_s, u"Dover"_s, u"Devil"_s, u"Serenade"_s, u"01"_s);
    v.Pasa();
    v.w->cmdGraba_Click();
    v.cd.Cancion(u"Dover\\02.mp3"_s, u"f"_s, u"Dover"_s, u"Devil"_s, u"Judas"_s, u"02"_s);
    v.cd.Imagen(u"Dover\\cover.jpg"_s, u"Dover"_s, u"Devil"_s);
    v.Pasa();
    Hijo<QTreeView>(*v.w, "lstVBusca")->selectionModel()->select(Hijo<QTreeView>(*v.w, "lstVBusca")->model()->index(1, 0),
                                             QItemSelectionModel::Select | QItemSelectionModel::Rows);

    v.w->cmdCompara_Click();
    QCOMPARE(v.w->Lista().Fila(1).icono, u"true"_s);
    QCOMPARE(v.w->Lista().Fila(2).icono, u"false"_s);
    QCOMPARE(v.w->Lista().Fila(3).icono, u"img"_s);
    QAbstractItemModel* modelo = Hijo<QTreeView>(*v.w, "lstVBusca")->model();
    QCOMPARE(DibujoDe(modelo->index(0, 0).data(Qt::DecorationRole).value<QIcon>()),
             DibujoDe(ListasImagenes().Pequena(u"true"_s)));
    QCOMPARE(DibujoDe(modelo->index(1, 0).data(Qt::DecorationRole).value<QIcon>()),
             DibujoDe(ListasImagenes().Pequena(u"false"_s)));
    // The selection survives the refresh.
    QCOMPARE(Hijo<QTreeView>(*v.w, "lstVBusca")->selectionModel()->selectedRows().size(), 1);
    QCOMPARE(Hijo<QTreeView>(*v.w, "lstVBusca")->selectionModel()->selectedRows().first().row(), 1);
    QCOMPARE(CuentaFilas(*v.bd, u"tlcancion"_s), qint64(1));
}

QTEST_MAIN(TestGrabacionVentana)
#include "test_grabacion_ventana.moc"
