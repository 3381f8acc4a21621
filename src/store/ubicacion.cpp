#include "store/ubicacion.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include "store/catalogo.h"

QString UbicacionCatalogo::Nombre() const
{
    if (!EnServidor())
        return fichero;
    return base + QLatin1Char('@') + Servidor();
}

QString UbicacionCatalogo::Servidor() const
{
    return (host.isEmpty() ? QStringLiteral("localhost") : host) + QLatin1Char(':') + QString::number(puerto);
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
    const QString puerto = s.value(QStringLiteral("port"), QStringLiteral("5432")).toString().trimmed();
    bool numero = false;
    u.puerto = puerto.toInt(&numero);
    u.base = s.value(QStringLiteral("database")).toString().trimmed();
    u.usuario = s.value(QStringLiteral("user")).toString().trimmed();
    if (servidor.isEmpty())
        u.error = QStringLiteral("El fichero %1 no nombra ningún servidor ([catalogo] servidor=postgresql)").arg(ini);
    else if (servidor != QLatin1String("postgresql"))
        u.error = QStringLiteral("El fichero %1 nombra el servidor «%2»; solo se admite postgresql").arg(ini, servidor);
    else if (s.contains(QStringLiteral("host")) && u.host.isEmpty())
        u.error = QStringLiteral("El fichero %1 deja vacío el servidor (host=)").arg(ini);
    else if (!numero || u.puerto <= 0 || u.puerto > 65535)
        u.error = QStringLiteral("El fichero %1 da un puerto que no es un número de 1 a 65535: «%2»").arg(ini, puerto);
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

UbicacionCatalogo UbicacionCatalogo::DeRuta(const QString& ruta)
{
    const QFileInfo f(ruta);
    if (f.isDir())
        return DeCarpeta(f.absoluteFilePath());
    if (f.suffix().compare(QLatin1String("ini"), Qt::CaseInsensitive) == 0)
        return DeIni(f.absoluteFilePath());
    return Fichero(f.absoluteFilePath());
}

QString TituloVentana(const UbicacionCatalogo& u)
{
    if (!u.EnServidor())
        return QStringLiteral("Lodrin");
    return QStringLiteral("Lodrin - ") + u.Nombre();
}
