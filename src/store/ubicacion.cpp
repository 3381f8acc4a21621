#include "store/ubicacion.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include "store/catalogo.h"

QString UbicacionCatalogo::Nombre() const
{
    if (motor == Motor::SQLite)
        return fichero;
    return base + QLatin1Char('@') + (host.isEmpty() ? QStringLiteral("localhost") : host);
}

UbicacionCatalogo UbicacionCatalogo::Fichero(const QString& ruta)
{
    UbicacionCatalogo u;
    u.fichero = ruta;
    return u;
}

UbicacionCatalogo UbicacionCatalogo::DeIni(const QString& ini)
{
    UbicacionCatalogo u;
    u.motor = Motor::PostgreSQL;
    u.fichero = ini;
    if (!QFileInfo(ini).isReadable()) {
        u.error = QStringLiteral("No se puede leer el fichero %1").arg(ini);
        return u;
    }
    QSettings s(ini, QSettings::IniFormat);
    s.beginGroup(QStringLiteral("catalogo"));
    const QString servidor = s.value(QStringLiteral("servidor")).toString().trimmed().toLower();
    u.host = s.value(QStringLiteral("host")).toString().trimmed();
    u.puerto = s.value(QStringLiteral("port"), 5432).toInt();
    u.base = s.value(QStringLiteral("database")).toString().trimmed();
    u.usuario = s.value(QStringLiteral("user")).toString().trimmed();
    if (servidor.isEmpty())
        u.error = QStringLiteral("El fichero %1 no nombra ningún servidor ([catalogo] servidor=postgresql)").arg(ini);
    else if (servidor != QLatin1String("postgresql"))
        u.error = QStringLiteral("El fichero %1 nombra el servidor «%2»; solo se admite postgresql").arg(ini, servidor);
    else if (u.base.isEmpty())
        u.error = QStringLiteral("El fichero %1 no dice qué base de datos usar (database=)").arg(ini);
    return u;
}

UbicacionCatalogo UbicacionCatalogo::DeCarpeta(const QString& carpeta)
{
    const QString ini = QDir(carpeta).filePath(QStringLiteral("lodrin.ini"));
    if (QFileInfo::exists(ini)) {
        QSettings s(ini, QSettings::IniFormat);
        if (s.contains(QStringLiteral("catalogo/servidor")))
            return DeIni(ini);
    }
    return Fichero(Catalogo::RutaCatalogo(carpeta));
}

QString TituloVentana(const UbicacionCatalogo& u)
{
    if (u.motor == Motor::SQLite)
        return QStringLiteral("Lodrin");
    return QStringLiteral("Lodrin - ") + u.Nombre();
}
