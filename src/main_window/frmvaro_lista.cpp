// The handlers: each one hands its work to the subsystem that owns it and
// applies the enabling rules.
#include <QFileInfo>

#include "autorun/genera_ui.h"
#include "catalogue/grabacion.h"
#include "catalogue/grabacion_ui.h"
#include "catalogue/navegador_ui.h"
#include "catalogue/pestanabd.h"
#include "common/avisos.h"
#include "common/barraavance.h"
#include "decoding/analisis.h"
#include "decoding/decodificador.h"
#include "decoding/teclalista.h"
#include "decoding/teclalista_ui.h"
#include "exploring/exploracion.h"
#include "exploring/pestanaanalizacd.h"
#include "main_window/frmVaro.h"
#include "mp3info/tags_ui.h"
#include "store/catalogo.h"
#include "worklist/pestanaficheros.h"

namespace {

QString Lineas(const QStringList& rutas) { return rutas.join(QLatin1Char('\n')); }

}  // namespace

void frmVaro::Drive1_Change() { Aplica(Suceso::CambioUnidad, analizaCd_->CompruebaUnidad()); }

void frmVaro::cmdExplorar_Click()
{
    Drive1_Change();
    if (analizaCd_->Serial().isEmpty())
        return;
    cmdNueva_Click();
    QString raiz = analizaCd_->Raiz();
    const ClaseFichero raizCd = TipoFichero(raiz, true);
    if (raizCd.tipo.isEmpty()) {
        // The disc went away between the check and the exploring.
        avisos_.Informa(QStringLiteral("No se puede leer el CD de la unidad %1.").arg(raiz), QStringLiteral("Explorar"));
        return;
    }
    lista_.Anade(QString(), raiz, raizCd.tipo, raizCd.icono);
    RefrescaLista();
    prgLoad_->Empieza(10);
    cmdBusca_Click();
    prgLoad_->Avanza(1);
    cmdAnaliza_Click();
    prgLoad_->Avanza(5);
    if (habilitados_[Boton::cmdGenera]) {
        cmdGenera_Click();
        Aplica(Suceso::Explorar);
    }
    prgLoad_->Termina();
}

void frmVaro::cmdNueva_Click()
{
    lista_.Limpia();
    RefrescaLista();
    Aplica(Suceso::Nueva);
    bd_.autoresNuevos().LimpiaAutoresNuevos();
}

void frmVaro::cmdBusca_Click()
{
    const QStringList fallidas = Busca(lista_);
    RefrescaLista();
    Aplica(Suceso::Busca);
    if (!fallidas.isEmpty())
        avisos_.Informa(QStringLiteral("No se han podido leer estas carpetas (ya no estan o no se pueden abrir); "
                                       "se han saltado:\n") + Lineas(fallidas),
                        QStringLiteral("Busca"));
}

void frmVaro::lstVBusca_OLEDragDrop(const QStringList& rutas)
{
    QStringList desaparecidas;
    AnadeSoltadas(lista_, rutas, &desaparecidas);
    RefrescaLista();
    Aplica(Suceso::Soltar);
    if (!desaparecidas.isEmpty())
        avisos_.Informa(QStringLiteral("Ya no existen y no se han añadido:\n") + Lineas(desaparecidas),
                        QStringLiteral("Lodrin"));
}

// "Analiza": every MP3 row. "Compara" and "Genera" come back even when the
// person gave up a choice half way.
void frmVaro::cmdAnaliza_Click()
{
    Aplica(Suceso::AnalizaEmpieza);
    ContextoDecodificacion ctx{bd_, mascaras_, Elector()};
    Protege(avisos_, QStringLiteral("analizar la lista"), [&] { AnalizaLista(lista_, campos_, ctx, false); });
    Aplica(Suceso::AnalizaTermina);
    RefrescaLista();
}

// F3 in the work list: the selected rows only; the buttons stay as they are.
void frmVaro::AnalizaSeleccionadas()
{
    ContextoDecodificacion ctx{bd_, mascaras_, Elector()};
    Protege(avisos_, QStringLiteral("analizar las filas elegidas"), [&] { AnalizaLista(lista_, campos_, ctx, true); });
    RefrescaLista();
}

void frmVaro::lstVBusca_KeyDown(int tecla)
{
    ficheros_->LeeSeleccion();
    if (tecla == Qt::Key_F3) {
        AnalizaSeleccionadas();
        return;
    }
    FilasTrabajo filas(lista_);
    EditaFilas(tecla, filas, campos_, Entrada(), false);
    RefrescaLista();
}

void frmVaro::lstVBD_KeyDown(int tecla)
{
    Protege(avisos_, QStringLiteral("cambiar la base de datos"), [&] {
        EditorTeclas editor(campos_, Entrada());
        baseDatos_->Edita(tecla, editor);
    });
}

void frmVaro::cmdCompara_Click()
{
    ficheros_->LeeSeleccion();
    ComparaDesdeVentana(bd_, lista_, avisos_);
    // Rows marked before a failure keep their icons, so show them either way.
    RefrescaLista();
}

void frmVaro::cmdGraba_Click()
{
    DatosGrabacion datos;
    datos.descripcion = analizaCd_->Descripcion();
    datos.serial = analizaCd_->Serial();
    datos.grabarImagenes = analizaCd_->GrabarImagenes();
    datos.dirPrograma = dirPrograma_;
    GrabaDesdeVentana(bd_, lista_, datos, *prgLoad_, avisos_);
}

void frmVaro::cmbLimpia_Click() { avisos_.Informa(QStringLiteral("Opcion no implementada, jet "), QStringLiteral("Lodrin")); }

void frmVaro::cmdGenera_Click()
{
    Tv_->Genera(lista_, campos_);
    Aplica(Suceso::Genera);
}

void frmVaro::cmdauto_Click()
{
    if (Tv_->EscribeAutorun(true, dirPrograma_, avisos_))
        Aplica(Suceso::Autorun);
}

void frmVaro::cmdVerAuto_Click()
{
    if (!Tv_->EscribeAutorun(false, dirPrograma_, avisos_))
        return;
    Aplica(Suceso::Autorun);
    Tv_->VerAutorun(dirPrograma_, avisos_);
}

void frmVaro::cmdWriteTag_Click() { PonTagsLista(lista_, avisos_); }

void frmVaro::cmdDeleteTag_Click() { BorraTagsLista(lista_, avisos_); }
