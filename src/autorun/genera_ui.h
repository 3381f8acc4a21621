#pragma once
#include <QPointer>

#include "autorun/arbol.h"
#include "autorun/frmAuto.h"
#include "main_window/frmVaro.h"

struct frmVaro::EstadoAutorun {
    ArbolDiscos arbol;
    QPointer<frmAuto> vistaPrevia;
};

// Revision number of the cataloguer, shown by its preview of the viewer.
constexpr int kRevisionLodrin = 33;
