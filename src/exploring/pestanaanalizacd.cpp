#include "exploring/pestanaanalizacd.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <exception>

#include "common/controles.h"
#include "common/lodrinerror.h"
#include "exploring/unidades.h"

namespace {

QString TextoUnidad(const Volumen& v)
{
    return v.nombre.isEmpty() ? v.raiz : QStringLiteral("%1 [%2]").arg(v.raiz, v.nombre);
}

}  // namespace

PestanaAnalizaCD::PestanaAnalizaCD(Unidades& unidades, QWidget* parent) : QWidget(parent), unidades_(unidades)
{
    setObjectName(QStringLiteral("AnalizaCD"));
    Drive1 = Control<QComboBox>(this, "Drive1");
    auto* Label2 = Control<QLabel>(this, "Label2", "Serial: ");
    lbserial = Control<QLabel>(this, "lbserial");
    lbName = Control<QLabel>(this, "lbName");
    auto* Label1 = Control<QLabel>(this, "Label1", "Descripcion:");
    txtCDROM = Control<QLineEdit>(this, "txtCDROM", QString(),
                                  "Pon la descripcion que quieres que identifique al Cd a catalogar");
    cmdExplorar = Control<QPushButton>(this, "cmdExplorar", "Explorar",
                                       "Una vez hemos metido el CD, vamos a sacar la informacion.");
    cmdGraba = Control<QPushButton>(this, "cmdGraba", "Graba", "Graba la informacion extraida en la BD");
    chkGrabImg = Control<QCheckBox>(this, "chkGrabImg", "Grabar imagenes", "Si guardaremos las imagenes en la BD.");
    lblInfoCD = Ayuda(this, "lblInfoCD");

    auto* izquierda = new QVBoxLayout;
    izquierda->addWidget(Drive1);
    auto* serial = new QHBoxLayout;
    serial->addWidget(Label2);
    serial->addWidget(lbserial, 1);
    izquierda->addLayout(serial);
    izquierda->addWidget(lbName);
    izquierda->addWidget(Label1);
    izquierda->addWidget(txtCDROM);
    auto* botones = new QHBoxLayout;
    botones->addWidget(cmdExplorar);
    botones->addWidget(cmdGraba);
    izquierda->addLayout(botones);
    izquierda->addWidget(chkGrabImg);
    izquierda->addStretch();
    auto* fila = new QHBoxLayout(this);
    fila->setContentsMargins(6, 6, 6, 6);
    fila->addLayout(izquierda, 3);
    fila->addWidget(lblInfoCD, 5);

    connect(Drive1, &QComboBox::currentIndexChanged, this, &PestanaAnalizaCD::CambioUnidad);
    connect(cmdExplorar, &QPushButton::clicked, this, &PestanaAnalizaCD::Explorar);
    connect(cmdGraba, &QPushButton::clicked, this, &PestanaAnalizaCD::Graba);
    Drive1->installEventFilter(this);
}

// Fills Drive1 from the volumes, keeping the chosen root when it is still
// mounted; otherwise (and at start) the volume of the current folder.
// Returns whether the selection moved.
bool PestanaAnalizaCD::llenaUnidades()
{
    const QString antes = Drive1->currentData().toString();
    const QList<Volumen> volumenes = unidades_.Lista();
    int elegido = -1;
    const QSignalBlocker bloqueo(Drive1);
    Drive1->clear();
    for (int i = 0; i < volumenes.size(); ++i) {
        Drive1->addItem(TextoUnidad(volumenes[i]), volumenes[i].raiz);
        if (!antes.isEmpty() && volumenes[i].raiz == antes)
            elegido = i;
    }
    if (elegido < 0)
        elegido = unidades_.Actual();
    Drive1->setCurrentIndex(elegido);
    return Drive1->currentData().toString() != antes;
}

namespace {

QString mensaje(const std::exception& e)
{
    if (const auto* l = dynamic_cast<const LodrinError*>(&e))
        return l->message();
    return QStringLiteral("No se pueden leer las unidades: %1").arg(QString::fromLocal8Bit(e.what()));
}

}  // namespace

// Volumes come and go as discs are mounted: the list is read again before it
// drops down.
bool PestanaAnalizaCD::eventFilter(QObject* objeto, QEvent* e)
{
    bool abre = e->type() == QEvent::MouseButtonPress;
    if (e->type() == QEvent::KeyPress) {
        const auto* k = static_cast<QKeyEvent*>(e);
        abre = k->key() == Qt::Key_F4 || k->key() == Qt::Key_Space ||
               ((k->modifiers() & Qt::AltModifier) && k->key() == Qt::Key_Down);
    }
    if (objeto == Drive1 && abre) {
        bool movida = false;
        try {
            movida = llenaUnidades();
        } catch (const std::exception& e) {
            emit Fallo(mensaje(e));
        }
        if (movida)
            emit CambioUnidad();
    }
    return QWidget::eventFilter(objeto, e);
}

bool PestanaAnalizaCD::CompruebaUnidad()
{
    lbserial->clear();
    lbName->clear();
    try {
        if (Drive1->count() == 0)
            llenaUnidades();
        const QString raiz = Raiz();
        if (raiz.isEmpty())
            return false;
        for (const Volumen& v : unidades_.Lista()) {
            if (v.raiz != raiz)
                continue;
            if (!v.lista || !v.EsCdRom())
                return false;
            lbserial->setText(QString::number(v.serie));
            lbName->setText(QStringLiteral("Nombre: ") + v.nombre);
            txtCDROM->setText(v.nombre);
            return true;
        }
    } catch (const std::exception& e) {
        lbserial->clear();
        lbName->clear();
        emit Fallo(mensaje(e));
    }
    return false;
}

QString PestanaAnalizaCD::Raiz() const { return Drive1->currentData().toString(); }
QString PestanaAnalizaCD::Serial() const { return lbserial->text(); }
QString PestanaAnalizaCD::Descripcion() const { return txtCDROM->text(); }
bool PestanaAnalizaCD::GrabarImagenes() const { return chkGrabImg->isChecked(); }
void PestanaAnalizaCD::PonGrabarImagenes(bool si) { chkGrabImg->setChecked(si); }
void PestanaAnalizaCD::PonAyuda(const QString& texto) { lblInfoCD->setText(texto); }

void PestanaAnalizaCD::Habilita(const Habilitados& h)
{
    cmdExplorar->setEnabled(h[Boton::cmdExplorar]);
    cmdGraba->setEnabled(h[Boton::cmdGraba]);
}
