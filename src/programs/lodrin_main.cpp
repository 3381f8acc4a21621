#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "catalogue/busqueda.h"
#include "catalogue/catalogo.h"
#include "common/carpetacatalogo.h"
#include "common/lodrinerror.h"
#include "main_window/aplicacion.h"
#include "main_window/avisosventana.h"
#include "main_window/frmVaro.h"
#include "main_window/unidadessistema.h"
#include "programs/lineaordenes.h"

namespace {

// A new option is one line here and one branch in main().
DescripcionPrograma Descripcion()
{
    return {QStringLiteral("Lodrin"), QStringLiteral(LODRIN_VERSION), QString(),
            QStringLiteral("Catalogador de CDs de MP3. Sin opciones abre la ventana."),
            {{QStringLiteral("buscar"), QStringLiteral("TEXTO"),
              QStringLiteral("escribe las canciones del catálogo con todas las palabras y termina")}}};
}

QString CarpetaEnUso()
{
    return CarpetaCatalogo(QCoreApplication::applicationDirPath(),
                           QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

// Prints every song holding all the words, one line each: 0 when some
// matched, 1 when none did, 2 when the catalogue cannot be read.
int Buscar(const QString& texto)
{
    const QString ruta = Catalogo::RutaCatalogo(CarpetaEnUso());
    try {
        if (!QFileInfo::exists(ruta))
            throw LodrinError(QStringLiteral("No hay catálogo en %1").arg(ruta));
        Catalogo bd(ruta);
        bd.AbreBaseDatos();
        const ResultadoBusqueda r = BuscaCanciones(bd, texto, columnaBD::kAutor, std::numeric_limits<int>::max());
        QString lineas;
        for (const CancionEncontrada& c : r.filas)
            lineas += LineaBusqueda(c);
        Escribe(stdout, lineas);
        return r.filas.empty() ? 1 : 0;
    } catch (const LodrinError& e) {
        Escribe(stderr, QStringLiteral("Lodrin: %1\n").arg(e.message()));
        return 2;
    }
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("Lodrin"));
    const DescripcionPrograma programa = Descripcion();
    {
        // The command line is answered before any window exists, so it works
        // without a display.
        QCoreApplication consola(argc, argv);
        const Orden orden = LeeOrdenes(consola.arguments().mid(1), programa);
        const int salida = Atiende(orden, programa, TextoCarpetaCatalogo(CarpetaEnUso()));
        if (salida >= 0)
            return salida;
        if (orden.valores.contains(QStringLiteral("buscar")))
            return Buscar(orden.valores.value(QStringLiteral("buscar")));
    }
    AplicacionLodrin app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("lodrin"));
    // What is left once the toolkit took its own options out.
    const QStringList sobrantes = LeeOrdenes(app.arguments().mid(1), programa).argumentos;
    if (!sobrantes.isEmpty())
        return ArgumentoSobrante(programa, sobrantes.first());

    const QString dir = CarpetaEnUso();
    QDir().mkpath(dir);
    Catalogo bd(Catalogo::RutaCatalogo(dir));
    UnidadesSistema unidades;
    AvisosVentana avisos;
    frmVaro ventana(bd, unidades, avisos, dir);
    avisos.PonPadre(&ventana);
    try {
        ventana.Form_Load();
    } catch (const LodrinError& e) {
        AplicacionLodrin::MuestraFalloYTermina(e.message());
    }
    ventana.show();
    return app.exec();
}
