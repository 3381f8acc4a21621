#pragma once
#include "common/avisos.h"

// Message boxes of the viewer program.
class AvisosVisor : public Avisos {
public:
    void Informa(const QString& texto, const QString& titulo = QString()) override;
};
