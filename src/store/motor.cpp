#include "store/motor.h"

#include "store/postgresql/motor_postgresql.h"
#include "store/sqlite/motor_sqlite.h"
#include "store/ubicacion.h"

std::unique_ptr<MotorCatalogo> MotorCatalogo::Para(const UbicacionCatalogo& u)
{
    if (u.EnServidor())
        return std::make_unique<MotorPostgreSQL>();
    return std::make_unique<MotorSQLite>();
}

bool MotorCatalogo::GuardaImagenes(Catalogo& bd, const std::vector<std::pair<qint64, QByteArray>>& imagenes)
{
    bool guardadas = false;
    for (const auto& [id, bytes] : imagenes)
        guardadas = GuardaImagen(bd, id, bytes) || guardadas;
    return guardadas;
}

QStringList MascarasTipicas()
{
    static const char* const kMascarasTipicas[] = {
        "a(x) -d\\p-c", "a(d)\\a-c", "a(d)\\p-c", "a\\d\\x-c", "a-d\\a-c", "x-d\\p-c", "a(d)\\c",
        "a\\d\\p-c", "d-a\\c", "d\\p-c", "d\\a-c", "a\\d-c", "a\\d\\c", "a(d)c", "c-a", "d\\c",
        "c_a", "a\\c", "c",
    };
    QStringList m;
    for (const char* t : kMascarasTipicas)
        m << QString::fromLatin1(t);
    return m;
}
