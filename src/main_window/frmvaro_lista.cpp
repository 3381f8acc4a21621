// Filling the work list: the drive check, exploring a CD, drops, "Busca" and
// "Nueva".
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <exception>

#include "catalogue/catalogo.h"
#include "exploring/exploracion.h"
#include "main_window/frmVaro.h"
#include "exploring/unidades.h"

namespace {

QString TextoUnidad(const Volumen& v)
{
    return v.nombre.isEmpty() ? v.raiz : QStringLiteral("%1 [%2]").arg(v.raiz, v.nombre);
}

// Fills Drive1 from the volumes, keeping the chosen root when it is still
// mounted; otherwise (and at start) the volume of the current folder.
// Returns whether the selection moved.
bool LlenaUnidades(frmVaro& w)
{
    const QString antes = w.Drive1->currentData().toString();
    const QList<Volumen> volumenes = w.unidades.Lista();
    int elegido = -1;
    const QSignalBlocker bloqueo(w.Drive1);
    w.Drive1->clear();
    for (int i = 0; i < volumenes.size(); ++i) {
        w.Drive1->addItem(TextoUnidad(volumenes[i]), volumenes[i].raiz);
        if (!antes.isEmpty() && volumenes[i].raiz == antes)
            elegido = i;
    }
    if (elegido < 0)
        elegido = w.unidades.Actual();
    w.Drive1->setCurrentIndex(elegido);
    return w.Drive1->currentData().toString() != antes;
}

// Volumes come and go as discs are mounted: the list is read again before it
// drops down.
class RefrescoUnidades : public QObject {
public:
    explicit RefrescoUnidades(frmVaro& w) : QObject(w.Drive1), w_(w) {}
    bool eventFilter(QObject* objeto, QEvent* e) override
    {
        bool abre = e->type() == QEvent::MouseButtonPress;
        if (e->type() == QEvent::KeyPress) {
            const auto* k = static_cast<QKeyEvent*>(e);
            abre = k->key() == Qt::Key_F4 || k->key() == Qt::Key_Space ||
                   ((k->modifiers() & Qt::AltModifier) && k->key() == Qt::Key_Down);
        }
        if (abre && LlenaUnidades(w_))
            w_.Drive1_Change();
        return QObject::eventFilter(objeto, e);
    }

private:
    frmVaro& w_;
};

}  // namespace

void frmVaro::Drive1_Change()
{
    lbserial->clear();
    lbName->clear();
    bool listo = false;
    // The check handles its own failures: a drive that cannot be read is
    // simply not ready.
    try {
        if (!Drive1->property("vigilada").toBool()) {
            Drive1->setProperty("vigilada", true);
            Drive1->installEventFilter(new RefrescoUnidades(*this));
        }
        if (Drive1->count() == 0)
            LlenaUnidades(*this);
        const QString raiz = Drive1->currentData().toString();
        if (!raiz.isEmpty()) {
            for (const Volumen& v : unidades.Lista()) {
                if (v.raiz != raiz)
                    continue;
                if (v.lista && v.EsCdRom()) {
                    lbserial->setText(QString::number(v.serie));
                    lbName->setText(QStringLiteral("Nombre: ") + v.nombre);
                    txtCDROM->setText(v.nombre);
                    listo = true;
                }
                break;
            }
        }
    } catch (const std::exception&) {
        lbserial->clear();
        lbName->clear();
        listo = false;
    }
    Aplica(Suceso::CambioUnidad, listo);
}

void frmVaro::cmdExplorar_Click()
{
    Drive1_Change();
    if (lbserial->text().isEmpty())
        return;
    cmdNueva_Click();
    QString raiz = Drive1->currentData().toString();
    const ClaseFichero raizCd = TipoFichero(raiz, true);
    if (!raizCd.tipo.isEmpty())
        lista.Anade(QString(), raiz, raizCd.tipo, raizCd.icono);
    RefrescaLista();
    prgLoad->setRange(0, 10);
    prgLoad->setValue(0);
    prgLoad->show();
    cmdBusca_Click();
    prgLoad->setValue(1);
    cmdAnaliza_Click();
    prgLoad->setValue(5);
    if (cmdGenera->isEnabled()) {
        cmdGenera_Click();
        Aplica(Suceso::Explorar);
    }
    prgLoad->hide();
}

void frmVaro::cmdNueva_Click()
{
    lista.Limpia();
    RefrescaLista();
    Aplica(Suceso::Nueva);
    bd.autoresNuevos().LimpiaAutoresNuevos();
}

void frmVaro::cmdBusca_Click()
{
    Busca(lista);
    RefrescaLista();
    Aplica(Suceso::Busca);
}

void frmVaro::lstVBusca_OLEDragDrop(const QStringList& rutas)
{
    AnadeSoltadas(lista, rutas);
    RefrescaLista();
    Aplica(Suceso::Soltar);
}
