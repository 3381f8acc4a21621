#pragma once
#include "main_window/unidades.h"

// The machine's volumes: every mounted file system. A volume is a CD-ROM when
// its file system is iso9660 or udf.
class UnidadesSistema : public Unidades {
public:
    QList<Volumen> Lista() override;
    int Actual() override;
};
