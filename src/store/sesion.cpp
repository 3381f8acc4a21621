#include "store/sesion.h"

#include <QDir>
#include <QFileInfo>

#include "store/catalogo.h"

SesionCatalogo::SesionCatalogo(Catalogo& inicial, const QString& carpeta, QObject* padre)
    : QObject(padre), bd_(&inicial), carpeta_(carpeta), carpetaInicial_(carpeta)
{
}

SesionCatalogo::~SesionCatalogo() = default;

const UbicacionCatalogo& SesionCatalogo::ubicacion() const { return bd_->ubicacion(); }

bool SesionCatalogo::SoloLectura() const { return bd_->SoloLectura(); }

QString SesionCatalogo::CarpetaDe(const UbicacionCatalogo& u, const QString& porDefecto)
{
    if (u.fichero.isEmpty())
        return porDefecto;
    const QFileInfo f(u.fichero);
    if (u.EnServidor() || f.fileName().compare(QLatin1String("anterior.mdb"), Qt::CaseInsensitive) == 0)
        return f.absolutePath();
    return f.absoluteDir().filePath(f.completeBaseName() + QStringLiteral(".lodrin"));
}

void SesionCatalogo::Abre(const UbicacionCatalogo& u)
{
    // A connection name of its own: the one in use stays open meanwhile.
    auto nuevo = std::make_unique<Catalogo>(u, QStringLiteral("catalogo_%1").arg(++abiertos_));
    nuevo->AbreBaseDatos();
    const QString carpeta = CarpetaDe(u, carpetaInicial_);
    QDir().mkpath(carpeta);
    bd_->Cierra();
    propio_ = std::move(nuevo);
    bd_ = propio_.get();
    carpeta_ = carpeta;
    emit Cambiado();
}
