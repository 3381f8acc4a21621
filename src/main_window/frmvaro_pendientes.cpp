// Handlers whose subsystem has not been built yet. Each one moves to its
// subsystem's window file when that subsystem lands.
#include <QTreeWidgetItem>

#include "main_window/frmVaro.h"

// --- work list filling





// --- recording, comparing, pictures
void frmVaro::cmdCompara_Click() {}

void frmVaro::cmdGraba_Click() {}

// --- autorun



// --- listing






