#pragma once
#include <QWidget>
#include <functional>
#include <vector>

#include "decoding/campos.h"
#include "decoding/dialog.h"
#include "decoding/mascaras.h"
#include "worklist/habilitacion.h"
#include "worklist/listatrabajo.h"

class QMenuBar;
class QPushButton;
class QLabel;
class QShortcut;
class QStatusBar;
class QTabWidget;
class QUndoStack;
class AreaSuperior;
class ArbolTrabajo;
class Avisos;
class BarraAvance;
class Catalogo;
class EleccionCatalogo;
class QLabel;
class QMenu;
class SesionCatalogo;
struct UbicacionCatalogo;
class ElectorDecodificacion;
class EntradaDatos;
class ListasImagenes;
class PestanaAnalizaCD;
class PestanaBaseDatos;
class PestanaFicheros;
class PestanaListados;
class PestanaMascaras;
class PestanaPrepararCD;
class Unidades;
class VentanaRepetidas;

// The main window. It composes the tabs of SSTab2 and the upper area, holds
// the state that outlives one handler (the work list, the catalogue, the
// enabling rules) and wires one to the other; each handler's work lives in
// the subsystem that owns it. Every handler runs through the one error
// boundary (Protege): a failure is told and the work stays.
// The person's settings: ~/.config/Lodrin/Lodrin.conf (organisation and
// program both "Lodrin"; the data folder is not tied to them).
inline const QString kAjustes = QStringLiteral("Lodrin");

class frmVaro : public QWidget {
    Q_OBJECT
public:
    frmVaro(Catalogo& bd, Unidades& unidades, Avisos& avisos, const QString& dirPrograma,
            QWidget* parent = nullptr);
    ~frmVaro() override;

    // The start-up sequence; a failure throws LodrinError.
    void Form_Load();

    // Who answers the choice among decodings and the data entry; the dialogs
    // when none is given.
    void PonElector(ElectorDecodificacion* elector) { elector_ = elector; }
    void PonEntrada(EntradaDatos* entrada) { entrada_ = entrada; }

    // The work list the tabs share; after changing its rows, RefrescaLista.
    ListaTrabajo& Lista() { return lista_; }
    void RefrescaLista();

    // The enabling rules applied to the buttons for an event.
    void Aplica(Suceso suceso, bool cdListo = false);
    // The chooser in use: the one given, else the dialog, made on first use.
    ElectorDecodificacion& Elector();
    // The texts the analysis and the data entry carry from row to row.
    const CamposLlevados& Campos() const { return campos_; }
    // The folder of the catalogue in use: its pictures, autorun.dat, listings.
    const QString& DirPrograma() const;
    // The catalogue open now; another can be opened without restarting.
    SesionCatalogo& Sesion() { return *sesion_; }
    // Who answers the choice of a catalogue and of a file to export to; the
    // dialogs when none is given.
    void PonEleccion(EleccionCatalogo* eleccion) { eleccion_ = eleccion; }

    // What "Nueva", Supr, F2 and "Analiza" did to the work list, to undo.
    QUndoStack& Deshacer() { return *deshacer_; }
    // The work list and the buttons as a change left them (undo and redo).
    void PonLista(const ListaTrabajo& lista, const Habilitados& habilitados);

public slots:
    void Drive1_Change();
    void cmdExplorar_Click();
    void cmdNueva_Click();
    void cmdBusca_Click();
    void lstVBusca_OLEDragDrop(const QStringList& rutas);
    void cmdAnaliza_Click();
    void AnalizaSeleccionadas();  // key F3 of the work list
    void lstVBusca_KeyDown(int tecla);
    void lstVBD_KeyDown(int tecla);
    void cmdCompara_Click();
    void cmdGraba_Click();
    void cmbLimpia_Click();
    void cmdGenera_Click();
    void cmdauto_Click();
    void cmdVerAuto_Click();
    void cmdWriteTag_Click();
    void cmdDeleteTag_Click();
    // The menus: a folder or files chosen in Qt's dialog enter as a drop.
    void AnadirCarpeta();
    void AnadirFicheros();
    void BuscarEnCatalogo();
    // Archivo: another catalogue, a file or a server, or a recent one. One
    // that cannot be opened is told and the one in use stays.
    void AbrirCatalogo();
    void AbrirServidor();
    void AbreCatalogo(const UbicacionCatalogo& u);
    // The songs on more than one CD, in their window.
    void VerRepetidas();
    // CSV of every song, or of the songs the "Base de datos" list shows.
    void ExportarCatalogo();
    void ExportarLista();
    void AcercaDe();

protected:
    void closeEvent(QCloseEvent* e) override;
    bool event(QEvent* e) override;

private:
    EntradaDatos& Entrada();
    void colocaVentana();
    QMenuBar* creaMenus();
    void ponAtajos();
    void conecta();
    // Runs a change of the work list and keeps it to undo when it changed.
    void recuerda(const QString& texto, const std::function<void()>& cambio);
    void trabajando(bool si);
    // The buttons as habilitados_ says, and why "Graba" is off.
    void muestraHabilitados();
    // Where the keyboard goes once a long task ends: the first of the named
    // controls that can take it (the one used, then the next on the road).
    void enfoca(std::initializer_list<const char*> nombres);
    // The next (+1) or previous (-1) tab, with the keyboard on its first control.
    void cambiaPestana(int paso);
    // The status line: what the last task did, or why "Graba" is off.
    void ponEstado(const QString& texto);
    // A catalogue has taken the place of another: title, folder, recents.
    void otroCatalogo();
    // The catalogue's waits for another program's lock, shown on the bar.
    void muestraEsperas();
    void ponRecientes();
    void RecuerdaInicial();
    EleccionCatalogo& Eleccion();
    void exporta(const std::vector<qint64>* idcanciones);

    SesionCatalogo* sesion_;
    EleccionCatalogo* eleccion_ = nullptr;
    EleccionCatalogo* eleccionDialogo_ = nullptr;
    QMenu* recientes_ = nullptr;
    QLabel* lblAcerca_ = nullptr;
    VentanaRepetidas* repetidas_ = nullptr;
    Unidades& unidades_;
    Avisos& avisos_;
    const QString dirPrograma_;
    ListasImagenes* imagenes_;
    ListaTrabajo lista_;
    ListaMascaras mascaras_;
    CamposLlevados campos_;
    Habilitados habilitados_;
    ElectorDecodificacion* elector_ = nullptr;
    bool analisisParado_ = false;  // the next "Analiza" goes on where it stopped
    bool recordando_ = false;      // a change to undo is running
    ElectorDecodificacion* dlgDecodif_ = nullptr;
    EntradaDatos* entrada_ = nullptr;
    EntradaDialogo entradaDialogo_;

    BarraAvance* prgLoad_;
    QPushButton* cmdCancelar_;
    QShortcut* escape_;
    QStatusBar* barraEstado_;
    QLabel* lblEstado_;
    QUndoStack* deshacer_;
    ArbolTrabajo* Tv_;
    PestanaBaseDatos* baseDatos_;
    AreaSuperior* arriba_;
    QTabWidget* SSTab2_;
    PestanaFicheros* ficheros_;
    PestanaAnalizaCD* analizaCd_;
    PestanaMascaras* mascarasTab_;
    PestanaListados* listados_;
    PestanaPrepararCD* preparar_;
};
