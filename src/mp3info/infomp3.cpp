#include "infomp3.h"

bool DameInfoMp3(const QString& rutaCompleta, HP& hp)
{
    Q_UNUSED(rutaCompleta);
    hp = HP{};
    return false;
}
