#pragma once
#include <QString>
#include <QStringList>

// The list of chosen authors: up to 100 names as the decoder passes them, kept
// for one run of the program.
class AutoresNuevos {
public:
    static constexpr int kMaximo = 100;
    void LimpiaAutoresNuevos() { nombres_.clear(); }
    void AnadeAutorNuevo(const QString& nombre);
    // Position (1-based) of std among the names, exact comparison; 0 for an
    // empty std that is not listed, -1 otherwise.
    int BuscaAutorNuevo(const QString& estandar) const;
    int Cuantos() const { return int(nombres_.size()); }

private:
    QStringList nombres_;
};
