// The handlers of "Graba" and "Compara".
#include <QCheckBox>
#include <QLineEdit>
#include <QProgressBar>

#include "catalogue/comparacion.h"
#include "catalogue/grabacion.h"
#include "main_window/frmVaro.h"

namespace {

// The progress of a recording on prgLoad. The bar is painted as it moves,
// without handing the event loop any other input.
class AvanceBarra : public AvanceGrabacion {
public:
    explicit AvanceBarra(QProgressBar* barra) : barra_(barra) {}
    void Empieza(int maximo) override
    {
        barra_->setRange(0, maximo);
        barra_->setValue(0);
        barra_->show();
        barra_->repaint();
        maximo_ = maximo;
        pintado_ = 0;
    }
    void Avanza(int valor) override
    {
        barra_->setValue(valor);
        // One paint per hundredth is enough to see it move.
        const int centesimas = maximo_ > 0 ? int(qint64(valor) * 100 / maximo_) : 100;
        if (centesimas != pintado_) {
            pintado_ = centesimas;
            barra_->repaint();
        }
    }
    void Termina() override { barra_->hide(); }

private:
    QProgressBar* barra_;
    int maximo_ = 0;
    int pintado_ = 0;
};

}  // namespace

void frmVaro::cmdGraba_Click()
{
    DatosGrabacion datos;
    datos.descripcion = txtCDROM->text();
    datos.serial = lbserial->text();
    datos.grabarImagenes = chkGrabImg->isChecked();
    datos.dirPrograma = dirPrograma;
    AvanceBarra avance(prgLoad);
    GrabaCD(bd, lista, datos, &avance);
}

void frmVaro::cmdCompara_Click()
{
    // Rows marked before a failure keep their icons, so show them either way.
    struct Refresca {
        frmVaro* w;
        ~Refresca() { w->RefrescaLista(); }
    } refresca{this};
    LeeSeleccion();
    ComparaCD(bd, lista);
}
