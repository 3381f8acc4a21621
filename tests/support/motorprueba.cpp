#include "support/motorprueba.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include "common/lodrinerror.h"
#include "store/catalogo.h"

bool PruebaEnServidor() { return qEnvironmentVariable("LODRIN_PRUEBA_MOTOR") == QLatin1String("postgresql"); }

UbicacionCatalogo BaseDePrueba(const QString& ini)
{
    static int creadas = 0;
    const QString base = QStringLiteral("prueba_%1_%2").arg(QCoreApplication::applicationPid()).arg(++creadas);
    const QString host = qEnvironmentVariable("LODRIN_PG_HOST");
    const QString usuario = qEnvironmentVariable("LODRIN_PG_USER");
    QString fallo;
    {
        QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("crea_prueba"));
        d.setHostName(host);
        d.setUserName(usuario);
        d.setDatabaseName(qEnvironmentVariable("LODRIN_PG_DATABASE"));
        if (!d.open() || !QSqlQuery(d).exec(QStringLiteral("CREATE DATABASE %1").arg(base)))
            fallo = d.lastError().text();
        d.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("crea_prueba"));
    if (!fallo.trimmed().isEmpty())
        throw LodrinError(QStringLiteral("No se puede crear la base de prueba %1: %2").arg(base, fallo));
    QDir().mkpath(QFileInfo(ini).absolutePath());
    {
        QSettings s(ini, QSettings::IniFormat);
        s.beginGroup(QStringLiteral("catalogo"));
        s.setValue(QStringLiteral("servidor"), QStringLiteral("postgresql"));
        s.setValue(QStringLiteral("host"), host);
        s.setValue(QStringLiteral("database"), base);
        s.setValue(QStringLiteral("user"), usuario);
    }
    return UbicacionCatalogo::DeIni(ini);
}

UbicacionCatalogo CatalogoDePrueba(const QString& dirPrograma)
{
    if (!PruebaEnServidor())
        return UbicacionCatalogo::Fichero(Catalogo::RutaCatalogo(dirPrograma));
    return BaseDePrueba(QDir(dirPrograma).filePath(QStringLiteral("lodrin.ini")));
}

void RechazaCanciones(Catalogo& bd, const QString& titulo)
{
    const bool servidor = bd.ubicacion().EnServidor();
    QStringList sql;
    if (titulo.isEmpty())
        sql << (servidor ? QStringLiteral("drop trigger rechaza on tlcancion") : QStringLiteral("drop trigger rechaza"));
    else if (servidor)
        sql << QStringLiteral("create function rechaza() returns trigger language plpgsql as $$ begin"
                              " if new.dscancion = '%1' then raise exception 'cancion rechazada'; end if;"
                              " return new; end $$")
                   .arg(titulo)
            << QStringLiteral("create trigger rechaza before insert on tlcancion for each row execute function rechaza()");
    else
        sql << QStringLiteral("create trigger rechaza before insert on tlcancion when new.dscancion = '%1'"
                              " begin select raise(abort, 'cancion rechazada'); end")
                   .arg(titulo);
    for (const QString& s : sql) {
        QSqlQuery q(bd.db());
        if (!q.exec(s))
            throw LodrinError(q.lastError().text());
    }
}
