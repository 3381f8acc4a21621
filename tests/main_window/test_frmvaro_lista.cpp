// The work list in the window: the drive check, drops, "Busca", "Nueva" and
// "Explorar" on a folder presented as a ready CD.
#include <QComboBox>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTreeView>
#include <QUrl>
#include <QtTest>
#include <memory>

#include "catalogue/catalogo.h"
#include "common/lodrinerror.h"
#include "main_window/frmVaro.h"
#include "support/mp3s.h"
#include "support/testsupport.h"
#include "support/unidadesfalsas.h"

namespace {

// A drive layer that fails, as a vanished drive may.
class UnidadesRotas : public UnidadesFalsas {
public:
    using UnidadesFalsas::UnidadesFalsas;
    QList<Volumen> Lista() override
    {
        if (rota)
            throw LodrinError("la unidad no responde");
        return UnidadesFalsas::Lista();
    }
    bool rota = false;
};

struct Ventana {
    explicit Ventana(Unidades& u, const QString& nombre)
        : bd(dir.filePath("anterior.mdb"), nombre), w(bd, u, avisos, dir.path())
    {
        w.Form_Load();
    }
    QTemporaryDir dir;
    Catalogo bd;
    AvisosAnotados avisos;
    frmVaro w;
};

const QList<const char*> kTrasNueva = {"cmdBusca", "cmdAnaliza", "cmdCompara", "cmdGraba", "cmdGenera",
                                       "cmdauto", "cmdVerAuto", "cmdWriteTag", "cmdDeleteTag"};

bool Habilitado(frmVaro& w, const char* nombre)
{
    auto* b = w.findChild<QPushButton*>(QString::fromLatin1(nombre));
    return b && b->isEnabled();
}

void Suelta(frmVaro& w, const QStringList& rutas)
{
    auto* datos = new QMimeData;
    QList<QUrl> urls;
    for (const QString& r : rutas)
        urls << QUrl::fromLocalFile(r);
    datos->setUrls(urls);
    // As the desktop does it: the drag enters the list, then it is dropped.
    QDragEnterEvent entra(QPoint(10, 10), Qt::CopyAction, datos, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w.lstVBusca->viewport(), &entra);
    QDropEvent suelta(QPointF(10, 10), Qt::CopyAction, datos, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w.lstVBusca->viewport(), &suelta);
    delete datos;
}

QString Mostrado(frmVaro& w, int fila, int columna)
{
    return w.lstVBusca->model()->index(fila, columna).data().toString();
}

}  // namespace

class TestFrmVaroLista : public QObject {
    Q_OBJECT
private slots:
    void comprobacionDeUnidad();
    void unidadQueFallaNoParaNada();
    void listaDeUnidadesAlDesplegar();
    void soltarBuscaYNueva();
    void explorarElCd();
    void explorarSinCdNoCambiaNada();
};

void TestFrmVaroLista::comprobacionDeUnidad()
{
    QTemporaryDir cd;
    UnidadesFalsas u(cd.path(), "MI_CD", -1234567);
    Ventana v(u, "c1");
    frmVaro& w = v.w;
    QCOMPARE(w.Drive1->count(), 2);
    QCOMPARE(w.Drive1->currentIndex(), 1);
    QCOMPARE(w.lbserial->text(), QStringLiteral("-1234567"));
    QCOMPARE(w.lbName->text(), QStringLiteral("Nombre: MI_CD"));
    QCOMPARE(w.txtCDROM->text(), QStringLiteral("MI_CD"));
    QVERIFY(w.cmdExplorar->isEnabled());

    // The hard disk: no serial, no name, the description stays.
    w.txtCDROM->setText("Mis canciones");
    w.Drive1->setCurrentIndex(0);
    QCOMPARE(w.lbserial->text(), QString());
    QCOMPARE(w.lbName->text(), QString());
    QVERIFY(!w.cmdExplorar->isEnabled());
    QCOMPARE(w.txtCDROM->text(), QStringLiteral("Mis canciones"));

    // Back on the CD the volume name replaces what was typed.
    w.Drive1->setCurrentIndex(1);
    QCOMPARE(w.txtCDROM->text(), QStringLiteral("MI_CD"));
    QVERIFY(w.cmdExplorar->isEnabled());

    // A CD-ROM drive without a disc is not ready.
    u.volumenes[1].lista = false;
    w.Drive1_Change();
    QCOMPARE(w.lbserial->text(), QString());
    QVERIFY(!w.cmdExplorar->isEnabled());

    // Starting on the hard disk: only the always-enabled buttons work.
    UnidadesFalsas enDisco(cd.path());
    enDisco.actual = 0;
    Ventana d(enDisco, "c2");
    QCOMPARE(d.w.lbserial->text(), QString());
    QCOMPARE(d.w.lbName->text(), QString());
    QCOMPARE(d.w.txtCDROM->text(), QString());
    for (int b = 0; b < kBotones; ++b)
        QVERIFY2(!d.w.BotonDe(Boton(b))->isEnabled(), NombreBoton(Boton(b)));
}

void TestFrmVaroLista::unidadQueFallaNoParaNada()
{
    QTemporaryDir cd;
    UnidadesRotas u(cd.path());
    u.rota = true;
    // Start-up goes on although the drive check fails.
    Ventana v(u, "r1");
    QVERIFY(v.avisos.textos.isEmpty());
    QCOMPARE(v.w.lbserial->text(), QString());
    QVERIFY(!v.w.cmdExplorar->isEnabled());

    u.rota = false;
    v.w.Drive1_Change();
    QCOMPARE(v.w.lbserial->text(), QStringLiteral("-1234567"));
    QVERIFY(v.w.cmdExplorar->isEnabled());
    u.rota = true;
    v.w.cmdExplorar_Click();  // the failing check stops the exploration
    QCOMPARE(v.w.lbserial->text(), QString());
    QCOMPARE(v.w.lbName->text(), QString());
    QVERIFY(!v.w.cmdExplorar->isEnabled());
    QCOMPARE(v.w.lista.Cuenta(), 0);
}

void TestFrmVaroLista::listaDeUnidadesAlDesplegar()
{
    QTemporaryDir cd;
    QTemporaryDir otro;
    UnidadesFalsas u(cd.path(), "PRIMERO", 1);
    Ventana v(u, "d1");
    frmVaro& w = v.w;
    QCOMPARE(w.Drive1->count(), 2);

    // A disc mounted after start shows up when the list is opened.
    Volumen nuevo = u.volumenes[1];
    nuevo.raiz = otro.path() + "/";
    nuevo.nombre = "SEGUNDO";
    nuevo.serie = 2;
    u.volumenes << nuevo;
    QTest::mousePress(w.Drive1, Qt::LeftButton);
    w.Drive1->hidePopup();
    QCOMPARE(w.Drive1->count(), 3);
    QCOMPARE(w.Drive1->currentIndex(), 1);  // the choice stays
    QCOMPARE(w.lbserial->text(), QStringLiteral("1"));
    w.Drive1->setCurrentIndex(2);
    QCOMPARE(w.lbName->text(), QStringLiteral("Nombre: SEGUNDO"));

    // The chosen disc unmounted: back to the current folder's volume, checked.
    u.volumenes.removeLast();
    u.actual = 0;
    QTest::keyClick(w.Drive1, Qt::Key_F4);
    w.Drive1->hidePopup();
    QCOMPARE(w.Drive1->count(), 2);
    QCOMPARE(w.Drive1->currentIndex(), 0);
    QCOMPARE(w.lbserial->text(), QString());
    QVERIFY(!w.cmdExplorar->isEnabled());
}

void TestFrmVaroLista::soltarBuscaYNueva()
{
    QTemporaryDir musica;
    EscribeFichero(musica.path() + "/Rock/Live/01 Intro.mp3", "x");
    EscribeFichero(musica.path() + "/Rock/tapa.jpg", "x");
    EscribeFichero(musica.path() + "/suelta.mp3", "x");
    EscribeFichero(musica.path() + "/ruido.wav", "x");
    UnidadesFalsas u;
    Ventana v(u, "s1");
    frmVaro& w = v.w;

    // Pretend an explored CD made "Graba" available; a drop takes it away.
    w.Aplica(Suceso::Explorar);
    QVERIFY(w.cmdGraba->isEnabled());
    Suelta(w, {musica.path() + "/ruido.wav"});
    QCOMPARE(w.lista.Cuenta(), 0);
    QVERIFY(w.cmdBusca->isEnabled());
    QVERIFY(!w.cmdGraba->isEnabled());

    Suelta(w, {musica.path() + "/Rock", musica.path() + "/suelta.mp3"});
    QCOMPARE(w.lstVBusca->model()->rowCount(), 2);
    QCOMPARE(Mostrado(w, 0, 0), QStringLiteral("Rock\\"));
    QCOMPARE(Mostrado(w, 0, 1), QStringLiteral("D"));
    QCOMPARE(Mostrado(w, 1, 0), QStringLiteral("suelta.mp3"));
    QCOMPARE(w.lista.Fila(2).tag, musica.path() + "/suelta.mp3");
    QVERIFY(!w.cmdAnaliza->isEnabled());

    // The same folder again adds nothing.
    Suelta(w, {musica.path() + "/Rock"});
    QCOMPARE(w.lista.Cuenta(), 2);

    w.cmdBusca->click();
    QCOMPARE(w.lista.Cuenta(), 5);
    QCOMPARE(w.lstVBusca->model()->rowCount(), 5);
    const QStringList esperados = {"Rock\\", "Rock\\Live\\", "Rock\\Live\\01 Intro.mp3", "Rock\\tapa.jpg",
                                   "suelta.mp3"};
    for (int i = 0; i < esperados.size(); ++i)
        QCOMPARE(Mostrado(w, i, 0), esperados[i]);
    QCOMPARE(Mostrado(w, 1, 1), QStringLiteral("#"));
    QCOMPARE(w.lista.Fila(3).tag, musica.path() + "/Rock/Live/01 Intro.mp3");
    QVERIFY(w.cmdAnaliza->isEnabled());
    QVERIFY(w.cmdBusca->isEnabled());

    // A second "Busca" adds nothing.
    w.cmdBusca->click();
    QCOMPARE(w.lista.Cuenta(), 5);

    v.bd.autoresNuevos().AnadeAutorNuevo("Dover");
    w.Aplica(Suceso::Genera);
    w.cmdNueva->click();
    QCOMPARE(w.lista.Cuenta(), 0);
    QCOMPARE(w.lstVBusca->model()->rowCount(), 0);
    QCOMPARE(v.bd.autoresNuevos().Cuantos(), 0);
    for (const char* b : kTrasNueva)
        QVERIFY2(!Habilitado(w, b), b);

    // "Nueva" on an empty list only disables the buttons again.
    w.Aplica(Suceso::Soltar);
    w.cmdNueva->click();
    QVERIFY(!w.cmdBusca->isEnabled());
}

void TestFrmVaroLista::explorarElCd()
{
    QTemporaryDir cd;
    QVERIFY(!CreaMp3(cd.path() + "/Dover/Devil came to me/01 Judas.mp3", 1).isEmpty());
    QVERIFY(!CreaMp3(cd.path() + "/Dover/Devil came to me/02 Serenade.mp3", 1).isEmpty());
    CreaImagen(cd.path() + "/Dover/Devil came to me/portada.jpg");
    EscribeFichero(cd.path() + "/Dover/leeme.txt", "x");
    UnidadesFalsas u(cd.path(), "DOVER", 305419896);
    Ventana v(u, "e1");
    frmVaro& w = v.w;

    // What was in the list before goes.
    QTemporaryDir otra;
    EscribeFichero(otra.path() + "/vieja.mp3", "x");
    Suelta(w, {otra.path() + "/vieja.mp3"});
    v.bd.autoresNuevos().AnadeAutorNuevo("Alguien");
    w.txtCDROM->setText("escrito a mano");

    QSignalSpy progreso(w.prgLoad, &QProgressBar::valueChanged);
    w.cmdExplorar->click();

    QCOMPARE(w.lbserial->text(), QStringLiteral("305419896"));
    QCOMPARE(w.txtCDROM->text(), QStringLiteral("DOVER"));
    QCOMPARE(v.bd.autoresNuevos().Cuantos(), 0);
    const QString raiz = cd.path() + "/";
    QCOMPARE(w.lista.Cuenta(), 7);
    QCOMPARE(w.lista.Fila(1).texto, QString());
    QCOMPARE(w.lista.Fila(1).tag, raiz);
    QCOMPARE(w.lista.Tipo(1), QStringLiteral("#"));
    QCOMPARE(w.lista.Fila(1).icono, QStringLiteral("abierta"));
    const QStringList esperados = {"", "Dover\\", "Dover\\Devil came to me\\",
                                   "Dover\\Devil came to me\\01 Judas.mp3", "Dover\\Devil came to me\\02 Serenade.mp3",
                                   "Dover\\Devil came to me\\portada.jpg", "Dover\\leeme.txt"};
    for (int i = 0; i < esperados.size(); ++i) {
        QCOMPARE(w.lista.Fila(i + 1).texto, esperados[i]);
        QCOMPARE(Mostrado(w, i, 0), esperados[i]);
    }
    QCOMPARE(w.lista.Fila(4).tag, raiz + "Dover/Devil came to me/01 Judas.mp3");
    QCOMPARE(w.lista.Tipo(6), QStringLiteral("p"));
    QCOMPARE(w.lista.Tipo(7), QStringLiteral("c"));

    // Progress showed 0, 1 and 5 tenths and is hidden again.
    QCOMPARE(w.prgLoad->maximum(), 10);
    QList<int> valores;
    for (const QList<QVariant>& s : progreso)
        valores << s[0].toInt();
    QCOMPARE(valores, QList<int>({0, 1, 5}));
    QVERIFY(w.prgLoad->isHidden());

    QVERIFY(w.cmdAnaliza->isEnabled());
    QVERIFY(w.cmdExplorar->isEnabled());
    // "Graba" and "Autorun" follow the tree: they come with "Genera".
    QCOMPARE(w.cmdGraba->isEnabled(), w.cmdGenera->isEnabled());
    QCOMPARE(w.cmdauto->isEnabled(), w.cmdGenera->isEnabled());

    // A second exploration gives the same list, not a doubled one.
    w.cmdExplorar->click();
    QCOMPARE(w.lista.Cuenta(), 7);
}

void TestFrmVaroLista::explorarSinCdNoCambiaNada()
{
    QTemporaryDir cd;
    EscribeFichero(cd.path() + "/01.mp3", "x");
    UnidadesFalsas u(cd.path());
    Ventana v(u, "n1");
    frmVaro& w = v.w;
    QTemporaryDir musica;
    EscribeFichero(musica.path() + "/a.mp3", "x");
    Suelta(w, {musica.path() + "/a.mp3"});
    w.txtCDROM->setText("mi descripcion");

    u.volumenes[1].lista = false;  // the disc was taken out
    w.cmdExplorar_Click();
    QCOMPARE(w.lista.Cuenta(), 1);
    QCOMPARE(w.lista.Fila(1).texto, QStringLiteral("a.mp3"));
    QVERIFY(w.cmdBusca->isEnabled());
    QVERIFY(!w.cmdExplorar->isEnabled());
    QCOMPARE(w.txtCDROM->text(), QStringLiteral("mi descripcion"));
    QVERIFY(w.prgLoad->isHidden());
}

QTEST_MAIN(TestFrmVaroLista)
#include "test_frmvaro_lista.moc"
