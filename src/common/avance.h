#pragma once

// How a long operation shows its progress (the bar at the top of the window).
class Avance {
public:
    virtual ~Avance() = default;
    virtual void Empieza(int maximo) = 0;
    virtual void Avanza(int valor) = 0;
    virtual void Termina() = 0;
    // Whether the person asked to stop; asking also lets the window hear them.
    virtual bool Cancelado() { return false; }
};
