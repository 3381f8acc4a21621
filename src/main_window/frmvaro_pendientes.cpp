// Handlers whose subsystem has not been built yet. Each one moves to its
// subsystem's window file when that subsystem lands.
#include <QTreeWidgetItem>

#include "main_window/frmVaro.h"

// --- work list filling
void frmVaro::Drive1_Change() {}

void frmVaro::cmdExplorar_Click() {}

void frmVaro::cmdNueva_Click() {}

void frmVaro::cmdBusca_Click() {}

void frmVaro::lstVBusca_OLEDragDrop(const QStringList&) {}

// --- decoding
void frmVaro::cmdAnaliza_Click() {}

void frmVaro::AnalizaSeleccionadas() {}

// --- data entry
void frmVaro::TeclaLista(int, bool) {}

// --- recording, comparing, pictures
void frmVaro::imgBD_Click() {}

// --- browser
void frmVaro::cmbISort_Click() {}

void frmVaro::tvBD_NodeClick(QTreeWidgetItem*) {}

void frmVaro::lstVBD_ColumnClick(int) {}

void frmVaro::cmbLimpia_Click() {}

// --- autorun
void frmVaro::cmdGenera_Click() {}

void frmVaro::cmdauto_Click() {}

void frmVaro::cmdVerAuto_Click() {}

// --- listing
void frmVaro::cmbCd_DropDown() {}

void frmVaro::cmbAutor_DropDown() {}

void frmVaro::cmbDisco_DropDown() {}

void frmVaro::cmbCd_Click() {}

void frmVaro::cmbAutor_Click() {}

void frmVaro::cmbDisco_Click() {}

void frmVaro::cmdLstAutor_Click() {}
