#pragma once
#include "common/avisos.h"
#include "exploring/unidades.h"

// A machine with no drives to offer and messages nobody reads: the main
// window of a benchmark needs neither.
class SinUnidades : public Unidades {
public:
    QList<Volumen> Lista() override { return {}; }
    int Actual() override { return -1; }
};

class SinAvisos : public Avisos {
public:
    void Informa(const QString&, const QString&) override {}
};
