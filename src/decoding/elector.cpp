#include "decoding/elector.h"

#include <algorithm>

int CandidatosOrdenados::Anade(const CandidatoDecodificacion& c)
{
    // After every row that scores as much or more.
    auto it = std::find_if(filas_.begin(), filas_.end(),
                           [&](const CandidatoDecodificacion& f) { return f.puntos < c.puntos; });
    const int fila = int(it - filas_.begin()) + 1;
    filas_.insert(it, c);
    return fila;
}

CandidatoDecodificacion CandidatosOrdenados::Fila(int fila) const
{
    if (fila < 1 || fila > Cuenta())
        return {};
    return filas_[size_t(fila - 1)];
}
