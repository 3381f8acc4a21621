// The handlers: each one hands its work to the subsystem that owns it and
// applies the enabling rules.
#include <QFileInfo>
#include <QUndoStack>

#include "autorun/genera_ui.h"
#include "catalogue/grabacion.h"
#include "catalogue/grabacion_ui.h"
#include "catalogue/navegador_ui.h"
#include "catalogue/pestanabd.h"
#include "common/avisos.h"
#include "common/barraavance.h"
#include "decoding/analisis.h"
#include "decoding/pestanamascaras.h"
#include "decoding/decodificador.h"
#include "decoding/teclalista.h"
#include "decoding/teclalista_ui.h"
#include "exploring/exploracion.h"
#include "exploring/pestanaanalizacd.h"
#include "main_window/frmVaro.h"
#include "worklist/tagslista.h"
#include "store/catalogo.h"
#include "store/sesion.h"
#include "worklist/pestanaficheros.h"

namespace {

QString Lineas(const QStringList& rutas) { return rutas.join(QLatin1Char('\n')); }

// The bar of a command run on its own; inside another (Explorar) that one's.
struct AvancePropio {
    explicit AvancePropio(BarraAvance& barra) : barra_(barra), propio_(barra.isHidden())
    {
        if (propio_)
            barra_.Empieza(0);
    }
    ~AvancePropio()
    {
        if (propio_)
            barra_.Termina();
    }
    BarraAvance& barra_;
    const bool propio_;
};

}  // namespace

void frmVaro::Drive1_Change() { Aplica(Suceso::CambioUnidad, analizaCd_->CompruebaUnidad()); }

// The whole of it is one step to undo, kept when the rows changed.
void frmVaro::cmdExplorar_Click()
{
    Drive1_Change();
    if (analizaCd_->Serial().isEmpty())
        return;
    recuerda(QStringLiteral("Explorar"), [&] {
        cmdNueva_Click();
        QString raiz = analizaCd_->Raiz();
        const ClaseFichero raizCd = TipoFichero(raiz, true);
        if (raizCd.tipo.isEmpty()) {
            // The disc went away between the check and the exploring.
            avisos_.Falla(QStringLiteral("No se puede leer el CD de la unidad %1.").arg(raiz),
                          QStringLiteral("Explorar"));
            return;
        }
        lista_.Anade(QString(), raiz, raizCd.tipo, raizCd.icono);
        RefrescaLista();
        prgLoad_->Empieza(10);
        // Cancelled, it keeps what was listed and goes no further.
        cmdBusca_Click();
        if (prgLoad_->Cancelado()) {
            prgLoad_->Termina();
            return;
        }
        prgLoad_->Avanza(1);
        cmdAnaliza_Click();
        prgLoad_->Avanza(5);
        if (habilitados_[Boton::cmdGenera] && !prgLoad_->Cancelado()) {
            cmdGenera_Click();
            Aplica(Suceso::Explorar);
        }
        prgLoad_->Termina();
    });
}

// "Nueva" can be undone: the rows and the buttons come back.
void frmVaro::cmdNueva_Click()
{
    analisisParado_ = false;
    recuerda(QStringLiteral("Nueva"), [&] {
        if (lista_.Cuenta() > 0) {
            lista_.Limpia();
            lista_.Cambiada();
        }
        Aplica(Suceso::Nueva);
    });
    RefrescaLista();
    sesion_->bd().autoresNuevos().LimpiaAutoresNuevos();
}

// Cancelled, what was listed stays and the folders not reached stay "D".
void frmVaro::cmdBusca_Click()
{
    QStringList fallidas;
    {
        const AvancePropio avance(*prgLoad_);
        recuerda(QStringLiteral("Busca"), [&] {
            fallidas = Busca(lista_, prgLoad_);
            Aplica(Suceso::Busca);
        });
    }
    RefrescaLista();
    if (!fallidas.isEmpty())
        avisos_.Falla(QStringLiteral("No se han podido leer estas carpetas (ya no están o no se pueden abrir); "
                                     "se han saltado:\n") + Lineas(fallidas),
                      QStringLiteral("Busca"));
    else if (prgLoad_->Cancelado())
        avisos_.Informa(QStringLiteral("Búsqueda cancelada: la lista tiene lo encontrado hasta entonces."),
                        QStringLiteral("Busca"));
}

void frmVaro::lstVBusca_OLEDragDrop(const QStringList& rutas)
{
    QStringList desaparecidas;
    recuerda(QStringLiteral("Añadir"), [&] {
        AnadeSoltadas(lista_, rutas, &desaparecidas);
        Aplica(Suceso::Soltar);
    });
    RefrescaLista();
    if (!desaparecidas.isEmpty())
        avisos_.Falla(QStringLiteral("Ya no existen y no se han añadido:\n") + Lineas(desaparecidas),
                      QStringLiteral("Lodrin"));
}

// "Analiza": every MP3 row. "Compara" and "Genera" come back even when the
// person gave up a choice half way.
void frmVaro::cmdAnaliza_Click()
{
    recuerda(QStringLiteral("Analiza"), [&] {
        Aplica(Suceso::AnalizaEmpieza);
        ContextoDecodificacion ctx{sesion_->bd(), mascaras_, Elector(), mascarasTab_->UsaEtiquetas()};
        ParadaAnalisis parada;
        Protege(avisos_, QStringLiteral("analizar la lista"),
                [&] { AnalizaLista(lista_, campos_, ctx, false, analisisParado_, &parada); });
        analisisParado_ = parada.carpeta > 0;
        Aplica(Suceso::AnalizaTermina);
        RefrescaLista();
        if (analisisParado_)
            avisos_.Informa(QStringLiteral("Análisis interrumpido en la carpeta %1 de %2. Lo analizado se queda; "
                                           "\"Analiza\" sigue desde la primera carpeta sin analizar.")
                                .arg(parada.carpeta)
                                .arg(parada.carpetas),
                            QStringLiteral("Analiza"));
    });
    RefrescaLista();
}

// F3 in the work list: the selected rows only; the buttons stay as they are.
void frmVaro::AnalizaSeleccionadas()
{
    ContextoDecodificacion ctx{sesion_->bd(), mascaras_, Elector(), mascarasTab_->UsaEtiquetas()};
    recuerda(QStringLiteral("Volver a Analizar"), [&] {
        Protege(avisos_, QStringLiteral("analizar las filas elegidas"), [&] { AnalizaLista(lista_, campos_, ctx, true); });
    });
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
    recuerda(tecla == Qt::Key_Delete ? QStringLiteral("Eliminar") : QStringLiteral("Editar manualmente"),
             [&] { EditaFilas(tecla, filas, campos_, Entrada(), false); });
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
    recuerda(QStringLiteral("Compara"), [&] { ComparaDesdeVentana(sesion_->bd(), lista_, avisos_); });
    // Rows marked before a failure keep their icons, so show them either way.
    RefrescaLista();
}

void frmVaro::cmdGraba_Click()
{
    DatosGrabacion datos;
    datos.descripcion = analizaCd_->Descripcion();
    datos.serial = analizaCd_->Serial();
    datos.grabarImagenes = analizaCd_->GrabarImagenes();
    datos.dirPrograma = sesion_->carpeta();
    ResumenGrabacion resumen;
    // What an earlier recording said does not stand for this one.
    ponEstado(QString());
    if (GrabaDesdeVentana(sesion_->bd(), lista_, datos, *prgLoad_, avisos_, &resumen))
        ponEstado(TextoGrabado(datos.descripcion, resumen));
}

void frmVaro::cmbLimpia_Click() { avisos_.Informa(QStringLiteral("Opcion no implementada, jet "), QStringLiteral("Lodrin")); }

void frmVaro::cmdGenera_Click()
{
    Tv_->Genera(lista_, campos_);
    Aplica(Suceso::Genera);
}

void frmVaro::cmdauto_Click()
{
    if (Tv_->EscribeAutorun(true, sesion_->carpeta(), avisos_))
        Aplica(Suceso::Autorun);
}

void frmVaro::cmdVerAuto_Click()
{
    if (!Tv_->EscribeAutorun(false, sesion_->carpeta(), avisos_))
        return;
    Aplica(Suceso::Autorun);
    Tv_->VerAutorun(sesion_->carpeta(), avisos_);
}

void frmVaro::cmdWriteTag_Click() { PonTagsLista(lista_, *prgLoad_, avisos_); }

void frmVaro::cmdDeleteTag_Click() { BorraTagsLista(lista_, *prgLoad_, avisos_); }
