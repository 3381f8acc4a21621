#pragma once
#include <QComboBox>
#include <QLabel>
#include <QWidget>

#include "decoding/campos.h"
#include "decoding/mascaras.h"
#include "worklist/habilitacion.h"
#include "worklist/listatrabajo.h"

class QCheckBox;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTreeView;
class QTreeWidget;
class QTreeWidgetItem;
class Avisos;
class Catalogo;
class Unidades;
class ListasImagenes;
class ModeloListaTrabajo;
class ElectorDecodificacion;
class EntradaDatos;

// A picture box that reports clicks.
class CajaImagen : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void Click();

protected:
    void mousePressEvent(QMouseEvent* e) override;
};

// An image combo box that reports when its list is about to drop down.
class ComboImagen : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;
    void showPopup() override;
signals:
    void DropDown();
};

// The main window. It holds the controls (named as the system names them) and
// the state that outlives one handler; each handler's work lives in the
// subsystem that owns it.
class frmVaro : public QWidget {
    Q_OBJECT
public:
    frmVaro(Catalogo& bd, Unidades& unidades, Avisos& avisos, const QString& dirPrograma,
            QWidget* parent = nullptr);
    ~frmVaro() override;

    // The start-up sequence; a failure throws LodrinError.
    void Form_Load();

    // Applies the enabling rules for an event to the buttons.
    void Aplica(Suceso suceso, bool cdListo = false);
    QPushButton* BotonDe(Boton b) const;

    // The work list view follows the rows; selection is kept in the rows.
    void LeeSeleccion();
    void RefrescaLista();

    // --- controls above the tabs
    QProgressBar* prgLoad;
    QTreeWidget* Tv;
    ComboImagen* cmbISort;
    QTreeWidget* tvBD;
    CajaImagen* imgBD;
    QTabWidget* SSTab2;
    // --- "Ficheros"
    QTreeView* lstVBusca;
    QPushButton* cmdNueva;
    QPushButton* cmdBusca;
    QPushButton* cmdAnaliza;
    QPushButton* cmdCompara;
    QPushButton* cmdGenera;
    QPushButton* cmdVerAuto;
    // --- "Analiza CD"
    QComboBox* Drive1;
    QLabel* Label2;
    QLabel* lbserial;
    QLabel* lbName;
    QLabel* Label1;
    QLineEdit* txtCDROM;
    QPushButton* cmdExplorar;
    QPushButton* cmdGraba;
    QCheckBox* chkGrabImg;
    QLabel* lblInfoCD;
    // --- "Mascaras"
    QTreeWidget* lstMascaras;
    QLineEdit* txtAnadir;     // object name "txtAñadir"
    QPushButton* cmdAnadir;   // object name "cmdAñadir"
    QLabel* lblInfoMasc;
    // --- "Base de datos"
    QTreeWidget* lstVBD;
    QPushButton* cmbLimpia;
    QLabel* Label10;
    // --- "Listados"
    QLabel* Label8;
    ComboImagen* cmbCd;
    QLabel* Label4;
    ComboImagen* cmbAutor;
    QLabel* Label7;
    ComboImagen* cmbDisco;
    QLabel* Label9;
    QLineEdit* txtSalida;
    QCheckBox* chkCanciones;
    QCheckBox* chkImagenes;
    QPushButton* cmdLstAutor;
    QLabel* lblListado;
    // --- "Preparar CD"
    QPushButton* cmdWriteTag;
    QLabel* Label5;
    QPushButton* cmdDeleteTag;
    QLabel* Label6;
    QPushButton* cmdauto;
    QLabel* Label3;
    // --- "Acerca de,,,"
    QLabel* lblAcerca;

    // --- state that outlives one handler
    Catalogo& bd;
    Unidades& unidades;
    Avisos& avisos;
    const QString dirPrograma;
    ListaTrabajo lista;
    ListaMascaras mascaras;
    CamposLlevados campos;
    ListasImagenes* imagenes;
    Habilitados habilitados;

    // --- decoding
    // Who answers the choice among candidate decodings; the dialog by default.
    ElectorDecodificacion* elector = nullptr;
    // The chooser in use: elector, else the dialog, made on first use and kept.
    ElectorDecodificacion& Elector();
    ElectorDecodificacion* dlgDecodif = nullptr;

    // --- data entry
    // Who answers the data-entry dialog; the dialog by default.
    EntradaDatos* entrada = nullptr;

public slots:
    // --- work list (filling)
    void Drive1_Change();
    void cmdExplorar_Click();
    void cmdNueva_Click();
    void cmdBusca_Click();
    void lstVBusca_OLEDragDrop(const QStringList& rutas);
    // --- decoding
    void cmdAnaliza_Click();
    void AnalizaSeleccionadas();  // key F3 of the work list
    // --- data entry
    void TeclaLista(int tecla, bool catalogo);
    // --- keys of both lists
    void lstVBusca_KeyDown(int tecla);
    void lstVBD_KeyDown(int tecla);
    // --- masks
    void cmdAnadir_Click();
    // --- catalogue: recording, comparing, pictures
    void cmdCompara_Click();
    void cmdGraba_Click();
    void imgBD_Click();
    // --- catalogue: browser and clean-up
    void cmbISort_Click();
    void tvBD_NodeClick(QTreeWidgetItem* nodo);
    void lstVBD_ColumnClick(int columna);
    void cmbLimpia_Click();
    // Builds the catalogue tree for an ordering (1 authors, 2 discs, 3 CDs).
    void ArbolBD(int orden);
    // Lists the songs of a first-level node and adds the levels below it.
    void ListaBD(QTreeWidgetItem* nodo);
    // Shows a stored picture in imgBD; id becomes 0 when its copy is missing.
    void MuestraImagen(qint64& id);
    // --- autorun
    void cmdGenera_Click();
    void cmdauto_Click();
    void cmdVerAuto_Click();
public:
    // Writes autorun.dat beside the program from the last tree built; a file
    // that cannot be written is reported and gives false.
    bool EscribeAutorun(bool rutasRelativas);
    // The last tree built and the open preview (src/autorun/genera_ui.h).
    struct EstadoAutorun;
    std::shared_ptr<EstadoAutorun> autorun;
public slots:
    // --- tags
    void cmdWriteTag_Click();
    void cmdDeleteTag_Click();
    // --- listing
    void cmbCd_DropDown();
    void cmbAutor_DropDown();
    void cmbDisco_DropDown();
    void cmbCd_Click();
    void cmbAutor_Click();
    void cmbDisco_Click();
    void cmdLstAutor_Click();

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void creaControles();
    void conecta();
    ModeloListaTrabajo* modelo_;
};

// Converts twips (1/1440 inch) to pixels at the usual 96 dots per inch.
constexpr int Twips(int twips) { return (twips + 7) / 15; }
