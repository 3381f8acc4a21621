// Archivo's catalogues: opening another one, a file or a server, and the
// recent ones, kept in the person's settings (never a password).
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QSettings>
#include <QTabWidget>

#include "catalogue/exportacion.h"
#include "catalogue/navegador_ui.h"
#include "catalogue/objetos.h"
#include "catalogue/pestanabd.h"
#include "catalogue/repetidas_ui.h"
#include "common/avisos.h"
#include "common/carpetacatalogo.h"
#include "main_window/eleccioncatalogo.h"
#include "main_window/frmVaro.h"
#include "main_window/textosayuda.h"
#include "store/catalogo.h"
#include "search/busqueda.h"
#include "store/sesion.h"

namespace {

const QString kRecientes = QStringLiteral("catalogos/recientes");
constexpr int kMaxRecientes = 8;

QList<UbicacionCatalogo> Recientes()
{
    QSettings s(kAjustes, kAjustes);
    QList<UbicacionCatalogo> r;
    const int n = s.beginReadArray(kRecientes);
    for (int i = 0; i < n && r.size() < kMaxRecientes; ++i) {
        s.setArrayIndex(i);
        UbicacionCatalogo u;
        u.fichero = s.value(QStringLiteral("fichero")).toString();
        if (s.value(QStringLiteral("servidor")).toBool()) {
            u.motor = Motor::PostgreSQL;
            u.host = s.value(QStringLiteral("host")).toString();
            u.puerto = s.value(QStringLiteral("puerto"), 5432).toInt();
            u.base = s.value(QStringLiteral("base")).toString();
            u.usuario = s.value(QStringLiteral("usuario")).toString();
        }
        if (!u.Nombre().isEmpty())
            r << u;
    }
    s.endArray();
    return r;
}

// The catalogue just opened goes first; the same one is never listed twice.
void Recuerda(const UbicacionCatalogo& u)
{
    QList<UbicacionCatalogo> r = Recientes();
    r.removeIf([&](const UbicacionCatalogo& o) { return o.Nombre() == u.Nombre(); });
    r.prepend(u);
    QSettings s(kAjustes, kAjustes);
    s.remove(kRecientes);
    s.beginWriteArray(kRecientes, int(std::min<qsizetype>(r.size(), kMaxRecientes)));
    for (int i = 0; i < r.size() && i < kMaxRecientes; ++i) {
        s.setArrayIndex(i);
        s.setValue(QStringLiteral("fichero"), r[i].fichero);
        s.setValue(QStringLiteral("servidor"), r[i].EnServidor());
        if (r[i].EnServidor()) {
            s.setValue(QStringLiteral("host"), r[i].host);
            s.setValue(QStringLiteral("puerto"), r[i].puerto);
            s.setValue(QStringLiteral("base"), r[i].base);
            s.setValue(QStringLiteral("usuario"), r[i].usuario);
        }
    }
    s.endArray();
}

}  // namespace

EleccionCatalogo& frmVaro::Eleccion()
{
    if (eleccion_)
        return *eleccion_;
    if (!eleccionDialogo_)
        eleccionDialogo_ = new EleccionDialogo(this);
    return *eleccionDialogo_;
}

void frmVaro::AbrirCatalogo()
{
    const UbicacionCatalogo& u = sesion_->ubicacion();
    const QString fichero =
        Eleccion().Fichero(u.EnServidor() ? sesion_->carpeta() : QFileInfo(u.fichero).absolutePath());
    if (!fichero.isEmpty())
        AbreCatalogo(UbicacionCatalogo::Fichero(QFileInfo(fichero).absoluteFilePath()));
}

void frmVaro::AbrirServidor()
{
    UbicacionCatalogo u;
    u.motor = Motor::PostgreSQL;
    if (sesion_->ubicacion().EnServidor()) {
        u = sesion_->ubicacion();
        u.fichero.clear();
    }
    u.clave.clear();
    if (Eleccion().Servidor(u))
        AbreCatalogo(u);
}

void frmVaro::AbreCatalogo(const UbicacionCatalogo& u)
{
    Protege(avisos_, QStringLiteral("abrir el catálogo %1").arg(u.Nombre()), [&] {
        // Only the start creates a missing catalogue; a file chosen or
        // remembered that is gone is told.
        if (!u.EnServidor() && !QFileInfo::exists(u.fichero))
            throw LodrinError(QStringLiteral("No existe el catálogo %1").arg(u.fichero));
        sesion_->Abre(u);
    });
}

void frmVaro::otroCatalogo()
{
    Catalogo& bd = sesion_->bd();
    muestraEsperas();
    // Once another catalogue was opened the title names a file too.
    setWindowTitle(bd.ubicacion().EnServidor()
                       ? TituloVentana(bd.ubicacion())
                       : QStringLiteral("Lodrin - ") + QDir::toNativeSeparators(bd.ubicacion().fichero));
    lblAcerca_->setText(TextoAcercaDe() + "\n\n" + TextoCarpetaCatalogo(sesion_->carpeta()));
    bd.autoresNuevos().LimpiaAutoresNuevos();
    UbicacionCatalogo recordada = bd.ubicacion();
    recordada.clave.clear();
    Recuerda(recordada);
    ponRecientes();
    if (!bd.aviso().isEmpty())
        avisos_.Informa(bd.aviso());
    if (!bd.SoloLectura())
        Protege(avisos_, QStringLiteral("ordenar las copias de las imágenes"), [&] { OrdenaCopias(bd, sesion_->carpeta()); });
}

void frmVaro::ponRecientes()
{
    recientes_->clear();
    const QList<UbicacionCatalogo> lista = Recientes();
    for (int i = 0; i < lista.size(); ++i) {
        const UbicacionCatalogo u = lista[i];
        QString nombre = u.EnServidor() ? u.Nombre() : QDir::toNativeSeparators(u.fichero);
        QAction* a = recientes_->addAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(nombre.replace(QLatin1Char('&'), QStringLiteral("&&"))));
        a->setObjectName(QStringLiteral("mnuReciente%1").arg(i + 1));
        connect(a, &QAction::triggered, this, [this, u] {
            UbicacionCatalogo pedida = u;
            // A server's password is asked again every time.
            if (!pedida.EnServidor() || Eleccion().Servidor(pedida))
                AbreCatalogo(pedida);
        });
    }
    recientes_->setEnabled(!lista.isEmpty());
}

void frmVaro::RecuerdaInicial()
{
    UbicacionCatalogo u = sesion_->ubicacion();
    u.clave.clear();
    Recuerda(u);
    ponRecientes();
}

void frmVaro::VerRepetidas()
{
    if (!repetidas_) {
        repetidas_ = new VentanaRepetidas(*sesion_, this);
        connect(repetidas_, &VentanaRepetidas::IrACancion, this, [this](qint64 idcd, qint64 idcancion) {
            Protege(avisos_, QStringLiteral("leer el catálogo"), [&] {
                SSTab2_->setCurrentWidget(baseDatos_);
                arriba_->MuestraCancion(idcd, idcancion);
                activateWindow();
            });
        });
        connect(repetidas_, &VentanaRepetidas::Exportar, this, [this](const std::vector<qint64>& ids) { exporta(&ids); });
    }
    if (Protege(avisos_, QStringLiteral("buscar las canciones repetidas"), [this] { repetidas_->Lee(); })) {
        repetidas_->show();
        repetidas_->raise();
        repetidas_->activateWindow();
    }
}

void frmVaro::ExportarCatalogo() { exporta(nullptr); }

void frmVaro::ExportarLista()
{
    const std::vector<qint64> ids = baseDatos_->CancionesMostradas();
    exporta(&ids);
}

void frmVaro::exporta(const std::vector<qint64>* idcanciones)
{
    const QString fichero = Eleccion().FicheroCsv(QDir(sesion_->carpeta()).filePath(
        idcanciones ? QStringLiteral("canciones.csv") : QStringLiteral("catalogo.csv")));
    if (fichero.isEmpty())
        return;
    Protege(avisos_, QStringLiteral("exportar a %1").arg(fichero), [&] {
        const qint64 n = idcanciones ? ExportaCanciones(sesion_->bd(), fichero, *idcanciones)
                                     : ExportaCanciones(sesion_->bd(), fichero);
        avisos_.Informa(QStringLiteral("%1 en %2").arg(TextoCuenta(n, n), QDir::toNativeSeparators(fichero)),
                        QStringLiteral("Exportar"));
    });
}
