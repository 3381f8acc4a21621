#include <QApplication>

#include "autorun/avisosvisor.h"
#include "autorun/frmAuto.h"
#include "common/traducciones.h"

// Revision number of the viewer, shown in its information text.
constexpr int kRevisionVistel = 10;

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    CargaTraducciones(app);
    AvisosVisor avisos;
    frmAuto ventana(QCoreApplication::applicationDirPath(), kRevisionVistel, avisos);
    ventana.show();
    return app.exec();
}
