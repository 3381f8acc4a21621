#include <QDir>

#include "catalogue/catalogo.h"
#include "common/lodrinerror.h"
#include "common/traducciones.h"
#include "main_window/aplicacion.h"
#include "common/avisosventana.h"
#include "main_window/frmVaro.h"
#include "exploring/unidadessistema.h"

int main(int argc, char* argv[])
{
    AplicacionLodrin app(argc, argv);
    CargaTraducciones(app);
    const QString dir = QCoreApplication::applicationDirPath();
    Catalogo bd(Catalogo::RutaCatalogo(dir));
    UnidadesSistema unidades;
    AvisosVentana avisos;
    frmVaro ventana(bd, unidades, avisos, dir);
    avisos.PonPadre(&ventana);
    try {
        ventana.Form_Load();
    } catch (const LodrinError& e) {
        AplicacionLodrin::MuestraFalloYTermina(e.message(), &ventana);
    }
    ventana.show();
    return app.exec();
}
